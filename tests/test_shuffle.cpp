// The match shuffle: its trace, step by step, with chosen draws; what it keeps
// true over many shuffles; and the C library's clock-seeded draws.
#include <QList>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <set>

#include "cards/shuffle.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/game_state_reset.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/scripted_random.h"
#include "tests/support/stdout_capture.h"

namespace {

// Where two transcripts part, line by line, for a failure message.
QString first_difference(const QByteArray &actual, const QByteArray &expected)
{
    const QList<QByteArray> got = actual.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i) {
        const QByteArray g = i < got.size() ? got.at(i) : QByteArray("<end of trace>");
        const QByteArray w = i < want.size() ? want.at(i) : QByteArray("<end of trace>");
        if (g != w) {
            return QStringLiteral("line %1 differs\n   actual: %2\n expected: %3")
                .arg(i + 1)
                .arg(QString::fromLatin1(g), QString::fromLatin1(w));
        }
    }
    return {};
}

QList<int> row_of(int s)
{
    return QList<int>(std::begin(buf_suit[s]), std::end(buf_suit[s]));
}

QList<int> deal_table()
{
    return QList<int>(std::begin(buf_r), std::end(buf_r));
}

QList<int> from_to(int first, int last)
{
    QList<int> values;
    for (int v = first; v <= last; ++v)
        values << v;
    return values;
}

// What is wrong with the suit rows and the deal table; empty when every card
// is where the rules allow it.
QString card_set_problems()
{
    const int kings[] = {13, 26, 39, 52};
    QStringList problems;
    for (int s = 0; s < 4; ++s) {
        QList<int> row = row_of(s);
        if (row.at(12) != kings[s])
            problems << QStringLiteral("row %1 position 12 holds %2").arg(s).arg(row.at(12));
        std::sort(row.begin(), row.end());
        if (row != from_to(kings[s] - 12, kings[s]))
            problems << QStringLiteral("row %1 is not its own suit").arg(s);
    }
    QList<int> table = deal_table();
    std::sort(table.begin(), table.end());
    if (table != from_to(1, 52))
        problems << QStringLiteral("the deal table does not hold each card once");
    return problems.join(QStringLiteral("; "));
}

// The six row positions of every "n1=..,n6=.." line of a trace.
QList<QList<int>> row_draw_lines(const QByteArray &trace)
{
    static const QRegularExpression line(
        QStringLiteral(R"(n1=(\d+),n2=(\d+),n3=(\d+),n4=(\d+),n5=(\d+),n6=(\d+)\n)"));
    QList<QList<int>> draws;
    auto matches = line.globalMatch(QString::fromLatin1(trace));
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        QList<int> six;
        for (int i = 1; i <= 6; ++i)
            six << match.captured(i).toInt();
        draws << six;
    }
    return draws;
}

// Spades, clubs, hearts, diamonds as the program starts with them.
const QList<int> kSpades = from_to(1, 13);
const QList<int> kClubs = from_to(14, 26);
const QList<int> kHearts = from_to(27, 39);
const QList<int> kDiamonds = from_to(40, 52);

} // namespace

class TestShuffle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void one_row_data();
    void one_row();
    void whole_shuffle_trace();
    void table_steps_of_one_position_drawn_apart_data();
    void table_steps_of_one_position_drawn_apart();
    void all_draws_equal();
    void rows_persist_into_the_next_shuffle();
    void swap_count_only_grows();
    void cards_stay_in_their_rows_data();
    void cards_stay_in_their_rows();
    void clock_seeded_draws_within_one_second();

private:
    std::unique_ptr<Kestrano> window;
};

void TestShuffle::init()
{
    capture_stdout([this] { window = std::make_unique<Kestrano>(); });
    reset_game_state();
}

void TestShuffle::cleanup()
{
    window.reset();
}

void TestShuffle::one_row_data()
{
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<QList<int>>("row");
    QTest::addColumn<QByteArray>("trace");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QList<int>>("row_after");

    // clang-format off
    QTest::newRow("all six positions equal")
        << QList<int>{13, 13, 13, 13, 13, 13} << kDiamonds
        << QByteArray("n1=1,n2=1,n3=1,n4=1,n5=1,n6=1\n"
                      "MAX=15,n=0")
        << QList<int>{1, 1, 1, 1, 1, 1} << kDiamonds;

    // Raw draws 12..47 land on positions 0 and 11 only: position 12 (the king)
    // is out of reach.  Pair (4,5) exchanges without its pair line.
    const QByteArray a = "1,2,3,4,5,6,7,8,9,10,11,12,13,\n";
    const QByteArray b = "12,2,3,4,5,6,7,8,9,10,11,1,13,\n";
    QTest::newRow("positions 0 and 11 alternating")
        << QList<int>{12, 23, 24, 35, 36, 47} << kSpades
        << QByteArrayList{
            "n1=0,n2=11,n3=0,n4=11,n5=0,n6=11\n",
            "n1=0,n2=11\n", a, b, "Patern 1\n",
            "n1=0,n4=11\n", b, a, "Patern 3\n",
            "n1=0,n6=11\n", a, b, "Patern 5\n",
            "n2=11,n3=0\n", b, a, "Patern 6\n",
            "n2=11,n5=0\n", a, b, "Patern 8\n",
            "n3=0,n4=11\n", b, a, "Patern 10\n",
            "n3=0,n6=11\n", a, b, "Patern 12\n",
                            b, a, "Patern 13\n",
            "n5=0,n6=11\n", a, b, "Patern 15\n",
            "MAX=15,n=9"}.join()
        << QList<int>{0, 11, 0, 11, 0, 11}
        << QList<int>{12, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 13};

    // Three distinct positions: the exchanges compose, and label 9 is written
    // without its blank.
    const QByteArray p = "27,28,29,30,31,32,33,34,35,36,37,38,39,\n";
    const QByteArray q = "28,27,29,30,31,32,33,34,35,36,37,38,39,\n";
    const QByteArray r = "29,27,28,30,31,32,33,34,35,36,37,38,39,\n";
    const QByteArray u = "28,29,27,30,31,32,33,34,35,36,37,38,39,\n";
    QTest::newRow("positions 0, 1 and 2")
        << QList<int>{0, 1, 2, 2, 2, 2} << kHearts
        << QByteArrayList{
            "n1=0,n2=1,n3=2,n4=2,n5=2,n6=2\n",
            "n1=0,n2=1\n", p, q, "Patern 1\n",
            "n1=0,n3=2\n", q, r, "Patern 2\n",
            "n1=0,n4=2\n", r, q, "Patern 3\n",
            "n1=0,n5=2\n", q, r, "Patern 4\n",
            "n1=0,n6=2\n", r, q, "Patern 5\n",
            "n2=1,n3=2\n", q, u, "Patern 6\n",
            "n2=1,n4=2\n", u, q, "Patern 7\n",
            "n2=1,n5=2\n", q, u, "Patern 8\n",
            "n2=1,n6=2\n", u, q, "Patern9\n",
            "MAX=15,n=9"}.join()
        << QList<int>{0, 1, 2, 2, 2, 2}
        << QList<int>{28, 27, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39};
    // clang-format on
}

void TestShuffle::one_row()
{
    QFETCH(QList<int>, draws);
    QFETCH(QList<int>, row);
    QFETCH(QByteArray, trace);
    QFETCH(QList<int>, positions);
    QFETCH(QList<int>, row_after);

    ScriptedRandom random(draws);
    int cards[kRowCards];
    std::copy(row.begin(), row.end(), cards);
    int n[kRowDraws] = {};
    const QByteArray printed = capture_stdout([&] { shuffle_row(cards, n); });

    QVERIFY2(printed == trace, qPrintable(first_difference(printed, trace)));
    QCOMPARE(QList<int>(std::begin(n), std::end(n)), positions);
    QCOMPARE(QList<int>(std::begin(cards), std::end(cards)), row_after);
    QCOMPARE(random.reseeds, 1);
}

// One whole shuffle through the window, with few distinct draws: spades
// exchange positions 0 and 1 five times, clubs 3 and 7 five times, hearts and
// diamonds stay, and the deal table exchanges entries 48 and 7 eight times.
void TestShuffle::whole_shuffle_trace()
{
    // clang-format off
    ScriptedRandom random({0, 0, 0, 0, 0, 1,          // spades
                           15, 15, 15, 15, 19, 15,    // clubs: 3 and 7 after % 12
                           5, 5, 5, 5, 5, 5,          // hearts
                           35, 35, 35, 35, 35, 35,    // diamonds: 11 after % 12
                           100, 100, 100, 100, 59,    // nn1..nn5: 48 and 7 after % 52
                           100});                     // nn6..nn24
    // clang-format on
    QStringList messages;
    connect(window->statusBar(), &QStatusBar::messageChanged, this,
            [&messages](const QString &message) { messages << message; });

    const QByteArray s0 = "1,2,3,4,5,6,7,8,9,10,11,12,13,\n";
    const QByteArray s1 = "2,1,3,4,5,6,7,8,9,10,11,12,13,\n";
    const QByteArray c0 = "14,15,16,17,18,19,20,21,22,23,24,25,26,\n";
    const QByteArray c1 = "14,15,16,21,18,19,20,17,22,23,24,25,26,\n";
    const QByteArray t0 = "2,1,3,4,5,6,7,8,9,10,11,12,13,14,15,16,21,18,19,20,17,22,23,24,25,26,"
                          "27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,"
                          "50,51,52,\n";
    const QByteArray t1 = "2,1,3,4,5,6,7,49,9,10,11,12,13,14,15,16,21,18,19,20,17,22,23,24,25,26,"
                          "27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,8,"
                          "50,51,52,\n";
    // clang-format off
    const QByteArray expected = QByteArrayList{
        // spades
        "n1=0,n2=0,n3=0,n4=0,n5=0,n6=1\n",
        "n1=0,n6=1\n", s0, s1, "Patern 5\n",
        "n2=0,n6=1\n", s1, s0, "Patern9\n",
        "n3=0,n6=1\n", s0, s1, "Patern 12\n",
        "n4=0,n6=1\n", s1, s0, "Patern 14\n",
        "n5=0,n6=1\n", s0, s1, "Patern 15\n",
        "MAX=15,n=5",
        // clubs; pair (4,5) prints no pair line
        "n1=3,n2=3,n3=3,n4=3,n5=7,n6=3\n",
        "n1=3,n5=7\n", c0, c1, "Patern 4\n",
        "n2=3,n5=7\n", c1, c0, "Patern 8\n",
        "n3=3,n5=7\n", c0, c1, "Patern 11\n",
                       c1, c0, "Patern 13\n",
        "n5=7,n6=3\n", c0, c1, "Patern 15\n",
        "MAX=15,n=5",
        // hearts, diamonds
        "n1=5,n2=5,n3=5,n4=5,n5=5,n6=5\n",
        "MAX=15,n=0",
        "n1=11,n2=11,n3=11,n4=11,n5=11,n6=11\n",
        "MAX=15,n=0",
        // the rows laid end to end
        "buf[0]=2\tbuf[1]=1\tbuf[2]=3\tbuf[3]=4\tbuf[4]=5\tbuf[5]=6\tbuf[6]=7\tbuf[7]=8\t"
        "buf[8]=9\tbuf[9]=10\tbuf[10]=11\tbuf[11]=12\tbuf[12]=13\t",
        "buf[13]=14\tbuf[14]=15\tbuf[15]=16\tbuf[16]=21\tbuf[17]=18\tbuf[18]=19\tbuf[19]=20\t"
        "buf[20]=17\tbuf[21]=22\tbuf[22]=23\tbuf[23]=24\tbuf[24]=25\tbuf[25]=26\t",
        "buf[26]=27\tbuf[27]=28\tbuf[28]=29\tbuf[29]=30\tbuf[30]=31\tbuf[31]=32\tbuf[32]=33\t"
        "buf[33]=34\tbuf[34]=35\tbuf[35]=36\tbuf[36]=37\tbuf[37]=38\tbuf[38]=39\t",
        "buf[39]=40\n", "buf[40]=41\n", "buf[41]=42\n", "buf[42]=43\n", "buf[43]=44\n",
        "buf[44]=45\n", "buf[45]=46\n", "buf[46]=47\n", "buf[47]=48\n", "buf[48]=49\n",
        "buf[49]=50\n", "buf[50]=51\n", "buf[51]=52\n",
        "buf_r[0]=2\tbuf_r[1]=1\tbuf_r[2]=3\tbuf_r[3]=4\tbuf_r[4]=5\tbuf_r[5]=6\tbuf_r[6]=7\t"
        "buf_r[7]=8\tbuf_r[8]=9\tbuf_r[9]=10\tbuf_r[10]=11\tbuf_r[11]=12\tbuf_r[12]=13\t"
        "buf_r[13]=14\tbuf_r[14]=15\tbuf_r[15]=16\tbuf_r[16]=21\tbuf_r[17]=18\tbuf_r[18]=19\t"
        "buf_r[19]=20\tbuf_r[20]=17\tbuf_r[21]=22\tbuf_r[22]=23\tbuf_r[23]=24\tbuf_r[24]=25\t"
        "buf_r[25]=26\tbuf_r[26]=27\tbuf_r[27]=28\tbuf_r[28]=29\tbuf_r[29]=30\tbuf_r[30]=31\t"
        "buf_r[31]=32\tbuf_r[32]=33\tbuf_r[33]=34\tbuf_r[34]=35\tbuf_r[35]=36\tbuf_r[36]=37\t"
        "buf_r[37]=38\tbuf_r[38]=39\tbuf_r[39]=40\tbuf_r[40]=41\tbuf_r[41]=42\tbuf_r[42]=43\t"
        "buf_r[43]=44\tbuf_r[44]=45\tbuf_r[45]=46\tbuf_r[46]=47\tbuf_r[47]=48\tbuf_r[48]=49\t"
        "buf_r[49]=50\tbuf_r[50]=51\tbuf_r[51]=52\t",
        // the table draws
        "nn1=48,nn2=48,nn3=48,nn4=48,nn5=7,nn6=48\n",
        "nn7=48,nn8=48,nn9=48,nn10=48,nn11=48,nn12=48\n",
        "nn13=48,nn14=48,nn15=48,nn16=48,nn17=48,nn18=48\n",
        "nn19=48,nn20=48,nn21=48,nn22=48,nn23=48,nn24=48\n",
        // step 4 (1,5) and step 26 (2,5) print no pair line
                          t0, t1, "Patern 4\n",
                          t1, t0, "Patern 26\n",
        // step 47 (3,5); step 67 (4,5), silent, carries label 13
        "nn3=48,nn5=7\n", t0, t1, "Patern 47\n",
                          t1, t0, "Patern 13\n",
        // step 87 (5,6) carries label 15
        "nn5=7,nn6=48\n", t0, t1, "Patern 15\n",
        // steps 89, 109 and 129 run the same pairs again
        "nn3=48,nn5=7\n", t1, t0, "Patern 47\n",
                          t0, t1, "Patern 13\n",
        "nn5=7,nn6=48\n", t1, t0, "Patern 15\n",
        "MAX=15,n=9"}.join();
    // clang-format on

    KestranoProbe probe(*window);
    const QByteArray printed = capture_stdout([&] { probe.card_shuffle(); });

    QVERIFY2(printed == expected, qPrintable(first_difference(printed, expected)));
    QCOMPARE(random.reseeds, 5); // one per row, one for the table
    QCOMPARE(row_of(0), QList<int>({2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    QCOMPARE(row_of(1), QList<int>({14, 15, 16, 21, 18, 19, 20, 17, 22, 23, 24, 25, 26}));
    QCOMPARE(row_of(2), kHearts);
    QCOMPARE(row_of(3), kDiamonds);
    QCOMPARE(deal_table(),
             QList<int>({2,  1,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 21, 18,
                         19, 20, 17, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36,
                         37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52}));
    QCOMPARE(deck_swap_count, 9);

    // The window keeps the last draws: the diamonds' row and the table's.
    for (int i = 1; i <= 6; ++i)
        QVERIFY2(probe.n(i) == 11, qPrintable(QStringLiteral("n%1=%2").arg(i).arg(probe.n(i))));
    for (int i = 1; i <= 24; ++i) {
        const int expected_nn = i == 5 ? 7 : 48;
        QVERIFY2(probe.nn(i) == expected_nn,
                 qPrintable(QStringLiteral("nn%1=%2").arg(i).arg(probe.nn(i))));
    }

    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("It has shuffuled Ok"));
    QCOMPARE(messages, QStringList({QStringLiteral("It is shuffuling now"),
                                    QStringLiteral("It has shuffuled Ok")}));
}

void TestShuffle::table_steps_of_one_position_drawn_apart_data()
{
    QTest::addColumn<int>("apart"); // the one nn drawn 51; all others draw 0
    QTest::addColumn<QList<int>>("labels");
    QTest::addColumn<QList<int>>("partners"); // the other nn of each pair line, in order

    // clang-format off
    QTest::newRow("nn1 drawn apart") << 1 << from_to(1, 23) << QList<int>{2, 3, 4, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 18, 19, 20, 21, 22, 24};
    QTest::newRow("nn2 drawn apart") << 2 << QList<int>{1} + from_to(24, 45) << QList<int>{1, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24};
    QTest::newRow("nn3 drawn apart") << 3 << QList<int>{2, 24} + from_to(46, 66) + from_to(46, 66) << QList<int>{1, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24};
    QTest::newRow("nn4 drawn apart") << 4 << QList<int>{3, 25, 46, 13, 14} + from_to(28, 45) + QList<int>{46, 13, 14} + from_to(28, 45) << QList<int>{1, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24};
    QTest::newRow("nn6 drawn apart") << 6 << QList<int>{5, 27, 48, 14, 15, 48, 14, 15} << QList<int>{1, 2, 3, 4, 5, 3, 4, 5};
    QTest::newRow("nn11 drawn apart: every step silent") << 11 << QList<int>{10, 32, 53, 32, 53, 32} << QList<int>{};
    QTest::newRow("nn24 drawn apart") << 24 << QList<int>{23, 45, 66, 45, 66, 45} << QList<int>{1, 2, 3, 4, 3, 4};
    // clang-format on
}

// Only pairs with the one position drawn apart exchange, so the labels and
// pair lines printed spell out where that nn stands in the schedule.
void TestShuffle::table_steps_of_one_position_drawn_apart()
{
    QFETCH(int, apart);
    QFETCH(QList<int>, labels);
    QFETCH(QList<int>, partners);
    QByteArrayList pair_lines;
    for (int other : partners) {
        const QByteArray one = "nn" + QByteArray::number(apart) + "=51";
        const QByteArray two = "nn" + QByteArray::number(other) + "=0";
        pair_lines << (other < apart ? two + ',' + one : one + ',' + two);
    }

    QList<int> draws(kTableDraws, 0);
    draws[apart - 1] = 51;
    ScriptedRandom random(draws);
    int table[kDeckCards];
    int nn[kTableDraws];
    int swaps = 1;
    const QByteArray printed = capture_stdout([&] { shuffle_table(table, buf_suit, nn, swaps); });

    static const QRegularExpression pair_line(QStringLiteral(R"(^nn\d+=\d+,nn\d+=\d+$)"));
    static const QRegularExpression label_line(QStringLiteral(R"(^Patern (\d+)$)"));
    QList<int> printed_labels;
    QByteArrayList printed_pairs;
    for (const QByteArray &line : printed.split('\n')) {
        const QString text = QString::fromLatin1(line);
        if (pair_line.match(text).hasMatch())
            printed_pairs << line;
        if (const auto match = label_line.match(text); match.hasMatch())
            printed_labels << match.captured(1).toInt();
    }
    QCOMPARE(printed_labels, labels);
    QCOMPARE(printed_pairs, pair_lines);
    QCOMPARE(swaps, 1 + int(labels.size()));
    QVERIFY2(printed.endsWith("MAX=15,n=" + QByteArray::number(swaps)),
             printed.right(40).constData());

    // An odd number of exchanges leaves entries 0 and 51 exchanged.
    const bool exchanged = labels.size() % 2 == 1;
    QCOMPARE(table[0], exchanged ? 52 : 1);
    QCOMPARE(table[51], exchanged ? 1 : 52);
    for (int i = 1; i < 51; ++i)
        QCOMPARE(table[i], i + 1);
}

void TestShuffle::all_draws_equal()
{
    ScriptedRandom random({30});
    KestranoProbe probe(*window);
    const QByteArray printed = capture_stdout([&] { probe.card_shuffle(); });

    const QByteArray quiet_row = "n1=6,n2=6,n3=6,n4=6,n5=6,n6=6\nMAX=15,n=0";
    QVERIFY2(printed.startsWith(quiet_row + quiet_row + quiet_row + quiet_row + "buf[0]=1\t"),
             printed.left(200).constData());
    QVERIFY2(printed.endsWith("nn19=30,nn20=30,nn21=30,nn22=30,nn23=30,nn24=30\nMAX=15,n=1"),
             printed.right(200).constData());
    QVERIFY2(!printed.contains("Patern"), "a step ran although its two positions were equal");
    QCOMPARE(row_of(0), kSpades);
    QCOMPARE(row_of(1), kClubs);
    QCOMPARE(row_of(2), kHearts);
    QCOMPARE(row_of(3), kDiamonds);
    QCOMPARE(deal_table(), from_to(1, 52));
    QCOMPARE(deck_swap_count, 1);
    // So both hands of the first round are spades: the user's ace to 5, the CPU's 6 to 10.
    QCOMPARE(deal_table().mid(0, 10), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

void TestShuffle::rows_persist_into_the_next_shuffle()
{
    // Spades exchange positions 0 and 1 five times; nothing else moves.
    const QList<int> draws = {0, 1, 1, 1, 1, 1, 0};
    KestranoProbe probe(*window);
    {
        ScriptedRandom random(draws);
        capture_stdout([&] { probe.card_shuffle(); });
    }
    QCOMPARE(row_of(0), QList<int>({2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

    ScriptedRandom random(draws);
    const QByteArray printed = capture_stdout([&] { probe.card_shuffle(); });
    QVERIFY2(printed.startsWith("n1=0,n2=1,n3=1,n4=1,n5=1,n6=1\n"
                                "n1=0,n2=1\n"
                                "2,1,3,4,5,6,7,8,9,10,11,12,13,\n"
                                "1,2,3,4,5,6,7,8,9,10,11,12,13,\n"
                                "Patern 1\n"),
             printed.left(200).constData());
    QCOMPARE(row_of(0), kSpades);
    QCOMPARE(deal_table(), from_to(1, 52));
}

void TestShuffle::swap_count_only_grows()
{
    // Row draws all 0; nn1 = 51 and the other table draws 0: 23 table exchanges.
    QList<int> one_apart(4 * kRowDraws, 0);
    one_apart << 51 << 0;
    KestranoProbe probe(*window);
    const struct
    {
        QList<int> draws;
        int count_after;
    } shuffles[] = {{one_apart, 24}, {one_apart, 47}, {{0}, 47}};
    for (const auto &shuffle : shuffles) {
        ScriptedRandom random(shuffle.draws);
        const QByteArray printed = capture_stdout([&] { probe.card_shuffle(); });
        QCOMPARE(deck_swap_count, shuffle.count_after);
        QVERIFY2(printed.endsWith("\nMAX=15,n=" + QByteArray::number(shuffle.count_after)),
                 printed.right(40).constData());
    }
}

void TestShuffle::cards_stay_in_their_rows_data()
{
    QTest::addColumn<bool>("clock_seeded");
    QTest::addColumn<int>("shuffles");

    QTest::newRow("C library draws") << true << 20;
    QTest::newRow("varied scripted draws") << false << 100;
}

void TestShuffle::cards_stay_in_their_rows()
{
    QFETCH(bool, clock_seeded);
    QFETCH(int, shuffles);

    // A fixed spread of raw draws over the whole range rand() returns.
    QList<int> varied;
    unsigned state = 12345;
    for (int i = 0; i < shuffles * (4 * kRowDraws + kTableDraws); ++i) {
        state = state * 1103515245u + 12345u;
        varied << int((state >> 1) & 0x7fffffff);
    }
    std::unique_ptr<ScriptedRandom> random;
    if (!clock_seeded)
        random = std::make_unique<ScriptedRandom>(varied);

    KestranoProbe probe(*window);
    for (int i = 1; i <= shuffles; ++i) {
        capture_stdout([&] { probe.card_shuffle(); });
        const QString problems = card_set_problems();
        QVERIFY2(problems.isEmpty(),
                 qPrintable(QStringLiteral("after shuffle %1: %2").arg(i).arg(problems)));
    }
}

// The C library draws: every batch reseeds with the time in whole seconds, so
// shuffles within one second draw the same raw numbers for each batch.
void TestShuffle::clock_seeded_draws_within_one_second()
{
    KestranoProbe probe(*window);
    QByteArray trace;
    QList<int> first_nn;
    time_t started = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        started = std::time(nullptr);
        trace = capture_stdout([&] { probe.card_shuffle(); });
        first_nn.clear();
        for (int i = 1; i <= 24; ++i)
            first_nn << probe.nn(i);
        trace += capture_stdout([&] { probe.card_shuffle(); });
        if (std::time(nullptr) == started)
            break;
        started = 0; // crossed a second: try again
    }
    if (started == 0)
        QSKIP("every attempt crossed a second boundary");

    std::srand(static_cast<unsigned>(started));
    QList<int> raw;
    for (int i = 0; i < kTableDraws; ++i)
        raw << std::rand();
    QList<int> row_positions;
    QList<int> table_positions;
    for (int i = 0; i < kRowDraws; ++i)
        row_positions << raw.at(i) % 12;
    for (int i = 0; i < kTableDraws; ++i)
        table_positions << raw.at(i) % 52;

    const QList<QList<int>> rows = row_draw_lines(trace);
    QCOMPARE(rows.size(), 8); // four rows, two shuffles
    for (const QList<int> &positions : rows)
        QCOMPARE(positions, row_positions);
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(probe.n(i), row_positions.at(i - 1));
    QCOMPARE(first_nn, table_positions);
    QList<int> second_nn;
    for (int i = 1; i <= 24; ++i)
        second_nn << probe.nn(i);
    QCOMPARE(second_nn, table_positions);

    // Every row got the same exchanges from the same starting order, so the
    // ranks still line up across the four rows.
    for (int k = 0; k < 13; ++k) {
        for (int s = 1; s < 4; ++s) {
            QVERIFY2(buf_suit[s][k] - 13 * s == buf_suit[0][k],
                     qPrintable(QStringLiteral("row %1 position %2 holds %3, spades hold %4")
                                    .arg(s)
                                    .arg(k)
                                    .arg(buf_suit[s][k])
                                    .arg(buf_suit[0][k])));
        }
    }
}

QTEST_MAIN(TestShuffle)
#include "test_shuffle.moc"
