// The menu bar: starting a game (menu entry or Ctrl+B), the start pause, the
// close question, and the version and help windows.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>

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

QList<QWidget *> top_level_windows_of(const char *class_name)
{
    QList<QWidget *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits(class_name))
            found << widget;
    }
    return found;
}

} // namespace

class MenusTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menu_entries_data();
    void menu_entries();
    void starting_a_game_data();
    void starting_a_game();
    void start_while_locked_does_nothing_data();
    void start_while_locked_does_nothing();
    void deal_button_waits_for_the_start_pause();
    void next_match_starts_the_same_way();
    void close_question_data();
    void close_question();
    void one_window_however_often_opened_data();
    void one_window_however_often_opened();

private:
    void click_menu_entry(QMenu *menu, QAction *action);
    void start_by(const QString &way);

    std::unique_ptr<TableFixture> table;
};

void MenusTest::init()
{
    table = std::make_unique<TableFixture>(1.0);
    QVERIFY(table->show_active());
}

void MenusTest::cleanup()
{
    table.reset();
}

// Opens `menu` from the menu bar and clicks `action` in it.
void MenusTest::click_menu_entry(QMenu *menu, QAction *action)
{
    QMenuBar *bar = table->window()->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    // A disabled entry leaves the menu open; the user would close it.
    if (menu->isVisible())
        menu->close();
}

void MenusTest::start_by(const QString &way)
{
    KestranoProbe &probe = *table->probe;
    if (way == QLatin1String("Ctrl+B"))
        QTest::keyClick(table->window(), Qt::Key_B, Qt::ControlModifier);
    else
        click_menu_entry(probe.game_menu(), probe.start_action());
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

void MenusTest::starting_a_game()
{
    QFETCH(QString, way);
    KestranoProbe &probe = *table->probe;
    // Whatever a start finds, it leaves alone: no shuffle, no reset.
    count = 3;
    buf_n = 7;
    cpu_score = 2;
    user_score = 4;
    tie_score = 1;
    for (int i = 0; i < 52; ++i)
        buf_r[i] = 52 - i;
    int table_before[52];
    std::copy(std::begin(buf_r), std::end(buf_r), std::begin(table_before));
    const int swaps_before = deck_swap_count;

    const QByteArray out = capture_stdout([&] { start_by(way); });

    QCOMPARE(table->sound.played, QStringList{kStartSound});
    QVERIFY(!probe.start_action()->isEnabled());
    QCOMPARE(probe.start_action()->statusTip(), kStartedTip);
    QVERIFY(!table->deal_button()->isEnabled());
    QCOMPARE(out, QByteArray());
    QCOMPARE(count, 3);
    QCOMPARE(buf_n, 7);
    QCOMPARE(cpu_score, 2);
    QCOMPARE(user_score, 4);
    QCOMPARE(tie_score, 1);
    QVERIFY(std::equal(std::begin(buf_r), std::end(buf_r), std::begin(table_before)));
    QCOMPARE(deck_swap_count, swaps_before);
}

void MenusTest::start_while_locked_does_nothing_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("menu entry again") << "menu entry";
    QTest::newRow("Ctrl+B again") << "Ctrl+B";
}

void MenusTest::start_while_locked_does_nothing()
{
    QFETCH(QString, way);
    KestranoProbe &probe = *table->probe;
    set_delay_scale_for_tests(0.01);
    start_by(QStringLiteral("Ctrl+B"));
    QCOMPARE(table->sound.played.size(), 1);

    start_by(way);
    QCOMPARE(table->sound.played, QStringList{kStartSound});

    // Also after the pause, for the rest of the match.
    QTRY_VERIFY(table->deal_button()->isEnabled());
    start_by(way);
    QCOMPARE(table->sound.played, QStringList{kStartSound});
    QVERIFY(!probe.start_action()->isEnabled());
}

void MenusTest::deal_button_waits_for_the_start_pause()
{
    KestranoProbe &probe = *table->probe;
    auto *deal = table->deal_button();
    auto *round = table->round_label();
    set_delay_scale_for_tests(0.2); // the 6500 ms pause becomes 1300 ms

    start_by(QStringLiteral("Ctrl+B"));
    QVERIFY(!deal->isEnabled());
    QTest::mouseClick(deal, Qt::LeftButton);
    QCOMPARE(count, 0);
    QVERIFY(!round->isVisible());

    QTest::qWait(900);
    QVERIFY(!deal->isEnabled());
    QVERIFY(!probe.start_action()->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(deal->isEnabled(), 3000);
    QVERIFY(!probe.start_action()->isEnabled());
    QCOMPARE(probe.start_action()->statusTip(), kStartedTip);
    QCOMPARE(count, 0);
}

void MenusTest::next_match_starts_the_same_way()
{
    KestranoProbe &probe = *table->probe;
    set_delay_scale_for_tests(0.01);
    start_by(QStringLiteral("Ctrl+B"));
    QTRY_VERIFY(table->deal_button()->isEnabled());

    answer_next_box(QMessageBox::Ok);
    capture_stdout([&] { probe.match_result(); });
    QVERIFY(probe.start_action()->isEnabled());
    QCOMPARE(probe.start_action()->statusTip(), kStartedTip);

    table->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(table->window()));
    start_by(QStringLiteral("Ctrl+B"));
    QCOMPARE(table->sound.played, (QStringList{kStartSound, kStartSound}));
    QVERIFY(!probe.start_action()->isEnabled());
    QCOMPARE(probe.start_action()->statusTip(), kStartedTip);
}

void MenusTest::close_question_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("keeps_running");

    QTest::newRow("answered No") << int(QMessageBox::No) << true;
    QTest::newRow("dismissed with Escape") << int(QMessageBox::NoButton) << true;
    QTest::newRow("answered Yes") << int(QMessageBox::Yes) << false;
}

void MenusTest::close_question()
{
    QFETCH(int, answer);
    QFETCH(bool, keeps_running);
    KestranoProbe &probe = *table->probe;
    auto *deal = table->deal_button();
    // In the middle of a running match.
    start_by(QStringLiteral("menu entry"));
    count = 2;
    cpu_score = 4;
    user_score = 3;
    tie_score = 1;

    const ModalAnswer *seen = answer_next_box(QMessageBox::StandardButton(answer));
    const QByteArray out =
        capture_stdout([&] { click_menu_entry(probe.game_menu(), probe.close_action()); });

    QVERIFY(seen->answered);
    QCOMPARE(seen->title, QStringLiteral("Question"));
    QCOMPARE(seen->text, QStringLiteral("Are u really close"));
    QCOMPARE(seen->buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
    QCOMPARE(out, QByteArray());
    QCOMPARE(table->window()->isVisible(), keeps_running);
    QCOMPARE(table->sound.played, QStringList{kStartSound});
    QVERIFY(!probe.start_action()->isEnabled());
    QVERIFY(!deal->isEnabled());
    QCOMPARE(count, 2);
    QCOMPARE(cpu_score, 4);
    QCOMPARE(user_score, 3);
    QCOMPARE(tie_score, 1);
}

void MenusTest::one_window_however_often_opened_data()
{
    QTest::addColumn<QByteArray>("class_name");
    QTest::addColumn<bool>("version_entry");

    QTest::newRow("Version twice") << QByteArray("Version") << true;
    QTest::newRow("Explain twice") << QByteArray("Help_explain") << false;
}

void MenusTest::one_window_however_often_opened()
{
    QFETCH(QByteArray, class_name);
    QFETCH(bool, version_entry);
    KestranoProbe &probe = *table->probe;
    QAction *entry = version_entry ? probe.version_action() : probe.explain_action();

    const QList<QWidget *> before = top_level_windows_of(class_name.constData());
    QCOMPARE(before.size(), 1);
    QWidget *opened = before.first();
    QVERIFY(!opened->isVisible());
    // Away from where a new window would go, so that centring shows.
    table->window()->move(60, 40);

    click_menu_entry(probe.help_menu(), entry);
    QTRY_VERIFY(opened->isVisible());
    const QPoint off_centre =
        opened->frameGeometry().center() - table->window()->frameGeometry().center();
    QVERIFY2(off_centre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("opened %1 px right, %2 px down of the table's centre")
                            .arg(off_centre.x())
                            .arg(off_centre.y())));
    QTRY_COMPARE(QApplication::activeWindow(), opened);

    // Chosen again while open, behind the table: it comes to the front.
    table->window()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), table->window());
    click_menu_entry(probe.help_menu(), entry);
    QTRY_COMPARE(QApplication::activeWindow(), opened);

    QCOMPARE(top_level_windows_of(class_name.constData()), before);
    QVERIFY(opened->isVisible());
    QVERIFY(table->window()->isVisible());
}

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
