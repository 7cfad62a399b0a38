// What a screen reader hears: every card place is named after what a sighted
// player sees on it, the CPU's hidden cards and the pile only as
// "face-down card"; the score, notice and round lines read their text; the
// names come in the player's language.
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

#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/modal_answer.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

// A whole match, ten cards a round (the user's five, then the CPU's).
constexpr int kDealTable[52] = {
    1,  24, 38, 43, 10, 52, 27, 13, 20, 35, // round 1
    2,  3,  4,  5,  6,  7,  8,  9,  11, 12, // round 2
    14, 15, 16, 17, 18, 19, 21, 22, 23, 25, // round 3
    26, 28, 29, 30, 31, 32, 33, 34, 36, 37, // round 4
    39, 40, 41, 42, 44, 45, 46, 47, 48, 49, // round 5
    50, 51,
};

// Round 1 is played 3, 1, 5, 2, 4; later rounds 1 to 5.
constexpr int kFirstRoundPresses[5] = {3, 1, 5, 2, 4};

// The card places, in the order of the expected names below.
const QStringList kCardPlaces = {
    "cpu_card_label1",  "cpu_card_label2",  "cpu_card_label3",  "cpu_card_label4",
    "cpu_card_label5",  "user_card_label1", "user_card_label2", "user_card_label3",
    "user_card_label4", "user_card_label5", "cpu_play_label",   "user_play_label",
    "deck_label",
};

// Places whose card is never shown to the player.
const QStringList kHiddenPlaces = {"cpu_card_label1", "cpu_card_label2", "cpu_card_label3",
                                   "cpu_card_label4", "cpu_card_label5", "deck_label"};

// Any word that would tell a card: its rank or its suit.
const QRegularExpression kCardWord(
    QStringLiteral("ace|two|three|four|five|six|seven|eight|nine|ten|jack|queen|king|spade|club|"
                   "heart|diamond|[0-9]"),
    QRegularExpression::CaseInsensitiveOption);

const QString kBack = QStringLiteral("face-down card");

enum class Phase
{
    Start,
    DealDelay,
    AfterDeal,
    AfterPress,
    AfterOpen,
    AfterSecondPress,
    AfterFifthOpen,
    NextDealDelay,
    AfterMatch,
};

QString spoken(QWidget *widget, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(text) : QStringLiteral("<no interface>");
}

} // namespace

Q_DECLARE_METATYPE(Phase)

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { keep_offscreen_warnings(); }
    void cleanup();

    void card_names_data();
    void card_names();
    void hidden_cards_never_named_in_a_whole_match();
    void lines_read_their_text_data();
    void lines_read_their_text();
    void names_in_japanese();

private:
    void open_table();
    void click(const QString &name);
    void deal();
    void drive_to(Phase phase);
    void hidden_cards_stay_hidden(const char *step);

    std::unique_ptr<QTranslator> translator;
    std::unique_ptr<TableFixture> table;
};

void TestAccessibility::initTestCase()
{
    drop_offscreen_warnings();
    QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR)));
}

void TestAccessibility::cleanup()
{
    table.reset();
    if (translator) {
        QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }
}

// Built only now, so that a translator installed first names the cards.
void TestAccessibility::open_table()
{
    table = std::make_unique<TableFixture>(0.01, QList<int>{5, 11, 2, 8, 0, 7, 3, 10, 1, 9, 4, 6});
    std::copy(std::begin(kDealTable), std::end(kDealTable), buf_r);
    QVERIFY(table->show_active());
}

void TestAccessibility::click(const QString &name)
{
    QPushButton *target = table->button(name);
    QVERIFY_PRESSABLE(target);
    table->click(target);
}

void TestAccessibility::deal()
{
    click(QStringLiteral("deal_button"));
    capture_stdout([this] {
        QVERIFY(QTest::qWaitFor([this] { return table->card_button(1)->isVisible(); }));
    });
}

void TestAccessibility::drive_to(Phase phase)
{
    if (phase == Phase::Start)
        return;
    QTest::keyClick(table->window(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([this] { return table->deal_button()->isEnabled(); }));
    if (phase == Phase::DealDelay) {
        set_delay_scale_for_tests(1.0); // the deal stays pending
        click(QStringLiteral("deal_button"));
        return;
    }
    deal();
    if (phase == Phase::AfterDeal)
        return;
    click(QStringLiteral("push_button3"));
    if (phase == Phase::AfterPress)
        return;
    click(QStringLiteral("cpu_open_button"));
    if (phase == Phase::AfterOpen)
        return;
    click(QStringLiteral("push_button1"));
    if (phase == Phase::AfterSecondPress)
        return;
    click(QStringLiteral("cpu_open_button"));
    for (int i = 2; i < 5; ++i) {
        click(QStringLiteral("push_button%1").arg(kFirstRoundPresses[i]));
        click(QStringLiteral("cpu_open_button"));
    }
    if (phase == Phase::AfterFifthOpen)
        return;
    if (phase == Phase::NextDealDelay) {
        set_delay_scale_for_tests(1.0);
        click(QStringLiteral("deal_button"));
        return;
    }
    for (int round = 2; round <= 5; ++round) {
        deal();
        for (int p = 1; p <= 5; ++p) {
            click(QStringLiteral("push_button%1").arg(p));
            click(QStringLiteral("cpu_open_button"));
        }
    }
    answer_next_box(QMessageBox::Ok);
    click(QStringLiteral("deal_button"));
}

void TestAccessibility::card_names_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<QStringList>("names");

    // cpu 1..5, user 1..5, CPU's card in play, user's card in play, pile.
    const QString none;
    QTest::newRow("at start") << Phase::Start
                              << QStringList{none, none, none, none, none, none, none,
                                             none, none, none, none, none, kBack};
    QTest::newRow("during the first deal delay")
        << Phase::DealDelay << QStringList{none, none, none, none, none, none, none,
                                           none, none, none, none, none, kBack};
    QTest::newRow("after the deal") << Phase::AfterDeal
                                    << QStringList{kBack,
                                                   kBack,
                                                   kBack,
                                                   kBack,
                                                   kBack,
                                                   "Ace of Spades",
                                                   "Jack of Clubs",
                                                   "Queen of Hearts",
                                                   "Four of Diamonds",
                                                   "Ten of Spades",
                                                   none,
                                                   none,
                                                   kBack};
    QTest::newRow("after pressing 3") << Phase::AfterPress
                                      << QStringList{kBack,
                                                     kBack,
                                                     none,
                                                     kBack,
                                                     kBack,
                                                     "Ace of Spades",
                                                     "Jack of Clubs",
                                                     none,
                                                     "Four of Diamonds",
                                                     "Ten of Spades",
                                                     kBack,
                                                     "Queen of Hearts",
                                                     kBack};
    QTest::newRow("after the open against 3") << Phase::AfterOpen
                                              << QStringList{kBack,
                                                             kBack,
                                                             none,
                                                             kBack,
                                                             kBack,
                                                             "Ace of Spades",
                                                             "Jack of Clubs",
                                                             none,
                                                             "Four of Diamonds",
                                                             "Ten of Spades",
                                                             "King of Diamonds",
                                                             "Queen of Hearts",
                                                             kBack};
    QTest::newRow("after pressing 1 next") << Phase::AfterSecondPress
                                           << QStringList{none,
                                                          kBack,
                                                          none,
                                                          kBack,
                                                          kBack,
                                                          none,
                                                          "Jack of Clubs",
                                                          none,
                                                          "Four of Diamonds",
                                                          "Ten of Spades",
                                                          kBack,
                                                          "Ace of Spades",
                                                          kBack};
    QTest::newRow("after the fifth open")
        << Phase::AfterFifthOpen << QStringList{none,
                                                none,
                                                none,
                                                none,
                                                none,
                                                none,
                                                none,
                                                none,
                                                none,
                                                none,
                                                "Nine of Hearts",
                                                "Four of Diamonds",
                                                kBack};
    QTest::newRow("during the second deal delay")
        << Phase::NextDealDelay << QStringList{none, none, none, none, none, none, none,
                                               none, none, none, none, none, kBack};
    QTest::newRow("after the match")
        << Phase::AfterMatch << QStringList{none, none, none, none, none, none, none,
                                            none, none, none, none, none, kBack};
}

void TestAccessibility::card_names()
{
    QFETCH(Phase, phase);
    QFETCH(QStringList, names);

    open_table();
    drive_to(phase);
    if (QTest::currentTestFailed())
        return;
    QStringList heard;
    for (const QString &place : kCardPlaces)
        heard << spoken(table->label(place));
    QCOMPARE(heard, names);
}

// Every step of a match, the hidden cards are named "face-down card" or not
// at all, and nothing else said about them tells rank or suit.
void TestAccessibility::hidden_cards_stay_hidden(const char *step)
{
    for (const QString &place : kHiddenPlaces) {
        QLabel *hidden = table->label(place);
        const QString name = spoken(hidden);
        QVERIFY2(name.isEmpty() || name == kBack,
                 qPrintable(QStringLiteral("%1 at %2: \"%3\"").arg(place, step, name)));
        for (QAccessible::Text text : {QAccessible::Description, QAccessible::Value,
                                       QAccessible::Help, QAccessible::Accelerator}) {
            QVERIFY2(!spoken(hidden, text).contains(kCardWord),
                     qPrintable(QStringLiteral("%1 at %2").arg(place, step)));
        }
    }
}

void TestAccessibility::hidden_cards_never_named_in_a_whole_match()
{
    open_table();
    QTest::keyClick(table->window(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([this] { return table->deal_button()->isEnabled(); }));
    hidden_cards_stay_hidden("start");

    QLabel *cpu_play = table->label(QStringLiteral("cpu_play_label"));
    for (int round = 1; round <= 5; ++round) {
        deal();
        hidden_cards_stay_hidden("deal");
        for (int i = 0; i < 5 && !QTest::currentTestFailed(); ++i) {
            click(QStringLiteral("push_button%1").arg(round == 1 ? kFirstRoundPresses[i] : i + 1));
            hidden_cards_stay_hidden("press");
            // The CPU's card in play is hidden until it is opened.
            QCOMPARE(spoken(cpu_play), kBack);
            click(QStringLiteral("cpu_open_button"));
            hidden_cards_stay_hidden("open");
            QVERIFY(spoken(cpu_play).contains(kCardWord));
        }
        if (QTest::currentTestFailed())
            return;
    }
    answer_next_box(QMessageBox::Ok);
    click(QStringLiteral("deal_button"));
    hidden_cards_stay_hidden("match end");
}

void TestAccessibility::lines_read_their_text_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text");

    QTest::newRow("score at start") << Phase::Start << "score_label"
                                    << "CPU=0,User=0,tie=0";
    QTest::newRow("round number while dealing") << Phase::DealDelay << "round_label"
                                                << "Round 1";
    // Queen against king: one apart, the lower rank wins.
    QTest::newRow("score after the first open") << Phase::AfterOpen << "score_label"
                                                << "CPU=0,User=1,tie=0";
    QTest::newRow("notice after the first open") << Phase::AfterOpen << "result_label"
                                                 << "User win";
}

void TestAccessibility::lines_read_their_text()
{
    QFETCH(Phase, phase);
    QFETCH(QString, line);
    QFETCH(QString, text);

    open_table();
    drive_to(phase);
    if (QTest::currentTestFailed())
        return;
    QLabel *shown = table->label(line);
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->text(), text);
    QVERIFY2(spoken(shown).contains(text), qPrintable(spoken(shown)));
}

void TestAccessibility::names_in_japanese()
{
    translator = std::make_unique<QTranslator>();
    QVERIFY(translator->load(QStringLiteral("Kestrano_ja")));
    QVERIFY(QCoreApplication::installTranslator(translator.get()));
    open_table();
    QCOMPARE(spoken(table->label(QStringLiteral("deck_label"))), QStringLiteral("裏向きのカード"));

    drive_to(Phase::AfterPress);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(spoken(table->label(QStringLiteral("user_card_label1"))),
             QStringLiteral("スペードのエース"));
    QCOMPARE(spoken(table->label(QStringLiteral("user_play_label"))),
             QStringLiteral("ハートのクイーン"));
    QCOMPARE(spoken(table->label(QStringLiteral("cpu_card_label1"))),
             QStringLiteral("裏向きのカード"));
    QCOMPARE(spoken(table->label(QStringLiteral("cpu_play_label"))),
             QStringLiteral("裏向きのカード"));
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
