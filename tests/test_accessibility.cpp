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

#include <memory>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/table_fixture.h"

namespace {

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

QString spoken(QWidget *widget, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(text) : QStringLiteral("<no interface>");
}

// Every step of a match, the hidden cards are named "face-down card" or not
// at all, and nothing else said about them tells rank or suit.
bool hidden_cards_stay_hidden(const TableFixture &table, const char *step)
{
    for (const QString &place : kHiddenPlaces) {
        QLabel *hidden = table.label(place);
        const QString name = spoken(hidden);
        bool told = !name.isEmpty() && name != kBack;
        for (QAccessible::Text text : {QAccessible::Description, QAccessible::Value,
                                       QAccessible::Help, QAccessible::Accelerator})
            told = told || spoken(hidden, text).contains(kCardWord);
        if (told) {
            qWarning("%s at %s tells its card: \"%s\"", qPrintable(place), step, qPrintable(name));
            return false;
        }
    }
    return true;
}

} // namespace

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
    [[nodiscard]] bool open_table();

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
bool TestAccessibility::open_table()
{
    table = std::make_unique<TableFixture>(0.01, kDemoDraws);
    table->lay_demo_deal();
    return table->show_active();
}

void TestAccessibility::card_names_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<QStringList>("names");

    // cpu 1..5, user 1..5, CPU's card in play, user's card in play, pile.
    const QString o;
    const QString b = kBack;
    // clang-format off
    QTest::newRow("at start")                     << Phase::BeforeStart      << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b};
    QTest::newRow("during the first deal delay")  << Phase::DealDelay        << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b};
    QTest::newRow("after the deal")               << Phase::AfterDeal        << QStringList{b, b, b, b, b, "Ace of Spades", "Jack of Clubs", "Queen of Hearts", "Four of Diamonds", "Ten of Spades", o, o, b};
    QTest::newRow("after pressing 3")             << Phase::AfterPress       << QStringList{b, b, o, b, b, "Ace of Spades", "Jack of Clubs", o, "Four of Diamonds", "Ten of Spades", b, "Queen of Hearts", b};
    QTest::newRow("after the open against 3")     << Phase::AfterOpen        << QStringList{b, b, o, b, b, "Ace of Spades", "Jack of Clubs", o, "Four of Diamonds", "Ten of Spades", "King of Diamonds", "Queen of Hearts", b};
    QTest::newRow("after pressing 1 next")        << Phase::AfterSecondPress << QStringList{o, b, o, b, b, o, "Jack of Clubs", o, "Four of Diamonds", "Ten of Spades", b, "Ace of Spades", b};
    QTest::newRow("after the fifth open")         << Phase::AfterFifthOpen   << QStringList{o, o, o, o, o, o, o, o, o, o, "Nine of Hearts", "Four of Diamonds", b};
    QTest::newRow("during the second deal delay") << Phase::NextDealDelay    << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b};
    QTest::newRow("after the match")              << Phase::AfterMatch       << QStringList{o, o, o, o, o, o, o, o, o, o, o, o, b};
    // clang-format on
}

void TestAccessibility::card_names()
{
    QFETCH(Phase, phase);
    QFETCH(QStringList, names);

    QVERIFY(open_table());
    QVERIFY(table->play_to(phase));
    QStringList heard;
    for (const QString &place : kCardPlaces)
        heard << spoken(table->label(place));
    QCOMPARE(heard, names);
}

void TestAccessibility::hidden_cards_never_named_in_a_whole_match()
{
    QVERIFY(open_table());
    QVERIFY(table->start_game());
    QVERIFY(hidden_cards_stay_hidden(*table, "start"));

    QLabel *cpu_play = table->label(QStringLiteral("cpu_play_label"));
    for (const auto &order : kDemoOrders) {
        QVERIFY(table->deal());
        QVERIFY(hidden_cards_stay_hidden(*table, "deal"));
        for (int position : order) {
            QVERIFY(table->press(table->card_button(position)));
            QVERIFY(hidden_cards_stay_hidden(*table, "press"));
            // The CPU's card in play is hidden until it is opened.
            QCOMPARE(spoken(cpu_play), kBack);
            QVERIFY(table->press(table->open_button()));
            QVERIFY(hidden_cards_stay_hidden(*table, "open"));
            QVERIFY(spoken(cpu_play).contains(kCardWord));
        }
    }
    QVERIFY(table->finish_match());
    QVERIFY(hidden_cards_stay_hidden(*table, "match end"));
}

void TestAccessibility::lines_read_their_text_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text");

    // Queen against king after the first open: one apart, the lower rank wins.
    // clang-format off
    QTest::newRow("score at start")              << Phase::BeforeStart << "score_label"  << "CPU=0,User=0,tie=0";
    QTest::newRow("round number while dealing")  << Phase::DealDelay   << "round_label"  << "Round 1";
    QTest::newRow("score after the first open")  << Phase::AfterOpen   << "score_label"  << "CPU=0,User=1,tie=0";
    QTest::newRow("notice after the first open") << Phase::AfterOpen   << "result_label" << "User win";
    // clang-format on
}

void TestAccessibility::lines_read_their_text()
{
    QFETCH(Phase, phase);
    QFETCH(QString, line);
    QFETCH(QString, text);

    QVERIFY(open_table());
    QVERIFY(table->play_to(phase));
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
    QVERIFY(open_table());
    QCOMPARE(spoken(table->label(QStringLiteral("deck_label"))), QStringLiteral("裏向きのカード"));

    QVERIFY(table->play_to(Phase::AfterPress));
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
