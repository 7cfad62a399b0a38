// The real program, started as a player would start it: what it prints while
// the table comes up, with and without its data files, and that a reader of
// its standard output that goes away does not end the game.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "tests/support/child_process.h"

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

void stop(QProcess &game)
{
    game.terminate();
    if (!game.waitForFinished(5000)) {
        game.kill();
        game.waitForFinished(5000);
    }
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void start_up_output_data();
    void start_up_output();
    void reader_of_the_traces_goes_away();
};

void TestProgram::start_up_output_data()
{
    QTest::addColumn<bool>("empty_folder");

    QTest::newRow("in the runnable folder") << false;
    QTest::newRow("in an empty folder, without data files") << true;
}

void TestProgram::start_up_output()
{
    QFETCH(bool, empty_folder);

    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    // Unbuffered, so that every trace byte is out before the game is stopped;
    // watched 1.5 s past the first shuffle's table draws for anything after.
    const ChildResult game =
        run_child({QStringLiteral("stdbuf"),
                   {QStringLiteral("-o0"), QStringLiteral(KESTRANO_BINARY),
                    QStringLiteral("-platform"), QStringLiteral("offscreen")},
                   empty_folder ? empty.path() : QStringLiteral(KESTRANO_GAME_DIR),
                   {},
                   15000,
                   [](const QByteArray &out) { return out.contains("nn19="); },
                   1500});
    QVERIFY2(game.stayed_up(), game.report().constData());
    const QByteArray &output = game.out;

    QVERIFY2(output.startsWith("First_Shown()\nn1="), output.left(80).constData());

    // Whole lines, then the closing count that waits for a line end.
    QList<QByteArray> lines = output.split('\n');
    const QString tail = QString::fromLatin1(lines.takeLast());
    static const QRegularExpression closing(QStringLiteral(R"(^MAX=15,n=\d+$)"));
    QVERIFY2(closing.match(tail).hasMatch(),
             qPrintable(QStringLiteral("output ends with \"%1\"").arg(tail.right(80))));
    static const QRegularExpression row_draw_line(
        QStringLiteral(R"(n1=\d+,n2=\d+,n3=\d+,n4=\d+,n5=\d+,n6=\d+$)"));
    int row_draws = 0; // one line of six for each suit row
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromLatin1(lines.at(i));
        QVERIFY2(is_trace_line(line),
                 qPrintable(QStringLiteral("line %1 is no trace: \"%2\"").arg(i + 1).arg(line)));
        if (row_draw_line.match(line).hasMatch())
            ++row_draws;
    }
    QCOMPARE(row_draws, 4);
}

// A game whose standard output goes to a pipe that nobody reads any more must
// keep running instead of dying of SIGPIPE at its next trace.
void TestProgram::reader_of_the_traces_goes_away()
{
    int pipe_ends[2];
    QVERIFY(pipe2(pipe_ends, O_CLOEXEC) == 0);
    const int read_end = pipe_ends[0];
    const int write_end = pipe_ends[1];
    // A small pipe: the start-up trace cannot all fit, so the game is still
    // writing when the reader goes away.
    fcntl(write_end, F_SETPIPE_SZ, 4096);

    QProcess game;
    game.setWorkingDirectory(QStringLiteral(KESTRANO_GAME_DIR));
    game.setStandardOutputFile(QProcess::nullDevice());
    game.setChildProcessModifier([write_end] {
        ::dup2(write_end, STDOUT_FILENO);
        // Start with the default action, as from a shell: the game itself has
        // to decide to ignore the signal.
        ::signal(SIGPIPE, SIG_DFL);
    });
    game.start(QStringLiteral(KESTRANO_BINARY),
               {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    const bool started = game.waitForStarted(5000);
    ::close(write_end);
    if (!started)
        ::close(read_end);
    QVERIFY2(started, qPrintable(game.errorString()));

    pollfd readable{read_end, POLLIN, 0};
    char first[16];
    const bool heard = ::poll(&readable, 1, 10000) == 1 && ::read(read_end, first, 10) > 0;
    ::close(read_end);
    if (!heard)
        stop(game);
    QVERIFY2(heard, "the game printed nothing on its standard output");

    const bool ended = game.waitForFinished(1000);
    QVERIFY2(!ended,
             qPrintable(QStringLiteral("the game ended when its output went away (%1 %2)")
                            .arg(game.exitStatus() == QProcess::CrashExit ? "signal" : "exit code")
                            .arg(game.exitCode())));
    stop(game);
}

QTEST_MAIN(TestProgram)
#include "test_program.moc"
