// The table as the player first sees it (size, title, texts, fonts, cursors,
// what is shown and enabled, the layout, the green cloth, the slots) and its
// menus: their entries, starting a game (menu entry or Ctrl+B), the start
// pause, the close question, and the version and help windows.
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <iterator>
#include <memory>
#include <tuple>

#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

const QString kStartSound = QStringLiteral("wave/12-1/kidou");
const QString kStartedTip = QStringLiteral("Push Card deal button");

// The match's counters: round, shuffle position, CPU, user and tie scores.
QList<int> counters()
{
    return {count, buf_n, cpu_score, user_score, tie_score};
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    // The window finds its pictures relative to the working directory.
    void initTestCase() { QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR))); }
    void init()
    {
        table = std::make_unique<TableFixture>(1.0);
        window = table->window();
        QVERIFY(table->show_active());
    }
    void cleanup() { table.reset(); }

    void size_title_and_status();
    void widgets_data();
    void widgets();
    void layout();
    void green_table();
    void slots_in_order();
    void menu_entries_data();
    void menu_entries();
    void starting_a_game_data();
    void starting_a_game();
    void next_match_starts_the_same_way();
    void close_question_data();
    void close_question();
    void one_window_however_often_opened_data();
    void one_window_however_often_opened();

private:
    [[nodiscard]] bool click_menu_entry(const QString &menu, const QString &entry);
    [[nodiscard]] bool start_by(const QString &way);

    std::unique_ptr<TableFixture> table;
    Kestrano *window = nullptr;
};

void TestWindow::size_title_and_status()
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

void TestWindow::widgets_data()
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

void TestWindow::widgets()
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
void TestWindow::layout()
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
            QVERIFY2(item->spacerItem() &&
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
    for (int column = 0; column < 5; ++column) {
        const QString button = QStringLiteral("push_button%1").arg(column + 1);
        const QString label = QStringLiteral("user_card_label%1").arg(column + 1);
        QCOMPARE(grid->itemAtPosition(0, column)->widget()->objectName(), button);
        QCOMPARE(grid->itemAtPosition(1, column)->widget()->objectName(), label);
        QCOMPARE(grid->itemAtPosition(0, column)->alignment(), Qt::AlignHCenter);
        QCOMPARE(grid->itemAtPosition(1, column)->alignment(), Qt::AlignHCenter);
        QCOMPARE(grid->itemAt(2 * column)->widget()->objectName(), button);
        QCOMPARE(grid->itemAt(2 * column + 1)->widget()->objectName(), label);
    }
}

// The cloth between the widgets is plain green.
void TestWindow::green_table()
{
    const QImage picture = window->grab().toImage();
    QList<QRect> covered;
    for (QWidget *child : window->centralWidget()->findChildren<QWidget *>()) {
        if (child->isVisible())
            covered
                << QRect(child->mapTo(window, QPoint(0, 0)), child->size()).adjusted(-2, -2, 2, 2);
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
    QVERIFY2(sampled >= 50, qPrintable(QStringLiteral("only %1 bare pixels sampled").arg(sampled)));
}

void TestWindow::slots_in_order()
{
    // clang-format off
    const QByteArrayList signatures = {
        "card_deal()", "push_button1_click()", "push_button2_click()", "push_button3_click()",
        "push_button4_click()", "push_button5_click()", "cpu_open_button_click()",
        "card_deal_timer()", "Show_Round()", "lose_timer()", "win_timer()", "user_cpu_tie_timer()",
        "user_lose()", "user_win()", "user_cpu_tie()", "Beginer_start()", "Game_close()",
        "Help_Version()", "Help_Explain()", "Beginer_start_timer()", "Compare_cpu_user(int,int)",
    };
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

// Opens `menu` from the menu bar and clicks `entry` in it.
bool TestWindow::click_menu_entry(const QString &menu, const QString &entry)
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

bool TestWindow::start_by(const QString &way)
{
    if (way != QLatin1String("Ctrl+B"))
        return click_menu_entry(QStringLiteral("&Game"), QStringLiteral("Game start"));
    QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier);
    return true;
}

void TestWindow::menu_entries_data()
{
    QTest::addColumn<int>("menu_index");
    QTest::addColumn<int>("entry_index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("status_tip");
    QTest::addColumn<QString>("shortcut");

    // clang-format off
    QTest::newRow("Game start") << 0 << 0 << "Game start" << "Game Start" << "Ctrl+B";
    QTest::newRow("close") << 0 << 1 << "close" << "close" << "";
    QTest::newRow("Version") << 1 << 0 << "Version" << "Version" << "";
    QTest::newRow("Explain") << 1 << 1 << "Explain" << "How to Play Explain" << "";
    // clang-format on
}

// Two menus, "&Game" and "&Help", of two entries each, all enabled at first.
void TestWindow::menu_entries()
{
    QFETCH(int, menu_index);
    QFETCH(int, entry_index);
    QFETCH(QString, text);
    QFETCH(QString, status_tip);
    QFETCH(QString, shortcut);

    const QList<QAction *> menus = window->menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus.at(0)->text(), QStringLiteral("&Game"));
    QCOMPARE(menus.at(1)->text(), QStringLiteral("&Help"));
    QVERIFY2(menus.at(menu_index)->menu(), "the menu bar's entry opens no menu");
    const QList<QAction *> entries = menus.at(menu_index)->menu()->actions();
    QCOMPARE(entries.size(), 2);
    QAction *entry = entries.at(entry_index);
    QCOMPARE(entry->text(), text);
    QCOMPARE(entry->statusTip(), status_tip);
    QCOMPARE(entry->shortcut().toString(QKeySequence::PortableText), shortcut);
    QVERIFY(entry->isEnabled());
}

void TestWindow::starting_a_game_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("menu entry") << "menu entry";
    QTest::newRow("Ctrl+B") << "Ctrl+B";
}

// A start plays the start sound and locks itself for the rest of the match;
// "Deal cards" waits for the start pause.  Whatever a start finds, it leaves
// alone: no shuffle, no reset.
void TestWindow::starting_a_game()
{
    QFETCH(QString, way);
    QAction *start = table->start_action();
    QPushButton *deal = table->deal_button();
    set_delay_scale_for_tests(0.05); // the 6500 ms pause becomes 325 ms
    std::tie(count, buf_n, cpu_score, user_score, tie_score) = std::make_tuple(3, 7, 2, 4, 1);
    for (int i = 0; i < 52; ++i)
        buf_r[i] = 52 - i;
    int table_before[52];
    std::copy(std::begin(buf_r), std::end(buf_r), std::begin(table_before));
    const int swaps_before = deck_swap_count;

    bool started = false;
    const QByteArray out = capture_stdout([&] { started = start_by(way); });
    QVERIFY(started);
    QCOMPARE(table->sound.played, QStringList{kStartSound});
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->statusTip(), kStartedTip);
    QVERIFY(!deal->isEnabled());
    QCOMPARE(out, QByteArray());
    QCOMPARE(counters(), (QList<int>{3, 7, 2, 4, 1}));
    QVERIFY(std::equal(std::begin(buf_r), std::end(buf_r), std::begin(table_before)));
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
}

void TestWindow::next_match_starts_the_same_way()
{
    QAction *start = table->start_action();
    set_delay_scale_for_tests(0.01);
    QVERIFY(start_by(QStringLiteral("Ctrl+B")));
    QTRY_VERIFY(table->deal_button()->isEnabled());

    answer_next_box(QMessageBox::Ok);
    capture_stdout([&] { table->probe->match_result(); });
    QVERIFY(start->isEnabled());
    QCOMPARE(start->statusTip(), kStartedTip);

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(start_by(QStringLiteral("Ctrl+B")));
    QCOMPARE(table->sound.played, (QStringList{kStartSound, kStartSound}));
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->statusTip(), kStartedTip);
}

void TestWindow::close_question_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("keeps_running");

    QTest::newRow("answered No") << int(QMessageBox::No) << true;
    QTest::newRow("dismissed with Escape") << int(QMessageBox::NoButton) << true;
    QTest::newRow("answered Yes") << int(QMessageBox::Yes) << false;
}

// Asked in the middle of a running match, the question changes nothing else.
void TestWindow::close_question()
{
    QFETCH(int, answer);
    QFETCH(bool, keeps_running);
    QVERIFY(start_by(QStringLiteral("menu entry")));
    std::tie(count, cpu_score, user_score, tie_score) = std::make_tuple(2, 4, 3, 1);

    const ModalAnswer *seen = answer_next_box(QMessageBox::StandardButton(answer));
    bool clicked = false;
    const QByteArray out = capture_stdout(
        [&] { clicked = click_menu_entry(QStringLiteral("&Game"), QStringLiteral("close")); });
    QVERIFY(clicked);

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

void TestWindow::one_window_however_often_opened_data()
{
    QTest::addColumn<QByteArray>("class_name");
    QTest::addColumn<QString>("entry");

    QTest::newRow("Version twice") << QByteArray("Version") << "Version";
    QTest::newRow("Explain twice") << QByteArray("Help_explain") << "Explain";
}

// The window opens centred over the table; chosen again while open behind
// the table, the same window comes to the front.
void TestWindow::one_window_however_often_opened()
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
    const QPoint off_centre = opened->frameGeometry().center() - window->frameGeometry().center();
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

QTEST_MAIN(TestWindow)
#include "test_window.moc"
