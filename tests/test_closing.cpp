// Closing the game.  The table closed from its menu ("close", answered Yes)
// or by its frame, in the middle of a round with the game's timers pending,
// with the close question open while a timer fires or not, ends the program
// cleanly: the event loop returns 0, the table goes away and no step of the
// game runs after it.  With the help or version window still open the
// program keeps running until that window is closed too.
//
// How: the program ends when the application's event loop does, and that
// loop quits by itself when its last visible window closes; Qt does that
// bookkeeping only inside QApplication::exec().  So these tests run exec()
// for real, in this process, and close windows from inside it as a player
// would: the menu entry through its action (chosen only while enabled), the
// question answered with a click on its button, a frame's close button as
// the close event the window system sends to the window.  When exec()
// returns, the table is destroyed at once, as main() does, and the test then
// waits past every pause of the game, so that a timer left behind would
// show.  Closing a window that a box blocks cannot be tried: Qt does not hand
// the window system's close to a window behind a modal box.
//
// Two tests run only on a virtual X display started by
// tests/closing_real_window.sh.  real_window_closed_from_its_menu: the table
// as main() runs it, in a real window, played into a round and closed from
// its menu with keys sent by xdotool, as a player's keyboard would; the
// script checks the exit code and a clean end of the whole process.
// real_program_closed_in_a_round: the real program started as a session or a
// shell may, with a standard stream closed or a reader of its output that
// stops reading, and ended by the signals of a logout, Ctrl+C or a closed
// terminal.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
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
int run_program(const std::function<void()> &script, int limit_ms = 5000)
{
    QTimer::singleShot(0, qApp, script);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, qApp, [] { QCoreApplication::exit(kStillRunning); });
    limit.start(limit_ms);
    return QApplication::exec();
}

} // namespace

class TestClosing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void closing_the_table_data();
    void closing_the_table();
    void other_windows_keep_the_program_running_data();
    void other_windows_keep_the_program_running();
    void real_window_closed_from_its_menu();
    void real_program_closed_in_a_round_data();
    void real_program_closed_in_a_round();

private:
    [[nodiscard]] bool play_to(const QString &phase);

    std::unique_ptr<TableFixture> table;
};

void TestClosing::initTestCase()
{
    drop_offscreen_warnings();
}

void TestClosing::cleanupTestCase()
{
    keep_offscreen_warnings();
}

void TestClosing::init()
{
    if (qstrcmp(QTest::currentTestFunction(), "real_window_closed_from_its_menu") == 0 ||
        qstrcmp(QTest::currentTestFunction(), "real_program_closed_in_a_round") == 0)
        return; // no table of the test's own
    table = std::make_unique<TableFixture>(kDelayScale);
    QVERIFY(table->show_active());
}

void TestClosing::cleanup()
{
    table.reset();
}

// Plays from a fresh table to the moment `phase` names, the pause of the
// phase running at the test's short length.
bool TestClosing::play_to(const QString &phase)
{
    TableFixture &t = *table;
    if (phase == QLatin1String("start pause")) {
        QTest::keyClick(t.window(), Qt::Key_B, Qt::ControlModifier);
        return true;
    }
    if (!t.start_game() || !t.press(t.deal_button()))
        return false;
    if (phase == QLatin1String("deal pending"))
        return true;
    if (!t.wait_for_deal().contains("Secand_Card_deal_Push_shown()") || !t.press(t.card_button(3)))
        return false;
    return phase == QLatin1String("card pressed") ||
           (t.press(t.open_button()) && phase == QLatin1String("notice shown"));
}

void TestClosing::closing_the_table_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QString>("way");

    for (const char *way : {"menu", "frame"}) {
        QTest::addRow("%s, in the start pause", way) << "start pause" << way;
        QTest::addRow("%s, with a deal pending", way) << "deal pending" << way;
        QTest::addRow("%s, after a card press", way) << "card pressed" << way;
        QTest::addRow("%s, with a result notice shown", way) << "notice shown" << way;
    }
    // clang-format off
    QTest::newRow("menu, the deal comes while the question is open") << "deal pending" << "menu, slow answer";
    // clang-format on
}

void TestClosing::closing_the_table()
{
    QFETCH(QString, phase);
    QFETCH(QString, way);

    QVERIFY(play_to(phase));
    // The pause of the phase has not ended yet.
    if (phase == QLatin1String("start pause"))
        QVERIFY(!table->deal_button()->isEnabled());
    if (phase == QLatin1String("deal pending"))
        QVERIFY(table->round_label()->isVisible());
    if (phase == QLatin1String("notice shown"))
        QVERIFY(!table->label("result_label")->text().isEmpty());
    const int round = count;

    const bool slow_answer = way == QLatin1String("menu, slow answer");
    QByteArray during;
    int result = -1;
    during = capture_stdout([&] {
        result = run_program([&] {
            if (way == QLatin1String("frame")) {
                close_by_frame(table->window());
                return;
            }
            answer_next_box(QMessageBox::Yes, slow_answer ? 3 * game_delay(kDealDelayMs) : 0);
            QVERIFY(table->probe->close_action()->isEnabled());
            table->probe->close_action()->trigger();
        });
    });
    QCOMPARE(result, 0);
    QVERIFY(table->window()->isHidden());
    QCOMPARE(count, round);
    if (slow_answer)
        QVERIFY2(during.contains("Secand_Card_deal_Push_shown()\n"),
                 "the deal did not come while the question was open");

    // As main() does once the loop has returned; no step of the game may
    // run after that, whatever was pending.
    const QByteArray after = capture_stdout([this] {
        table->destroy_window();
        QTest::qWait(game_delay(kStartDelayMs) + game_delay(kNoticeDelayMs));
    });
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

void TestClosing::other_windows_keep_the_program_running()
{
    QFETCH(bool, help);
    QFETCH(bool, version);
    QFETCH(QString, last);

    QSignalSpy last_window_closed(qApp, &QGuiApplication::lastWindowClosed);
    bool running_after_the_table = false;
    bool running_after_the_first = false;
    const int result = run_program([&] {
        // Opened from the menu, while a game runs.
        QTest::keyClick(table->window()->windowHandle(), Qt::Key_B, Qt::ControlModifier);
        table->probe->explain_action()->trigger();
        table->probe->version_action()->trigger();
        QTest::qWait(10);
        auto *help_window = top_level<Help_explain>();
        auto *version_window = top_level<Version>();
        QVERIFY(help_window && version_window);
        QVERIFY(help_window->isVisible() && version_window->isVisible());
        if (!help)
            close_by_frame(help_window);
        if (!version)
            QTest::mouseClick(version_window->findChild<QPushButton *>("ok_button"),
                              Qt::LeftButton);
        QTest::qWait(10);
        QCOMPARE(last_window_closed.count(), 0);

        table->window()->activateWindow();
        answer_next_box(QMessageBox::Yes);
        table->probe->close_action()->trigger();
        QVERIFY(table->window()->isHidden());
        QTest::qWait(game_delay(kStartDelayMs) + 20);
        running_after_the_table = last_window_closed.isEmpty();

        auto close_one = [&](const QString &which) {
            if (which == QLatin1String("help"))
                close_by_frame(help_window);
            else
                QTest::mouseClick(version_window->findChild<QPushButton *>("ok_button"),
                                  Qt::LeftButton);
        };
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
    if (help && version)
        QVERIFY(running_after_the_first);
    QVERIFY(table->window()->isHidden());
}

// The table as main() runs it, in a real window that closing_real_window.sh
// plays with keys: game start, deal, the first card opened, then "close"
// from the Game menu, answered Yes while the result notice is on.
void TestClosing::real_window_closed_from_its_menu()
{
    if (!qEnvironmentVariableIsSet("KESTRANO_REAL_WINDOW"))
        QSKIP("runs only on the display of tests/closing_real_window.sh");
    // The start pause 650 ms, the result notice 200 ms.
    set_delay_scale_for_tests(0.1);
    auto window = std::make_unique<Kestrano>();
    window->show();
    QCOMPARE(QApplication::exec(), 0);
    window.reset();
    const QByteArray after = capture_stdout(
        [] { QTest::qWait(game_delay(kStartDelayMs) + game_delay(kNoticeDelayMs)); });
    QVERIFY2(after.isEmpty(), after.left(200).constData());
    set_delay_scale_for_tests(1.0);
}

void TestClosing::real_program_closed_in_a_round_data()
{
    QTest::addColumn<QString>("output"); // "read", "closed" or "stalled"
    QTest::addColumn<bool>("errors_closed");
    QTest::addColumn<QString>("end"); // a signal, or "SIGTERM twice"

    // Closed from its menu in a round: real_window_closed_from_its_menu.
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
// finds it) before the signal comes.
void TestClosing::real_program_closed_in_a_round()
{
    QFETCH(QString, output);
    QFETCH(bool, errors_closed);
    QFETCH(QString, end);
    if (!qEnvironmentVariableIsSet("KESTRANO_REAL_WINDOW"))
        QSKIP("runs only on the display of tests/closing_real_window.sh");

    int stalled[2] = {-1, -1};
    if (output == QLatin1String("stalled")) {
        QVERIFY(pipe2(stalled, O_CLOEXEC) == 0);
        fcntl(stalled[1], F_SETPIPE_SZ, 4096);
    }
    QProcess game;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    game.setProcessEnvironment(environment);
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
    game.start(QStringLiteral(KESTRANO_BINARY), QStringList());
    if (write_end != -1)
        ::close(write_end);
    QVERIFY2(game.waitForStarted(), qPrintable(game.errorString()));

    const ChildResult search = run_child(
        {QStringLiteral("xdotool"),
         {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
          QStringLiteral("--name"), QStringLiteral("^Title:12-1$")},
         {},
         {},
         10000,
         {},
         0});
    const bool played = search.passed() && !search.out.trimmed().isEmpty();
    if (played) {
        const int signal_number = end == QLatin1String("SIGINT")   ? SIGINT
                                  : end == QLatin1String("SIGHUP") ? SIGHUP
                                                                   : SIGTERM;
        ::kill(static_cast<pid_t>(game.processId()), signal_number);
    }
    // The reader comes back only after the game has had time to end without it.
    bool ended = game.waitForFinished(end == QLatin1String("SIGTERM twice") ? 1000 : 100);
    if (end == QLatin1String("SIGTERM twice") && !ended) {
        ::kill(static_cast<pid_t>(game.processId()), SIGTERM);
        ended = game.waitForFinished(2000);
        QVERIFY2(ended, "a second SIGTERM did not end the program at once");
        QCOMPARE(game.exitStatus(), QProcess::CrashExit);
    }
    QByteArray traces;
    for (int tries = 0; !ended && tries < 100; ++tries) {
        char bytes[65536];
        pollfd readable{stalled[0], POLLIN, 0};
        if (stalled[0] != -1 && ::poll(&readable, 1, 100) == 1) {
            const ssize_t got = ::read(stalled[0], bytes, sizeof bytes);
            if (got > 0)
                traces.append(bytes, got);
            // At the pipe's end the game has let go of its output: from now
            // on only its end is waited for.
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
    if (stalled[0] != -1) {
        char bytes[65536];
        for (ssize_t got; (got = ::read(stalled[0], bytes, sizeof bytes)) > 0;)
            traces.append(bytes, got);
        ::close(stalled[0]);
    }
    if (end == QLatin1String("SIGTERM twice"))
        return;

    if (output == QLatin1String("read"))
        traces = game.readAllStandardOutput();
    const QByteArray errors = game.readAllStandardError();
    QVERIFY2(played, qPrintable(QStringLiteral("the table or its close question never showed\n") +
                                QString::fromLocal8Bit(errors)));
    QVERIFY2(ended, "the game did not end after its close was confirmed");
    QVERIFY2(game.exitStatus() == QProcess::NormalExit,
             qPrintable(QStringLiteral("the game crashed at its end\n") +
                        QString::fromLocal8Bit(errors.right(2000))));
    QVERIFY2(game.exitCode() == 0,
             qPrintable(QStringLiteral("exit code %1\n").arg(game.exitCode()) +
                        QString::fromLocal8Bit(errors.right(3000))));
    if (!close_output) {
        // Every trace printed before the signal is out: the start-up trace
        // ends with the deal table's closing count.
        static const QRegularExpression whole(
            QStringLiteral(R"(^First_Shown\(\)\n[\s\S]*\nnn19=[\s\S]*\nMAX=15,n=\d+$)"));
        QVERIFY2(whole.match(QString::fromLatin1(traces)).hasMatch(),
                 traces.right(200).constData());
    }
}

QTEST_MAIN(TestClosing)
#include "test_closing.moc"
