// The user's plays: a press of one of the five card buttons, in every order a
// round allows.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "cards/rules.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/deal_table.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

const QString kCardBack = QStringLiteral("gazo/UB0.png");

Positions as_set(const QList<int> &positions)
{
    Positions set = 0;
    for (int p : positions)
        set |= position_bit(p);
    return set;
}

// A row of the press tables: the button pressed after the `earlier` ones.
void add_press_row(int position, const QList<int> &earlier, const char *lines,
                   bool visibility_line = false)
{
    const QString name =
        earlier.isEmpty() ? QStringLiteral("button %1 first").arg(position)
                          : QStringLiteral("button %1 after %2").arg(position).arg(joined(earlier));
    QTest::newRow(qPrintable(name)) << position << earlier << QByteArray(lines) << visibility_line;
}

void add_press_columns()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QList<int>>("earlier");
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<bool>("visibility_line");
}

// The hand of the press tables, one suit after the other with a spade at the
// end; what a press prints after its "button_count" line, by position.
const QList<int> kPressHand{1, 14, 27, 40, 13};
const QList<int> kCpuFillers{30, 31, 32, 33, 34};
const char *const kPressTail[] = {
    "buf_deal1=1\n",
    "buf_deal2=14\nbufdeal2=14\n",
    "",
    "",
    "buf_deal5=13\nSpade point5\nbufdeal5=13\n",
};

} // namespace

class TestPlays : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void press_rule_data();
    void press_rule();
    void press_on_the_table_data();
    void press_on_the_table();
    void played_card_data();
    void played_card();
    void next_deal_shows_every_button_enabled();
    void press_on_a_slot_without_a_card_data();
    void press_on_a_slot_without_a_card();
    void press_out_of_step_data();
    void press_out_of_step();

private:
    std::unique_ptr<TableFixture> table;
};

void TestPlays::init()
{
    table = std::make_unique<TableFixture>(0.01, QList<int>{});
    QVERIFY(table->show_exposed());
}

void TestPlays::cleanup()
{
    table.reset();
}

void TestPlays::press_rule_data()
{
    add_press_columns();
    auto row = [](int position, const QList<int> &earlier, const char *lines,
                  bool visibility_line = false) {
        add_press_row(position, earlier, lines, visibility_line);
    };

    row(1, {}, "1.button_check1,case1\n");
    row(1, {2}, "1.button_check1,case2,push_button2xxxx\n", true);
    row(1, {3}, "2.button_check1,case2,push_button3\n");
    row(1, {4}, "3.button_check1,case2,push_button4\n");
    row(1, {5}, "4.button_check1,case2,push_button5\n");
    row(1, {2, 3}, "Patern:(2,3)\n1.button_check1,case3,push_button2,push_button3\n");
    row(1, {4, 2}, "Patern:(2,4)\n2.button_check1,case3,push_button2,push_button4\n");
    row(1, {2, 5}, "Patern:(2,5)\n3.button_check1,case3,push_button2,push_button5\n");
    row(1, {3, 4}, "Patern:(3,4)\n4.button_check1,case3,push_button3,push_button4\n");
    row(1, {5, 3}, "5.button_check1,case3,push_button3,push_button5\n");
    row(1, {5, 4}, "Patern:(5,4)\n6.button_check1,case3,push_button5,push_button4\n");
    row(1, {2, 3, 4}, "1.button_check1,case4,push_button2,push_button3,push_button4\n");
    row(1, {5, 3, 2}, "2.button_check1,case4,push_button2,push_button3,push_button5\n");
    row(1, {3, 4, 5}, "3.button_check1,case4,push_button3,push_button4,push_button5\n");
    row(1, {4, 5, 2}, "4.button_check1,case4,push_button2,push_button4,push_button5\n");
    row(1, {4, 2, 5, 3},
        "1.button_check1,case5,push_button2,push_button3,push_button4,push_button5\n");

    row(2, {}, "1.button_check2,case1,0\n");
    row(2, {1}, "1.button_check2,case2,push_button1\n");
    row(2, {3}, "2.button_check2,case2,push_button3\n");
    row(2, {4}, "3.button_check2,case2,push_button4\n");
    row(2, {5}, "4.button_check2,case2,push_button5\n");
    row(2, {1, 3}, "1.button_check2,case3,push_button1,push_button3\n");
    row(2, {4, 1}, "2.button_check2,case3,push_button1,push_button4\n");
    row(2, {1, 5}, "3.button_check2,case3,push_button1,push_button5\n");
    row(2, {3, 4}, "4.button_check2,case3,push_button3,push_button4\n");
    row(2, {5, 3}, "5.button_check2,case3,push_button3,push_button5\n");
    row(2, {5, 4}, "6.button_check2,case3,push_button5,push_button4\n");
    row(2, {1, 3, 4}, "1.button_check2,case4,push_button1,push_button4,push_button3\n");
    row(2, {5, 1, 3}, "2.button_check2,case4,push_button1,push_button3,push_button5\n");
    row(2, {3, 4, 5}, "3.button_check2,case4,push_button3,push_button4,push_button5\n");
    row(2, {4, 5, 1}, "4.button_check2,case4,push_button4,push_button5,push_button1\n");
    row(2, {1, 3, 4, 5}, "");

    row(3, {}, "1.button_check3,case1,0\n");
    row(3, {1}, "1.button_check3,case2,push_button1,xxxxxx\n");
    row(3, {2}, "2.button_check3,case2,push_button2\n");
    row(3, {4}, "3.button_check3,case2,push_button4\n");
    row(3, {5}, "4.button_check3,case2,push_button5\n");
    row(3, {1, 2}, "Patern:(1,2)\n1.button_check3,case3,push_button1,push_button2\n");
    row(3, {1, 4}, "Patern:(1,4)\n2.button_check3,case3,push_button1,push_button4\n");
    row(3, {5, 1}, "Patern:(1,5)\n3.button_check3,case3,push_button1,push_button5\n");
    row(3, {2, 4}, "Patern:(2,4)\n4.button_check3,case3,push_button2,push_button4\n");
    row(3, {2, 5}, "Patern:(2,5)\n5.button_check3,case3,push_button2,push_button5\n");
    row(3, {5, 4}, "Patern:(5,4)\n6.button_check3,case3,push_button4,push_button5\n");
    row(3, {1, 2, 4}, "1.button_check3,case4,push_button1,push_button2,push_button4\n");
    row(3, {1, 4, 5}, "2.button_check3,case4,push_button1,push_button4,push_button5\n");
    row(3, {5, 4, 2}, "3.button_check3,case4,push_button2,push_button4,push_button5\n");
    row(3, {2, 5, 1}, "4.button_check3,case4,push_button2,push_button5,push_button1\n");
    row(3, {5, 4, 2, 1}, "");

    row(4, {}, "1.button_check4,case1,0\n");
    row(4, {1}, "1.button_check4,case2,push_button1\n");
    row(4, {2}, "2.button_check4,case2,push_button2\n");
    row(4, {3}, "3.button_check4,case2,push_button3\n");
    row(4, {5}, "");
    row(4, {1, 2}, "1.button_check4,case3,push_button1,push_button2\n");
    row(4, {3, 1}, "2.button_check4,case3,push_button1,push_button3\n");
    row(4, {1, 5}, "3.button_check4,case3,push_button1,push_button5\n");
    row(4, {2, 3}, "4.button_check4,case3,push_button2,push_button3\n");
    row(4, {5, 2}, "5.button_check4,case3,push_button2,push_button5\n");
    row(4, {5, 3}, "6.button_check4,case3,push_button5,push_button3\n");
    row(4, {1, 2, 3}, "1.button_check4,case4,push_button1,push_button2,push_button3\n");
    row(4, {1, 3, 5}, "2.button_check4,case4,push_button1,push_button3,push_button5\n");
    row(4, {2, 5, 1}, "");
    row(4, {2, 3, 5}, "3.button_check4,case4,push_button2,push_button3,push_button5\n");
    row(4, {3, 1, 5, 2},
        "1.button_check4,case5,push_button1,push_button2,push_button3,push_button5\n");

    row(5, {}, "1.button_check5,case1,0\n");
    row(5, {1}, "1.button_check5,case2,push_button1\n");
    row(5, {2}, "2.button_check5,case2,push_button2\n");
    row(5, {4}, "3.button_check5,case2,push_button4\n");
    row(5, {3}, "");
    row(5, {1, 4}, "1.button_check5,case3,push_button1,push_button4\n");
    row(5, {1, 3}, "2.button_check5,case3,push_button1,push_button3\n");
    row(5, {2, 1}, "3.button_check5,case3,push_button1,push_button2\n");
    row(5, {2, 3}, "4.button_check5,case3,push_button2,push_button3\n");
    row(5, {4, 2}, "5.button_check5,case3,push_button2,push_button4\n");
    row(5, {3, 4}, "6.button_check5,case3,push_button3,push_button4\n");
    row(5, {1, 2, 4}, "1.button_check5,case4,push_button1,push_button2,push_button4\n");
    row(5, {1, 4, 3}, "2.button_check5,case4,push_button1,push_button3,push_button4\n");
    row(5, {2, 4, 3}, "3.button_check5,case4,push_button2,push_button3,push_button4\n");
    row(5, {2, 3, 1}, "4.button_check5,case4,push_button1,push_button2,push_button3\n");
    row(5, {1, 2, 3, 4},
        "1.button_check5,case5,push_button1,push_button2,push_button3,push_button4\n");
}

void TestPlays::press_rule()
{
    QFETCH(int, position);
    QFETCH(QList<int>, earlier);
    QFETCH(QByteArray, lines);
    QFETCH(bool, visibility_line);

    const PressRow *row = match_press(position, as_set(earlier), earlier.size() + 1);
    QVERIFY(row);
    QByteArray printed;
    for (const char *line : row->lines)
        printed += line;
    QCOMPARE(printed, lines);
    QCOMPARE(row->visibility_line, visibility_line);
    // In play the row names exactly the buttons played before.
    QCOMPARE(row_positions(*row), as_set(earlier));
}

void TestPlays::press_on_the_table_data()
{
    add_press_columns();
    add_press_row(3, {}, "1.button_check3,case1,0\n");
    add_press_row(1, {2},
                  "1.button_check1,case2,push_button2xxxx\n"
                  "1.push_button1=0,push_button2=0,push_button3=1,push_button4=1,push_button5=1");
    add_press_row(3, {1, 4}, "Patern:(1,4)\n2.button_check3,case3,push_button1,push_button4\n");
    add_press_row(4, {5}, "");
    add_press_row(2, {1, 3, 4, 5}, "");
    add_press_row(5, {1, 2, 3, 4},
                  "1.button_check5,case5,push_button1,push_button2,push_button3,push_button4\n");
}

void TestPlays::press_on_the_table()
{
    QFETCH(int, position);
    QFETCH(QList<int>, earlier);
    QFETCH(QByteArray, lines);

    QVERIFY(table->deal_round(1, kPressHand + kCpuFillers));
    for (int p : earlier)
        QVERIFY(table->play_pair(p));
    QVERIFY_PRESSABLE(table->card_button(position));
    const QByteArray trace = table->click(table->card_button(position));

    const int k = earlier.size() + 1;
    const int card = kPressHand.at(position - 1);
    QCOMPARE(trace, lines + "button_count=" + QByteArray::number(k) + "\n" +
                        kPressTail[position - 1] + "buf_user[1]=" + QByteArray::number(card) +
                        "\nbuf_n=" + QByteArray::number(k) + "\n");
    // Played buttons are hidden (and were never disabled); the rest wait disabled.
    for (int p = 1; p <= 5; ++p) {
        const bool played = p == position || earlier.contains(p);
        QCOMPARE(table->card_button(p)->isHidden(), played);
        QCOMPARE(table->card_button(p)->isEnabled(), played);
    }
    QVERIFY_PRESSABLE(table->open_button());
    QVERIFY(!table->deal_button()->isEnabled());
    QCOMPARE(button_count, k);
    QCOMPARE(buf_user[1], card);
    QCOMPARE(buf_n, k);
}

void TestPlays::played_card_data()
{
    QTest::addColumn<int>("round");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("card");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QByteArray>("lines");

    // clang-format off
    QTest::newRow("spade 5 at position 3, first card of a match") << 1 << 3 << 5 << "gazo/s05.png" << QByteArray("1.button_check3,case1,0\nbutton_count=1\nbuf_deal3=5\nbuf_user[1]=5\nbuf_n=1\n");
    QTest::newRow("spade king at position 1") << 1 << 1 << 13 << "gazo/s13.png" << QByteArray("1.button_check1,case1\nbutton_count=1\nbuf_deal1=13\nbuf_user[1]=13\nbuf_n=1\n");
    QTest::newRow("club ace at position 2") << 1 << 2 << 14 << "gazo/c01.png" << QByteArray("1.button_check2,case1,0\nbutton_count=1\nbuf_deal2=14\nbufdeal2=14\nbuf_user[1]=14\nbuf_n=1\n");
    QTest::newRow("club king at position 4") << 1 << 4 << 26 << "gazo/c13.png" << QByteArray("1.button_check4,case1,0\nbutton_count=1\nbuf_deal4=26\nbuf_user[1]=26\nbuf_n=1\n");
    QTest::newRow("heart ace at position 1") << 1 << 1 << 27 << "gazo/h01.png" << QByteArray("1.button_check1,case1\nbutton_count=1\nbuf_user[1]=27\nbuf_n=1\n");
    QTest::newRow("heart queen at position 3 in round 3") << 3 << 3 << 38 << "gazo/h12.png" << QByteArray("1.button_check3,case1,0\nbutton_count=1\nbuf_user[3]=38\nbuf_n=1\n");
    QTest::newRow("heart king at position 4") << 1 << 4 << 39 << "gazo/h13.png" << QByteArray("1.button_check4,case1,0\nbutton_count=1\nbuf_user[1]=39\nbuf_n=1\n");
    QTest::newRow("diamond ace at position 3") << 1 << 3 << 40 << "gazo/d01.png" << QByteArray("1.button_check3,case1,0\nbutton_count=1\nbuf_user[1]=40\nbuf_n=1\n");
    QTest::newRow("diamond king at position 2 in round 5") << 5 << 2 << 52 << "gazo/d13.png" << QByteArray("1.button_check2,case1,0\nbutton_count=1\nbufdeal2=52\nbuf_user[5]=52\nbuf_n=1\n");
    QTest::newRow("spade king at position 5") << 1 << 5 << 13 << "gazo/s13.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nbuf_deal5=13\nSpade point5\nbufdeal5=13\nbuf_user[1]=13\nbuf_n=1\n");
    QTest::newRow("club 7 at position 5 in round 2") << 2 << 5 << 20 << "gazo/c07.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nbuf_deal5=20\nKurobar point5\nbufdeal5=20\nbuf_user[2]=20\nbuf_n=1\n");
    QTest::newRow("heart ace at position 5") << 1 << 5 << 27 << "gazo/h01.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nHurt point5\nbufdeal5=27\nbuf_user[1]=27\nbuf_n=1\n");
    QTest::newRow("diamond ace at position 5") << 1 << 5 << 40 << "gazo/d01.png" << QByteArray("1.button_check5,case1,0\nbutton_count=1\nDaiya point5\nbufdeal5=40\nbuf_user[1]=40\nbuf_n=1\n");
    // clang-format on
}

void TestPlays::played_card()
{
    QFETCH(int, round);
    QFETCH(int, position);
    QFETCH(int, card);
    QFETCH(QString, picture);
    QFETCH(QByteArray, lines);

    // Fillers at the other positions; only the pressed card matters.
    QList<int> hand{2, 16, 30, 44, 8};
    hand[position - 1] = card;
    QVERIFY(table->deal_round(round, hand + kCpuFillers));
    buf_n = 0;
    table->sound.played.clear();

    QVERIFY_PRESSABLE(table->card_button(position));
    QCOMPARE(table->click(table->card_button(position)), lines);

    QCOMPARE(table->sound.played, QStringList{QStringLiteral("wave/12-1/draw_wav.wav")});
    QVERIFY_PICTURE(table->label("user_play_label"), picture);
    QVERIFY_PICTURE(table->label("cpu_play_label"), kCardBack);
    for (int p = 1; p <= 5; ++p) {
        if (p == position) {
            QVERIFY_NO_PICTURE(table->user_card_label(p));
            QVERIFY_NO_PICTURE(table->cpu_card_label(p));
        } else {
            QVERIFY(!table->user_card_label(p)->pixmap().isNull());
            QVERIFY_PICTURE(table->cpu_card_label(p), kCardBack);
        }
    }
    QCOMPARE(table->probe->buf_deal(position), card);
    QCOMPARE(buf_user[round], card);
    QCOMPARE(buf_n, 1);
}

// The hidden buttons were left enabled, so the next deal shows them ready.
void TestPlays::next_deal_shows_every_button_enabled()
{
    QVERIFY(table->deal_round(1, kPressHand + kCpuFillers));
    QVERIFY(table->play_round({1, 3, 5, 2, 4}));
    QVERIFY(table->deal());
    QCOMPARE(count, 2);
    QCOMPARE(button_count, 0);
    for (int p = 1; p <= 5; ++p)
        QVERIFY_PRESSABLE(table->card_button(p));
    QVERIFY(!table->open_button()->isEnabled());
}

void TestPlays::press_on_a_slot_without_a_card_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("card");
    QTest::addColumn<QByteArray>("lines");

    // clang-format off
    QTest::newRow("no card at position 1") << 1 << 0 << QByteArray("1.button_check1,case1\nbutton_count=1\nReigai bufdeal1=0\nbuf_user[1]=0\nbuf_n=1\n");
    QTest::newRow("card 53 at position 2") << 2 << 53 << QByteArray("1.button_check2,case1,0\nbutton_count=1\nReigai bufdeal2=53\nbufdeal2=53\nbuf_user[1]=53\nbuf_n=1\n");
    QTest::newRow("no card at position 5") << 5 << 0 << QByteArray("1.button_check5,case1,0\nbutton_count=1\nReigai bufdeal2=0\nbufdeal5=0\nbuf_user[1]=0\nbuf_n=1\n");
    // clang-format on
}

// Does not arise in play: the deal ends the match on an empty slot.
void TestPlays::press_on_a_slot_without_a_card()
{
    QFETCH(int, position);
    QFETCH(int, card);
    QFETCH(QByteArray, lines);

    QVERIFY(table->deal_round(1, kPressHand + kCpuFillers));
    table->probe->buf_deal(position) = card;
    QVERIFY_PRESSABLE(table->card_button(position));
    QCOMPARE(table->click(table->card_button(position)), lines);

    // Nothing moves from the hand; the CPU's card in play is still put down.
    QVERIFY_NO_PICTURE(table->label("user_play_label"));
    QVERIFY(!table->user_card_label(position)->pixmap().isNull());
    QVERIFY_PICTURE(table->cpu_card_label(position), kCardBack);
    QVERIFY_PICTURE(table->label("cpu_play_label"), kCardBack);
    QVERIFY(table->card_button(position)->isHidden());
    QVERIFY_PRESSABLE(table->open_button());
    QCOMPARE(buf_user[1], card);
}

void TestPlays::press_out_of_step_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<QByteArray>("lines");

    QTest::newRow("button 4 third with only button 1 played")
        << 4 << 3 << QList<int>{1} << QByteArray("7.Reigai:\n");
    QTest::newRow("button 4 third with nothing played")
        << 4 << 3 << QList<int>{} << QByteArray("7.Reigai:\n");
    QTest::newRow("button 1 third with only button 2 played")
        << 1 << 3 << QList<int>{2} << QByteArray();
    QTest::newRow("button 3 third with only button 5 played")
        << 3 << 3 << QList<int>{5} << QByteArray();
    QTest::newRow("button 5 fourth with two played") << 5 << 4 << QList<int>{1, 2} << QByteArray();
    QTest::newRow("button 2 second with nothing played") << 2 << 2 << QList<int>{} << QByteArray();
    QTest::newRow("button 4 at press count 0") << 4 << 0 << QList<int>{} << QByteArray();
    QTest::newRow("button 4 at press count 6") << 4 << 6 << QList<int>{1, 2, 3, 5} << QByteArray();
}

// Does not arise in play: the press count disagrees with the hidden buttons,
// no row matches and the buttons stay as they are.
void TestPlays::press_out_of_step()
{
    QFETCH(int, position);
    QFETCH(int, presses);
    QFETCH(QList<int>, hidden);
    QFETCH(QByteArray, lines);

    QCOMPARE(match_press(position, as_set(hidden), presses), nullptr);
    QCOMPARE(QByteArray(unmatched_press_line(position, presses)), lines);
}

QTEST_MAIN(TestPlays)
#include "test_plays.moc"
