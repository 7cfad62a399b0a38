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
// One test, real_program_closed_in_a_round, runs only on a virtual X display
// started by tests/closing_real_window.sh: the table as main() runs it, in a
// real window, played into a round and closed from its menu with keys sent
// by xdotool, as a player's keyboard would; the script checks the exit code
// and a clean end of the whole process.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/modal_answer.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"

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

// The close button of a window's frame: the window system's close event.
void close_by_frame(QWidget *top)
{
    QCloseEvent close;
    QCoreApplication::sendEvent(top->windowHandle(), &close);
}

template <typename Window> Window *top_level()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<Window *>(widget))
            return found;
    }
    return nullptr;
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
    void real_program_closed_in_a_round();

private:
    void click(QWidget *target)
    {
        trace += capture_stdout([&] {
            QTest::mouseClick(table->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              target->mapTo(table->window(), target->rect().center()));
        });
    }
    bool wait_for(const std::function<bool()> &condition)
    {
        bool met = false;
        trace += capture_stdout([&] { met = QTest::qWaitFor(condition); });
        return met;
    }
    [[nodiscard]] bool play_to(const QString &phase);

    QByteArray trace;
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
    trace.clear();
    if (qstrcmp(QTest::currentTestFunction(), "real_program_closed_in_a_round") == 0)
        return; // it builds the table as main() does
    table = std::make_unique<TableFixture>(kDelayScale);
    QVERIFY(table->show_active());
}

void TestClosing::cleanup()
{
    table.reset();
}

// Plays from a fresh table to the moment `phase` names.
bool TestClosing::play_to(const QString &phase)
{
    QTest::keyClick(table->window()->windowHandle(), Qt::Key_B, Qt::ControlModifier);
    if (phase == QLatin1String("start pause"))
        return true;
    if (!wait_for([this] { return table->deal_button()->isEnabled(); }))
        return false;
    click(table->deal_button());
    if (phase == QLatin1String("deal pending"))
        return true;
    if (!wait_for([this] { return !table->probe->card_button(3)->isHidden(); }))
        return false;
    click(table->probe->card_button(3));
    if (phase == QLatin1String("card pressed"))
        return true;
    click(table->open_button());
    return phase == QLatin1String("notice shown");
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
    QTest::newRow("menu, the deal comes while the question is open") << "deal pending"
                                                                     << "menu, slow answer";
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
void TestClosing::real_program_closed_in_a_round()
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

QTEST_MAIN(TestClosing)
#include "test_closing.moc"
