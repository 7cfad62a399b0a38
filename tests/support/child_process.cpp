#include "tests/support/child_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

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

namespace {

// A raw pseudo-terminal for a child's standard output: the controlling end,
// read without blocking, and the child's end, or -1 for both.
bool open_terminal(int (&ends)[2])
{
    if (openpty(&ends[0], &ends[1], nullptr, nullptr, nullptr) != 0)
        return false;
    termios raw = {};
    tcgetattr(ends[1], &raw);
    cfmakeraw(&raw);
    tcsetattr(ends[1], TCSANOW, &raw);
    for (int end : ends)
        fcntl(end, F_SETFD, FD_CLOEXEC);
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    return true;
}

void read_terminal(int terminal, QByteArray &out)
{
    char bytes[65536];
    for (ssize_t got; (got = ::read(terminal, bytes, sizeof bytes)) > 0;)
        out.append(bytes, got);
}

} // namespace

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
    ChildResult result;
    int terminal[2] = {-1, -1};
    if (run.terminal) {
        if (!open_terminal(terminal)) {
            result.err = "no pseudo-terminal";
            return result;
        }
        child.setStandardOutputFile(QProcess::nullDevice());
        child.setChildProcessModifier([end = terminal[1]] { ::dup2(end, STDOUT_FILENO); });
    }
    child.start(run.program, run.arguments);
    if (run.terminal)
        ::close(terminal[1]);

    result.started = child.waitForStarted(10000);
    if (!result.started) {
        ::close(terminal[0]);
        result.err = child.errorString().toLocal8Bit();
        return result;
    }
    // On a terminal, what the child prints is read as it comes.
    auto printed = [&] {
        if (!run.terminal)
            return child.peek(1 << 24);
        read_terminal(terminal[0], result.out);
        return result.out;
    };
    auto wait_ms = [&](int ms) {
        if (!run.terminal)
            return child.waitForFinished(ms);
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            const bool ended = child.waitForFinished(std::min(ms, 100));
            printed();
            if (ended || child.state() == QProcess::NotRunning || waited.elapsed() >= ms)
                return ended;
        }
    };
    QElapsedTimer clock;
    clock.start();
    bool up = false;
    while (!result.ended && !up && clock.elapsed() < run.limit_ms) {
        result.ended = wait_ms(run.up ? 100 : run.limit_ms);
        up = run.up && run.up(printed());
    }
    if (up && !result.ended)
        result.ended = wait_ms(run.settle_ms);
    result.hung = !result.ended && !up;
    result.out_before_stop = printed();
    if (!result.ended && up && run.terminal) {
        child.terminate();
        wait_ms(10000);
    }
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished();
    }
    result.crashed = result.ended && child.exitStatus() == QProcess::CrashExit;
    result.exit_code = result.ended ? child.exitCode() : -1;
    if (run.terminal) {
        read_terminal(terminal[0], result.out);
        ::close(terminal[0]);
    } else {
        result.out = child.readAllStandardOutput();
    }
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

namespace {

// Every line the constructor may print; "MAX=15,n=%d" has no line end of its
// own, so it starts the line that follows it.
const char *const kTraceLines[] = {
    R"(First_Shown\(\))",
    R"((MAX=15,n=\d+)?n1=\d+,n2=\d+,n3=\d+,n4=\d+,n5=\d+,n6=\d+)",
    R"(n[1-6]=\d+,n[1-6]=\d+)",
    R"((\d+,){13})",
    R"((\d+,){52})",
    R"(Patern ?\d+)",
    R"(MAX=15,n=\d+(buf\[\d+\]=\d+\t){39}buf\[39\]=\d+)",
    R"(buf\[\d+\]=\d+)",
    R"((buf_r\[\d+\]=\d+\t){52}nn1=\d+,nn2=\d+,nn3=\d+,nn4=\d+,nn5=\d+,nn6=\d+)",
    R"(nn7=\d+,nn8=\d+,nn9=\d+,nn10=\d+,nn11=\d+,nn12=\d+)",
    R"(nn13=\d+,nn14=\d+,nn15=\d+,nn16=\d+,nn17=\d+,nn18=\d+)",
    R"(nn19=\d+,nn20=\d+,nn21=\d+,nn22=\d+,nn23=\d+,nn24=\d+)",
    R"(nn\d+=\d+,nn\d+=\d+)",
};

bool is_trace_line(const QString &line)
{
    for (const char *format : kTraceLines) {
        const QRegularExpression pattern(
            QRegularExpression::anchoredPattern(QLatin1String(format)));
        if (pattern.match(line).hasMatch())
            return true;
    }
    return false;
}

} // namespace

ChildResult start_up_game(const QString &folder, const QStringList &environment, int settle_ms,
                          bool terminal)
{
    static const QRegularExpression finished(QStringLiteral(R"(nn19=[\s\S]*\nMAX=15,n=\d+$)"));
    static const QRegularExpression nearly(QStringLiteral(R"(nn19=.*\n)"));
    ChildRun run;
    run.program = QStringLiteral(KESTRANO_BINARY);
    run.arguments = {QStringLiteral("-platform"), QStringLiteral("offscreen")};
    if (!terminal) {
        run.arguments.prepend(run.program);
        run.arguments.prepend(QStringLiteral("-o0"));
        run.program = QStringLiteral("stdbuf");
    }
    run.folder = folder;
    run.environment = environment;
    run.limit_ms = 15000;
    run.up = [terminal](const QByteArray &out) {
        return (terminal ? nearly : finished).match(QString::fromLatin1(out)).hasMatch();
    };
    run.settle_ms = settle_ms;
    run.terminal = terminal;
    return run_child(run);
}

QString start_up_trace_problem(const QByteArray &output)
{
    if (!output.startsWith("First_Shown()\nn1="))
        return QStringLiteral("it starts with \"%1\"").arg(QString::fromLatin1(output.left(40)));
    QList<QByteArray> lines = output.split('\n');
    const QString tail = QString::fromLatin1(lines.takeLast());
    static const QRegularExpression closing(QStringLiteral(R"(^MAX=15,n=\d+$)"));
    if (!closing.match(tail).hasMatch())
        return QStringLiteral("it ends with \"%1\"").arg(tail.right(80));
    static const QRegularExpression row_draw_line(
        QStringLiteral(R"(n1=\d+,n2=\d+,n3=\d+,n4=\d+,n5=\d+,n6=\d+$)"));
    int row_draws = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromLatin1(lines.at(i));
        if (!is_trace_line(line))
            return QStringLiteral("line %1 is no trace: \"%2\"").arg(i + 1).arg(line.left(120));
        row_draws += row_draw_line.match(line).hasMatch();
    }
    return row_draws == 4 ? QString() : QStringLiteral("%1 row draw lines").arg(row_draws);
}
