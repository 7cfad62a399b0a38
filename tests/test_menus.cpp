// The menu bar: its entries, starting a game (menu entry or Ctrl+B), the
// start pause, the close question, and the version and help windows.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
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

class MenusTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        table = std::make_unique<TableFixture>(1.0);
        QVERIFY(table->show_active());
    }
    void cleanup() { table.reset(); }

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
};

// Opens `menu` from the menu bar and clicks `entry` in it.
bool MenusTest::click_menu_entry(const QString &menu, const QString &entry)
{
    QMenuBar *bar = table->window()->menuBar();
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

bool MenusTest::start_by(const QString &way)
{
    if (way != QLatin1String("Ctrl+B"))
        return click_menu_entry(QStringLiteral("&Game"), QStringLiteral("Game start"));
    QTest::keyClick(table->window(), Qt::Key_B, Qt::ControlModifier);
    return true;
}

void MenusTest::menu_entries_data()
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
void MenusTest::menu_entries()
{
    QFETCH(int, menu_index);
    QFETCH(int, entry_index);
    QFETCH(QString, text);
    QFETCH(QString, status_tip);
    QFETCH(QString, shortcut);

    const QList<QAction *> menus = table->window()->menuBar()->actions();
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

void MenusTest::starting_a_game_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("menu entry") << "menu entry";
    QTest::newRow("Ctrl+B") << "Ctrl+B";
}

// A start plays the start sound and locks itself for the rest of the match;
// "Deal cards" waits for the start pause.  Whatever a start finds, it leaves
// alone: no shuffle, no reset.
void MenusTest::starting_a_game()
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

void MenusTest::next_match_starts_the_same_way()
{
    QAction *start = table->start_action();
    set_delay_scale_for_tests(0.01);
    QVERIFY(start_by(QStringLiteral("Ctrl+B")));
    QTRY_VERIFY(table->deal_button()->isEnabled());

    answer_next_box(QMessageBox::Ok);
    capture_stdout([&] { table->probe->match_result(); });
    QVERIFY(start->isEnabled());
    QCOMPARE(start->statusTip(), kStartedTip);

    table->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(table->window()));
    QVERIFY(start_by(QStringLiteral("Ctrl+B")));
    QCOMPARE(table->sound.played, (QStringList{kStartSound, kStartSound}));
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->statusTip(), kStartedTip);
}

void MenusTest::close_question_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("keeps_running");

    QTest::newRow("answered No") << int(QMessageBox::No) << true;
    QTest::newRow("dismissed with Escape") << int(QMessageBox::NoButton) << true;
    QTest::newRow("answered Yes") << int(QMessageBox::Yes) << false;
}

// Asked in the middle of a running match, the question changes nothing else.
void MenusTest::close_question()
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
    QCOMPARE(table->window()->isVisible(), keeps_running);
    QCOMPARE(table->sound.played, QStringList{kStartSound});
    QVERIFY(!table->start_action()->isEnabled());
    QVERIFY(!table->deal_button()->isEnabled());
    QCOMPARE(counters(), (QList<int>{2, buf_n, 4, 3, 1}));
}

void MenusTest::one_window_however_often_opened_data()
{
    QTest::addColumn<QByteArray>("class_name");
    QTest::addColumn<QString>("entry");

    QTest::newRow("Version twice") << QByteArray("Version") << "Version";
    QTest::newRow("Explain twice") << QByteArray("Help_explain") << "Explain";
}

// The window opens centred over the table; chosen again while open behind
// the table, the same window comes to the front.
void MenusTest::one_window_however_often_opened()
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
    table->window()->move(60, 40);

    QVERIFY(click_menu_entry(QStringLiteral("&Help"), entry));
    QTRY_VERIFY(opened->isVisible());
    const QPoint off_centre =
        opened->frameGeometry().center() - table->window()->frameGeometry().center();
    QVERIFY2(off_centre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("opened %1 px right, %2 px down of the table's centre")
                            .arg(off_centre.x())
                            .arg(off_centre.y())));
    QTRY_COMPARE(QApplication::activeWindow(), opened);

    table->window()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), table->window());
    QVERIFY(click_menu_entry(QStringLiteral("&Help"), entry));
    QTRY_COMPARE(QApplication::activeWindow(), opened);

    QCOMPARE(windows(), before);
    QVERIFY(opened->isVisible());
    QVERIFY(table->window()->isVisible());
}

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
