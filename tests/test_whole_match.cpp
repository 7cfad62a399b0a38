// A whole match played through the window, from "Game start" to the verdict,
// and the first deal of the next match.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <iterator>
#include <memory>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/modal_answer.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

// One round of the match: the hands as dealt, the order the user plays the
// positions in, and who wins each pair in that order (Tie, Cpu, User).
struct Round
{
    int user[5];
    int cpu[5];
    int presses[5];
    const char *outcomes;
};

// The comments give ranks; each CPU rank is followed by the outcome of its pair.
constexpr Round kRounds[5] = {
    // user A 2 3 4 5 (spades); CPU A T, 8 C, 9 C, 4 T, K C
    {{1, 2, 3, 4, 5}, {27, 34, 35, 30, 39}, {1, 2, 3, 4, 5}, "TCCTC"},
    // user 6..10 (spades) played 10 down to 6; CPU 10 T, Q U, 3 C, 2 C, 6 T
    {{6, 7, 8, 9, 10}, {23, 25, 16, 15, 19}, {5, 4, 3, 2, 1}, "TUCCT"},
    // user J Q K A 4 played Q A J 4 K; CPU A U, 7 C, 5 U, J C, K T
    {{11, 12, 13, 14, 17}, {40, 46, 44, 50, 52}, {2, 4, 1, 5, 3}, "UCUCT"},
    // user 5 J K 2 5 played K 5 5 J 2; CPU 6 U, 7 U, 10 U, J T, Q C
    {{18, 24, 26, 28, 31}, {32, 33, 36, 37, 38}, {3, 1, 5, 2, 4}, "UUUTC"},
    // user 7 8 4 3 Q played 3 Q 7 4 8; CPU 3 T, 6 U, 2 C, 9 U, 8 T
    {{20, 21, 43, 29, 51}, {42, 45, 41, 48, 47}, {4, 5, 1, 3, 2}, "TUCUT"},
};
constexpr int kNeverDealt[2] = {22, 49};

bool deal_table_is_a_deck()
{
    int sorted[52];
    std::copy(std::begin(buf_r), std::end(buf_r), sorted);
    std::sort(std::begin(sorted), std::end(sorted));
    for (int i = 0; i < 52; ++i) {
        if (sorted[i] != i + 1)
            return false;
    }
    return true;
}

} // namespace

class TestWholeMatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void match_from_game_start_to_the_next_match();

private:
    // Output of the whole test, kept to count what the match printed.
    void click(QPushButton *target) { trace += table->click(target); }
    void deal(int round);
    void play_round(int round);

    QByteArray trace;
    std::unique_ptr<TableFixture> table;
};

void TestWholeMatch::init()
{
    table = std::make_unique<TableFixture>();
    QVERIFY(table->show_active());
}

void TestWholeMatch::cleanup()
{
    table.reset();
}

void TestWholeMatch::deal(int round)
{
    QVERIFY_PRESSABLE(table->deal_button());
    click(table->deal_button());
    QCOMPARE(table->label("round_label")->text(), QStringLiteral("Round %1").arg(round));
    trace += table->wait_for_deal();
    QCOMPARE(count, round);
}

void TestWholeMatch::play_round(int round)
{
    const Round &dealt = kRounds[round - 1];
    for (int p = 1; p <= 5; ++p) {
        QCOMPARE(table->probe->buf_deal(p), dealt.user[p - 1]);
        QCOMPARE(table->probe->buf_cpu_deal(p), dealt.cpu[p - 1]);
    }
    for (int i = 0; i < 5; ++i) {
        const int position = dealt.presses[i];
        QVERIFY_PRESSABLE(table->card_button(position));
        click(table->card_button(position));
        QCOMPARE(buf_user[round], dealt.user[position - 1]);
        QCOMPARE(buf_n, 5 * (round - 1) + i + 1);

        const int before[] = {cpu_score, user_score, tie_score};
        QVERIFY_PRESSABLE(table->open_button());
        click(table->open_button());
        const char outcome = dealt.outcomes[i];
        const int raised = outcome == 'C' ? 0 : outcome == 'U' ? 1 : 2;
        const int after[] = {cpu_score, user_score, tie_score};
        for (int t = 0; t < 3; ++t)
            QCOMPARE(after[t], before[t] + (t == raised ? 1 : 0));
        QCOMPARE(cpu_cout, (i + 1) % 5);
    }
    QVERIFY(!table->open_button()->isEnabled());
}

void TestWholeMatch::match_from_game_start_to_the_next_match()
{
    for (int r = 0; r < 5; ++r) {
        std::copy(std::begin(kRounds[r].user), std::end(kRounds[r].user), buf_r + 10 * r);
        std::copy(std::begin(kRounds[r].cpu), std::end(kRounds[r].cpu), buf_r + 10 * r + 5);
    }
    std::copy(std::begin(kNeverDealt), std::end(kNeverDealt), buf_r + 50);
    QVERIFY2(deal_table_is_a_deck(), "the test's deal table is not a deck");
    int match_table[52];
    std::copy(std::begin(buf_r), std::end(buf_r), match_table);

    QTest::keyClick(table->window(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!table->start_action()->isEnabled());
    QVERIFY(QTest::qWaitFor([this] { return table->deal_button()->isEnabled(); }));

    for (int round = 1; round <= 5; ++round) {
        deal(round);
        if (QTest::currentTestFailed())
            return;
        play_round(round);
        if (QTest::currentTestFailed())
            return;
    }

    // 25 pairs judged; the tallies add up to them just before the verdict.
    QCOMPARE(trace.count("\ncpu="), 25);
    QVERIFY(!trace.contains("Reigai"));
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=9,User=8,tie=8"));
    QCOMPARE(buf_n, 25);
    QCOMPARE(cpu_cout, 0);
    const int last_cards[] = {5, 6, 13, 28, 21};
    QVERIFY(std::equal(std::begin(last_cards), std::end(last_cards), buf_user + 1));
    QVERIFY(!table->start_action()->isEnabled());

    ModalAnswer *verdict = answer_next_box(QMessageBox::Ok);
    trace.clear();
    click(table->deal_button());
    QVERIFY(verdict->answered);
    QCOMPARE(verdict->title, QStringLiteral("information"));
    QCOMPARE(verdict->text, QStringLiteral("CPU=9,User=8,tie=8 \n\nCPU Win,You lose"));
    QVERIFY(trace.contains("MAX=15,n="));

    QCOMPARE(count, 0);
    QCOMPARE(buf_n, 0);
    QCOMPARE(cpu_cout, 0);
    QCOMPARE(cpu_score + user_score + tie_score, 0);
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY(deal_table_is_a_deck());
    QVERIFY(!std::equal(std::begin(match_table), std::end(match_table), buf_r));
    QVERIFY(table->start_action()->isEnabled());
    QVERIFY(!table->deal_button()->isEnabled());
    QVERIFY(!table->open_button()->isEnabled());
    for (int p = 1; p <= 5; ++p)
        QVERIFY(table->card_button(p)->isHidden());

    // The next match deals its round 1 from the fresh table.
    int next_table[52];
    std::copy(std::begin(buf_r), std::end(buf_r), next_table);
    table->start_action()->trigger();
    QVERIFY(!table->start_action()->isEnabled());
    QVERIFY(QTest::qWaitFor([this] { return table->deal_button()->isEnabled(); }));
    deal(1);
    for (int p = 1; p <= 5; ++p) {
        QCOMPARE(table->probe->buf_deal(p), next_table[p - 1]);
        QCOMPARE(table->probe->buf_cpu_deal(p), next_table[p + 4]);
        QVERIFY_PRESSABLE(table->card_button(p));
    }
    QCOMPARE(button_count, 0);
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
}

QTEST_MAIN(TestWholeMatch)
#include "test_whole_match.moc"
