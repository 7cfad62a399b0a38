#include "tests/support/child_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

bool ChildResult::passed(const char *test_function) const
{
    if (!started || !ended || crashed || exit_code != 0)
        return false;
    if (!test_function)
        return true;
    const QByteArray pass = QByteArray("PASS   : ");
    const QByteArray name = QByteArray("::") + test_function + "()";
    for (const QByteArray &line : out.split('\n')) {
        if (line.startsWith(pass) && line.endsWith(name))
            return true;
    }
    return false;
}

QByteArray ChildResult::report() const
{
    QByteArray how = !started  ? "did not start"
                     : hung    ? "hung"
                     : crashed ? "crashed"
                     : ended   ? "ended with exit code " + QByteArray::number(exit_code)
                               : "came up";
    return how + "\n" + out.right(2000) + err.right(2000);
}

ChildResult run_child(const ChildRun &run)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : run.environment) {
        const qsizetype equals = variable.indexOf(QLatin1Char('='));
        if (equals < 0)
            environment.remove(variable);
        else
            environment.insert(variable.left(equals), variable.mid(equals + 1));
    }
    QProcess child;
    child.setProcessEnvironment(environment);
    if (!run.folder.isEmpty())
        child.setWorkingDirectory(run.folder);
    child.start(run.program, run.arguments);

    ChildResult result;
    result.started = child.waitForStarted(10000);
    if (!result.started) {
        result.err = child.errorString().toLocal8Bit();
        return result;
    }
    QElapsedTimer clock;
    clock.start();
    bool up = false;
    while (!result.ended && !up && clock.elapsed() < run.limit_ms) {
        result.ended = child.waitForFinished(run.up ? 100 : run.limit_ms);
        up = run.up && run.up(child.peek(1 << 24));
    }
    if (up && !result.ended)
        result.ended = child.waitForFinished(run.settle_ms);
    result.hung = !result.ended && !up;
    if (!result.ended) {
        child.kill();
        child.waitForFinished();
    }
    result.crashed = result.ended && child.exitStatus() == QProcess::CrashExit;
    result.exit_code = result.ended ? child.exitCode() : -1;
    result.out = child.readAllStandardOutput();
    result.err = child.readAllStandardError();
    return result;
}

ChildRun rerun_of(const char *test_function)
{
    ChildRun run;
    run.program = QCoreApplication::applicationFilePath();
    run.arguments = {QString::fromLatin1(test_function)};
    return run;
}
