// A whole match played through the window, from "Game start" to the verdict,
// and the first deal of the next match.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <iterator>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

// Who takes each pair of the demonstration match, in play order: Tie, Cpu, User.
constexpr const char *kOutcomes[5] = {"UTUCU", "UUUCC", "UUCUC", "UUUUC", "UCCCU"};

} // namespace

class TestWholeMatch : public QObject
{
    Q_OBJECT

private slots:
    void match_from_game_start_to_the_next_match();
};

void TestWholeMatch::match_from_game_start_to_the_next_match()
{
    TableFixture table(0.01, kDemoDraws);
    QVERIFY(table.show_active());
    table.lay_demo_deal();

    QVERIFY(table.start_game());
    QVERIFY(!table.start_action()->isEnabled());
    for (int round = 1; round <= 5; ++round) {
        QVERIFY(table.press(table.deal_button()));
        QCOMPARE(table.round_label()->text(), QStringLiteral("Round %1").arg(round));
        QVERIFY(table.settle());
        QCOMPARE(count, round);
        for (int p = 1; p <= 5; ++p) {
            QCOMPARE(table.probe->buf_deal(p), kDemoDeal[10 * (round - 1) + p - 1]);
            QCOMPARE(table.probe->buf_cpu_deal(p), kDemoDeal[10 * (round - 1) + p + 4]);
        }
        for (int i = 0; i < 5; ++i) {
            const int position = kDemoOrders[round - 1][i];
            QVERIFY(table.press(table.card_button(position)));
            QCOMPARE(buf_user[round], kDemoDeal[10 * (round - 1) + position - 1]);
            QCOMPARE(buf_n, 5 * (round - 1) + i + 1);

            const int before[] = {cpu_score, user_score, tie_score};
            QVERIFY(table.press(table.open_button()));
            const char outcome = kOutcomes[round - 1][i];
            const int raised = outcome == 'C' ? 0 : outcome == 'U' ? 1 : 2;
            const int after[] = {cpu_score, user_score, tie_score};
            for (int t = 0; t < 3; ++t)
                QCOMPARE(after[t], before[t] + (t == raised ? 1 : 0));
            QCOMPARE(cpu_cout, (i + 1) % 5);
        }
        QVERIFY(!table.open_button()->isEnabled());
    }

    // 25 pairs judged; the tallies add up to them just before the verdict.
    QCOMPARE(table.trace.count("\ncpu="), 25);
    QVERIFY(!table.trace.contains("Reigai"));
    QCOMPARE(table.label("score_label")->text(), QStringLiteral("CPU=9,User=15,tie=1"));
    QCOMPARE(buf_n, 25);
    QCOMPARE(cpu_cout, 0);
    const int last_cards[] = {43, 2, 16, 28, 44};
    QVERIFY(std::equal(std::begin(last_cards), std::end(last_cards), buf_user + 1));
    QVERIFY(!table.start_action()->isEnabled());

    table.trace.clear();
    QVERIFY(table.finish_match());
    QCOMPARE(table.verdict_title, QStringLiteral("information"));
    QCOMPARE(table.verdict, QStringLiteral("CPU=9,User=15,tie=1 \n\nYou Win,CPU lose"));
    QVERIFY(table.trace.contains("MAX=15,n="));

    QCOMPARE(count, 0);
    QCOMPARE(buf_n, 0);
    QCOMPARE(cpu_cout, 0);
    QCOMPARE(cpu_score + user_score + tie_score, 0);
    QCOMPARE(table.label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY(deal_table_is_a_deck());
    QVERIFY(!std::equal(std::begin(kDemoDeal), std::end(kDemoDeal), buf_r));
    QVERIFY(table.start_action()->isEnabled());
    QVERIFY(!table.deal_button()->isEnabled());
    QVERIFY(!table.open_button()->isEnabled());
    for (int p = 1; p <= 5; ++p)
        QVERIFY(table.card_button(p)->isHidden());

    // The next match, started from the menu, deals its round 1 from the fresh table.
    int next_table[52];
    std::copy(std::begin(buf_r), std::end(buf_r), next_table);
    table.start_action()->trigger();
    QVERIFY(!table.start_action()->isEnabled());
    QVERIFY(QTest::qWaitFor([&table] { return table.deal_button()->isEnabled(); }));
    QVERIFY(table.deal());
    QCOMPARE(count, 1);
    for (int p = 1; p <= 5; ++p) {
        QCOMPARE(table.probe->buf_deal(p), next_table[p - 1]);
        QCOMPARE(table.probe->buf_cpu_deal(p), next_table[p + 4]);
        QVERIFY_PRESSABLE(table.card_button(p));
    }
    QCOMPARE(button_count, 0);
    QCOMPARE(table.label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
}

QTEST_MAIN(TestWholeMatch)
#include "test_whole_match.moc"
