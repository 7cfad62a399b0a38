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

#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/modal_answer.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"

namespace {

// A whole match, ten cards a round (the user's five, then the CPU's), and the
// two cards never dealt.
constexpr int kDealTable[52] = {
    1,  24, 38, 43, 10, 52, 27, 13, 20, 35, // round 1
    2,  3,  4,  5,  6,  7,  8,  9,  11, 12, // round 2
    14, 15, 16, 17, 18, 19, 21, 22, 23, 25, // round 3
    26, 28, 29, 30, 31, 32, 33, 34, 36, 37, // round 4
    39, 40, 41, 42, 44, 45, 46, 47, 48, 49, // round 5
    50, 51,
};

// Draws for the shuffle at the match end, the same in every game.
const QList<int> kShuffleDraws = {5, 11, 2, 8, 0, 7, 3, 10, 1, 9, 4, 6, 13, 29, 40, 17};

// The order round 1 is played in; later rounds go 1 to 5.
constexpr int kFirstRoundPresses[5] = {3, 1, 5, 2, 4};

enum class Phase
{
    BeforeStart,
    StartDelay,
    AfterStartDelay,
    DealDelay,
    AfterDeal,
    AfterPress,
    AfterOpen,
    AfterFifthOpen,
    AfterLastOpen,
    AfterMatch,
};

// The phases of a match and the keys whose buttons can be pressed in each.
struct PhaseKeys
{
    Phase phase;
    const char *name;
    const char *pressable;
};

constexpr PhaseKeys kPhases[] = {
    {Phase::BeforeStart, "before game start", ""},
    {Phase::StartDelay, "during the start delay", ""},
    {Phase::AfterStartDelay, "after the start delay", "D"},
    {Phase::DealDelay, "during the deal delay", ""},
    {Phase::AfterDeal, "after the deal", "12345"},
    {Phase::AfterPress, "after pressing 3", "O"},
    {Phase::AfterOpen, "after opening against 3", "1245"},
    {Phase::AfterFifthOpen, "after the fifth open", "D"},
    {Phase::AfterLastOpen, "after the last open of the match", "D"},
    {Phase::AfterMatch, "after the match", ""},
};

struct KeyButton
{
    char name;
    Qt::Key key;
    const char *button;
};

constexpr KeyButton kKeys[] = {
    {'1', Qt::Key_1, "push_button1"},    {'2', Qt::Key_2, "push_button2"},
    {'3', Qt::Key_3, "push_button3"},    {'4', Qt::Key_4, "push_button4"},
    {'5', Qt::Key_5, "push_button5"},    {'D', Qt::Key_D, "deal_button"},
    {'O', Qt::Key_O, "cpu_open_button"},
};

constexpr const char *kButtons[] = {"deal_button",  "cpu_open_button", "push_button1",
                                    "push_button2", "push_button3",    "push_button4",
                                    "push_button5"};

constexpr const char *kLabels[] = {
    "score_label",      "result_label",     "round_label",      "cpu_card_label1",
    "cpu_card_label2",  "cpu_card_label3",  "cpu_card_label4",  "cpu_card_label5",
    "user_card_label1", "user_card_label2", "user_card_label3", "user_card_label4",
    "user_card_label5", "cpu_play_label",   "user_play_label",  "deck_label",
};

QString joined(const int *values, int size)
{
    QStringList texts;
    for (int i = 0; i < size; ++i)
        texts << QString::number(values[i]);
    return texts.join(QLatin1Char(','));
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
QStringList describe(Kestrano &window)
{
    KestranoProbe probe(window);
    QStringList lines;
    lines << QStringLiteral("count=%1 button_count=%2 buf_n=%3 cpu_cout=%4")
                 .arg(count)
                 .arg(button_count)
                 .arg(buf_n)
                 .arg(cpu_cout);
    lines << QStringLiteral("tallies=%1,%2,%3").arg(cpu_score).arg(user_score).arg(tie_score);
    lines << QStringLiteral("buf_user=") + joined(buf_user, 6);
    lines << QStringLiteral("buf_cpu=") + joined(buf_cpu, 5);
    lines << QStringLiteral("buf_r=") + joined(buf_r, 52);
    int hands[10];
    for (int p = 1; p <= 5; ++p) {
        hands[p - 1] = probe.buf_deal(p);
        hands[p + 4] = probe.buf_cpu_deal(p);
    }
    lines << QStringLiteral("hands=") + joined(hands, 10);
    lines << QStringLiteral("start_action enabled=%1").arg(probe.start_action()->isEnabled());
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

QPushButton *find_button(Kestrano &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

// Only a button the player could press is clicked on the way.
void click(Kestrano &window, const char *name)
{
    QPushButton *button = find_button(window, name);
    QVERIFY2(button->isVisible() && button->isEnabled(),
             qPrintable(QStringLiteral("%1 cannot be pressed").arg(QLatin1String(name))));
    QTest::mouseClick(button, Qt::LeftButton);
}

void start_game(Kestrano &window)
{
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
}

void deal(Kestrano &window)
{
    click(window, "deal_button");
    QVERIFY(
        QTest::qWaitFor([&window] { return find_button(window, "push_button1")->isVisible(); }));
}

void play_pair(Kestrano &window, int position)
{
    click(window, QByteArray("push_button").append(char('0' + position)).constData());
    click(window, "cpu_open_button");
}

// Plays from a fresh window to `phase`, by clicks.  Where a delay is still
// running in `phase`, it is made long enough not to end during the test.
void drive_to(Kestrano &window, Phase phase)
{
    if (phase == Phase::BeforeStart)
        return;
    if (phase == Phase::StartDelay) {
        set_delay_scale_for_tests(1.0);
        start_game(window);
        return;
    }
    start_game(window);
    QVERIFY(QTest::qWaitFor([&window] { return find_button(window, "deal_button")->isEnabled(); }));
    if (phase == Phase::AfterStartDelay)
        return;
    if (phase == Phase::DealDelay) {
        set_delay_scale_for_tests(1.0);
        click(window, "deal_button");
        return;
    }
    deal(window);
    if (phase == Phase::AfterDeal)
        return;
    click(window, "push_button3");
    if (phase == Phase::AfterPress)
        return;
    click(window, "cpu_open_button");
    if (phase != Phase::AfterOpen) {
        for (int i = 1; i < 5; ++i)
            play_pair(window, kFirstRoundPresses[i]);
        if (phase != Phase::AfterFifthOpen) {
            for (int round = 2; round <= 5; ++round) {
                deal(window);
                for (int p = 1; p <= 5; ++p)
                    play_pair(window, p);
            }
        }
    }
    // The last notice goes away, so that no timer is left to race the test.
    auto *notice = window.findChild<QLabel *>(QStringLiteral("result_label"));
    QVERIFY(QTest::qWaitFor([notice] { return notice->text().isEmpty(); }));
    if (phase == Phase::AfterMatch) {
        answer_next_box(QMessageBox::Ok);
        click(window, "deal_button");
    }
}

// A fresh game played to `phase`, ending with a click on `button` or, when
// `key` is set, with that key.
Game play(Phase phase, const char *button, Qt::Key key)
{
    Game game;
    TableFixture table(0.01, kShuffleDraws);
    Kestrano &window = *table.window();
    std::copy(std::begin(kDealTable), std::end(kDealTable), buf_r);
    if (!table.show_active()) {
        QTest::qFail("the window did not become active", __FILE__, __LINE__);
        return game;
    }

    capture_stdout([&window, phase] { drive_to(window, phase); });
    if (!QTest::currentTestFailed()) {
        QPushButton *target = find_button(window, button);
        game.pressable = target->isVisible() && target->isEnabled();
        if (game.pressable && target == find_button(window, "deal_button") &&
            phase == Phase::AfterLastOpen)
            answer_next_box(QMessageBox::Ok); // the match verdict
        game.before = describe(window);
        const qsizetype heard = table.sound.played.size();
        game.printed = capture_stdout([&] {
            if (key == Qt::Key_unknown)
                QTest::mouseClick(target, Qt::LeftButton);
            else
                QTest::keyClick(&window, key);
        });
        game.after = describe(window);
        if (game.pressable) {
            // What the press started (a deal, a notice) runs to its end.
            auto *round = window.findChild<QLabel *>(QStringLiteral("round_label"));
            auto *notice = window.findChild<QLabel *>(QStringLiteral("result_label"));
            game.printed += capture_stdout([round, notice] {
                QVERIFY(QTest::qWaitFor(
                    [round, notice] { return round->isHidden() && notice->text().isEmpty(); }));
            });
            game.settled = describe(window);
        }
        game.sounds = table.sound.played.mid(heard);
    }
    return game;
}

} // namespace

Q_DECLARE_METATYPE(Phase)

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { keep_offscreen_warnings(); }
    void cleanup() { set_delay_scale_for_tests(1.0); }

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

    for (const PhaseKeys &phase : kPhases) {
        for (const KeyButton &key : kKeys) {
            const bool acts = std::strchr(phase.pressable, key.name) != nullptr;
            QTest::addRow("key %c %s", key.name, phase.name)
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
    const QByteArray button_name = button.toLatin1();

    const Game by_key = play(phase, button_name.constData(), Qt::Key(key));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(by_key.pressable, acts);

    if (!acts) {
        QCOMPARE(by_key.printed, QByteArray());
        QCOMPARE(by_key.sounds, QStringList());
        QCOMPARE(by_key.after, by_key.before);
        return;
    }

    const Game by_click = play(phase, button_name.constData(), Qt::Key_unknown);
    if (QTest::currentTestFailed())
        return;
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

    QTest::newRow("before game start") << Phase::BeforeStart << QStringList();
    QTest::newRow("after the start delay") << Phase::AfterStartDelay << QStringList{"deal_button"};
    QTest::newRow("after the deal") << Phase::AfterDeal
                                    << QStringList{"push_button1", "push_button2", "push_button3",
                                                   "push_button4", "push_button5"};
    QTest::newRow("after pressing 3") << Phase::AfterPress << QStringList{"cpu_open_button"};
    QTest::newRow("after opening against 3")
        << Phase::AfterOpen
        << QStringList{"push_button1", "push_button2", "push_button4", "push_button5"};
    QTest::newRow("after the fifth open") << Phase::AfterFifthOpen << QStringList{"deal_button"};
    QTest::newRow("after the match") << Phase::AfterMatch << QStringList();
}

void TestKeyboard::tab_visits_the_pressable_buttons()
{
    QFETCH(Phase, phase);
    QFETCH(QStringList, cycle);

    TableFixture table(0.01, kShuffleDraws);
    Kestrano &window = *table.window();
    std::copy(std::begin(kDealTable), std::end(kDealTable), buf_r);
    QVERIFY(table.show_active());
    capture_stdout([&window, phase] { drive_to(window, phase); });
    if (QTest::currentTestFailed())
        return;

    // Twice round the cycle, from wherever the focus is now.
    QStringList visited;
    for (int i = 0; i < 2 * std::max<int>(cycle.size(), 2); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, Qt::Key_Tab);
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
    Kestrano &window = *table.window();
    std::copy(std::begin(kDealTable), std::end(kDealTable), buf_r);
    QVERIFY(table.show_active());
    capture_stdout([&window] { drive_to(window, Phase::AfterDeal); });
    if (QTest::currentTestFailed())
        return;

    QPushButton *two = find_button(window, "push_button2");
    for (int i = 0; i < 5 && !two->hasFocus(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, Qt::Key_Tab);
    }
    QVERIFY(two->hasFocus());
    const QImage focused = two->grab().toImage();
    QTest::keyClick(two, Qt::Key_Tab);
    QVERIFY(!two->hasFocus());
    QVERIFY2(two->grab().toImage() != focused, "the button looks the same with and without focus");
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
