// The rounds of a match through the window: the deal, the user's presses, the
// CPU's open and the judging, and a whole match from "Game start" to the first
// deal of the next one.
#include <QAction>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <iterator>
#include <memory>
#include <numeric>
#include <tuple>

#include "cards/rules.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/deal_table.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

const QString kCardBack = QStringLiteral("gazo/UB0.png");

Positions as_set(const QList<int> &positions)
{
    Positions set = 0;
    for (int p : positions)
        set |= position_bit(p);
    return set;
}

// A row of the press rule table: the button pressed after the `earlier` ones.
void press_row(int position, const QList<int> &earlier, const char *lines,
               bool visibility_line = false)
{
    const QString name =
        earlier.isEmpty() ? QStringLiteral("button %1 first").arg(position)
                          : QStringLiteral("button %1 after %2").arg(position).arg(joined(earlier));
    QTest::newRow(qPrintable(name))
        << position << earlier << int(earlier.size() + 1) << QByteArray(lines) << visibility_line;
}

// A row where the press count disagrees with the hidden buttons, which does
// not arise in play: no row matches and the buttons stay as they are.
void out_of_step_row(const char *name, int position, int presses, const QList<int> &hidden,
                     const char *line)
{
    QTest::newRow(name) << position << hidden << presses << QByteArray(line) << false;
}

// The hand of the press tests, one suit after the other with a spade at the end.
const QList<int> kPressHand{1, 14, 27, 40, 13};
const QList<int> kCpuFillers{30, 31, 32, 33, 34};

// The hand of the open tests: the CPU's is dealt as hearts, spades, diamonds, clubs.
const QList<int> kUserHand{13, 44, 2, 30, 17};
const QList<int> kCpuHand{27, 5, 52, 20, 8};
const char *const kCpuOpenPictures[] = {"gazo/H01D.png", "gazo/S05D.png", "gazo/D13D.png",
                                        "gazo/C07D.png", "gazo/S08D.png"};

// What the re-enabling step of an open printed: the lines between the hand
// load's last line and the state trace.
QByteArray reenabling_lines(const QByteArray &trace)
{
    const int from = trace.indexOf("\ncpu shuffle,") + 1;
    const int start = trace.indexOf('\n', from) + 1;
    const int end = trace.indexOf("buf_cpu[0]=", start);
    return from > 0 && end >= start ? trace.mid(start, end - start) : QByteArray("<no open>");
}

// The hands on the table: the user's five cards, then the CPU's.
QList<int> hands(const TableFixture &t)
{
    QList<int> cards;
    for (int p = 1; p <= 5; ++p)
        cards << t.probe->buf_deal(p);
    for (int p = 1; p <= 5; ++p)
        cards << t.probe->buf_cpu_deal(p);
    return cards;
}

// The card buttons 1 to 5: '-' hidden, 'p' pressable, 'd' shown but disabled.
QString card_buttons(const TableFixture &t)
{
    QString shown;
    for (int p = 1; p <= 5; ++p)
        shown += t.card_button(p)->isHidden() ? '-' : t.card_button(p)->isEnabled() ? 'p' : 'd';
    return shown;
}

// The match's counters, score line, "Game start" and card buttons at a glance.
QString match_state(const TableFixture &t)
{
    return QString::asprintf("round %d, drawn %d, %d/%d/%d, ", count, buf_n, cpu_score, user_score,
                             tie_score) +
           t.label("score_label")->text() + (t.start_action()->isEnabled() ? ", start on" : "") +
           ", cards " + card_buttons(t);
}
const QString kFreshMatch =
    QStringLiteral("round 0, drawn 0, 0/0/0, CPU=0,User=0,tie=0, start on, cards -----");

// Who takes each pair of the demonstration match, in play order: Cpu, User, Tie.
constexpr const char *kOutcomes[5] = {"UTUCU", "UUUCC", "UUCUC", "UUUUC", "UCCCU"};

} // namespace

class TestRounds : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // The rule tables are read without a window.
        if (QByteArray(QTest::currentTestFunction()).endsWith("_rule"))
            return;
        // Every draw 0: each shuffle lays the suit rows end to end, 1..52.
        table = std::make_unique<TableFixture>(0.01, QList<int>{});
        QVERIFY(table->show_exposed());
    }

    void cleanup() { table.reset(); }

    void round_deal_data()
    {
        QTest::addColumn<int>("round");
        QTest::addColumn<int>("presses_before");
        QTest::addColumn<QList<int>>("cards"); // the user's hand, then the CPU's
        QTest::addColumn<int>("presses_after");
        QTest::addColumn<QByteArray>("trace");
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QStringList>("tool_tips");

        // clang-format off
        QTest::newRow("round 1 of a match") << 1 << 0 << QList<int>{1, 40, 52, 37, 43, 13, 26, 39, 2, 27} << 0 << QByteArray("Secand_Card_deal_Push_shown()\nbutton_count=0\nfirst count=1,button_count=0\ncount=1,buf_deal1=1,buf_deal2=40,buf_deal3=52,buf_deal4=37,buf_deal5=43\nCPU:count=1\nbuf_cpu_deal1=13,buf_cpu_deal2=26,buf_cpu_deal3=39,buf_cpu_deal4=2,buf_cpu_deal5=27\nbuf_r[5]=13,buf_r[6]=26,buf_r[7]=39,buf_r[8]=2,buf_r[9]=27\nbuf_deal1=1\n") << QStringList{"s01", "d01", "d13", "h11", "d04"} << QStringList{"Spade A draw card", "dia A draw card", "Dia King draw card", "Hurt Jack draw card", "Dia 04 draw card"};
        QTest::newRow("round 2 with four presses counted") << 2 << 4 << QList<int>{2, 15, 28, 41, 6, 7, 8, 9, 10, 11} << 4 << QByteArray("Secand_Card_deal_Push_shown()\nbutton_count=4\nfirst count=2,button_count=4\ncount=2,buf_deal1=2,buf_deal2=15,buf_deal3=28,buf_deal4=41,buf_deal5=6\nCPU:count=2\nbuf_cpu_deal1=7,buf_cpu_deal2=8,buf_cpu_deal3=9,buf_cpu_deal4=10,buf_cpu_deal5=11\nbuf_r[15]=7,buf_r[16]=8,buf_r[17]=9,buf_r[18]=10,buf_r[19]=11\nbuf_deal1=2\n") << QStringList{"s02", "c02", "h02", "d02", "s06"} << QStringList{"Spade 2 draw card", "Kurobar 2 draw card", "Hurt 2 draw card", "Dia 2 draw card", "Spade 6 draw card"};
        QTest::newRow("round 3 with a club at position 1") << 3 << 5 << QList<int>{20, 43, 39, 26, 14, 52, 1, 13, 40, 27} << 0 << QByteArray("Secand_Card_deal_Push_shown()\nbutton_count=0\nfirst count=3,button_count=0\ncount=3,buf_deal1=20,buf_deal2=43,buf_deal3=39,buf_deal4=26,buf_deal5=14\nCPU:count=3\nbuf_cpu_deal1=52,buf_cpu_deal2=1,buf_cpu_deal3=13,buf_cpu_deal4=40,buf_cpu_deal5=27\nbuf_r[25]=52,buf_r[26]=1,buf_r[27]=13,buf_r[28]=40,buf_r[29]=27\nbuf_deal1=20\n") << QStringList{"c07", "d04", "h13", "c13", "c01"} << QStringList{"Kurobar 7 draw card", "dia 4 draw card", "Hurt King draw card", "Kurobar King draw card", "Kurobar A draw card"};
        QTest::newRow("round 5 after a full round 4") << 5 << 5 << QList<int>{38, 45, 23, 12, 50, 3, 16, 29, 42, 11} << 0 << QByteArray("Secand_Card_deal_Push_shown()\nbutton_count=0\nfirst count=5,button_count=0\ncount=5,buf_deal1=38,buf_deal2=45,buf_deal3=23,buf_deal4=12,buf_deal5=50\nCPU:count=5\nbuf_cpu_deal1=3,buf_cpu_deal2=16,buf_cpu_deal3=29,buf_cpu_deal4=42,buf_cpu_deal5=11\nbuf_r[45]=3,buf_r[46]=16,buf_r[47]=29,buf_r[48]=42,buf_r[49]=11\n") << QStringList{"h12", "d06", "c10", "s12", "d11"} << QStringList{"Hurt Queen draw card", "dia 6 draw card", "Kurobar 10 draw card", "Spade Queen draw card", "Dia Jack draw card"};
        // clang-format on
    }

    void round_deal()
    {
        QFETCH(int, round);
        QFETCH(int, presses_before);
        QFETCH(QList<int>, cards);
        QFETCH(int, presses_after);
        QFETCH(QByteArray, trace);
        QFETCH(QStringList, pictures);
        QFETCH(QStringList, tool_tips);

        lay_deal_table(10 * (round - 1), cards);
        std::tie(count, button_count) = std::make_tuple(round - 1, presses_before);
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
        QCOMPARE(card_buttons(*table), "-----");
        QVERIFY(table->sound.played.isEmpty());
        QCOMPARE(count, round);

        QCOMPARE(table->wait_for_deal(), trace);

        QVERIFY(table->round_label()->isHidden());
        QCOMPARE(table->round_label()->text(), QStringLiteral("Round %1").arg(round));
        QCOMPARE(table->sound.played, QStringList{QStringLiteral("wave/12-1/deel.wav")});
        QCOMPARE(count, round);
        QCOMPARE(button_count, presses_after);
        QCOMPARE(hands(*table), cards);
        QCOMPARE(card_buttons(*table), "ppppp");
        for (int p = 1; p <= 5; ++p) {
            QVERIFY_PICTURE(table->user_card_label(p), "gazo/" + pictures.at(p - 1) + ".png");
            QVERIFY_PICTURE(table->cpu_card_label(p), kCardBack);
            QCOMPARE(table->card_button(p)->toolTip(), tool_tips.at(p - 1));
        }
        QVERIFY_NO_PICTURE(table->label("cpu_play_label"));
        QVERIFY_NO_PICTURE(table->label("user_play_label"));
        QVERIFY_PICTURE(table->label("deck_label"), kCardBack);
        QVERIFY(!table->deal_button()->isEnabled());
        QVERIFY(!table->open_button()->isEnabled());
    }

    void sixth_press_ends_the_match()
    {
        QVERIFY(table->deal_round(5, {38, 45, 23, 12, 50, 3, 16, 29, 42, 11}));
        QVERIFY(table->play_round({1, 2, 3, 4, 5}));
        std::tie(cpu_score, user_score, tie_score, buf_n) = std::make_tuple(12, 10, 3, 25);
        table->sound.played.clear();
        table->trace.clear();
        QVERIFY(table->finish_match());
        const QByteArray trace = table->trace;
        QCOMPARE(table->verdict_title, QStringLiteral("information"));
        QCOMPARE(table->verdict, QStringLiteral("CPU=12,User=10,tie=3 \n\nCPU Win,You lose"));
        // No round line, no deal sound, no deal: only the next shuffle prints.
        QVERIFY(table->round_label()->isHidden());
        QVERIFY(table->sound.played.isEmpty());
        QVERIFY(!trace.contains("Secand_Card_deal_Push_shown()"));
        QVERIFY(trace.startsWith("n1=0,n2=0,n3=0,n4=0,n5=0,n6=0\n"));
        QVERIFY(trace.endsWith("MAX=15,n=1"));
        QVERIFY(deal_table_is_rows_end_to_end());
        QVERIFY(!table->deal_button()->isEnabled());
        QCOMPARE(match_state(*table), kFreshMatch);
        QVERIFY_NO_PICTURE(table->label("cpu_play_label"));
        QVERIFY_NO_PICTURE(table->label("user_play_label"));
        QVERIFY_PICTURE(table->label("deck_label"), kCardBack);

        // Nothing was left pending: no deal follows.
        const QByteArray later = capture_stdout([] { QTest::qWait(100); });
        QCOMPARE(later, QByteArray());
        QVERIFY(table->sound.played.isEmpty());
        QCOMPARE(card_buttons(*table), "-----");
    }

    void empty_hand_resets_the_match_data()
    {
        QTest::addColumn<QList<int>>("user_hand");
        QTest::addColumn<QByteArray>("deal_trace");
        QTest::addColumn<QByteArray>("after_shuffle");
        QTest::addColumn<QStringList>("pictures");

        // clang-format off
        const QByteArray start("Secand_Card_deal_Push_shown()\nbutton_count=0\nfirst count=1,button_count=0\n");
        const QByteArray cpu_lines("CPU:count=1\nbuf_cpu_deal1=13,buf_cpu_deal2=26,buf_cpu_deal3=39,buf_cpu_deal4=2,buf_cpu_deal5=27\nbuf_r[5]=13,buf_r[6]=26,buf_r[7]=39,buf_r[8]=2,buf_r[9]=27\n");
        QTest::newRow("no card at position 1") << QList<int>{0, 40, 52, 37, 43} << start + "count=1,buf_deal1=0,buf_deal2=40,buf_deal3=52,buf_deal4=37,buf_deal5=43\n" + cpu_lines << QByteArray() << QStringList{"", "gazo/d01.png", "gazo/d13.png", "gazo/h11.png", "gazo/d04.png"};
        QTest::newRow("no card at position 3") << QList<int>{1, 40, 0, 37, 43} << start + "count=1,buf_deal1=1,buf_deal2=40,buf_deal3=0,buf_deal4=37,buf_deal5=43\n" + cpu_lines << QByteArray("buf_deal1=1\n") << QStringList{"gazo/s01.png", "gazo/d01.png", "", "gazo/h11.png", "gazo/d04.png"};
        QTest::newRow("no card at position 5") << QList<int>{14, 40, 52, 37, 0} << start + "count=1,buf_deal1=14,buf_deal2=40,buf_deal3=52,buf_deal4=37,buf_deal5=0\n" + cpu_lines << QByteArray("buf_deal1=14\n") << QStringList{"gazo/c01.png", "gazo/d01.png", "gazo/d13.png", "gazo/h11.png", ""};
        // clang-format on
    }

    void empty_hand_resets_the_match()
    {
        QFETCH(QList<int>, user_hand);
        QFETCH(QByteArray, deal_trace);
        QFETCH(QByteArray, after_shuffle);
        QFETCH(QStringList, pictures);

        lay_deal_table(0, user_hand + QList<int>{13, 26, 39, 2, 27});
        std::tie(cpu_score, user_score, tie_score, buf_n) = std::make_tuple(2, 4, 1, 3);
        table->end_start_delay();
        QVERIFY(table->press(table->deal_button()));
        ModalAnswer *verdict = answer_next_box(QMessageBox::Ok);
        const QByteArray trace = table->wait_for_deal();

        QVERIFY(verdict->answered);
        QCOMPARE(verdict->text, QStringLiteral("CPU=2,User=4,tie=1 \n\nYou Win,CPU lose"));
        // The deal's lines, the next match's shuffle, the cards still drawn.
        QVERIFY2(trace.startsWith(deal_trace + "n1=0,n2=0,n3=0,n4=0,n5=0,n6=0\n"), trace.left(600));
        QVERIFY2(trace.endsWith("MAX=15,n=1" + after_shuffle), trace.right(200));
        QVERIFY(deal_table_is_rows_end_to_end());
        QCOMPARE(match_state(*table), kFreshMatch);
        for (int p = 1; p <= 5; ++p) {
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
        QCOMPARE(hands(*table), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QCOMPARE(card_buttons(*table), "ppppp");
    }

    // Regression: "Deal cards" is enabled again whenever the start delay ends, so a
    // second press during the last deal delay ends the match while that deal is
    // still pending; the deal then ran with count 6 and read past the deal table.
    void second_press_while_the_last_deal_is_pending()
    {
        lay_deal_table(40, {38, 45, 23, 12, 50, 3, 16, 29, 42, 11});
        std::tie(count, button_count, cpu_score, user_score, tie_score) =
            std::make_tuple(4, 5, 1, 2, 3);
        table->end_start_delay();
        QVERIFY(table->press(table->deal_button()));
        QCOMPARE(count, 5);

        table->end_start_delay();
        QVERIFY_PRESSABLE(table->deal_button());
        // The verdict box stays open long enough for the pending deal to run.
        ModalAnswer *inner = nullptr, *outer = nullptr;
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
        // clang-format off
        QVERIFY2(trace.contains("Secand_Card_deal_Push_shown()\nbutton_count=0\nfirst count=6,button_count=0\n"
                                "count=6,buf_deal1=0,buf_deal2=0,buf_deal3=0,buf_deal4=0,buf_deal5=0\nCPU:count=6\nbuf_cpu_deal1=0,buf_cpu_deal2=0,buf_cpu_deal3=0,buf_cpu_deal4=0,buf_cpu_deal5=0\n"), trace.left(600));
        // clang-format on
        QCOMPARE(hands(*table), QList<int>(10, 0));
        QCOMPARE(table->sound.played, QStringList{QStringLiteral("wave/12-1/deel.wav")});
        QCOMPARE(match_state(*table), kFreshMatch);
        QVERIFY(deal_table_is_rows_end_to_end());

        // The empty-hand reset left "Deal cards" enabled: the next press is round 1.
        QVERIFY(table->deal());
        QCOMPARE(count, 1);
        QCOMPARE(hands(*table), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    }

    void deal_outside_the_rounds_data()
    {
        QTest::addColumn<int>("round");
        QTest::newRow("deal with count 0") << 0;
        QTest::newRow("deal with count 6") << 6;
    }

    void deal_outside_the_rounds()
    {
        QFETCH(int, round);

        lay_deal_table(0, {52, 51, 50, 49, 48, 47, 46, 45, 44, 43});
        std::tie(count, button_count) = std::make_tuple(round, 5);
        ModalAnswer *verdict = answer_next_box(QMessageBox::Ok);
        const QByteArray trace =
            capture_stdout([this] { QMetaObject::invokeMethod(table->window(), "card_deal"); });

        QVERIFY(verdict->answered);
        QCOMPARE(verdict->text, QStringLiteral("CPU=0,User=0,tie=0 \n\nYou CPU,You tie"));
        // clang-format off
        const QString hand_lines = QStringLiteral("count=%1,buf_deal1=0,buf_deal2=0,buf_deal3=0,buf_deal4=0,buf_deal5=0\nCPU:count=%1\nbuf_cpu_deal1=0,buf_cpu_deal2=0,buf_cpu_deal3=0,buf_cpu_deal4=0,buf_cpu_deal5=0\n");
        // clang-format on
        QVERIFY2(trace.contains(hand_lines.arg(round).toLatin1()), trace.left(600));
        QVERIFY(trace.endsWith("MAX=15,n=1"));
        QVERIFY(deal_table_is_rows_end_to_end());
        QCOMPARE(hands(*table), QList<int>(10, 0));
        QCOMPARE(match_state(*table), kFreshMatch);
        QVERIFY_PRESSABLE(table->deal_button());
    }

    void press_rule_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<int>>("earlier");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<bool>("visibility_line");
        // clang-format off
        press_row(1, {}, "1.button_check1,case1\n");
        press_row(1, {2}, "1.button_check1,case2,push_button2xxxx\n", true);
        press_row(1, {3}, "2.button_check1,case2,push_button3\n");
        press_row(1, {4}, "3.button_check1,case2,push_button4\n");
        press_row(1, {5}, "4.button_check1,case2,push_button5\n");
        press_row(1, {2, 3}, "Patern:(2,3)\n1.button_check1,case3,push_button2,push_button3\n");
        press_row(1, {4, 2}, "Patern:(2,4)\n2.button_check1,case3,push_button2,push_button4\n");
        press_row(1, {2, 5}, "Patern:(2,5)\n3.button_check1,case3,push_button2,push_button5\n");
        press_row(1, {3, 4}, "Patern:(3,4)\n4.button_check1,case3,push_button3,push_button4\n");
        press_row(1, {5, 3}, "5.button_check1,case3,push_button3,push_button5\n");
        press_row(1, {5, 4}, "Patern:(5,4)\n6.button_check1,case3,push_button5,push_button4\n");
        press_row(1, {2, 3, 4}, "1.button_check1,case4,push_button2,push_button3,push_button4\n");
        press_row(1, {5, 3, 2}, "2.button_check1,case4,push_button2,push_button3,push_button5\n");
        press_row(1, {3, 4, 5}, "3.button_check1,case4,push_button3,push_button4,push_button5\n");
        press_row(1, {4, 5, 2}, "4.button_check1,case4,push_button2,push_button4,push_button5\n");
        press_row(1, {4, 2, 5, 3}, "1.button_check1,case5,push_button2,push_button3,push_button4,push_button5\n");

        press_row(2, {}, "1.button_check2,case1,0\n");
        press_row(2, {1}, "1.button_check2,case2,push_button1\n");
        press_row(2, {3}, "2.button_check2,case2,push_button3\n");
        press_row(2, {4}, "3.button_check2,case2,push_button4\n");
        press_row(2, {5}, "4.button_check2,case2,push_button5\n");
        press_row(2, {1, 3}, "1.button_check2,case3,push_button1,push_button3\n");
        press_row(2, {4, 1}, "2.button_check2,case3,push_button1,push_button4\n");
        press_row(2, {1, 5}, "3.button_check2,case3,push_button1,push_button5\n");
        press_row(2, {3, 4}, "4.button_check2,case3,push_button3,push_button4\n");
        press_row(2, {5, 3}, "5.button_check2,case3,push_button3,push_button5\n");
        press_row(2, {5, 4}, "6.button_check2,case3,push_button5,push_button4\n");
        press_row(2, {1, 3, 4}, "1.button_check2,case4,push_button1,push_button4,push_button3\n");
        press_row(2, {5, 1, 3}, "2.button_check2,case4,push_button1,push_button3,push_button5\n");
        press_row(2, {3, 4, 5}, "3.button_check2,case4,push_button3,push_button4,push_button5\n");
        press_row(2, {4, 5, 1}, "4.button_check2,case4,push_button4,push_button5,push_button1\n");
        press_row(2, {1, 3, 4, 5}, "");

        press_row(3, {}, "1.button_check3,case1,0\n");
        press_row(3, {1}, "1.button_check3,case2,push_button1,xxxxxx\n");
        press_row(3, {2}, "2.button_check3,case2,push_button2\n");
        press_row(3, {4}, "3.button_check3,case2,push_button4\n");
        press_row(3, {5}, "4.button_check3,case2,push_button5\n");
        press_row(3, {1, 2}, "Patern:(1,2)\n1.button_check3,case3,push_button1,push_button2\n");
        press_row(3, {1, 4}, "Patern:(1,4)\n2.button_check3,case3,push_button1,push_button4\n");
        press_row(3, {5, 1}, "Patern:(1,5)\n3.button_check3,case3,push_button1,push_button5\n");
        press_row(3, {2, 4}, "Patern:(2,4)\n4.button_check3,case3,push_button2,push_button4\n");
        press_row(3, {2, 5}, "Patern:(2,5)\n5.button_check3,case3,push_button2,push_button5\n");
        press_row(3, {5, 4}, "Patern:(5,4)\n6.button_check3,case3,push_button4,push_button5\n");
        press_row(3, {1, 2, 4}, "1.button_check3,case4,push_button1,push_button2,push_button4\n");
        press_row(3, {1, 4, 5}, "2.button_check3,case4,push_button1,push_button4,push_button5\n");
        press_row(3, {5, 4, 2}, "3.button_check3,case4,push_button2,push_button4,push_button5\n");
        press_row(3, {2, 5, 1}, "4.button_check3,case4,push_button2,push_button5,push_button1\n");
        press_row(3, {5, 4, 2, 1}, "");

        press_row(4, {}, "1.button_check4,case1,0\n");
        press_row(4, {1}, "1.button_check4,case2,push_button1\n");
        press_row(4, {2}, "2.button_check4,case2,push_button2\n");
        press_row(4, {3}, "3.button_check4,case2,push_button3\n");
        press_row(4, {5}, "");
        press_row(4, {1, 2}, "1.button_check4,case3,push_button1,push_button2\n");
        press_row(4, {3, 1}, "2.button_check4,case3,push_button1,push_button3\n");
        press_row(4, {1, 5}, "3.button_check4,case3,push_button1,push_button5\n");
        press_row(4, {2, 3}, "4.button_check4,case3,push_button2,push_button3\n");
        press_row(4, {5, 2}, "5.button_check4,case3,push_button2,push_button5\n");
        press_row(4, {5, 3}, "6.button_check4,case3,push_button5,push_button3\n");
        press_row(4, {1, 2, 3}, "1.button_check4,case4,push_button1,push_button2,push_button3\n");
        press_row(4, {1, 3, 5}, "2.button_check4,case4,push_button1,push_button3,push_button5\n");
        press_row(4, {2, 5, 1}, "");
        press_row(4, {2, 3, 5}, "3.button_check4,case4,push_button2,push_button3,push_button5\n");
        press_row(4, {3, 1, 5, 2}, "1.button_check4,case5,push_button1,push_button2,push_button3,push_button5\n");

        press_row(5, {}, "1.button_check5,case1,0\n");
        press_row(5, {1}, "1.button_check5,case2,push_button1\n");
        press_row(5, {2}, "2.button_check5,case2,push_button2\n");
        press_row(5, {4}, "3.button_check5,case2,push_button4\n");
        press_row(5, {3}, "");
        press_row(5, {1, 4}, "1.button_check5,case3,push_button1,push_button4\n");
        press_row(5, {1, 3}, "2.button_check5,case3,push_button1,push_button3\n");
        press_row(5, {2, 1}, "3.button_check5,case3,push_button1,push_button2\n");
        press_row(5, {2, 3}, "4.button_check5,case3,push_button2,push_button3\n");
        press_row(5, {4, 2}, "5.button_check5,case3,push_button2,push_button4\n");
        press_row(5, {3, 4}, "6.button_check5,case3,push_button3,push_button4\n");
        press_row(5, {1, 2, 4}, "1.button_check5,case4,push_button1,push_button2,push_button4\n");
        press_row(5, {1, 4, 3}, "2.button_check5,case4,push_button1,push_button3,push_button4\n");
        press_row(5, {2, 4, 3}, "3.button_check5,case4,push_button2,push_button3,push_button4\n");
        press_row(5, {2, 3, 1}, "4.button_check5,case4,push_button1,push_button2,push_button3\n");
        press_row(5, {1, 2, 3, 4}, "1.button_check5,case5,push_button1,push_button2,push_button3,push_button4\n");

        out_of_step_row("button 4 third with only button 1 played", 4, 3, {1}, "7.Reigai:\n");
        out_of_step_row("button 4 third with nothing played", 4, 3, {}, "7.Reigai:\n");
        out_of_step_row("button 1 third with only button 2 played", 1, 3, {2}, "");
        out_of_step_row("button 3 third with only button 5 played", 3, 3, {5}, "");
        out_of_step_row("button 5 fourth with two played", 5, 4, {1, 2}, "");
        out_of_step_row("button 2 second with nothing played", 2, 2, {}, "");
        out_of_step_row("button 4 at press count 0", 4, 0, {}, "");
        out_of_step_row("button 4 at press count 6", 4, 6, {1, 2, 3, 5}, "");
        // clang-format on
    }

    void press_rule()
    {
        QFETCH(int, position);
        QFETCH(QList<int>, earlier);
        QFETCH(int, presses);
        QFETCH(QByteArray, lines);
        QFETCH(bool, visibility_line);

        const PressRow *row = match_press(position, as_set(earlier), presses);
        if (presses != earlier.size() + 1) { // out of step: no row matches
            QCOMPARE(row, nullptr);
            QCOMPARE(QByteArray(unmatched_press_line(position, presses)), lines);
            return;
        }
        QVERIFY(row);
        QByteArray printed;
        for (const char *line : row->lines)
            printed += line;
        QCOMPARE(printed, lines);
        QCOMPARE(row->visibility_line, visibility_line);
        // In play the row names exactly the buttons played before.
        QCOMPARE(row_positions(*row), as_set(earlier));
    }

    void press_on_the_table_data()
    {
        QTest::addColumn<int>("round");
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<int>>("earlier");
        QTest::addColumn<int>("card");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QByteArray>("lines");

        // clang-format off
        QTest::newRow("button 3 first") << 1 << 3 << QList<int>{} << 27 << "gazo/h01.png" << QByteArray("1.button_check3,case1,0\nbutton_count=1\nbuf_user[1]=27\nbuf_n=1\n");
        QTest::newRow("button 1 after 2") << 1 << 1 << QList<int>{2} << 1 << "gazo/s01.png" << QByteArray("1.button_check1,case2,push_button2xxxx\n1.push_button1=0,push_button2=0,push_button3=1,push_button4=1,push_button5=1button_count=2\nbuf_deal1=1\nbuf_user[1]=1\nbuf_n=2\n");
        QTest::newRow("button 3 after 1,4") << 1 << 3 << QList<int>{1, 4} << 27 << "gazo/h01.png" << QByteArray("Patern:(1,4)\n2.button_check3,case3,push_button1,push_button4\nbutton_count=3\nbuf_user[1]=27\nbuf_n=3\n");
        QTest::newRow("button 4 after 5") << 1 << 4 << QList<int>{5} << 40 << "gazo/d01.png" << QByteArray("button_count=2\nbuf_user[1]=40\nbuf_n=2\n");
        QTest::newRow("button 2 after 1,3,4,5") << 1 << 2 << QList<int>{1, 3, 4, 5} << 14 << "gazo/c01.png" << QByteArray("button_count=5\nbuf_deal2=14\nbufdeal2=14\nbuf_user[1]=14\nbuf_n=5\n");
        QTest::newRow("button 5 after 1,2,3,4") << 1 << 5 << QList<int>{1, 2, 3, 4} << 13 << "gazo/s13.png" << QByteArray("1.button_check5,case5,push_button1,push_button2,push_button3,push_button4\nbutton_count=5\nbuf_deal5=13\nSpade point5\nbufdeal5=13\nbuf_user[1]=13\nbuf_n=5\n");
        QTest::newRow("spade 5 at position 3, first card of a match") << 1 << 3 << QList<int>{} << 5 << "gazo/s05.png" << QByteArray("1.button_check3,case1,0\nbutton_count=1\nbuf_deal3=5\nbuf_user[1]=5\nbuf_n=1\n");
        QTest::newRow("spade king at position 1") << 1 << 1 << QList<int>{} << 13 << "gazo/s13.png" << QByteArray("1.button_check1,case1\nbutton_count=1\nbuf_deal1=13\nbuf_user[1]=13\nbuf_n=1\n");
        QTest::newRow("club ace at position 2") << 1 << 2 << QList<int>{} << 14 << "gazo/c01.png" << QByteArray("1.button_check2,case1,0\nbutton_count=1\nbuf_deal2=14\nbufdeal2=14\nbuf_user[1]=14\nbuf_n=1\n");
        QTest::newRow("club king at position 4") << 1 << 4 << QList<int>{} << 26 << "gazo/c13.png" << QByteArray("1.button_check4,case1,0\nbutton_count=1\nbuf_deal4=26\nbuf_user[1]=26\nbuf_n=1\n");
        QTest::newRow("heart ace at position 1") << 1 << 1 << QList<int>{} << 27 << "gazo/h01.png" << QByteArray("1.button_check1,case1\nbutton_count=1\nbuf_user[1]=27\nbuf_n=1\n");
        QTest::newRow("heart queen at position 3 in round 3") << 3 << 3 << QList<int>{} << 38 << "gazo/h12.png" << QByteArray("1.button_check3,case1,0\nbutton_count=1\nbuf_user[3]=38\nbuf_n=1\n");
        QTest::newRow("heart king at position 4") << 1 << 4 << QList<int>{} << 39 << "gazo/h13.png" << QByteArray("1.button_check4,case1,0\nbutton_count=1\nbuf_user[1]=39\nbuf_n=1\n");
        QTest::newRow("diamond ace at position 3") << 1 << 3 << QList<int>{} << 40 << "gazo/d01.png" << QByteArray("1.button_check3,case1,0\nbutton_count=1\nbuf_user[1]=40\nbuf_n=1\n");
        QTest::newRow("diamond king at position 2 in round 5") << 5 << 2 << QList<int>{} << 52 << "gazo/d13.png" << QByteArray("1.button_check2,case1,0\nbutton_count=1\nbufdeal2=52\nbuf_user[5]=52\nbuf_n=1\n");
        QTest::newRow("spade king at position 5") << 1 << 5 << QList<int>{} << 13 << "gazo/s13.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nbuf_deal5=13\nSpade point5\nbufdeal5=13\nbuf_user[1]=13\nbuf_n=1\n");
        QTest::newRow("club 7 at position 5 in round 2") << 2 << 5 << QList<int>{} << 20 << "gazo/c07.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nbuf_deal5=20\nKurobar point5\nbufdeal5=20\nbuf_user[2]=20\nbuf_n=1\n");
        QTest::newRow("heart ace at position 5") << 1 << 5 << QList<int>{} << 27 << "gazo/h01.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nHurt point5\nbufdeal5=27\nbuf_user[1]=27\nbuf_n=1\n");
        QTest::newRow("diamond ace at position 5") << 1 << 5 << QList<int>{} << 40 << "gazo/d01.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nDaiya point5\nbufdeal5=40\nbuf_user[1]=40\nbuf_n=1\n");
        // No picture: a slot without a card, which does not arise in play (the deal
        // ends the match on an empty slot); nothing moves from the hand.
        QTest::newRow("no card at position 1") << 1 << 1 << QList<int>{} << 0 << "" << QByteArray("1.button_check1,case1\nbutton_count=1\nReigai bufdeal1=0\nbuf_user[1]=0\nbuf_n=1\n");
        QTest::newRow("card 53 at position 2") << 1 << 2 << QList<int>{} << 53 << "" << QByteArray("1.button_check2,case1,0\nbutton_count=1\nReigai bufdeal2=53\nbufdeal2=53\nbuf_user[1]=53\nbuf_n=1\n");
        QTest::newRow("no card at position 5") << 1 << 5 << QList<int>{} << 0 << "" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nReigai bufdeal2=0\nbufdeal5=0\nbuf_user[1]=0\nbuf_n=1\n");
        // clang-format on
    }

    // A press of a card button, after the `earlier` pairs of the round.
    void press_on_the_table()
    {
        QFETCH(int, round);
        QFETCH(int, position);
        QFETCH(QList<int>, earlier);
        QFETCH(int, card);
        QFETCH(QString, picture);
        QFETCH(QByteArray, lines);

        // Only the pressed card matters; a slot without a card is emptied later.
        QList<int> hand = kPressHand;
        if (!picture.isEmpty())
            hand[position - 1] = card;
        QVERIFY(table->deal_round(round, hand + kCpuFillers));
        if (picture.isEmpty())
            table->probe->buf_deal(position) = card;
        for (int p : earlier)
            QVERIFY(table->play_pair(p));
        table->sound.played.clear();

        QVERIFY_PRESSABLE(table->card_button(position));
        QCOMPARE(table->click(table->card_button(position)), lines);

        const int presses = earlier.size() + 1;
        QCOMPARE(table->sound.played, QStringList{QStringLiteral("wave/12-1/draw_wav.wav")});
        if (picture.isEmpty())
            QVERIFY_NO_PICTURE(table->label("user_play_label"));
        else
            QVERIFY_PICTURE(table->label("user_play_label"), picture);
        QVERIFY_PICTURE(table->label("cpu_play_label"), kCardBack);
        for (int p = 1; p <= 5; ++p) {
            const bool played = p == position || earlier.contains(p);
            if (earlier.contains(p) || (p == position && !picture.isEmpty())) {
                QVERIFY_NO_PICTURE(table->user_card_label(p));
                QVERIFY_NO_PICTURE(table->cpu_card_label(p));
            } else {
                QVERIFY(!table->user_card_label(p)->pixmap().isNull());
                QVERIFY_PICTURE(table->cpu_card_label(p), kCardBack);
            }
            // Played buttons hide (never disabled); the rest wait disabled.
            QCOMPARE(table->card_button(p)->isHidden(), played);
            QCOMPARE(table->card_button(p)->isEnabled(), played);
        }
        QVERIFY_PRESSABLE(table->open_button());
        QVERIFY(!table->deal_button()->isEnabled());
        QCOMPARE(table->probe->buf_deal(position), card);
        QCOMPARE(button_count, presses);
        QCOMPARE(buf_user[round], card);
        QCOMPARE(buf_n, presses);
    }

    void cpu_plays_in_dealt_order_data()
    {
        QTest::addColumn<QList<int>>("presses");
        QTest::addColumn<QByteArray>("third_open_line");
        QTest::addColumn<int>("cpu_start");

        // clang-format off
        QTest::newRow("user plays 1 to 5") << QList<int>{1, 2, 3, 4, 5} << QByteArray("1.push_button1,push_button2,push_button3\n") << 0;
        QTest::newRow("user plays 5 to 1") << QList<int>{5, 4, 3, 2, 1} << QByteArray() << 0;
        QTest::newRow("user plays 2, 4, 1, 5, 3") << QList<int>{2, 4, 1, 5, 3} << QByteArray("2.push_button1,push_button2,push_button4\n") << 0;
        QTest::newRow("user plays 3, 5, 1, 2, 4") << QList<int>{3, 5, 1, 2, 4} << QByteArray("push_button1,push_button3,push_button5\n") << 0;
        // The CPU's play position is never reset by a deal: from 3 it opens hand
        // positions 4 and 5, then wraps to 1.
        QTest::newRow("CPU carrying over position 3") << QList<int>{1, 2, 3, 4, 5} << QByteArray("1.push_button1,push_button2,push_button3\n") << 3;
        // clang-format on
    }

    void cpu_plays_in_dealt_order()
    {
        QFETCH(QList<int>, presses);
        QFETCH(QByteArray, third_open_line);
        QFETCH(int, cpu_start);

        QVERIFY(table->deal_round(1, kUserHand + kCpuHand));
        cpu_cout = cpu_start;
        QList<int> played;
        for (int open = 1; open <= 5; ++open) {
            const int position = presses.at(open - 1);
            table->trace.clear();
            QVERIFY(table->play_pair(position));
            const QByteArray trace = table->trace;
            played << position;

            const int cpu = (cpu_start + open - 1) % 5; // the CPU's hand position, from 0
            const int card = kCpuHand.at(cpu);
            const QString pair = QString::asprintf("cpu=%d=buf_cpu[%d]=%d,user=%d\n", card, cpu,
                                                   card, kUserHand.at(position - 1));
            QVERIFY2(trace.contains(pair.toLatin1()), trace.constData());
            QVERIFY_PICTURE(table->label("cpu_play_label"), kCpuOpenPictures[cpu]);
            QVERIFY(!table->open_button()->isEnabled());
            QCOMPARE(cpu_score + user_score + tie_score, open);
            QCOMPARE(cpu_cout, (cpu + 1) % 5);
            // The CPU's position wraps after its fifth card.
            QCOMPARE(trace.contains("Pattern x-1"), cpu == 4);
            QCOMPARE(trace.endsWith("Pattern x-1:buf_cpu[0]=27\n"), cpu == 4);

            if (open < 5) {
                QCOMPARE(reenabling_lines(trace), open == 3 ? third_open_line : QByteArray());
                // Exactly the buttons still in hand come back.
                QString expected = "ppppp";
                for (int p : played)
                    expected[p - 1] = '-';
                QCOMPARE(card_buttons(*table), expected);
                QVERIFY(!table->deal_button()->isEnabled());
            } else {
                // The last open hands the table over to "Deal cards".
                QCOMPARE(reenabling_lines(trace), QByteArray("button_count=5\n"));
                QCOMPARE(card_buttons(*table), "-----");
                QVERIFY_PRESSABLE(table->deal_button());
            }
        }

        // The hidden buttons were left enabled, so the next deal shows them ready.
        QVERIFY(table->deal());
        QCOMPARE(count, 2);
        QCOMPARE(button_count, 0);
        QCOMPARE(cpu_cout, cpu_start);
        QCOMPARE(card_buttons(*table), "ppppp");
        QVERIFY(!table->open_button()->isEnabled());
    }

    void reenabling_rule_data()
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
        // clang-format off
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
        QTest::newRow("third open with four hidden") << 3 << QList<int>{1, 2, 3, 4} << cards << QByteArray();
        QTest::newRow("fifth open") << 5 << QList<int>{1, 2, 3, 4, 5} << Reenabled::DealButton << QByteArray("button_count=5\n");
        QTest::newRow("open at press count 0") << 0 << QList<int>{} << Reenabled::DealButton << QByteArray("button_count=0\n");
        QTest::newRow("open at press count 6") << 6 << QList<int>{1, 2, 3, 4, 5} << Reenabled::DealButton << QByteArray("button_count=6\n");
        // Does not arise in play: a played button shows again before the open.
        QTest::newRow("first open with no button hidden") << 1 << QList<int>{} << Reenabled::Nothing << QByteArray("1.case1,button_count=1\n");
        QTest::newRow("second open with one hidden") << 2 << QList<int>{3} << Reenabled::Nothing << QByteArray("1.case2,button_count=2\n");
        QTest::newRow("third open with two hidden") << 3 << QList<int>{1, 5} << Reenabled::Nothing << QByteArray("1.case3,button_count=3,pppppppp\n");
        QTest::newRow("fourth open with three hidden") << 4 << QList<int>{1, 2, 3} << Reenabled::Nothing << QByteArray("1.case4,button_count=4\n");
        // clang-format on
    }

    void reenabling_rule()
    {
        QFETCH(int, presses);
        QFETCH(QList<int>, hidden);
        QFETCH(Reenabled, reenabled);
        QFETCH(QByteArray, line);

        const OpenStep step = reenabling_step(presses, as_set(hidden));
        QCOMPARE(step.reenabled, reenabled);
        QCOMPARE(step.line ? QString::asprintf(step.line, presses).toLatin1() : QByteArray(), line);
    }

    // The exchanges of the hand load show in the trace only.
    void hand_load_trace()
    {
        QVERIFY(table->deal_round(1, {1, 14, 27, 40, 12, 13, 26, 39, 2, 28}));
        std::iota(std::begin(buf_cpu), std::end(buf_cpu),
                  5); // the previous hand: 5, 6, 7, 8, 9

        QVERIFY(table->press(table->card_button(1)));
        QVERIFY_PRESSABLE(table->open_button());
        // clang-format off
        QCOMPARE(table->click(table->open_button()),
                 QByteArray("5,6,7,8,9,\n5,7,6,8,9,\n13,26,39,2,28,\n13,26,39,28,2,\n13,26,39,2,28,\n2,26,39,13,28,\n13,26,39,2,28,\n13,28,39,2,26,\n"
                            "cpu shuffle,1.buf_cpu[0]=13=buf_cpu_deal1=13,2.buf_cpu[1]=26=buf_cpu_deal2=26,3.buf_cpu[2]=39=buf_cpu_deal3=39,4.buf_cpu[3]==2=buf_cpu_deal4=2,5,buf_cpu[4]=28=buf_cpu_deal5=28\n"
                            "buf_cpu[0]=13,buf_cpu[1]=26,buf_cpu[2]=39,buf_cpu[3]=2,buf_cpu[4]=28\nbuf_cpu_deal1=13,buf_cpu_deal2=26,buf_cpu_deal3=39,buf_cpu_deal4=2,buf_cpu_deal5=28\ncount=1\n"
                            "cpu=13=buf_cpu[0]=13,user=1\n!x==y\nPatern 1,x-y=12,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0buf_cpu[0]=13,buf_cpu[0]=1\n"));
        // clang-format on
        QCOMPARE(QList<int>(std::begin(buf_cpu), std::end(buf_cpu)),
                 (QList<int>{13, 26, 39, 2, 28}));
    }

    void judged_by_rank_data()
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

    void judged_by_rank()
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

    void match_from_game_start_to_the_next_match()
    {
        // The demonstration match's own table, with keys reaching the window.
        table.reset();
        table = std::make_unique<TableFixture>(0.01, kDemoDraws);
        QVERIFY(table->show_active());
        table->lay_demo_deal();

        QVERIFY(table->start_game());
        QVERIFY(!table->start_action()->isEnabled());
        QList<int> tallies{0, 0, 0}; // CPU, user, tie
        for (int round = 1; round <= 5; ++round) {
            QVERIFY(table->press(table->deal_button()));
            QCOMPARE(table->round_label()->text(), QStringLiteral("Round %1").arg(round));
            QVERIFY(table->settle());
            QCOMPARE(count, round);
            QCOMPARE(hands(*table),
                     QList<int>(kDemoDeal + 10 * (round - 1), kDemoDeal + 10 * round));
            for (int i = 0; i < 5; ++i) {
                const int position = kDemoOrders[round - 1][i];
                QVERIFY(table->press(table->card_button(position)));
                QCOMPARE(buf_user[round], kDemoDeal[10 * (round - 1) + position - 1]);
                QCOMPARE(buf_n, 5 * (round - 1) + i + 1);

                QVERIFY(table->press(table->open_button()));
                ++tallies[QByteArray("CUT").indexOf(kOutcomes[round - 1][i])];
                QCOMPARE((QList<int>{cpu_score, user_score, tie_score}), tallies);
                QCOMPARE(cpu_cout, (i + 1) % 5);
            }
            QVERIFY(!table->open_button()->isEnabled());
        }

        // 25 pairs judged; the tallies add up to them just before the verdict.
        QCOMPARE(table->trace.count("\ncpu="), 25);
        QVERIFY(!table->trace.contains("Reigai"));
        QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=9,User=15,tie=1"));
        QCOMPARE(buf_n, 25);
        QCOMPARE(cpu_cout, 0);
        QCOMPARE(QList<int>(buf_user + 1, buf_user + 6), (QList<int>{43, 2, 16, 28, 44}));
        QVERIFY(!table->start_action()->isEnabled());

        table->trace.clear();
        QVERIFY(table->finish_match());
        QCOMPARE(table->verdict_title, QStringLiteral("information"));
        QCOMPARE(table->verdict, QStringLiteral("CPU=9,User=15,tie=1 \n\nYou Win,CPU lose"));
        QVERIFY(table->trace.contains("MAX=15,n="));

        QCOMPARE(match_state(*table), kFreshMatch);
        QCOMPARE(cpu_cout, 0);
        QVERIFY(deal_table_is_a_deck());
        QVERIFY(!std::equal(std::begin(kDemoDeal), std::end(kDemoDeal), buf_r));
        QVERIFY(!table->deal_button()->isEnabled());
        QVERIFY(!table->open_button()->isEnabled());

        // The next match, started from the menu, deals round 1 from the new table.
        int next_table[52];
        std::copy(std::begin(buf_r), std::end(buf_r), next_table);
        table->start_action()->trigger();
        QVERIFY(!table->start_action()->isEnabled());
        QVERIFY(QTest::qWaitFor([this] { return table->deal_button()->isEnabled(); }));
        QVERIFY(table->deal());
        QCOMPARE(count, 1);
        QCOMPARE(hands(*table), QList<int>(next_table, next_table + 10));
        QCOMPARE(card_buttons(*table), "ppppp");
        QCOMPARE(button_count, 0);
        QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    }

private:
    std::unique_ptr<TableFixture> table; // its recorded sounds keep the judging silent
};

QTEST_MAIN(TestRounds)
#include "test_rounds.moc"
