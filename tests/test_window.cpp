// The table's window as the player sees and handles it: its size, title,
// widgets, layout, cloth and slots; its menus, the start, the close question
// and the help windows; and closing it, which ends the program cleanly (the
// event loop, run for real as main() runs it, returns 0 and no step of the
// game runs after it) unless a help window is still open.  The real_* tests
// run only on the X display of tests/closing_real_window.sh.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaMethod>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <iterator>
#include <memory>
#include <poll.h>
#include <tuple>
#include <unistd.h>

#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/child_process.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/modal_answer.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

const QString kStartSound = QStringLiteral("wave/12-1/kidou");
const QString kStartedTip = QStringLiteral("Push Card deal button");

// The match's counters: round, shuffle position, CPU, user and tie scores.
QList<int> counters()
{
    return {count, buf_n, cpu_score, user_score, tie_score};
}

// Long enough pauses that the game's timers are still pending when the
// close comes a moment later, short enough to wait past them all.
constexpr double kDelayScale = 0.02;
// exec()'s result when the program is still running after the test's limit.
constexpr int kStillRunning = 99;

// exec()'s result, with `script` started inside the loop as main() runs it.
int run_program(const std::function<void()> &script)
{
    QTimer::singleShot(0, qApp, script);
    QTimer limit;
    limit.callOnTimeout(qApp, [] { QCoreApplication::exit(kStillRunning); });
    limit.start(5000);
    return QApplication::exec();
}

// What the game prints from the window's end, as in main(), past every pause.
QByteArray printed_after_the_end(const std::function<void()> &destroy)
{
    return capture_stdout([&] {
        destroy();
        QTest::qWait(game_delay(kStartDelayMs) + game_delay(kNoticeDelayMs));
    });
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    // The window finds its pictures relative to the working directory.
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR)));
        drop_offscreen_warnings();
    }
    void cleanupTestCase() { keep_offscreen_warnings(); }
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()).startsWith("real_"))
            return; // no table of the test's own
        table = std::make_unique<TableFixture>(1.0);
        window = table->window();
        QVERIFY(table->show_active());
    }
    void cleanup() { table.reset(); }

    void size_title_and_status()
    {
        QCOMPARE(window->size(), QSize(640, 480));
        QCOMPARE(window->minimumSize(), QSize(640, 480));
        QCOMPARE(window->maximumSize(), QSize(640, 480));
        window->resize(800, 600);
        QCOMPARE(window->size(), QSize(640, 480));
        QCOMPARE(window->windowTitle(), QStringLiteral("Title:12-1"));
        // The first shuffle made the status bar and left its closing message.
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("It has shuffuled Ok"));
    }

    void widgets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tool_tip");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("pointing_hand");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<int>("points"); // of the "minamoji" font; 0: the default font

        // clang-format off
        //                                  object name           text                    tool tip       hidden   enabled  hand     picture  points
        QTest::newRow("deal button")      << "deal_button"      << "Deal cards"         << "Card deal" << false << false << true  << false << 0;
        QTest::newRow("card open button") << "cpu_open_button"  << "Card open"          << ""          << false << false << true  << false << 0;
        QTest::newRow("score line")       << "score_label"      << "CPU=0,User=0,tie=0" << ""          << false << true  << false << false << 18;
        QTest::newRow("notice line")      << "result_label"     << ""                   << ""          << true  << true  << false << false << 15;
        QTest::newRow("round line")       << "round_label"      << "Round 0"            << ""          << true  << true  << false << false << 24;
        for (int p = 1; p <= 5; ++p) {
            const QString n = QString::number(p);
            QTest::addRow("card button %d", p)  << "push_button" + n     << n                    << ""          << true  << true  << true  << false << 0;
            QTest::addRow("CPU card %d", p)     << "cpu_card_label" + n  << ""                   << ""          << false << true  << false << false << 0;
            QTest::addRow("user card %d", p)    << "user_card_label" + n << ""                   << ""          << false << true  << false << false << 0;
        }
        QTest::newRow("CPU card in play") << "cpu_play_label"   << ""                   << ""          << false << true  << false << false << 0;
        QTest::newRow("user card in play")<< "user_play_label"  << ""                   << ""          << false << true  << false << false << 0;
        QTest::newRow("pile")             << "deck_label"       << ""                   << ""          << false << true  << false << true  << 0;
        // clang-format on
    }

    void widgets()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tool_tip);
        QFETCH(bool, hidden);
        QFETCH(bool, enabled);
        QFETCH(bool, pointing_hand);
        QFETCH(bool, picture);
        QFETCH(int, points);

        auto *widget = window->findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(QStringLiteral("no widget named ") + name));
        if (auto *button = qobject_cast<QPushButton *>(widget))
            QCOMPARE(button->text(), text);
        QCOMPARE(widget->toolTip(), tool_tip);
        QCOMPARE(widget->isHidden(), hidden);
        QCOMPARE(widget->isVisible(), !hidden);
        QCOMPARE(widget->isEnabled(), enabled);
        QCOMPARE(widget->testAttribute(Qt::WA_SetCursor), pointing_hand);
        if (pointing_hand)
            QCOMPARE(widget->cursor().shape(), Qt::PointingHandCursor);
        if (points) {
            QCOMPARE(widget->font().pointSize(), points);
            QCOMPARE(widget->font().family(), QStringLiteral("minamoji"));
        }
        auto *label = qobject_cast<QLabel *>(widget);
        if (!label)
            return;
        QCOMPARE(label->text(), text);
        QCOMPARE(!label->pixmap().isNull(), picture);
        if (picture)
            QVERIFY_PICTURE(label, QStringLiteral("gazo/UB0.png"));
    }

    // Six rows, a stretch between each two (none before the first or after the
    // last); each row centred between stretches, the last one the hand grid:
    // the card buttons over the user's cards, filled column by column.
    void layout()
    {
        auto *rows = qobject_cast<QVBoxLayout *>(window->centralWidget()->layout());
        QVERIFY2(rows, "the central widget has no vertical layout");
        const QStringList expected[] = {
            {"~", "score_label", "~"},
            {"~", "cpu_card_label1", "cpu_card_label2", "cpu_card_label3", "cpu_card_label4",
             "cpu_card_label5", "~"},
            {"~", "result_label", "~"},
            {"~", "round_label", "~"},
            {"~", "deal_button", "cpu_open_button", "~", "cpu_play_label", "user_play_label", "~",
             "deck_label", "~"},
            {"~", "grid", "~"},
        };
        QCOMPARE(rows->count(), 11);
        QGridLayout *grid = nullptr;
        for (int i = 0; i < rows->count(); ++i) {
            QCOMPARE(rows->stretch(i), 0);
            QLayoutItem *item = rows->itemAt(i);
            if (i % 2 == 1) {
                QVERIFY2(
                    item->spacerItem() &&
                        (item->spacerItem()->expandingDirections() & Qt::Vertical),
                    qPrintable(QStringLiteral("item %1 between rows is not a stretch").arg(i)));
                continue;
            }
            auto *row = qobject_cast<QHBoxLayout *>(item->layout());
            QVERIFY2(row, qPrintable(QStringLiteral("row %1 is not horizontal").arg(i / 2 + 1)));
            QStringList contents;
            for (int k = 0; k < row->count(); ++k) {
                QLayoutItem *entry = row->itemAt(k);
                QCOMPARE(row->stretch(k), 0);
                QCOMPARE(entry->alignment(), Qt::Alignment());
                if (entry->spacerItem())
                    QVERIFY(entry->spacerItem()->expandingDirections() & Qt::Horizontal);
                auto *hands = qobject_cast<QGridLayout *>(entry->layout());
                grid = hands ? hands : grid;
                contents << (entry->spacerItem() ? QStringLiteral("~")
                             : entry->widget()   ? entry->widget()->objectName()
                             : hands             ? QStringLiteral("grid")
                                                 : QStringLiteral("?"));
            }
            QCOMPARE(contents, expected[i / 2]);
        }

        QVERIFY(grid);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->columnCount(), 5);
        QCOMPARE(grid->count(), 10);
        for (int i = 0; i < 10; ++i) {
            const int row = i % 2, column = i / 2;
            const QString name =
                (row ? "user_card_label" : "push_button") + QString::number(column + 1);
            QCOMPARE(grid->itemAt(i)->widget()->objectName(), name);
            QCOMPARE(grid->itemAtPosition(row, column)->widget()->objectName(), name);
            QCOMPARE(grid->itemAtPosition(row, column)->alignment(), Qt::AlignHCenter);
        }
    }

    // The cloth between the widgets is plain green.
    void green_table()
    {
        const QImage picture = window->grab().toImage();
        QList<QRect> covered;
        for (QWidget *child : window->centralWidget()->findChildren<QWidget *>()) {
            if (child->isVisible())
                covered << QRect(child->mapTo(window, QPoint(0, 0)), child->size())
                               .adjusted(-2, -2, 2, 2);
        }
        const QRect cloth = window->centralWidget()->geometry().adjusted(4, 4, -4, -4);
        int sampled = 0;
        for (int y = cloth.top(); y < cloth.bottom(); y += 12) {
            for (int x = cloth.left(); x < cloth.right(); x += 12) {
                if (std::none_of(covered.begin(), covered.end(),
                                 [&](const QRect &r) { return r.contains(x, y); })) {
                    ++sampled;
                    QCOMPARE(QColor(picture.pixel(x, y)).name(QColor::HexArgb), "#ff00ff00");
                }
            }
        }
        QVERIFY2(sampled >= 50,
                 qPrintable(QStringLiteral("only %1 bare pixels sampled").arg(sampled)));
    }

    void slots_in_order()
    {
        // clang-format off
        const QByteArrayList signatures = {
            "card_deal()", "push_button1_click()", "push_button2_click()", "push_button3_click()",
            "push_button4_click()", "push_button5_click()", "cpu_open_button_click()",
            "card_deal_timer()", "Show_Round()", "lose_timer()", "win_timer()", "user_cpu_tie_timer()",
            "user_lose()", "user_win()", "user_cpu_tie()", "Beginer_start()", "Game_close()",
            "Help_Version()", "Help_Explain()", "Beginer_start_timer()", "Compare_cpu_user(int,int)"};
        // clang-format on
        const QMetaObject *meta = window->metaObject();
        QCOMPARE(meta->className(), "Kestrano");
        QCOMPARE(meta->methodCount() - meta->methodOffset(), 21);
        for (int i = 0; i < 21; ++i) {
            const QMetaMethod method = meta->method(meta->methodOffset() + i);
            QCOMPARE(method.methodSignature(), signatures.at(i));
            QCOMPARE(method.methodType(), QMetaMethod::Slot);
            QCOMPARE(method.access(), QMetaMethod::Private);
        }
        QCOMPARE(meta->method(meta->methodOffset() + 20).parameterNames(),
                 QList<QByteArray>({"x", "y"}));
    }

    // Two menus of two entries each, all enabled at first: the menu's text, then
    // each entry's text, status tip and shortcut.
    void menu_entries()
    {
        // clang-format off
        const QStringList expected[] = {
            {"&Game", "Game start", "Game Start", "Ctrl+B", "close", "close", ""},
            {"&Help", "Version", "Version", "", "Explain", "How to Play Explain", ""},
        };
        // clang-format on
        const QList<QAction *> menus = window->menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        for (int m = 0; m < 2; ++m) {
            QVERIFY2(menus.at(m)->menu(), "the menu bar's entry opens no menu");
            QStringList seen{menus.at(m)->text()};
            for (QAction *entry : menus.at(m)->menu()->actions()) {
                seen << entry->text() << entry->statusTip()
                     << entry->shortcut().toString(QKeySequence::PortableText);
                QVERIFY(entry->isEnabled());
            }
            QCOMPARE(seen, expected[m]);
        }
    }

    void starting_a_game_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("menu entry") << "menu entry";
        QTest::newRow("Ctrl+B") << "Ctrl+B";
    }

    // A start plays the start sound and locks itself until the match's verdict;
    // "Deal cards" waits for the start pause.  Whatever a start finds, it leaves
    // alone: no shuffle, no reset.
    void starting_a_game()
    {
        QFETCH(QString, way);
        QAction *start = table->start_action();
        QPushButton *deal = table->deal_button();
        set_delay_scale_for_tests(0.1); // the 6500 ms pause becomes 650 ms
        std::tie(count, buf_n, cpu_score, user_score, tie_score) = std::make_tuple(3, 7, 2, 4, 1);
        for (int i = 0; i < 52; ++i)
            buf_r[i] = 52 - i;
        const QList<int> table_before(std::begin(buf_r), std::end(buf_r));
        const int swaps_before = deck_swap_count;

        // Starting prints nothing.
        QCOMPARE(capture_stdout([&] { QVERIFY(start_by(way)); }), QByteArray());
        QCOMPARE(table->sound.played, QStringList{kStartSound});
        QVERIFY(!start->isEnabled());
        QCOMPARE(start->statusTip(), kStartedTip);
        QVERIFY(!deal->isEnabled());
        QCOMPARE(counters(), (QList<int>{3, 7, 2, 4, 1}));
        QCOMPARE(QList<int>(std::begin(buf_r), std::end(buf_r)), table_before);
        QCOMPARE(deck_swap_count, swaps_before);

        // In the pause, "Deal cards" does nothing and a second start neither.
        QTest::mouseClick(deal, Qt::LeftButton);
        QCOMPARE(counters(), (QList<int>{3, 7, 2, 4, 1}));
        QVERIFY(!table->round_label()->isVisible());
        QVERIFY(start_by(way));
        QCOMPARE(table->sound.played, QStringList{kStartSound});

        // After it, "Deal cards" is enabled; starting stays locked.
        QTRY_VERIFY(deal->isEnabled());
        QCOMPARE(counters(), (QList<int>{3, 7, 2, 4, 1}));
        QVERIFY(start_by(way));
        QCOMPARE(table->sound.played, QStringList{kStartSound});
        QVERIFY(!start->isEnabled());
        QCOMPARE(start->statusTip(), kStartedTip);

        // The match's verdict unlocks it; the next match starts the same way.
        answer_next_box(QMessageBox::Ok);
        capture_stdout([&] { table->probe->match_result(); });
        QVERIFY(start->isEnabled());
        QCOMPARE(start->statusTip(), kStartedTip);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY(start_by(way));
        QCOMPARE(table->sound.played, (QStringList{kStartSound, kStartSound}));
        QVERIFY(!start->isEnabled());
        QCOMPARE(start->statusTip(), kStartedTip);
    }

    void close_question_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("keeps_running");

        QTest::newRow("answered No") << int(QMessageBox::No) << true;
        QTest::newRow("dismissed with Escape") << int(QMessageBox::NoButton) << true;
        QTest::newRow("answered Yes") << int(QMessageBox::Yes) << false;
    }

    // Asked in the middle of a running match, the question changes nothing else.
    void close_question()
    {
        QFETCH(int, answer);
        QFETCH(bool, keeps_running);
        QVERIFY(start_by(QStringLiteral("menu entry")));
        std::tie(count, cpu_score, user_score, tie_score) = std::make_tuple(2, 4, 3, 1);

        const ModalAnswer *seen = answer_next_box(QMessageBox::StandardButton(answer));
        const QByteArray out = capture_stdout(
            [&] { QVERIFY(click_menu_entry(QStringLiteral("&Game"), QStringLiteral("close"))); });

        QVERIFY(seen->answered);
        QCOMPARE(seen->title, QStringLiteral("Question"));
        QCOMPARE(seen->text, QStringLiteral("Are u really close"));
        QCOMPARE(seen->buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
        QCOMPARE(out, QByteArray());
        QCOMPARE(window->isVisible(), keeps_running);
        QCOMPARE(table->sound.played, QStringList{kStartSound});
        QVERIFY(!table->start_action()->isEnabled());
        QVERIFY(!table->deal_button()->isEnabled());
        QCOMPARE(counters(), (QList<int>{2, buf_n, 4, 3, 1}));
    }

    void one_window_however_often_opened_data()
    {
        QTest::addColumn<QByteArray>("class_name");
        QTest::addColumn<QString>("entry");

        QTest::newRow("Version twice") << QByteArray("Version") << "Version";
        QTest::newRow("Explain twice") << QByteArray("Help_explain") << "Explain";
    }

    // The window opens centred over the table; chosen again while open behind
    // the table, the same window comes to the front.
    void one_window_however_often_opened()
    {
        QFETCH(QByteArray, class_name);
        QFETCH(QString, entry);
        const auto windows = [&] {
            QWidgetList found = QApplication::topLevelWidgets();
            found.removeIf([&](QWidget *w) { return !w->inherits(class_name.constData()); });
            return found;
        };

        const QWidgetList before = windows();
        QCOMPARE(before.size(), 1);
        QWidget *opened = before.first();
        QVERIFY(!opened->isVisible());
        // Away from where a new window would go, so that centring shows.
        window->move(60, 40);

        QVERIFY(click_menu_entry(QStringLiteral("&Help"), entry));
        QTRY_VERIFY(opened->isVisible());
        const QPoint off_centre =
            opened->frameGeometry().center() - window->frameGeometry().center();
        QVERIFY2(off_centre.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("opened %1 px right, %2 px down of the table's centre")
                                .arg(off_centre.x())
                                .arg(off_centre.y())));
        QTRY_COMPARE(QApplication::activeWindow(), opened);

        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QVERIFY(click_menu_entry(QStringLiteral("&Help"), entry));
        QTRY_COMPARE(QApplication::activeWindow(), opened);

        QCOMPARE(windows(), before);
        QVERIFY(opened->isVisible());
        QVERIFY(window->isVisible());
    }

    void closing_the_table_data()
    {
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<QString>("way");

        for (const char *way : {"menu", "frame"}) {
            for (Phase phase :
                 {Phase::StartDelay, Phase::DealDelay, Phase::AfterPress, Phase::AfterOpen})
                QTest::addRow("%s, %s", way, phase_info(phase).name) << phase << way;
        }
        QTest::newRow("menu, the deal comes while the question is open")
            << Phase::DealDelay << "menu, slow answer";
    }

    void closing_the_table()
    {
        QFETCH(Phase, phase);
        QFETCH(QString, way);
        set_delay_scale_for_tests(kDelayScale);
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

    void other_windows_keep_the_program_running_data()
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
    void other_windows_keep_the_program_running()
    {
        QFETCH(bool, help);
        QFETCH(bool, version);
        QFETCH(QString, last);
        set_delay_scale_for_tests(kDelayScale);

        QSignalSpy last_window_closed(qApp, &QGuiApplication::lastWindowClosed);
        bool running_after_the_table = false, running_after_the_first = false;
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
                    return close_by_frame(help_window);
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
    void real_window_closed_from_its_menu()
    {
        if (!qEnvironmentVariableIsSet("KESTRANO_REAL_WINDOW"))
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

    void real_program_closed_in_a_round_data()
    {
        QTest::addColumn<QString>("output"); // "read", "closed", "stalled" or "never read"
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
        QTest::newRow("a reader that never reads") << "never read" << false << "SIGTERM";
        // clang-format on
    }

    // The real program on the script's display; the window must show (xdotool
    // finds it) before the signal comes.  It ends with exit code 0 and every
    // trace printed before the signal out; a second SIGTERM ends it at once.
    // A reader that never reads gets what its pipe holds, and the game ends
    // all the same.
    void real_program_closed_in_a_round()
    {
        QFETCH(QString, output);
        QFETCH(bool, errors_closed);
        QFETCH(QString, end);
        if (!qEnvironmentVariableIsSet("KESTRANO_REAL_WINDOW"))
            QSKIP("runs only on the display of tests/closing_real_window.sh");
        const bool twice = end == QLatin1String("SIGTERM twice");
        const bool never_read = output == QLatin1String("never read");

        int stalled[2] = {-1, -1};
        if (output == QLatin1String("stalled") || never_read) {
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
        search.arguments =
            QStringList{"search", "--sync", "--onlyvisible", "--name", "^Title:12-1$"};
        search.limit_ms = 10000;
        const ChildResult shown = run_child(search);
        const bool played = shown.passed() && !shown.out.trimmed().isEmpty();
        if (played) {
            ::kill(static_cast<pid_t>(game.processId()), end == QLatin1String("SIGINT") ? SIGINT
                                                         : end == QLatin1String("SIGHUP")
                                                             ? SIGHUP
                                                             : SIGTERM);
        }
        // The reader comes back only after the game has had time to end
        // without it; one that never does is given far longer than the game
        // waits for it.
        bool ended = game.waitForFinished(twice ? 1000 : never_read ? 20000 : 100);
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
        for (int tries = 0; !ended && !never_read && tries < 100; ++tries) {
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
        QVERIFY2(game.exitStatus() == QProcess::NormalExit && game.exitCode() == 0,
                 qPrintable(QStringLiteral("the game crashed or ended with exit code %1\n")
                                .arg(game.exitCode()) +
                            errors));
        // The start-up trace is out, whole, with the deal table; without a
        // reader, as much of its start as the pipe holds.
        if (never_read) {
            QVERIFY2(traces.startsWith("First_Shown()\nn1="), traces.left(40).constData());
        } else if (!close_output) {
            const QString problem = start_up_trace_problem(traces);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            QVERIFY(traces.contains("\nnn19="));
        }
    }

private:
    // Opens `menu` from the menu bar and clicks `entry` in it.
    [[nodiscard]] bool click_menu_entry(const QString &menu, const QString &entry)
    {
        QMenuBar *bar = window->menuBar();
        QAction *opens = nullptr;
        for (QAction *action : bar->actions())
            opens = action->text() == menu ? action : opens;
        QAction *chosen = table->action(entry);
        if (!opens || !opens->menu() || !chosen)
            return false;
        QMenu *opened = opens->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(opens).center());
        if (!QTest::qWaitFor([opened] { return opened->isVisible(); }))
            return false;
        QTest::mouseClick(opened, Qt::LeftButton, {}, opened->actionGeometry(chosen).center());
        // A disabled entry leaves the menu open; the user would close it.
        if (opened->isVisible())
            opened->close();
        return true;
    }

    [[nodiscard]] bool start_by(const QString &way)
    {
        if (way != QLatin1String("Ctrl+B"))
            return click_menu_entry(QStringLiteral("&Game"), QStringLiteral("Game start"));
        QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier);
        return true;
    }

    // A fresh table played to `phase`, with the phase's (short) pause running.
    [[nodiscard]] bool reach(Phase phase)
    {
        TableFixture &t = *table;
        if (phase == Phase::StartDelay)
            return t.press_key(Qt::Key_B, Qt::ControlModifier) && !t.deal_button()->isEnabled();
        if (phase == Phase::DealDelay)
            return t.start_game() && t.press(t.deal_button()) && t.round_label()->isVisible();
        return t.play_to(phase) &&
               (phase != Phase::AfterOpen || !t.label("result_label")->text().isEmpty());
    }

    std::unique_ptr<TableFixture> table;
    Kestrano *window = nullptr;
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
