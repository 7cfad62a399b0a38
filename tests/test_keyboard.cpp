// Playing from the keyboard: keys 1 to 5, D and O do exactly what a click on
// their button does at that moment, and nothing while the button is hidden or
// disabled; Tab walks through the buttons that can be pressed, with a visible
// focus.
//
// A key and a click are compared by playing the same game twice, in two fresh
// windows with the same deal table and the same shuffle draws: once ending
// with the click, once with the key.
#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/modal_answer.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

// The phases of the demonstration match and the keys whose buttons can be
// pressed in each.
struct PhaseKeys
{
    Phase phase;
    const char *pressable;
};

// clang-format off
constexpr PhaseKeys kPhaseKeys[] = {
    {Phase::BeforeStart,     ""},
    {Phase::StartDelay,      ""},
    {Phase::AfterStartDelay, "D"},
    {Phase::DealDelay,       ""},
    {Phase::AfterDeal,       "12345"},
    {Phase::AfterPress,      "O"},
    {Phase::AfterOpen,       "1245"},
    {Phase::AfterFifthOpen,  "D"},
    {Phase::AfterLastOpen,   "D"},
    {Phase::AfterMatch,      ""},
};

struct KeyButton
{
    char name;
    Qt::Key key;
    const char *button;
};

constexpr KeyButton kKeys[] = {
    {'1', Qt::Key_1, "push_button1"}, {'2', Qt::Key_2, "push_button2"}, {'3', Qt::Key_3, "push_button3"},
    {'4', Qt::Key_4, "push_button4"}, {'5', Qt::Key_5, "push_button5"}, {'D', Qt::Key_D, "deal_button"},
    {'O', Qt::Key_O, "cpu_open_button"},
};
// clang-format on

constexpr const char *kButtons[] = {"deal_button",  "cpu_open_button", "push_button1",
                                    "push_button2", "push_button3",    "push_button4",
                                    "push_button5"};

constexpr const char *kLabels[] = {
    "score_label",      "result_label",     "round_label",      "cpu_card_label1",
    "cpu_card_label2",  "cpu_card_label3",  "cpu_card_label4",  "cpu_card_label5",
    "user_card_label1", "user_card_label2", "user_card_label3", "user_card_label4",
    "user_card_label5", "cpu_play_label",   "user_play_label",  "deck_label",
};

template <std::size_t N> QString joined(const int (&values)[N])
{
    return joined(QList<int>(std::begin(values), std::end(values)));
}

QString picture_digest(const QLabel *label)
{
    if (label->pixmap().isNull())
        return QStringLiteral("none");
    const QImage image = label->pixmap().toImage();
    return QString::fromLatin1(
        QCryptographicHash::hash(
            QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()),
            QCryptographicHash::Md5)
            .toHex());
}

// Everything a press can change, one line per part, for comparing two games.
QStringList describe(Kestrano &window, bool start_enabled)
{
    KestranoProbe probe(window);
    QStringList lines;
    lines << QStringLiteral("count=%1 button_count=%2 buf_n=%3 cpu_cout=%4")
                 .arg(count)
                 .arg(button_count)
                 .arg(buf_n)
                 .arg(cpu_cout);
    lines << QStringLiteral("tallies=%1,%2,%3").arg(cpu_score).arg(user_score).arg(tie_score);
    lines << QStringLiteral("buf_user=") + joined(buf_user);
    lines << QStringLiteral("buf_cpu=") + joined(buf_cpu);
    lines << QStringLiteral("buf_r=") + joined(buf_r);
    int hands[10];
    for (int p = 1; p <= 5; ++p) {
        hands[p - 1] = probe.buf_deal(p);
        hands[p + 4] = probe.buf_cpu_deal(p);
    }
    lines << QStringLiteral("hands=") + joined(hands);
    lines << QStringLiteral("start_action enabled=%1").arg(start_enabled);
    for (const char *name : kButtons) {
        const auto *button = window.findChild<QPushButton *>(QLatin1String(name));
        lines << QStringLiteral("%1 visible=%2 enabled=%3 tip=%4")
                     .arg(QLatin1String(name))
                     .arg(button->isVisible())
                     .arg(button->isEnabled())
                     .arg(button->toolTip());
    }
    for (const char *name : kLabels) {
        const auto *label = window.findChild<QLabel *>(QLatin1String(name));
        lines << QStringLiteral("%1 visible=%2 text=%3 name=%4 picture=%5")
                     .arg(QLatin1String(name))
                     .arg(label->isVisible())
                     .arg(label->text(), label->accessibleName(), picture_digest(label));
    }
    return lines;
}

// One game from its start to `phase`, and what the last action did.
struct Game
{
    bool pressable = false;
    QStringList before;
    QStringList after;
    QStringList settled; // once the delays the press started have run
    QByteArray printed;
    QStringList sounds;
};

// A fresh game played to `phase`, ending with a click on `button` or, when
// `key` is set, with that key.
bool play(Phase phase, const QString &button, Qt::Key key, Game &game)
{
    TableFixture table(0.01, kDemoDraws);
    table.lay_demo_deal();
    if (!table.show_active() || !table.play_to(phase) ||
        (!phase_info(phase).in_pause && !table.settle()))
        return false;

    Kestrano &window = *table.window();
    QPushButton *target = table.button(button);
    game.pressable = pressable(target);
    if (game.pressable && target == table.deal_button() && phase == Phase::AfterLastOpen)
        answer_next_box(QMessageBox::Ok); // the match verdict
    const auto state = [&] { return describe(window, table.start_action()->isEnabled()); };
    game.before = state();
    const qsizetype heard = table.sound.played.size();
    table.trace.clear();
    // The state right after the game's own slot: a key press runs the event
    // loop once more, where a short pause the press started may already end.
    bool slot_ran = false;
    const QMetaObject::Connection after =
        QObject::connect(target, &QPushButton::clicked, target, [&] {
            game.after = state();
            slot_ran = true;
        });
    if (key == Qt::Key_unknown)
        table.trace = table.click(target);
    else if (!table.press_key(key))
        return false;
    QObject::disconnect(after);
    if (!slot_ran)
        game.after = state();
    // What the press started (a deal, a notice) runs to its end.
    if (game.pressable) {
        if (!table.settle())
            return false;
        game.settled = state();
    }
    game.printed = table.trace;
    game.sounds = table.sound.played.mid(heard);
    return true;
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { keep_offscreen_warnings(); }

    void key_does_what_a_click_does_data();
    void key_does_what_a_click_does();
    void tab_visits_the_pressable_buttons_data();
    void tab_visits_the_pressable_buttons();
    void keyboard_focus_is_drawn();
};

void TestKeyboard::initTestCase()
{
    drop_offscreen_warnings();
    QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR)));
}

void TestKeyboard::key_does_what_a_click_does_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("acts");

    for (const PhaseKeys &phase : kPhaseKeys) {
        for (const KeyButton &key : kKeys) {
            const bool acts = std::strchr(phase.pressable, key.name) != nullptr;
            QTest::addRow("key %c %s", key.name, phase_info(phase.phase).name)
                << phase.phase << int(key.key) << QString::fromLatin1(key.button) << acts;
        }
    }
}

void TestKeyboard::key_does_what_a_click_does()
{
    QFETCH(Phase, phase);
    QFETCH(int, key);
    QFETCH(QString, button);
    QFETCH(bool, acts);

    Game by_key;
    QVERIFY(play(phase, button, Qt::Key(key), by_key));
    QCOMPARE(by_key.pressable, acts);

    if (!acts) {
        QCOMPARE(by_key.printed, QByteArray());
        QCOMPARE(by_key.sounds, QStringList());
        QCOMPARE(by_key.after, by_key.before);
        return;
    }

    Game by_click;
    QVERIFY(play(phase, button, Qt::Key_unknown, by_click));
    QCOMPARE(by_key.before, by_click.before);
    // The click does something here, so matching it proves the key did too.
    QVERIFY(by_click.after != by_click.before);
    QCOMPARE(by_key.printed, by_click.printed);
    QCOMPARE(by_key.sounds, by_click.sounds);
    QCOMPARE(by_key.after, by_click.after);
    QCOMPARE(by_key.settled, by_click.settled);
}

void TestKeyboard::tab_visits_the_pressable_buttons_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<QStringList>("cycle");

    // clang-format off
    QTest::newRow("before game start")       << Phase::BeforeStart     << QStringList();
    QTest::newRow("after the start delay")   << Phase::AfterStartDelay << QStringList{"deal_button"};
    QTest::newRow("after the deal")          << Phase::AfterDeal       << QStringList{"push_button1", "push_button2", "push_button3", "push_button4", "push_button5"};
    QTest::newRow("after pressing 3")        << Phase::AfterPress      << QStringList{"cpu_open_button"};
    QTest::newRow("after opening against 3") << Phase::AfterOpen       << QStringList{"push_button1", "push_button2", "push_button4", "push_button5"};
    QTest::newRow("after the fifth open")    << Phase::AfterFifthOpen  << QStringList{"deal_button"};
    QTest::newRow("after the match")         << Phase::AfterMatch      << QStringList();
    // clang-format on
}

void TestKeyboard::tab_visits_the_pressable_buttons()
{
    QFETCH(Phase, phase);
    QFETCH(QStringList, cycle);

    TableFixture table(0.01, kDemoDraws);
    table.lay_demo_deal();
    QVERIFY(table.show_active());
    QVERIFY(table.play_to(phase));
    QVERIFY(table.settle());

    // Twice round the cycle, from wherever the focus is now.
    QStringList visited;
    for (int i = 0; i < 2 * std::max<int>(cycle.size(), 2); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : table.window(), Qt::Key_Tab);
        focus = QApplication::focusWidget();
        visited << (qobject_cast<QPushButton *>(focus) ? focus->objectName() : QString());
    }

    if (cycle.isEmpty()) {
        QCOMPARE(visited.filter(QStringLiteral("button")), QStringList());
        return;
    }
    for (int i = 0; i < visited.size(); ++i) {
        const qsizetype at = cycle.indexOf(visited.at(i));
        QVERIFY2(at >= 0, qPrintable(visited.join(QLatin1Char(' '))));
        if (i > 0)
            QCOMPARE(visited.at(i),
                     cycle.at((cycle.indexOf(visited.at(i - 1)) + 1) % cycle.size()));
    }
}

void TestKeyboard::keyboard_focus_is_drawn()
{
    TableFixture table;
    table.lay_demo_deal();
    QVERIFY(table.show_active());
    QVERIFY(table.play_to(Phase::AfterDeal));

    QPushButton *two = table.card_button(2);
    for (int i = 0; i < 5 && !two->hasFocus(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : table.window(), Qt::Key_Tab);
    }
    QVERIFY(two->hasFocus());
    const QImage focused = two->grab().toImage();
    QTest::keyClick(two, Qt::Key_Tab);
    QVERIFY(!two->hasFocus());
    QVERIFY2(two->grab().toImage() != focused, "the button looks the same with and without focus");
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
