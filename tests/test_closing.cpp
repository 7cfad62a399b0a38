// Closing the game.  The table closed from its menu or by its frame, with the
// game's timers pending, ends the program cleanly: the event loop (run for
// real, as main() runs it: it quits by itself when its last window closes)
// returns 0 and no step of the game runs after it.  An open help or version
// window keeps the program running until it is closed too.  The real_* tests
// run only on the X display of tests/closing_real_window.sh: the table played
// with keys, and the real program ended by signals with its streams closed.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <poll.h>
#include <unistd.h>

#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/child_process.h"
#include "tests/support/modal_answer.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

// Long enough pauses that the game's timers are still pending when the
// close comes a moment later, short enough to wait past them all.
constexpr double kDelayScale = 0.02;
// exec()'s result when the program is still running after the test's limit.
constexpr int kStillRunning = 99;

// Runs the application's event loop as main() does, with `script` started
// inside it; returns exec()'s result.
int run_program(const std::function<void()> &script)
{
    QTimer::singleShot(0, qApp, script);
    QTimer limit;
    limit.callOnTimeout(qApp, [] { QCoreApplication::exit(kStillRunning); });
    limit.start(5000);
    return QApplication::exec();
}

// What the game prints from the moment the window is destroyed, as main()
// does once the loop has returned, until every pause is over: nothing.
QByteArray printed_after_the_end(const std::function<void()> &destroy)
{
    return capture_stdout([&] {
        destroy();
        QTest::qWait(game_delay(kStartDelayMs) + game_delay(kNoticeDelayMs));
    });
}

bool real_display()
{
    return qEnvironmentVariableIsSet("KESTRANO_REAL_WINDOW");
}

} // namespace

class TestClosing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { drop_offscreen_warnings(); }
    void cleanupTestCase() { keep_offscreen_warnings(); }
    void cleanup() { table.reset(); }
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()).startsWith("real_"))
            return; // no table of the test's own
        table = std::make_unique<TableFixture>(kDelayScale);
        QVERIFY(table->show_active());
    }

    void closing_the_table_data();
    void closing_the_table();
    void other_windows_keep_the_program_running_data();
    void other_windows_keep_the_program_running();
    void real_window_closed_from_its_menu();
    void real_program_closed_in_a_round_data();
    void real_program_closed_in_a_round();

private:
    [[nodiscard]] bool reach(Phase phase);

    std::unique_ptr<TableFixture> table;
};

// Plays a fresh table to `phase` with every pause short, the pause of the
// phase still running.
bool TestClosing::reach(Phase phase)
{
    TableFixture &t = *table;
    if (phase == Phase::StartDelay)
        return t.press_key(Qt::Key_B, Qt::ControlModifier) && !t.deal_button()->isEnabled();
    if (phase == Phase::DealDelay)
        return t.start_game() && t.press(t.deal_button()) && t.round_label()->isVisible();
    return t.play_to(phase) &&
           (phase != Phase::AfterOpen || !t.label("result_label")->text().isEmpty());
}

void TestClosing::closing_the_table_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<QString>("way");

    for (const char *way : {"menu", "frame"}) {
        for (Phase phase :
             {Phase::StartDelay, Phase::DealDelay, Phase::AfterPress, Phase::AfterOpen})
            QTest::addRow("%s, %s", way, phase_info(phase).name) << phase << way;
    }
    // clang-format off
    QTest::newRow("menu, the deal comes while the question is open") << Phase::DealDelay << "menu, slow answer";
    // clang-format on
}

void TestClosing::closing_the_table()
{
    QFETCH(Phase, phase);
    QFETCH(QString, way);
    QVERIFY(reach(phase));
    const int round = count;

    const bool slow_answer = way == QLatin1String("menu, slow answer");
    int result = -1;
    const QByteArray during = capture_stdout([&] {
        result = run_program([&] {
            if (way == QLatin1String("frame"))
                return close_by_frame(table->window());
            answer_next_box(QMessageBox::Yes, slow_answer ? 3 * game_delay(kDealDelayMs) : 0);
            QAction *close = table->action(QStringLiteral("close"));
            QVERIFY(close && close->isEnabled());
            close->trigger();
        });
    });
    QCOMPARE(result, 0);
    QVERIFY(table->window()->isHidden());
    QCOMPARE(count, round);
    QVERIFY2(!slow_answer || during.contains("Secand_Card_deal_Push_shown()\n"),
             "the deal did not come while the question was open");
    const QByteArray after = printed_after_the_end([this] { table->destroy_window(); });
    QVERIFY2(after.isEmpty(), after.left(200).constData());
}

void TestClosing::other_windows_keep_the_program_running_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::addColumn<QString>("last"); // the window closed last

    QTest::newRow("help window open") << true << false << "help";
    QTest::newRow("version window open, closed by O k") << false << true << "version";
    QTest::newRow("both open, help closed last") << true << true << "help";
    QTest::newRow("both open, version closed last") << true << true << "version";
    QTest::newRow("help window opened and closed before") << false << false << "";
}

// Both opened from the menu while a game runs; those the row does not keep
// are closed before the table.
void TestClosing::other_windows_keep_the_program_running()
{
    QFETCH(bool, help);
    QFETCH(bool, version);
    QFETCH(QString, last);

    QSignalSpy last_window_closed(qApp, &QGuiApplication::lastWindowClosed);
    bool running_after_the_table = false;
    bool running_after_the_first = false;
    const int result = run_program([&] {
        QTest::keyClick(table->window()->windowHandle(), Qt::Key_B, Qt::ControlModifier);
        table->action(QStringLiteral("Explain"))->trigger();
        table->action(QStringLiteral("Version"))->trigger();
        QTest::qWait(10);
        auto *help_window = top_level<Help_explain>();
        auto *version_window = top_level<Version>();
        QVERIFY(help_window && version_window);
        QVERIFY(help_window->isVisible() && version_window->isVisible());
        auto close_one = [&](const QString &which) {
            if (which == QLatin1String("help"))
                close_by_frame(help_window);
            else
                QTest::mouseClick(version_window->findChild<QPushButton *>("ok_button"),
                                  Qt::LeftButton);
        };
        if (!help)
            close_one(QStringLiteral("help"));
        if (!version)
            close_one(QStringLiteral("version"));
        QTest::qWait(10);
        QCOMPARE(last_window_closed.count(), 0);

        table->window()->activateWindow();
        answer_next_box(QMessageBox::Yes);
        table->action(QStringLiteral("close"))->trigger();
        QVERIFY(table->window()->isHidden());
        QTest::qWait(game_delay(kStartDelayMs) + 20);
        running_after_the_table = last_window_closed.isEmpty();
        if (help && version) {
            close_one(last == QLatin1String("help") ? "version" : "help");
            QTest::qWait(20);
            running_after_the_first = last_window_closed.isEmpty();
        }
        if (!last.isEmpty())
            close_one(last);
    });
    QCOMPARE(result, 0);
    QCOMPARE(last_window_closed.count(), 1);
    QCOMPARE(running_after_the_table, help || version);
    QVERIFY(running_after_the_first || !(help && version));
    QVERIFY(table->window()->isHidden());
}

// The table as main() runs it, in a real window that closing_real_window.sh
// plays with keys: game start, deal, the first card opened, then "close"
// from the Game menu, answered Yes while the result notice is on.
void TestClosing::real_window_closed_from_its_menu()
{
    if (!real_display())
        QSKIP("runs only on the display of tests/closing_real_window.sh");
    // The start pause 650 ms, the result notice 200 ms.
    set_delay_scale_for_tests(0.1);
    auto window = std::make_unique<Kestrano>();
    window->show();
    QCOMPARE(QApplication::exec(), 0);
    const QByteArray after = printed_after_the_end([&] { window.reset(); });
    QVERIFY2(after.isEmpty(), after.left(200).constData());
    set_delay_scale_for_tests(1.0);
}

void TestClosing::real_program_closed_in_a_round_data()
{
    QTest::addColumn<QString>("output"); // "read", "closed" or "stalled"
    QTest::addColumn<bool>("errors_closed");
    QTest::addColumn<QString>("end"); // a signal, or "SIGTERM twice"

    // clang-format off
    // The X connection must not take descriptor 1 or 2: no window would show.
    QTest::newRow("standard output closed at launch") << "closed" << false << "SIGTERM";
    QTest::newRow("standard error closed at launch") << "read" << true << "SIGTERM";
    QTest::newRow("a logout's SIGTERM") << "read" << false << "SIGTERM";
    QTest::newRow("Ctrl+C in the terminal") << "read" << false << "SIGINT";
    QTest::newRow("the terminal closed") << "read" << false << "SIGHUP";
    // A 4 KB pipe nobody reads: the start-up trace alone is ten times that.
    QTest::newRow("a reader that stops reading") << "stalled" << false << "SIGTERM";
    QTest::newRow("a second SIGTERM while the traces wait for that reader") << "stalled" << false << "SIGTERM twice";
    // clang-format on
}

// The real program on the script's display; the window must show (xdotool
// finds it) before the signal comes.  It ends with exit code 0 and every
// trace printed before the signal out; a second SIGTERM ends it at once.
void TestClosing::real_program_closed_in_a_round()
{
    QFETCH(QString, output);
    QFETCH(bool, errors_closed);
    QFETCH(QString, end);
    if (!real_display())
        QSKIP("runs only on the display of tests/closing_real_window.sh");
    const bool twice = end == QLatin1String("SIGTERM twice");

    int stalled[2] = {-1, -1};
    if (output == QLatin1String("stalled")) {
        QVERIFY(pipe2(stalled, O_CLOEXEC) == 0);
        fcntl(stalled[1], F_SETPIPE_SZ, 4096);
    }
    QProcess game;
    game.setWorkingDirectory(QStringLiteral(KESTRANO_GAME_DIR));
    if (output != QLatin1String("read"))
        game.setStandardOutputFile(QProcess::nullDevice());
    const int write_end = stalled[1];
    const bool close_output = output == QLatin1String("closed");
    game.setChildProcessModifier([write_end, close_output, errors_closed] {
        if (write_end != -1)
            ::dup2(write_end, STDOUT_FILENO);
        if (close_output)
            ::close(STDOUT_FILENO);
        if (errors_closed)
            ::close(STDERR_FILENO);
    });
    game.start(QStringLiteral(KESTRANO_BINARY),
               {QStringLiteral("-platform"), QStringLiteral("xcb")});
    if (write_end != -1)
        ::close(write_end);
    QVERIFY2(game.waitForStarted(), qPrintable(game.errorString()));

    ChildRun search;
    search.program = QStringLiteral("xdotool");
    search.arguments = QStringList{"search", "--sync", "--onlyvisible", "--name", "^Title:12-1$"};
    search.limit_ms = 10000;
    const ChildResult shown = run_child(search);
    const bool played = shown.passed() && !shown.out.trimmed().isEmpty();
    if (played) {
        ::kill(static_cast<pid_t>(game.processId()), end == QLatin1String("SIGINT")   ? SIGINT
                                                     : end == QLatin1String("SIGHUP") ? SIGHUP
                                                                                      : SIGTERM);
    }
    // The reader comes back only after the game has had time to end without it.
    bool ended = game.waitForFinished(twice ? 1000 : 100);
    if (twice && !ended) {
        ::kill(static_cast<pid_t>(game.processId()), SIGTERM);
        ended = game.waitForFinished(2000);
        QVERIFY2(ended, "a second SIGTERM did not end the program at once");
        QCOMPARE(game.exitStatus(), QProcess::CrashExit);
    }
    QByteArray traces;
    char bytes[65536];
    // Until the pipe's end (the game has let go of its output), then the
    // game's own end is waited for.
    for (int tries = 0; !ended && tries < 100; ++tries) {
        pollfd readable{stalled[0], POLLIN, 0};
        if (stalled[0] != -1 && ::poll(&readable, 1, 100) == 1) {
            const ssize_t got = ::read(stalled[0], bytes, sizeof bytes);
            if (got > 0)
                traces.append(bytes, got);
            if (got == 0) {
                ::close(stalled[0]);
                stalled[0] = -1;
            }
        }
        ended = game.waitForFinished(stalled[0] == -1 ? 100 : 0);
    }
    if (!ended)
        game.kill();
    game.waitForFinished();
    for (ssize_t got; stalled[0] != -1 && (got = ::read(stalled[0], bytes, sizeof bytes)) > 0;)
        traces.append(bytes, got);
    if (stalled[0] != -1)
        ::close(stalled[0]);
    if (twice)
        return;

    if (output == QLatin1String("read"))
        traces = game.readAllStandardOutput();
    const QString errors = QString::fromLocal8Bit(game.readAllStandardError().right(3000));
    QVERIFY2(played, qPrintable(QStringLiteral("the table never showed\n") + errors));
    QVERIFY2(ended, "the game did not end after the signal");
    QVERIFY2(
        game.exitStatus() == QProcess::NormalExit && game.exitCode() == 0,
        qPrintable(
            QStringLiteral("the game crashed or ended with exit code %1\n").arg(game.exitCode()) +
            errors));
    // The start-up trace is out, whole, with the deal table.
    if (!close_output) {
        const QString problem = start_up_trace_problem(traces);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(traces.contains("\nnn19="));
    }
}

QTEST_MAIN(TestClosing)
#include "test_closing.moc"
