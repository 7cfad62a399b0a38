// Dealing a round: the round announcement, the deal from the deal table, the
// sixth press that ends a match, and deals that find no card to deal.
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/deal_table.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

const QString kCardBack = QStringLiteral("gazo/UB0.png");

} // namespace

class TestDealing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void round_deal_data();
    void round_deal();
    void sixth_press_ends_the_match();
    void empty_hand_resets_the_match_data();
    void empty_hand_resets_the_match();
    void second_press_while_the_last_deal_is_pending();
    void deal_outside_the_rounds_data();
    void deal_outside_the_rounds();

private:
    std::unique_ptr<TableFixture> table;
};

void TestDealing::init()
{
    // Every draw 0: each shuffle lays the suit rows end to end, 1..52.
    table = std::make_unique<TableFixture>(0.01, QList<int>{});
    QVERIFY(table->show_exposed());
}

void TestDealing::cleanup()
{
    table.reset();
}

void TestDealing::round_deal_data()
{
    QTest::addColumn<int>("round");
    QTest::addColumn<int>("presses_before");
    QTest::addColumn<QList<int>>("user_hand");
    QTest::addColumn<QList<int>>("cpu_hand");
    QTest::addColumn<int>("presses_after");
    QTest::addColumn<QByteArray>("trace");
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<QStringList>("tool_tips");

    QTest::newRow("round 1 of a match")
        << 1 << 0 << QList<int>{1, 40, 52, 37, 43} << QList<int>{13, 26, 39, 2, 27} << 0
        << QByteArray("Secand_Card_deal_Push_shown()\n"
                      "button_count=0\n"
                      "first count=1,button_count=0\n"
                      "count=1,buf_deal1=1,buf_deal2=40,buf_deal3=52,buf_deal4=37,buf_deal5=43\n"
                      "CPU:count=1\n"
                      "buf_cpu_deal1=13,buf_cpu_deal2=26,buf_cpu_deal3=39,buf_cpu_deal4=2,"
                      "buf_cpu_deal5=27\n"
                      "buf_r[5]=13,buf_r[6]=26,buf_r[7]=39,buf_r[8]=2,buf_r[9]=27\n"
                      "buf_deal1=1\n")
        << QStringList{"gazo/s01.png", "gazo/d01.png", "gazo/d13.png", "gazo/h11.png",
                       "gazo/d04.png"}
        << QStringList{"Spade A draw card", "dia A draw card", "Dia King draw card",
                       "Hurt Jack draw card", "Dia 04 draw card"};

    QTest::newRow("round 2 with four presses counted")
        << 2 << 4 << QList<int>{2, 15, 28, 41, 6} << QList<int>{7, 8, 9, 10, 11} << 4
        << QByteArray("Secand_Card_deal_Push_shown()\n"
                      "button_count=4\n"
                      "first count=2,button_count=4\n"
                      "count=2,buf_deal1=2,buf_deal2=15,buf_deal3=28,buf_deal4=41,buf_deal5=6\n"
                      "CPU:count=2\n"
                      "buf_cpu_deal1=7,buf_cpu_deal2=8,buf_cpu_deal3=9,buf_cpu_deal4=10,"
                      "buf_cpu_deal5=11\n"
                      "buf_r[15]=7,buf_r[16]=8,buf_r[17]=9,buf_r[18]=10,buf_r[19]=11\n"
                      "buf_deal1=2\n")
        << QStringList{"gazo/s02.png", "gazo/c02.png", "gazo/h02.png", "gazo/d02.png",
                       "gazo/s06.png"}
        << QStringList{"Spade 2 draw card", "Kurobar 2 draw card", "Hurt 2 draw card",
                       "Dia 2 draw card", "Spade 6 draw card"};

    QTest::newRow("round 3 with a club at position 1")
        << 3 << 5 << QList<int>{20, 43, 39, 26, 14} << QList<int>{52, 1, 13, 40, 27} << 0
        << QByteArray("Secand_Card_deal_Push_shown()\n"
                      "button_count=0\n"
                      "first count=3,button_count=0\n"
                      "count=3,buf_deal1=20,buf_deal2=43,buf_deal3=39,buf_deal4=26,buf_deal5=14\n"
                      "CPU:count=3\n"
                      "buf_cpu_deal1=52,buf_cpu_deal2=1,buf_cpu_deal3=13,buf_cpu_deal4=40,"
                      "buf_cpu_deal5=27\n"
                      "buf_r[25]=52,buf_r[26]=1,buf_r[27]=13,buf_r[28]=40,buf_r[29]=27\n"
                      "buf_deal1=20\n")
        << QStringList{"gazo/c07.png", "gazo/d04.png", "gazo/h13.png", "gazo/c13.png",
                       "gazo/c01.png"}
        << QStringList{"Kurobar 7 draw card", "dia 4 draw card", "Hurt King draw card",
                       "Kurobar King draw card", "Kurobar A draw card"};

    QTest::newRow("round 5 after a full round 4")
        << 5 << 5 << QList<int>{38, 45, 23, 12, 50} << QList<int>{3, 16, 29, 42, 11} << 0
        << QByteArray("Secand_Card_deal_Push_shown()\n"
                      "button_count=0\n"
                      "first count=5,button_count=0\n"
                      "count=5,buf_deal1=38,buf_deal2=45,buf_deal3=23,buf_deal4=12,buf_deal5=50\n"
                      "CPU:count=5\n"
                      "buf_cpu_deal1=3,buf_cpu_deal2=16,buf_cpu_deal3=29,buf_cpu_deal4=42,"
                      "buf_cpu_deal5=11\n"
                      "buf_r[45]=3,buf_r[46]=16,buf_r[47]=29,buf_r[48]=42,buf_r[49]=11\n")
        << QStringList{"gazo/h12.png", "gazo/d06.png", "gazo/c10.png", "gazo/s12.png",
                       "gazo/d11.png"}
        << QStringList{"Hurt Queen draw card", "dia 6 draw card", "Kurobar 10 draw card",
                       "Spade Queen draw card", "Dia Jack draw card"};
}

void TestDealing::round_deal()
{
    QFETCH(int, round);
    QFETCH(int, presses_before);
    QFETCH(QList<int>, user_hand);
    QFETCH(QList<int>, cpu_hand);
    QFETCH(int, presses_after);
    QFETCH(QByteArray, trace);
    QFETCH(QStringList, pictures);
    QFETCH(QStringList, tool_tips);

    lay_deal_table(10 * (round - 1), user_hand + cpu_hand);
    count = round - 1;
    button_count = presses_before;
    // The cards of the last open are still on the table.
    table->label("cpu_play_label")->setPixmap(QPixmap(QStringLiteral("gazo/S01D.png")));
    table->label("user_play_label")->setPixmap(QPixmap(QStringLiteral("gazo/h05.png")));
    table->end_start_delay();

    QVERIFY_PRESSABLE(table->deal_button());
    const QByteArray press_trace = table->click(table->deal_button());

    // During the delay: the round line, a cleared table, nothing dealt yet.
    QCOMPARE(press_trace, QByteArray());
    QVERIFY(table->round_label()->isVisible());
    QCOMPARE(table->round_label()->text(), QStringLiteral("Round %1").arg(round));
    QVERIFY(!table->deal_button()->isEnabled());
    QVERIFY_NO_PICTURE(table->label("cpu_play_label"));
    QVERIFY_NO_PICTURE(table->label("user_play_label"));
    for (int p = 1; p <= 5; ++p)
        QVERIFY(table->card_button(p)->isHidden());
    QVERIFY(table->sound.played.isEmpty());
    QCOMPARE(count, round);

    QCOMPARE(table->wait_for_deal(), trace);

    QVERIFY(table->round_label()->isHidden());
    QCOMPARE(table->round_label()->text(), QStringLiteral("Round %1").arg(round));
    QCOMPARE(table->sound.played, QStringList{QStringLiteral("wave/12-1/deel.wav")});
    QCOMPARE(count, round);
    QCOMPARE(button_count, presses_after);
    for (int p = 1; p <= 5; ++p) {
        QCOMPARE(table->probe->buf_deal(p), user_hand.at(p - 1));
        QCOMPARE(table->probe->buf_cpu_deal(p), cpu_hand.at(p - 1));
        QVERIFY_PICTURE(table->user_card_label(p), pictures.at(p - 1));
        QVERIFY_PICTURE(table->cpu_card_label(p), kCardBack);
        QCOMPARE(table->card_button(p)->toolTip(), tool_tips.at(p - 1));
        QVERIFY_PRESSABLE(table->card_button(p));
    }
    QVERIFY_NO_PICTURE(table->label("cpu_play_label"));
    QVERIFY_NO_PICTURE(table->label("user_play_label"));
    QVERIFY_PICTURE(table->label("deck_label"), kCardBack);
    QVERIFY(!table->deal_button()->isEnabled());
    QVERIFY(!table->open_button()->isEnabled());
}

void TestDealing::sixth_press_ends_the_match()
{
    lay_deal_table(40, {38, 45, 23, 12, 50, 3, 16, 29, 42, 11});
    count = 4;
    button_count = 5;
    table->end_start_delay();
    QVERIFY(table->deal());
    QVERIFY(table->play_round({1, 2, 3, 4, 5}));

    cpu_score = 12;
    user_score = 10;
    tie_score = 3;
    buf_n = 25;
    table->sound.played.clear();
    table->trace.clear();
    QVERIFY(table->finish_match());
    const QByteArray trace = table->trace;
    QCOMPARE(table->verdict_title, QStringLiteral("information"));
    QCOMPARE(table->verdict, QStringLiteral("CPU=12,User=10,tie=3 \n\nCPU Win,You lose"));
    // No round line, no deal sound, no deal: only the next match's shuffle prints.
    QVERIFY(table->round_label()->isHidden());
    QVERIFY(table->sound.played.isEmpty());
    QVERIFY(!trace.contains("Secand_Card_deal_Push_shown()"));
    QVERIFY(trace.startsWith("n1=0,n2=0,n3=0,n4=0,n5=0,n6=0\n"));
    QVERIFY(trace.endsWith("MAX=15,n=1"));
    QVERIFY(deal_table_is_rows_end_to_end());
    for (int p = 1; p <= 5; ++p)
        QVERIFY(table->card_button(p)->isHidden());
    QVERIFY(!table->deal_button()->isEnabled());
    QVERIFY(table->start_action()->isEnabled());
    QCOMPARE(count, 0);
    QCOMPARE(buf_n, 0);
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY_NO_PICTURE(table->label("cpu_play_label"));
    QVERIFY_NO_PICTURE(table->label("user_play_label"));
    QVERIFY_PICTURE(table->label("deck_label"), kCardBack);

    // Nothing was left pending: no deal follows.
    const QByteArray later = capture_stdout([] { QTest::qWait(100); });
    QCOMPARE(later, QByteArray());
    QVERIFY(table->sound.played.isEmpty());
    for (int p = 1; p <= 5; ++p)
        QVERIFY(table->card_button(p)->isHidden());
}

void TestDealing::empty_hand_resets_the_match_data()
{
    QTest::addColumn<QList<int>>("user_hand");
    QTest::addColumn<QByteArray>("deal_trace");
    QTest::addColumn<QByteArray>("after_shuffle");
    QTest::addColumn<QStringList>("pictures");

    const QByteArray cpu_lines(
        "CPU:count=1\n"
        "buf_cpu_deal1=13,buf_cpu_deal2=26,buf_cpu_deal3=39,buf_cpu_deal4=2,buf_cpu_deal5=27\n"
        "buf_r[5]=13,buf_r[6]=26,buf_r[7]=39,buf_r[8]=2,buf_r[9]=27\n");
    const QByteArray start("Secand_Card_deal_Push_shown()\n"
                           "button_count=0\n"
                           "first count=1,button_count=0\n");

    QTest::newRow("no card at position 1")
        << QList<int>{0, 40, 52, 37, 43}
        << start + "count=1,buf_deal1=0,buf_deal2=40,buf_deal3=52,buf_deal4=37,buf_deal5=43\n" +
               cpu_lines
        << QByteArray()
        << QStringList{"", "gazo/d01.png", "gazo/d13.png", "gazo/h11.png", "gazo/d04.png"};
    QTest::newRow("no card at position 3")
        << QList<int>{1, 40, 0, 37, 43}
        << start + "count=1,buf_deal1=1,buf_deal2=40,buf_deal3=0,buf_deal4=37,buf_deal5=43\n" +
               cpu_lines
        << QByteArray("buf_deal1=1\n")
        << QStringList{"gazo/s01.png", "gazo/d01.png", "", "gazo/h11.png", "gazo/d04.png"};
    QTest::newRow("no card at position 5")
        << QList<int>{14, 40, 52, 37, 0}
        << start + "count=1,buf_deal1=14,buf_deal2=40,buf_deal3=52,buf_deal4=37,buf_deal5=0\n" +
               cpu_lines
        << QByteArray("buf_deal1=14\n")
        << QStringList{"gazo/c01.png", "gazo/d01.png", "gazo/d13.png", "gazo/h11.png", ""};
}

void TestDealing::empty_hand_resets_the_match()
{
    QFETCH(QList<int>, user_hand);
    QFETCH(QByteArray, deal_trace);
    QFETCH(QByteArray, after_shuffle);
    QFETCH(QStringList, pictures);

    lay_deal_table(0, user_hand + QList<int>{13, 26, 39, 2, 27});
    cpu_score = 2;
    user_score = 4;
    tie_score = 1;
    buf_n = 3;
    table->end_start_delay();
    QVERIFY(table->press(table->deal_button()));
    ModalAnswer *verdict = answer_next_box(QMessageBox::Ok);
    const QByteArray trace = table->wait_for_deal();

    QVERIFY(verdict->answered);
    QCOMPARE(verdict->text, QStringLiteral("CPU=2,User=4,tie=1 \n\nYou Win,CPU lose"));
    // The deal's lines, then the next match's shuffle, then the cards still drawn.
    QVERIFY2(trace.startsWith(deal_trace + "n1=0,n2=0,n3=0,n4=0,n5=0,n6=0\n"), trace.left(600));
    QVERIFY2(trace.endsWith("MAX=15,n=1" + after_shuffle), trace.right(200));
    QVERIFY(deal_table_is_rows_end_to_end());
    QCOMPARE(count, 0);
    QCOMPARE(buf_n, 0);
    QCOMPARE(cpu_score + user_score + tie_score, 0);
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY(table->start_action()->isEnabled());
    for (int p = 1; p <= 5; ++p) {
        QVERIFY(table->card_button(p)->isHidden());
        QVERIFY_PICTURE(table->cpu_card_label(p), kCardBack);
        // The hand already read is still drawn; the empty slot shows nothing.
        if (pictures.at(p - 1).isEmpty())
            QVERIFY_NO_PICTURE(table->user_card_label(p));
        else
            QVERIFY_PICTURE(table->user_card_label(p), pictures.at(p - 1));
    }
    QVERIFY(!table->open_button()->isEnabled());

    // The next press starts round 1 of the new table.
    QVERIFY(table->press(table->deal_button()));
    QCOMPARE(table->round_label()->text(), QStringLiteral("Round 1"));
    QVERIFY(table->settle());
    QCOMPARE(count, 1);
    for (int p = 1; p <= 5; ++p) {
        QCOMPARE(table->probe->buf_deal(p), p);
        QCOMPARE(table->probe->buf_cpu_deal(p), p + 5);
        QVERIFY_PRESSABLE(table->card_button(p));
    }
}

// Regression: "Deal cards" is enabled again whenever the start delay ends, so a
// second press during the last deal delay ends the match while that deal is
// still pending; the deal then ran with count 6 and read past the deal table.
void TestDealing::second_press_while_the_last_deal_is_pending()
{
    lay_deal_table(40, {38, 45, 23, 12, 50, 3, 16, 29, 42, 11});
    count = 4;
    button_count = 5;
    cpu_score = 1;
    user_score = 2;
    tie_score = 3;
    table->end_start_delay();
    QVERIFY(table->press(table->deal_button()));
    QCOMPARE(count, 5);

    table->end_start_delay();
    QVERIFY_PRESSABLE(table->deal_button());
    // The verdict box stays open long enough for the pending deal to run.
    ModalAnswer *inner = nullptr;
    ModalAnswer *outer = nullptr;
    QTimer::singleShot(200, table->window(), [&] {
        inner = answer_next_box(QMessageBox::Ok);
        outer = answer_next_box(QMessageBox::Ok);
    });
    const QByteArray trace = table->click(table->deal_button());

    QVERIFY(inner && inner->answered);
    QVERIFY(outer && outer->answered);
    const QString verdict = QStringLiteral("CPU=1,User=2,tie=3 \n\nYou Win,CPU lose");
    QCOMPARE(inner->text, verdict);
    QCOMPARE(outer->text, verdict);
    QVERIFY2(trace.contains("Secand_Card_deal_Push_shown()\n"
                            "button_count=0\n"
                            "first count=6,button_count=0\n"
                            "count=6,buf_deal1=0,buf_deal2=0,buf_deal3=0,buf_deal4=0,buf_deal5=0\n"
                            "CPU:count=6\n"
                            "buf_cpu_deal1=0,buf_cpu_deal2=0,buf_cpu_deal3=0,buf_cpu_deal4=0,"
                            "buf_cpu_deal5=0\n"),
             trace.left(600));
    for (int p = 1; p <= 5; ++p) {
        QCOMPARE(table->probe->buf_deal(p), 0);
        QCOMPARE(table->probe->buf_cpu_deal(p), 0);
        QVERIFY(table->card_button(p)->isHidden());
    }
    QCOMPARE(table->sound.played, QStringList{QStringLiteral("wave/12-1/deel.wav")});
    QCOMPARE(count, 0);
    QCOMPARE(buf_n, 0);
    QVERIFY(deal_table_is_rows_end_to_end());
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY(table->start_action()->isEnabled());

    // The empty-hand reset left "Deal cards" enabled: the next press is round 1.
    QVERIFY(table->deal());
    QCOMPARE(count, 1);
    QCOMPARE(table->probe->buf_deal(1), 1);
    QCOMPARE(table->probe->buf_cpu_deal(5), 10);
}

void TestDealing::deal_outside_the_rounds_data()
{
    QTest::addColumn<int>("round");
    QTest::newRow("deal with count 0") << 0;
    QTest::newRow("deal with count 6") << 6;
}

void TestDealing::deal_outside_the_rounds()
{
    QFETCH(int, round);

    lay_deal_table(0, {52, 51, 50, 49, 48, 47, 46, 45, 44, 43});
    count = round;
    button_count = 5;
    ModalAnswer *verdict = answer_next_box(QMessageBox::Ok);
    const QByteArray trace =
        capture_stdout([this] { QMetaObject::invokeMethod(table->window(), "card_deal"); });

    QVERIFY(verdict->answered);
    QCOMPARE(verdict->text, QStringLiteral("CPU=0,User=0,tie=0 \n\nYou CPU,You tie"));
    const QByteArray hands =
        QStringLiteral("count=%1,buf_deal1=0,buf_deal2=0,buf_deal3=0,buf_deal4=0,buf_deal5=0\n"
                       "CPU:count=%1\n"
                       "buf_cpu_deal1=0,buf_cpu_deal2=0,buf_cpu_deal3=0,buf_cpu_deal4=0,"
                       "buf_cpu_deal5=0\n")
            .arg(round)
            .toLatin1();
    QVERIFY2(trace.contains(hands), trace.left(600));
    QVERIFY(trace.endsWith("MAX=15,n=1"));
    QVERIFY(deal_table_is_rows_end_to_end());
    for (int p = 1; p <= 5; ++p) {
        QCOMPARE(table->probe->buf_deal(p), 0);
        QCOMPARE(table->probe->buf_cpu_deal(p), 0);
        QVERIFY(table->card_button(p)->isHidden());
    }
    QCOMPARE(count, 0);
    QVERIFY_PRESSABLE(table->deal_button());
}

QTEST_MAIN(TestDealing)
#include "test_dealing.moc"
