// Card numbers: suit, rank, picture paths and the draw tool tip of every card
// at every hand position, and the numbers that are no card at all.
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "cards/card.h"

namespace {

struct SuitExpectation
{
    const char *name; // as the test rows name it
    Suit suit;
    int first_card; // the ace
    const char *face_letter;
    const char *open_letter;
    const char *tool_tip_word;
};

constexpr SuitExpectation kSuits[] = {
    {"spade", Suit::Spades, 1, "s", "S", "Spade"},
    {"club", Suit::Clubs, 14, "c", "C", "Kurobar"},
    {"heart", Suit::Hearts, 27, "h", "H", "Hurt"},
    {"diamond", Suit::Diamonds, 40, "d", "D", "Dia"},
};

struct RankExpectation
{
    const char *name; // as the test rows name it
    int rank;
    const char *two_digits; // in the picture file names
    const char *tool_tip_word;
};

constexpr RankExpectation kRanks[] = {
    {"ace", 1, "01", "A"},      {"2", 2, "02", "2"},        {"3", 3, "03", "3"},
    {"4", 4, "04", "4"},        {"5", 5, "05", "5"},        {"6", 6, "06", "6"},
    {"7", 7, "07", "7"},        {"8", 8, "08", "8"},        {"9", 9, "09", "9"},
    {"10", 10, "10", "10"},     {"jack", 11, "11", "Jack"}, {"queen", 12, "12", "Queen"},
    {"king", 13, "13", "King"},
};

} // namespace

class TestCards : public QObject
{
    Q_OBJECT

private slots:
    void every_card_at_every_position_data();
    void every_card_at_every_position();
    void cards_the_rules_name_data();
    void cards_the_rules_name();
    void numbers_that_are_no_card_data();
    void numbers_that_are_no_card();
    void card_back();
    void every_picture_is_in_the_runnable_folder();
};

void TestCards::every_card_at_every_position_data()
{
    QTest::addColumn<int>("card");
    QTest::addColumn<int>("position");
    QTest::addColumn<Suit>("suit");
    QTest::addColumn<int>("rank");
    QTest::addColumn<QString>("face_path");
    QTest::addColumn<QString>("open_path");
    QTest::addColumn<QString>("tool_tip");

    for (const SuitExpectation &s : kSuits) {
        for (const RankExpectation &r : kRanks) {
            const int card = s.first_card + r.rank - 1;
            const QString face = QStringLiteral("gazo/%1%2.png").arg(s.face_letter, r.two_digits);
            const QString open = QStringLiteral("gazo/%1%2D.png").arg(s.open_letter, r.two_digits);
            for (int position = 1; position <= 5; ++position) {
                QString word = QLatin1String(s.tool_tip_word);
                if (s.suit == Suit::Diamonds && position <= 2)
                    word = QStringLiteral("dia");
                QString tool_tip = word + QLatin1Char(' ') + QLatin1String(r.tool_tip_word) +
                                   QStringLiteral(" draw card");
                // The one tool tip that breaks the pattern.
                if (s.suit == Suit::Diamonds && r.rank == 4 && position == 5)
                    tool_tip = QStringLiteral("Dia 04 draw card");
                QTest::addRow("%s %s at position %d", s.name, r.name, position)
                    << card << position << s.suit << r.rank << face << open << tool_tip;
            }
        }
    }
}

void TestCards::every_card_at_every_position()
{
    QFETCH(int, card);
    QFETCH(int, position);
    QFETCH(Suit, suit);
    QFETCH(int, rank);
    QFETCH(QString, face_path);
    QFETCH(QString, open_path);
    QFETCH(QString, tool_tip);

    QCOMPARE(card_suit(card), suit);
    QCOMPARE(card_rank(card), rank);
    QCOMPARE(face_picture_path(card), face_path);
    QCOMPARE(open_picture_path(card), open_path);
    QCOMPARE(draw_tool_tip(card, position), tool_tip);
}

// A few cards written out in full, so that a slip in the tables above cannot
// hide a matching slip in the game.
void TestCards::cards_the_rules_name_data()
{
    QTest::addColumn<int>("card");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("face_path");
    QTest::addColumn<QString>("open_path");
    QTest::addColumn<QString>("tool_tip");

    QTest::newRow("card 1 is the ace of spades") << 1 << 1 << "gazo/s01.png"
                                                 << "gazo/S01D.png"
                                                 << "Spade A draw card";
    QTest::newRow("card 13 is the king of spades") << 13 << 4 << "gazo/s13.png"
                                                   << "gazo/S13D.png"
                                                   << "Spade King draw card";
    QTest::newRow("card 14 is the ace of clubs") << 14 << 2 << "gazo/c01.png"
                                                 << "gazo/C01D.png"
                                                 << "Kurobar A draw card";
    QTest::newRow("card 20 is the 7 of clubs") << 20 << 5 << "gazo/c07.png"
                                               << "gazo/C07D.png"
                                               << "Kurobar 7 draw card";
    QTest::newRow("card 23 is the 10 of clubs") << 23 << 3 << "gazo/c10.png"
                                                << "gazo/C10D.png"
                                                << "Kurobar 10 draw card";
    QTest::newRow("card 37 is the jack of hearts") << 37 << 3 << "gazo/h11.png"
                                                   << "gazo/H11D.png"
                                                   << "Hurt Jack draw card";
    QTest::newRow("card 39 is the king of hearts") << 39 << 1 << "gazo/h13.png"
                                                   << "gazo/H13D.png"
                                                   << "Hurt King draw card";
    QTest::newRow("card 40 is the ace of diamonds") << 40 << 1 << "gazo/d01.png"
                                                    << "gazo/D01D.png"
                                                    << "dia A draw card";
    QTest::newRow("card 43 at position 1") << 43 << 1 << "gazo/d04.png"
                                           << "gazo/D04D.png"
                                           << "dia 4 draw card";
    QTest::newRow("card 43 at position 3") << 43 << 3 << "gazo/d04.png"
                                           << "gazo/D04D.png"
                                           << "Dia 4 draw card";
    QTest::newRow("card 43 at position 5") << 43 << 5 << "gazo/d04.png"
                                           << "gazo/D04D.png"
                                           << "Dia 04 draw card";
    QTest::newRow("card 51 is the queen of diamonds") << 51 << 2 << "gazo/d12.png"
                                                      << "gazo/D12D.png"
                                                      << "dia Queen draw card";
    QTest::newRow("card 52 is the king of diamonds") << 52 << 4 << "gazo/d13.png"
                                                     << "gazo/D13D.png"
                                                     << "Dia King draw card";
}

void TestCards::cards_the_rules_name()
{
    QFETCH(int, card);
    QFETCH(int, position);
    QFETCH(QString, face_path);
    QFETCH(QString, open_path);
    QFETCH(QString, tool_tip);

    QCOMPARE(face_picture_path(card), face_path);
    QCOMPARE(open_picture_path(card), open_path);
    QCOMPARE(draw_tool_tip(card, position), tool_tip);
}

void TestCards::numbers_that_are_no_card_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("position");

    for (int number : {0, -1, 53, 100}) {
        for (int position = 1; position <= 5; ++position)
            QTest::addRow("%d at position %d", number, position) << number << position;
    }
}

void TestCards::numbers_that_are_no_card()
{
    QFETCH(int, number);
    QFETCH(int, position);

    QCOMPARE(card_suit(number), Suit::None);
    QCOMPARE(card_rank(number), 0);
    QVERIFY2(face_picture_path(number).isEmpty(), qPrintable(face_picture_path(number)));
    QVERIFY2(open_picture_path(number).isEmpty(), qPrintable(open_picture_path(number)));
    QVERIFY2(draw_tool_tip(number, position).isEmpty(),
             qPrintable(draw_tool_tip(number, position)));
}

void TestCards::card_back()
{
    QCOMPARE(card_back_path(), QStringLiteral("gazo/UB0.png"));
}

void TestCards::every_picture_is_in_the_runnable_folder()
{
    const QDir game(QStringLiteral(KESTRANO_GAME_DIR));
    QStringList missing;
    QStringList paths{card_back_path()};
    for (int card = 1; card <= 52; ++card)
        paths << face_picture_path(card) << open_picture_path(card);
    for (const QString &path : paths) {
        if (!QFileInfo::exists(game.filePath(path)))
            missing << path;
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(
                 QStringLiteral("not in %1: %2").arg(game.path(), missing.join(QLatin1Char(' ')))));
}

QTEST_MAIN(TestCards)
#include "test_cards.moc"
