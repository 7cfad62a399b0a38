// The real program, started as a player would start it: what it prints while
// the table comes up, with and without its data files, its command line, and
// that a reader of its standard output that goes away does not end the game.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "tests/support/child_process.h"

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    // In the runnable folder, and in an empty one without data files.
    void start_up_output()
    {
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        for (const QString &folder : {QStringLiteral(KESTRANO_GAME_DIR), empty.path()}) {
            // Watched 1.5 s past its start-up for anything printed after it.
            const ChildResult game = start_up_game(folder, {}, 1500);
            QVERIFY2(game.stayed_up(), game.report().constData());
            const QString problem = start_up_trace_problem(game.out);
            QVERIFY2(problem.isEmpty(), qPrintable(folder + ": " + problem));
        }
    }

    // A game whose standard output goes to a pipe that nobody reads any more
    // must keep running instead of dying of SIGPIPE at its next trace.
    void reader_of_the_traces_goes_away()
    {
        int ends[2]; // read, write
        QVERIFY(pipe2(ends, O_CLOEXEC) == 0);
        // A small pipe: the start-up trace cannot all fit, so the game is
        // still writing when the reader goes away.
        fcntl(ends[1], F_SETPIPE_SZ, 4096);
        QProcess game;
        game.setWorkingDirectory(QStringLiteral(KESTRANO_GAME_DIR));
        game.setStandardOutputFile(QProcess::nullDevice());
        game.setChildProcessModifier([write_end = ends[1]] {
            ::dup2(write_end, STDOUT_FILENO);
            ::signal(SIGPIPE, SIG_DFL); // as from a shell: the game must ignore it itself
        });
        game.start(QStringLiteral(KESTRANO_BINARY),
                   {QStringLiteral("-platform"), QStringLiteral("offscreen")});
        const bool started = game.waitForStarted(5000);
        ::close(ends[1]);
        pollfd readable{ends[0], POLLIN, 0};
        char first[16];
        const bool heard =
            started && ::poll(&readable, 1, 10000) == 1 && ::read(ends[0], first, 10) > 0;
        ::close(ends[0]);

        const bool ended = !heard || game.waitForFinished(1000);
        const QString how = QStringLiteral("%1 %2").arg(
            game.exitStatus() == QProcess::CrashExit ? "signal" : "exit code",
            QString::number(game.exitCode()));
        game.kill();
        game.waitForFinished(5000);
        QVERIFY2(started, qPrintable(game.errorString()));
        QVERIFY2(heard, "the game printed nothing on its standard output");
        QVERIFY2(!ended, qPrintable("the game ended when its output went away: " + how));
    }

    void command_line_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");  // -1: still running after a second
        QTest::addColumn<QString>("output"); // a pattern for the start of standard output
        QTest::addColumn<QString>("error");  // the one line on standard error, or none

        // --help and --version need no display: without one, QApplication
        // would abort the program.
        const QString usage =
            QStringLiteral(R"(Usage: kestrano \[options\]\n(.*\n)*  -v, --version .*\n)");
        // clang-format off
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h, with Qt's own options") << QStringList{"-style", "Fusion", "-h"} << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringLiteral(R"(kestrano \d+\.\d+\.\d+\n$)") << QString();
        QTest::newRow("unknown long option") << QStringList{"-platform", "offscreen", "--colour"} << 2 << QStringLiteral("$") << QStringLiteral("kestrano: Unknown option 'colour'. Try 'kestrano --help'.");
        QTest::newRow("unknown word after one dash") << QStringList{"-platform", "offscreen", "-fullscreen"} << 2 << QStringLiteral("$") << QStringLiteral("kestrano: Unknown option 'fullscreen'. Try 'kestrano --help'.");
        QTest::newRow("Qt's own options play as before") << QStringList{"-platform", "offscreen", "-style", "Fusion", "-reverse"} << -1 << QStringLiteral(R"(First_Shown\(\)\nn1=)") << QString();
        // clang-format on
    }

    void command_line()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit_code);
        QFETCH(QString, output);
        QFETCH(QString, error);

        QTemporaryDir runtime; // keeps Qt's note about a missing runtime folder off stderr
        QVERIFY(runtime.isValid());
        ChildRun run;
        run.program = QStringLiteral(KESTRANO_BINARY);
        run.arguments = arguments;
        run.folder = QStringLiteral(KESTRANO_GAME_DIR);
        run.environment = QStringList{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb",
                                      "XDG_RUNTIME_DIR=" + runtime.path()};
        run.limit_ms = exit_code < 0 ? 1000 : 15000;
        const ChildResult game = run_child(run);
        // Still running, as it should, or ended by itself with the exit code.
        QVERIFY2(exit_code < 0 ? game.hung : game.ended && !game.crashed,
                 game.report().constData());
        QCOMPARE(game.exit_code, exit_code);
        const QString out = QString::fromLocal8Bit(game.out);
        QVERIFY2(QRegularExpression(QStringLiteral("\\A") + output).match(out).hasMatch(),
                 qPrintable(out.left(200)));
        QCOMPARE(QString::fromLocal8Bit(game.err),
                 error.isEmpty() ? QString() : error + QLatin1Char('\n'));
    }
};

QTEST_MAIN(TestProgram)
#include "test_program.moc"
