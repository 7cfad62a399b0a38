// "Card open": the CPU opens its next card in dealt order, the buttons still in
// hand come back, and the pair is judged by rank.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <iterator>
#include <memory>

#include "cards/rules.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/deal_table.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

// What the re-enabling step printed: the lines between the hand load's last
// line and the state trace.
QByteArray reenabling_lines(const QByteArray &trace)
{
    const int from = trace.indexOf("\ncpu shuffle,") + 1;
    const int start = trace.indexOf('\n', from) + 1;
    const int end = trace.indexOf("buf_cpu[0]=", start);
    return from > 0 && end >= start ? trace.mid(start, end - start) : QByteArray("<no open>");
}

// The hand of most tests: the CPU's is dealt as hearts, spades, diamonds, clubs.
const QList<int> kUserHand{13, 44, 2, 30, 17};
const QList<int> kCpuHand{27, 5, 52, 20, 8};
const char *const kCpuOpenPictures[] = {"gazo/H01D.png", "gazo/S05D.png", "gazo/D13D.png",
                                        "gazo/C07D.png", "gazo/S08D.png"};

} // namespace

class TestCpuOpen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cpu_plays_in_dealt_order_data();
    void cpu_plays_in_dealt_order();
    void reenabling_rule_data();
    void reenabling_rule();
    void hand_load_trace();
    void judged_by_rank_data();
    void judged_by_rank();
    void cpu_position_carries_over();

private:
    std::unique_ptr<TableFixture> table; // its recorded sounds keep the judging silent
};

void TestCpuOpen::init()
{
    table = std::make_unique<TableFixture>(0.01, QList<int>{});
    QVERIFY(table->show_exposed());
}

void TestCpuOpen::cleanup()
{
    table.reset();
}

void TestCpuOpen::cpu_plays_in_dealt_order_data()
{
    QTest::addColumn<QList<int>>("presses");
    QTest::addColumn<QByteArray>("third_open_line");

    QTest::newRow("user plays 1 to 5")
        << QList<int>{1, 2, 3, 4, 5} << QByteArray("1.push_button1,push_button2,push_button3\n");
    QTest::newRow("user plays 5 to 1") << QList<int>{5, 4, 3, 2, 1} << QByteArray();
    QTest::newRow("user plays 2, 4, 1, 5, 3")
        << QList<int>{2, 4, 1, 5, 3} << QByteArray("2.push_button1,push_button2,push_button4\n");
    QTest::newRow("user plays 3, 5, 1, 2, 4")
        << QList<int>{3, 5, 1, 2, 4} << QByteArray("push_button1,push_button3,push_button5\n");
}

void TestCpuOpen::cpu_plays_in_dealt_order()
{
    QFETCH(QList<int>, presses);
    QFETCH(QByteArray, third_open_line);

    QVERIFY(table->deal_round(1, kUserHand + kCpuHand));
    QList<int> played;
    for (int open = 1; open <= 5; ++open) {
        const int position = presses.at(open - 1);
        table->trace.clear();
        QVERIFY(table->play_pair(position));
        const QByteArray trace = table->trace;
        played << position;

        const int cpu_card = kCpuHand.at(open - 1);
        const QByteArray pair = "cpu=" + QByteArray::number(cpu_card) + "=buf_cpu[" +
                                QByteArray::number(open - 1) + "]=" + QByteArray::number(cpu_card) +
                                ",user=" + QByteArray::number(kUserHand.at(position - 1)) + "\n";
        QVERIFY2(trace.contains(pair), trace.constData());
        QVERIFY_PICTURE(table->label("cpu_play_label"), kCpuOpenPictures[open - 1]);
        QVERIFY(!table->open_button()->isEnabled());
        QCOMPARE(cpu_score + user_score + tie_score, open);
        QCOMPARE(cpu_cout, open % 5);

        if (open < 5) {
            QCOMPARE(reenabling_lines(trace), open == 3 ? third_open_line : QByteArray());
            // Exactly the buttons still in hand come back.
            for (int p = 1; p <= 5; ++p) {
                QCOMPARE(table->card_button(p)->isHidden(), played.contains(p));
                if (!played.contains(p))
                    QVERIFY_PRESSABLE(table->card_button(p));
            }
            QVERIFY(!table->deal_button()->isEnabled());
            QVERIFY(!trace.contains("Pattern x-1"));
        } else {
            // The last open hands the table over to "Deal cards".
            QCOMPARE(reenabling_lines(trace), QByteArray("button_count=5\n"));
            QVERIFY(trace.endsWith("Pattern x-1:buf_cpu[0]=27\n"));
            for (int p = 1; p <= 5; ++p)
                QVERIFY(table->card_button(p)->isHidden());
            QVERIFY_PRESSABLE(table->deal_button());
        }
    }
}

void TestCpuOpen::reenabling_rule_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<Reenabled>("reenabled");
    QTest::addColumn<QByteArray>("line");

    const Reenabled cards = Reenabled::VisibleCardButtons;
    auto third = [cards](const QList<int> &hidden, const char *line) {
        QTest::newRow(qPrintable(QStringLiteral("third open after %1").arg(joined(hidden))))
            << 3 << hidden << cards << QByteArray(line);
    };
    third({1, 2, 3}, "1.push_button1,push_button2,push_button3\n");
    third({1, 2, 4}, "2.push_button1,push_button2,push_button4\n");
    third({1, 2, 5}, "3.push_button1,push_button2,push_button5\n");
    third({2, 3, 5}, "5.push_button2,push_button3,push_button5\n");
    third({2, 3, 4}, "6.push_button2,push_button3,push_button4\n");
    third({1, 3, 5}, "push_button1,push_button3,push_button5\n");
    third({2, 4, 5}, "");
    third({1, 3, 4}, "");
    third({1, 4, 5}, "");
    third({3, 4, 5}, "");

    QTest::newRow("first open") << 1 << QList<int>{4} << cards << QByteArray();
    QTest::newRow("fourth open") << 4 << QList<int>{5, 1, 2, 3} << cards << QByteArray();
    QTest::newRow("third open with four hidden")
        << 3 << QList<int>{1, 2, 3, 4} << cards << QByteArray();
    QTest::newRow("fifth open") << 5 << QList<int>{1, 2, 3, 4, 5} << Reenabled::DealButton
                                << QByteArray("button_count=5\n");
    QTest::newRow("open at press count 0")
        << 0 << QList<int>{} << Reenabled::DealButton << QByteArray("button_count=0\n");
    QTest::newRow("open at press count 6")
        << 6 << QList<int>{1, 2, 3, 4, 5} << Reenabled::DealButton
        << QByteArray("button_count=6\n");

    // Does not arise in play: a played button shows again before the open.
    QTest::newRow("first open with no button hidden")
        << 1 << QList<int>{} << Reenabled::Nothing << QByteArray("1.case1,button_count=1\n");
    QTest::newRow("second open with one hidden")
        << 2 << QList<int>{3} << Reenabled::Nothing << QByteArray("1.case2,button_count=2\n");
    QTest::newRow("third open with two hidden") << 3 << QList<int>{1, 5} << Reenabled::Nothing
                                                << QByteArray("1.case3,button_count=3,pppppppp\n");
    QTest::newRow("fourth open with three hidden")
        << 4 << QList<int>{1, 2, 3} << Reenabled::Nothing << QByteArray("1.case4,button_count=4\n");
}

void TestCpuOpen::reenabling_rule()
{
    QFETCH(int, presses);
    QFETCH(QList<int>, hidden);
    QFETCH(Reenabled, reenabled);
    QFETCH(QByteArray, line);

    Positions set = 0;
    for (int p : hidden)
        set |= position_bit(p);
    const OpenStep step = reenabling_step(presses, set);
    QCOMPARE(step.reenabled, reenabled);
    QCOMPARE(step.line ? QString::asprintf(step.line, presses).toLatin1() : QByteArray(), line);
}

// The exchanges of the hand load show in the trace only.
void TestCpuOpen::hand_load_trace()
{
    QVERIFY(table->deal_round(1, {1, 14, 27, 40, 12, 13, 26, 39, 2, 28}));
    const int previous_hand[] = {5, 6, 7, 8, 9};
    std::copy(std::begin(previous_hand), std::end(previous_hand), buf_cpu);

    QVERIFY_PRESSABLE(table->card_button(1));
    table->click(table->card_button(1));
    QVERIFY_PRESSABLE(table->open_button());
    QCOMPARE(
        table->click(table->open_button()),
        QByteArray("5,6,7,8,9,\n"
                   "5,7,6,8,9,\n"
                   "13,26,39,2,28,\n"
                   "13,26,39,28,2,\n"
                   "13,26,39,2,28,\n"
                   "2,26,39,13,28,\n"
                   "13,26,39,2,28,\n"
                   "13,28,39,2,26,\n"
                   "cpu shuffle,1.buf_cpu[0]=13=buf_cpu_deal1=13,2.buf_cpu[1]=26=buf_cpu_deal2=26,"
                   "3.buf_cpu[2]=39=buf_cpu_deal3=39,4.buf_cpu[3]==2=buf_cpu_deal4=2,"
                   "5,buf_cpu[4]=28=buf_cpu_deal5=28\n"
                   "buf_cpu[0]=13,buf_cpu[1]=26,buf_cpu[2]=39,buf_cpu[3]=2,buf_cpu[4]=28\n"
                   "buf_cpu_deal1=13,buf_cpu_deal2=26,buf_cpu_deal3=39,buf_cpu_deal4=2,"
                   "buf_cpu_deal5=28\n"
                   "count=1\n"
                   "cpu=13=buf_cpu[0]=13,user=1\n"
                   "!x==y\n"
                   "Patern 1,x-y=12,cpu win:CPU=1,User=0,tie=0\n"
                   "1.CPU=1,User=0,tie=0"
                   "buf_cpu[0]=13,buf_cpu[0]=1\n"));
    const int hand[] = {13, 26, 39, 2, 28};
    QVERIFY(std::equal(std::begin(hand), std::end(hand), buf_cpu));
}

void TestCpuOpen::judged_by_rank_data()
{
    QTest::addColumn<int>("cpu_card");
    QTest::addColumn<int>("user_card");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("score");

    // clang-format off
    QTest::newRow("heart ace against spade king") << 27 << 13 << "gazo/H01D.png" << QByteArray("cpu=27=buf_cpu[0]=27,user=13\nPattern compare\n!x==y\nPatern 3,y-x=12,user win:CPU=0,User=1,tie=0\n2.CPU=0,User=1,tie=0Pattern compare1\ncpu_card_compare:cpu=1,user=13\n") << "CPU=0,User=1,tie=0";
    QTest::newRow("diamond king against spade ace") << 52 << 1 << "gazo/D13D.png" << QByteArray("cpu=52=buf_cpu[0]=52,user=1\nPattern compare\n!x==y\nPatern 1,x-y=12,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0Pattern compare1\ncpu_card_compare:cpu=13,user=1\n") << "CPU=1,User=0,tie=0";
    QTest::newRow("spade 5 against diamond 5") << 5 << 44 << "gazo/S05D.png" << QByteArray("cpu=5=buf_cpu[0]=5,user=44\nPattern compare\ntie :3.CPU=0,User=0,tie=1cpu_card_compare:cpu=5,user=5,count=1\nPattern compare2\n") << "CPU=0,User=0,tie=1";
    QTest::newRow("spade 2 against club 7") << 2 << 20 << "gazo/S02D.png" << QByteArray("cpu=2=buf_cpu[0]=2,user=20\nPattern compare\n!x==y\nPatern 4,y-x=5,cpu win:CPU=1,User=0,tie=0\n2.CPU=1,User=0,tie=0cpu_card_compare:cpu=2,user=7,count=1\nPattern compare2\n") << "CPU=1,User=0,tie=0";
    QTest::newRow("diamond jack against club 3") << 50 << 16 << "gazo/D11D.png" << QByteArray("cpu=50=buf_cpu[0]=50,user=16\nPattern compare\n!x==y\nPatern 1,x-y=8,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0Pattern compare3\ncpu_card_compare:cpu=11,user=3\n") << "CPU=1,User=0,tie=0";
    QTest::newRow("club ace against diamond king") << 14 << 52 << "gazo/C01D.png" << QByteArray("cpu=14=buf_cpu[0]=14,user=52\nPattern compare\n!x==y\nPatern 3,y-x=12,user win:CPU=0,User=1,tie=0\n2.CPU=0,User=1,tie=0Pattern compare3\ncpu_card_compare:cpu=1,user=13\n") << "CPU=0,User=1,tie=0";
    QTest::newRow("club king against diamond ace") << 26 << 40 << "gazo/C13D.png" << QByteArray("cpu=26=buf_cpu[0]=26,user=40\nPattern compare\n!x==y\nPatern 1,x-y=12,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0Pattern compare3\ncpu_card_compare:cpu=13,user=1\n") << "CPU=1,User=0,tie=0";
    QTest::newRow("heart king against heart 8") << 39 << 34 << "gazo/H13D.png" << QByteArray("cpu=39=buf_cpu[0]=39,user=34\nPattern compare\n!x==y\nPatern2,x-y=5,user win:CPU=0,User=1,tie=0\n1.CPU=0,User=1,tie=0Pattern compare3\ncpu_card_compare:cpu=13,user=8\n") << "CPU=0,User=1,tie=0";
    QTest::newRow("spade queen against spade 7") << 12 << 7 << "gazo/S12D.png" << QByteArray("cpu=12=buf_cpu[0]=12,user=7\n!x==y\nPatern2,x-y=5,user win:CPU=0,User=1,tie=0\n1.CPU=0,User=1,tie=0buf_cpu[0]=12,buf_cpu[0]=7\n") << "CPU=0,User=1,tie=0";
    // clang-format on
}

void TestCpuOpen::judged_by_rank()
{
    QFETCH(int, cpu_card);
    QFETCH(int, user_card);
    QFETCH(QString, picture);
    QFETCH(QByteArray, lines);
    QFETCH(QString, score);

    // Fillers: cards no row uses.
    QVERIFY(table->deal_round(1, {user_card, 9, 10, 11, 21, cpu_card, 22, 23, 24, 25}));
    QVERIFY(table->play_pair(1));
    const QByteArray trace = table->trace;

    const int from = trace.indexOf("\ncpu=") + 1;
    QCOMPARE(from > 0 ? trace.mid(from) : trace, lines);
    QVERIFY_PICTURE(table->label("cpu_play_label"), picture);
    QCOMPARE(table->label("score_label")->text(), score);
}

// The CPU's play position is never reset by a deal: a round that starts with
// it at 3 opens hand positions 4 and 5, then wraps to 1.
void TestCpuOpen::cpu_position_carries_over()
{
    QVERIFY(table->deal_round(1, kUserHand + kCpuHand));
    cpu_cout = 3;

    QVERIFY(table->play_pair(1));
    QByteArray trace = table->trace;
    QVERIFY2(trace.contains("cpu=20=buf_cpu[3]=20,user=13\n"), trace.constData());
    QVERIFY_PICTURE(table->label("cpu_play_label"), kCpuOpenPictures[3]);

    table->trace.clear();
    QVERIFY(table->play_pair(2));
    trace = table->trace;
    QVERIFY2(trace.contains("cpu=8=buf_cpu[4]=8,user=44\n"), trace.constData());
    QVERIFY(trace.endsWith("Pattern x-1:buf_cpu[0]=27\n"));
    QCOMPARE(cpu_cout, 0);

    table->trace.clear();
    QVERIFY(table->play_pair(3));
    trace = table->trace;
    QVERIFY2(trace.contains("cpu=27=buf_cpu[0]=27,user=2\n"), trace.constData());
    QVERIFY_PICTURE(table->label("cpu_play_label"), kCpuOpenPictures[0]);
}

QTEST_MAIN(TestCpuOpen)
#include "test_cpu_open.moc"
