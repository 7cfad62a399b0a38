// Card numbers: suit, rank, picture paths and the draw tool tip, written out
// by hand at the edges of each suit, each rank word and the hand positions
// where the diamonds' words change; and the numbers that are no card at all.
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "cards/card.h"

class TestCards : public QObject
{
    Q_OBJECT

private slots:
    void cards_the_rules_name_data();
    void cards_the_rules_name();
    void numbers_that_are_no_card_data();
    void numbers_that_are_no_card();
    void every_picture_is_in_the_runnable_folder();
};

void TestCards::cards_the_rules_name_data()
{
    QTest::addColumn<int>("card");
    QTest::addColumn<int>("position");
    QTest::addColumn<Suit>("suit");
    QTest::addColumn<int>("rank");
    QTest::addColumn<QString>("face_path");
    QTest::addColumn<QString>("open_path");
    QTest::addColumn<QString>("tool_tip");

    // clang-format off
    QTest::newRow("1 at position 1: the ace of spades, the first card") << 1 << 1 << Suit::Spades << 1 << "gazo/s01.png" << "gazo/S01D.png" << "Spade A draw card";
    QTest::newRow("2 at position 5: the 2 of spades") << 2 << 5 << Suit::Spades << 2 << "gazo/s02.png" << "gazo/S02D.png" << "Spade 2 draw card";
    QTest::newRow("4 at position 5: the 4 of spades at position 5") << 4 << 5 << Suit::Spades << 4 << "gazo/s04.png" << "gazo/S04D.png" << "Spade 4 draw card";
    QTest::newRow("13 at position 4: the king of spades, the last spade") << 13 << 4 << Suit::Spades << 13 << "gazo/s13.png" << "gazo/S13D.png" << "Spade King draw card";
    QTest::newRow("14 at position 2: the ace of clubs, the first club") << 14 << 2 << Suit::Clubs << 1 << "gazo/c01.png" << "gazo/C01D.png" << "Kurobar A draw card";
    QTest::newRow("16 at position 3: the 3 of clubs") << 16 << 3 << Suit::Clubs << 3 << "gazo/c03.png" << "gazo/C03D.png" << "Kurobar 3 draw card";
    QTest::newRow("17 at position 5: the 4 of clubs at position 5") << 17 << 5 << Suit::Clubs << 4 << "gazo/c04.png" << "gazo/C04D.png" << "Kurobar 4 draw card";
    QTest::newRow("20 at position 5: the 7 of clubs") << 20 << 5 << Suit::Clubs << 7 << "gazo/c07.png" << "gazo/C07D.png" << "Kurobar 7 draw card";
    QTest::newRow("23 at position 3: the 10 of clubs") << 23 << 3 << Suit::Clubs << 10 << "gazo/c10.png" << "gazo/C10D.png" << "Kurobar 10 draw card";
    QTest::newRow("26 at position 1: the king of clubs, the last club") << 26 << 1 << Suit::Clubs << 13 << "gazo/c13.png" << "gazo/C13D.png" << "Kurobar King draw card";
    QTest::newRow("27 at position 5: the ace of hearts, the first heart") << 27 << 5 << Suit::Hearts << 1 << "gazo/h01.png" << "gazo/H01D.png" << "Hurt A draw card";
    QTest::newRow("30 at position 5: the 4 of hearts at position 5") << 30 << 5 << Suit::Hearts << 4 << "gazo/h04.png" << "gazo/H04D.png" << "Hurt 4 draw card";
    QTest::newRow("31 at position 2: the 5 of hearts") << 31 << 2 << Suit::Hearts << 5 << "gazo/h05.png" << "gazo/H05D.png" << "Hurt 5 draw card";
    QTest::newRow("32 at position 4: the 6 of hearts") << 32 << 4 << Suit::Hearts << 6 << "gazo/h06.png" << "gazo/H06D.png" << "Hurt 6 draw card";
    QTest::newRow("34 at position 1: the 8 of hearts") << 34 << 1 << Suit::Hearts << 8 << "gazo/h08.png" << "gazo/H08D.png" << "Hurt 8 draw card";
    QTest::newRow("35 at position 3: the 9 of hearts") << 35 << 3 << Suit::Hearts << 9 << "gazo/h09.png" << "gazo/H09D.png" << "Hurt 9 draw card";
    QTest::newRow("37 at position 3: the jack of hearts") << 37 << 3 << Suit::Hearts << 11 << "gazo/h11.png" << "gazo/H11D.png" << "Hurt Jack draw card";
    QTest::newRow("38 at position 5: the queen of hearts") << 38 << 5 << Suit::Hearts << 12 << "gazo/h12.png" << "gazo/H12D.png" << "Hurt Queen draw card";
    QTest::newRow("39 at position 1: the king of hearts, the last heart") << 39 << 1 << Suit::Hearts << 13 << "gazo/h13.png" << "gazo/H13D.png" << "Hurt King draw card";
    QTest::newRow("40 at position 1: the ace of diamonds at position 1") << 40 << 1 << Suit::Diamonds << 1 << "gazo/d01.png" << "gazo/D01D.png" << "dia A draw card";
    QTest::newRow("40 at position 2: the ace of diamonds at position 2") << 40 << 2 << Suit::Diamonds << 1 << "gazo/d01.png" << "gazo/D01D.png" << "dia A draw card";
    QTest::newRow("40 at position 3: the ace of diamonds at position 3") << 40 << 3 << Suit::Diamonds << 1 << "gazo/d01.png" << "gazo/D01D.png" << "Dia A draw card";
    QTest::newRow("42 at position 5: the 3 of diamonds at position 5") << 42 << 5 << Suit::Diamonds << 3 << "gazo/d03.png" << "gazo/D03D.png" << "Dia 3 draw card";
    QTest::newRow("43 at position 1: the 4 of diamonds at position 1") << 43 << 1 << Suit::Diamonds << 4 << "gazo/d04.png" << "gazo/D04D.png" << "dia 4 draw card";
    QTest::newRow("43 at position 3: the 4 of diamonds at position 3") << 43 << 3 << Suit::Diamonds << 4 << "gazo/d04.png" << "gazo/D04D.png" << "Dia 4 draw card";
    QTest::newRow("43 at position 4: the 4 of diamonds at position 4") << 43 << 4 << Suit::Diamonds << 4 << "gazo/d04.png" << "gazo/D04D.png" << "Dia 4 draw card";
    QTest::newRow("43 at position 5: the 4 of diamonds at position 5, named with a zero") << 43 << 5 << Suit::Diamonds << 4 << "gazo/d04.png" << "gazo/D04D.png" << "Dia 04 draw card";
    QTest::newRow("44 at position 5: the 5 of diamonds at position 5") << 44 << 5 << Suit::Diamonds << 5 << "gazo/d05.png" << "gazo/D05D.png" << "Dia 5 draw card";
    QTest::newRow("51 at position 2: the queen of diamonds at position 2") << 51 << 2 << Suit::Diamonds << 12 << "gazo/d12.png" << "gazo/D12D.png" << "dia Queen draw card";
    QTest::newRow("52 at position 4: the king of diamonds, the last card") << 52 << 4 << Suit::Diamonds << 13 << "gazo/d13.png" << "gazo/D13D.png" << "Dia King draw card";
    QTest::newRow("52 at position 5: the king of diamonds at position 5") << 52 << 5 << Suit::Diamonds << 13 << "gazo/d13.png" << "gazo/D13D.png" << "Dia King draw card";
    // clang-format on
}

void TestCards::cards_the_rules_name()
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

void TestCards::numbers_that_are_no_card_data()
{
    QTest::addColumn<int>("number");
    for (int number : {0, -1, 53, 100})
        QTest::addRow("%d", number) << number;
}

void TestCards::numbers_that_are_no_card()
{
    QFETCH(int, number);

    QCOMPARE(card_suit(number), Suit::None);
    QCOMPARE(card_rank(number), 0);
    QVERIFY2(face_picture_path(number).isEmpty(), qPrintable(face_picture_path(number)));
    QVERIFY2(open_picture_path(number).isEmpty(), qPrintable(open_picture_path(number)));
    for (int position = 1; position <= 5; ++position)
        QVERIFY2(draw_tool_tip(number, position).isEmpty(),
                 qPrintable(draw_tool_tip(number, position)));
}

// Every path the functions give names a picture the build made.
void TestCards::every_picture_is_in_the_runnable_folder()
{
    QCOMPARE(card_back_path(), QStringLiteral("gazo/UB0.png"));
    const QDir game(QStringLiteral(KESTRANO_GAME_DIR));
    QStringList missing;
    QStringList paths{card_back_path()};
    for (int card = 1; card <= 52; ++card)
        paths << face_picture_path(card) << open_picture_path(card);
    for (const QString &path : paths) {
        if (!QFileInfo::exists(game.filePath(path)))
            missing << path;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
}

QTEST_MAIN(TestCards)
#include "test_cards.moc"
