// Playing without the mouse, and without seeing the table.  Keys 1 to 5, D
// and O do what a click on their button does (compared in two fresh games
// with the same deal and draws), and nothing on a hidden or disabled button;
// Tab walks the pressable buttons with a visible focus.  A screen reader
// hears each card place as a sighted player sees it, hidden cards only as
// "face-down card", the lines their text, in the player's language.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <iterator>
#include <memory>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/modal_answer.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

constexpr double kDelayScale = 0.002;

// clang-format off
// The play keys and their buttons.
constexpr struct { char name; Qt::Key key; const char *button; } kKeys[] = {
    {'1', Qt::Key_1, "push_button1"}, {'2', Qt::Key_2, "push_button2"}, {'3', Qt::Key_3, "push_button3"},
    {'4', Qt::Key_4, "push_button4"}, {'5', Qt::Key_5, "push_button5"}, {'D', Qt::Key_D, "deal_button"},
    {'O', Qt::Key_O, "cpu_open_button"},
};

// The card places, in the order of the expected names below.
const QStringList kCardPlaces = {
    "cpu_card_label1",  "cpu_card_label2",  "cpu_card_label3",  "cpu_card_label4",  "cpu_card_label5",
    "user_card_label1", "user_card_label2", "user_card_label3", "user_card_label4", "user_card_label5",
    "cpu_play_label",   "user_play_label",  "deck_label",
};

// clang-format on

// Any word that would tell a card: its rank or its suit.
const QRegularExpression kCardWord(
    QStringLiteral("ace|two|three|four|five|six|seven|eight|nine|ten|jack|queen|king|spade|club|"
                   "heart|diamond|[0-9]"),
    QRegularExpression::CaseInsensitiveOption);

const QString kBack = QStringLiteral("face-down card");

QString spoken(QWidget *widget, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(text) : QStringLiteral("<no interface>");
}

// The demonstration match played to `phase`; once `settled`, nothing is left
// running but the pause that belongs to the phase.
bool reach(TableFixture &table, Phase phase, bool settled = true)
{
    table.lay_demo_deal();
    return table.show_active() && table.play_to(phase) &&
           (!settled || phase_info(phase).in_pause || table.settle());
}

// Everything a press can change, one line per part, for comparing two games.
QStringList describe(const TableFixture &table)
{
    const auto all = [](const auto &values) {
        return joined(QList<int>(std::begin(values), std::end(values)));
    };
    QStringList lines = {
        "count,button_count,buf_n,cpu_cout,tallies=" +
            joined({count, button_count, buf_n, cpu_cout, cpu_score, user_score, tie_score}),
        "buf_user=" + all(buf_user), "buf_cpu=" + all(buf_cpu), "buf_r=" + all(buf_r),
        QStringLiteral("start_action enabled=%1").arg(table.start_action()->isEnabled())};
    for (int p = 1; p <= 5; ++p)
        lines << QStringLiteral("hands %1 %2")
                     .arg(table.probe->buf_deal(p))
                     .arg(table.probe->buf_cpu_deal(p));
    for (const QPushButton *button : table.window()->findChildren<QPushButton *>())
        lines << QStringLiteral("%1 visible=%2 enabled=%3 tip=%4")
                     .arg(button->objectName(), QString::number(button->isVisible()),
                          QString::number(button->isEnabled()), button->toolTip());
    for (const QLabel *label : table.window()->findChildren<QLabel *>()) {
        const QImage image = label->pixmap().toImage();
        lines << QStringLiteral("%1 visible=%2 text=%3 name=%4 picture=%5")
                     .arg(label->objectName(), QString::number(label->isVisible()), label->text(),
                          label->accessibleName(),
                          QString::number(qHashBits(image.constBits(), image.sizeInBytes())));
    }
    return lines;
}

// What one press did.
struct Press
{
    bool pressable = false;
    QStringList before, after, settled; // settled: once the pauses it started have run
    QByteArray printed;
    QStringList sounds;
};

// Presses the button `name` by `key`, or by a click when `key` is Qt::Key_unknown.
bool press(TableFixture &table, Phase phase, const char *name, Qt::Key key, Press &done)
{
    QPushButton *target = table.button(QLatin1String(name));
    done.pressable = pressable(target);
    if (done.pressable && target == table.deal_button() && phase == Phase::AfterLastOpen)
        answer_next_box(QMessageBox::Ok); // the match verdict
    done.before = describe(table);
    const qsizetype heard = table.sound.played.size();
    table.trace.clear();
    // The state right after the game's own slot: a key press runs the event
    // loop once more, where a short pause the press started may already end.
    bool slot_ran = false;
    const QMetaObject::Connection after =
        QObject::connect(target, &QPushButton::clicked, target, [&] {
            done.after = describe(table);
            slot_ran = true;
        });
    const bool pressed =
        key != Qt::Key_unknown ? table.press_key(key) : (table.trace = table.click(target), true);
    QObject::disconnect(after);
    if (!slot_ran)
        done.after = describe(table);
    // What the press started (a deal, a notice) runs to its end.
    if (!pressed || (done.pressable && !table.settle()))
        return false;
    done.settled = describe(table);
    done.printed = table.trace;
    done.sounds = table.sound.played.mid(heard);
    return true;
}

// A fresh game played to `phase` and ended with the press.
bool play(Phase phase, const char *name, Qt::Key key, Press &done)
{
    TableFixture table(kDelayScale, kDemoDraws);
    return reach(table, phase) && press(table, phase, name, key, done);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    // The demonstration table played to `phase`; built only now, so that a
    // translator installed first names the cards.
    [[nodiscard]] bool open_table(Phase phase = Phase::BeforeStart)
    {
        table = std::make_unique<TableFixture>(kDelayScale, kDemoDraws);
        return reach(*table, phase, false);
    }

    std::unique_ptr<QTranslator> translator;
    std::unique_ptr<TableFixture> table;

private slots:
    void initTestCase()
    {
        drop_offscreen_warnings();
        QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR)));
    }
    void cleanupTestCase() { keep_offscreen_warnings(); }
    void cleanup()
    {
        table.reset();
        if (translator)
            QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }

    void keyboard_reaches_what_can_be_pressed_data()
    {
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<QString>("acting"); // the keys whose buttons can be pressed

        // clang-format off
        QTest::newRow("before game start")              << Phase::BeforeStart     << "";
        QTest::newRow("during the start delay")         << Phase::StartDelay      << "";
        QTest::newRow("after the start delay")          << Phase::AfterStartDelay << "D";
        QTest::newRow("during the deal delay")          << Phase::DealDelay       << "";
        QTest::newRow("after the deal")                 << Phase::AfterDeal       << "12345";
        QTest::newRow("after pressing 3")               << Phase::AfterPress      << "O";
        QTest::newRow("after opening against 3")        << Phase::AfterOpen       << "1245";
        QTest::newRow("after the fifth open")           << Phase::AfterFifthOpen  << "D";
        QTest::newRow("after the last open of a match") << Phase::AfterLastOpen   << "D";
        QTest::newRow("after the match")                << Phase::AfterMatch      << "";
        // clang-format on
    }

    // In one game, Tab goes twice round exactly the buttons of the keys that
    // act, with the focus drawn, and the other keys do nothing at all.  Each
    // key that acts does what a click does, in two fresh games.
    void keyboard_reaches_what_can_be_pressed()
    {
        QFETCH(Phase, phase);
        QFETCH(QString, acting);

        QStringList cycle;
        for (const auto &key : kKeys)
            if (acting.contains(QLatin1Char(key.name)))
                cycle << key.button;
        {
            TableFixture game(kDelayScale, kDemoDraws);
            QVERIFY(reach(game, phase));
            QStringList visited;
            for (int i = 0; i < 2 * std::max<int>(cycle.size(), 2); ++i) {
                QWidget *focus = QApplication::focusWidget();
                QTest::keyClick(focus ? focus : game.window(), Qt::Key_Tab);
                focus = QApplication::focusWidget();
                visited << (qobject_cast<QPushButton *>(focus) ? focus->objectName() : QString());
            }
            const auto first = std::max<qsizetype>(cycle.indexOf(visited.first()), 0);
            QStringList expected;
            for (int i = 0; i < visited.size(); ++i)
                expected << cycle.value((first + i) % std::max<qsizetype>(cycle.size(), 1));
            QCOMPARE(visited, expected);
            if (cycle.size() > 1) {
                QWidget *focused = QApplication::focusWidget();
                const QImage with_focus = focused->grab().toImage();
                QTest::keyClick(focused, Qt::Key_Tab);
                QVERIFY2(focused->grab().toImage() != with_focus, "the focus is not drawn");
            }
            for (const auto &key : kKeys) {
                if (acting.contains(QLatin1Char(key.name)))
                    continue;
                Press by_key;
                QVERIFY(press(game, phase, key.button, key.key, by_key));
                QVERIFY2(!by_key.pressable, key.button);
                QCOMPARE(by_key.printed, QByteArray());
                QCOMPARE(by_key.sounds, QStringList());
                QCOMPARE(by_key.after, by_key.before);
            }
        }
        for (const auto &key : kKeys) {
            if (!acting.contains(QLatin1Char(key.name)))
                continue;
            Press by_key, by_click;
            QVERIFY(play(phase, key.button, key.key, by_key));
            QVERIFY(play(phase, key.button, Qt::Key_unknown, by_click));
            QVERIFY2(by_key.pressable, key.button);
            QCOMPARE(by_key.before, by_click.before);
            // The click does something here, so matching it proves the key did too.
            QVERIFY(by_click.after != by_click.before);
            QCOMPARE(by_key.printed, by_click.printed);
            QCOMPARE(by_key.sounds, by_click.sounds);
            QCOMPARE(by_key.after, by_click.after);
            QCOMPARE(by_key.settled, by_click.settled);
        }
    }

    void heard_at_each_phase_data()
    {
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<QString>("language"); // a translation installed first
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("lines"); // "label=text": shown, and heard with its text

        // cpu 1..5, user 1..5, CPU's card in play, user's card in play, pile.  Queen
        // against king after the first open: one apart, the lower rank wins.
        const QString o;
        const QString b = kBack;
        const QString j = QStringLiteral("裏向きのカード");
        // clang-format off
        QTest::newRow("at start")                     << Phase::BeforeStart      << ""   << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b} << QStringList{"score_label=CPU=0,User=0,tie=0"};
        QTest::newRow("during the first deal delay")  << Phase::DealDelay        << ""   << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b} << QStringList{"round_label=Round 1"};
        QTest::newRow("after the deal")               << Phase::AfterDeal        << ""   << QStringList{b, b, b, b, b, "Ace of Spades", "Jack of Clubs", "Queen of Hearts", "Four of Diamonds", "Ten of Spades", o, o, b} << QStringList{};
        QTest::newRow("after pressing 3")             << Phase::AfterPress       << ""   << QStringList{b, b, o, b, b, "Ace of Spades", "Jack of Clubs", o, "Four of Diamonds", "Ten of Spades", b, "Queen of Hearts", b} << QStringList{};
        QTest::newRow("after the open against 3")     << Phase::AfterOpen        << ""   << QStringList{b, b, o, b, b, "Ace of Spades", "Jack of Clubs", o, "Four of Diamonds", "Ten of Spades", "King of Diamonds", "Queen of Hearts", b} << QStringList{"score_label=CPU=0,User=1,tie=0", "result_label=User win"};
        QTest::newRow("after pressing 1 next")        << Phase::AfterSecondPress << ""   << QStringList{o, b, o, b, b, o, "Jack of Clubs", o, "Four of Diamonds", "Ten of Spades", b, "Ace of Spades", b} << QStringList{};
        QTest::newRow("after the fifth open")         << Phase::AfterFifthOpen   << ""   << QStringList{o, o, o, o, o, o, o, o, o, o, "Nine of Hearts", "Four of Diamonds", b} << QStringList{};
        QTest::newRow("during the second deal delay") << Phase::NextDealDelay    << ""   << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b} << QStringList{};
        QTest::newRow("after the match")              << Phase::AfterMatch       << ""   << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b} << QStringList{};
        QTest::newRow("Japanese, after pressing 3")   << Phase::AfterPress       << "ja" << QStringList{j, j, o, j, j, "スペードのエース", "クラブのジャック", o, "ダイヤの4", "スペードの10", j, "ハートのクイーン", j} << QStringList{};
        // clang-format on
    }

    void heard_at_each_phase()
    {
        QFETCH(Phase, phase);
        QFETCH(QString, language);
        QFETCH(QStringList, names);
        QFETCH(QStringList, lines);

        if (!language.isEmpty()) {
            translator = std::make_unique<QTranslator>();
            QVERIFY(translator->load("Kestrano_" + language));
            QVERIFY(QCoreApplication::installTranslator(translator.get()));
        }
        QVERIFY(open_table(phase));
        QStringList heard;
        for (const QString &place : kCardPlaces) {
            heard << spoken(table->label(place));
            // Nothing else said about a face-down card tells it.
            for (QAccessible::Text text : {QAccessible::Description, QAccessible::Value,
                                           QAccessible::Help, QAccessible::Accelerator})
                QVERIFY(heard.last() != kBack ||
                        !spoken(table->label(place), text).contains(kCardWord));
        }
        QCOMPARE(heard, names);
        for (const QString &line : lines) {
            QLabel *shown = table->label(line.section(QLatin1Char('='), 0, 0));
            const QString text = line.section(QLatin1Char('='), 1);
            QVERIFY(shown->isVisible());
            QCOMPARE(shown->text(), text);
            QVERIFY2(spoken(shown).contains(text), qPrintable(spoken(shown)));
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
