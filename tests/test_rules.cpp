// The rules: what a card number names; one pair judged on the table (the
// tallies, score line, trace, sound and notice, and the pauses' timers); the
// verdict at the end of a match; and the match shuffle: its trace with chosen
// draws, what it keeps true over many shuffles, the clock-seeded draws.
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <tuple>

#include "cards/card.h"
#include "table/delays.h"
#include "table/game_state.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"

namespace {

QList<int> from_to(int first, int last)
{
    QList<int> values;
    for (int v = first; v <= last; ++v)
        values << v;
    return values;
}

template <int N> QList<int> list(const int (&values)[N])
{
    return QList<int>(std::begin(values), std::end(values));
}

const QString kLoseSound = QStringLiteral("wave/12-1/lose_wav.wav");
const QString kWinSound = QStringLiteral("wave/12-1/win_vic.wav");
const QString kTieSound = QStringLiteral("wave/12-1/tie.wav");
const QString kLose = QStringLiteral("User lose");
const QString kWin = QStringLiteral("User win");
const QString kTie = QStringLiteral("This is tie It's no count");

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        table = std::make_unique<TableFixture>(1.0);
        QVERIFY(table->show_exposed());
        reset_game_state(); // the window's own first shuffle undone
        table->sound.played.clear();
    }

    void cleanup() { table.reset(); }

    void cards_the_rules_name_data()
    {
        QTest::addColumn<int>("card");
        QTest::addColumn<int>("position");
        QTest::addColumn<Suit>("suit");
        QTest::addColumn<int>("rank");
        QTest::addColumn<QStringList>("pictures"); // face up, and opened
        QTest::addColumn<QString>("tool_tip");

        // The edges of each suit, each rank word and the hand positions where the
        // diamonds' words change; then numbers that are no card at all.
        // clang-format off
        QTest::newRow("1 at 1: the ace of spades, the first card") << 1 << 1 << Suit::Spades << 1 << QStringList{"gazo/s01.png", "gazo/S01D.png"} << "Spade A draw card";
        QTest::newRow("2 at 5: the 2 of spades") << 2 << 5 << Suit::Spades << 2 << QStringList{"gazo/s02.png", "gazo/S02D.png"} << "Spade 2 draw card";
        QTest::newRow("4 at 5: the 4 of spades at position 5") << 4 << 5 << Suit::Spades << 4 << QStringList{"gazo/s04.png", "gazo/S04D.png"} << "Spade 4 draw card";
        QTest::newRow("13 at 4: the king of spades, the last spade") << 13 << 4 << Suit::Spades << 13 << QStringList{"gazo/s13.png", "gazo/S13D.png"} << "Spade King draw card";
        QTest::newRow("14 at 2: the ace of clubs, the first club") << 14 << 2 << Suit::Clubs << 1 << QStringList{"gazo/c01.png", "gazo/C01D.png"} << "Kurobar A draw card";
        QTest::newRow("16 at 3: the 3 of clubs") << 16 << 3 << Suit::Clubs << 3 << QStringList{"gazo/c03.png", "gazo/C03D.png"} << "Kurobar 3 draw card";
        QTest::newRow("17 at 5: the 4 of clubs at position 5") << 17 << 5 << Suit::Clubs << 4 << QStringList{"gazo/c04.png", "gazo/C04D.png"} << "Kurobar 4 draw card";
        QTest::newRow("20 at 5: the 7 of clubs") << 20 << 5 << Suit::Clubs << 7 << QStringList{"gazo/c07.png", "gazo/C07D.png"} << "Kurobar 7 draw card";
        QTest::newRow("23 at 3: the 10 of clubs") << 23 << 3 << Suit::Clubs << 10 << QStringList{"gazo/c10.png", "gazo/C10D.png"} << "Kurobar 10 draw card";
        QTest::newRow("26 at 1: the king of clubs, the last club") << 26 << 1 << Suit::Clubs << 13 << QStringList{"gazo/c13.png", "gazo/C13D.png"} << "Kurobar King draw card";
        QTest::newRow("27 at 5: the ace of hearts, the first heart") << 27 << 5 << Suit::Hearts << 1 << QStringList{"gazo/h01.png", "gazo/H01D.png"} << "Hurt A draw card";
        QTest::newRow("30 at 5: the 4 of hearts at position 5") << 30 << 5 << Suit::Hearts << 4 << QStringList{"gazo/h04.png", "gazo/H04D.png"} << "Hurt 4 draw card";
        QTest::newRow("31 at 2: the 5 of hearts") << 31 << 2 << Suit::Hearts << 5 << QStringList{"gazo/h05.png", "gazo/H05D.png"} << "Hurt 5 draw card";
        QTest::newRow("32 at 4: the 6 of hearts") << 32 << 4 << Suit::Hearts << 6 << QStringList{"gazo/h06.png", "gazo/H06D.png"} << "Hurt 6 draw card";
        QTest::newRow("34 at 1: the 8 of hearts") << 34 << 1 << Suit::Hearts << 8 << QStringList{"gazo/h08.png", "gazo/H08D.png"} << "Hurt 8 draw card";
        QTest::newRow("35 at 3: the 9 of hearts") << 35 << 3 << Suit::Hearts << 9 << QStringList{"gazo/h09.png", "gazo/H09D.png"} << "Hurt 9 draw card";
        QTest::newRow("37 at 3: the jack of hearts") << 37 << 3 << Suit::Hearts << 11 << QStringList{"gazo/h11.png", "gazo/H11D.png"} << "Hurt Jack draw card";
        QTest::newRow("38 at 5: the queen of hearts") << 38 << 5 << Suit::Hearts << 12 << QStringList{"gazo/h12.png", "gazo/H12D.png"} << "Hurt Queen draw card";
        QTest::newRow("39 at 1: the king of hearts, the last heart") << 39 << 1 << Suit::Hearts << 13 << QStringList{"gazo/h13.png", "gazo/H13D.png"} << "Hurt King draw card";
        QTest::newRow("40 at 1: the ace of diamonds at position 1") << 40 << 1 << Suit::Diamonds << 1 << QStringList{"gazo/d01.png", "gazo/D01D.png"} << "dia A draw card";
        QTest::newRow("40 at 2: the ace of diamonds at position 2") << 40 << 2 << Suit::Diamonds << 1 << QStringList{"gazo/d01.png", "gazo/D01D.png"} << "dia A draw card";
        QTest::newRow("40 at 3: the ace of diamonds at position 3") << 40 << 3 << Suit::Diamonds << 1 << QStringList{"gazo/d01.png", "gazo/D01D.png"} << "Dia A draw card";
        QTest::newRow("42 at 5: the 3 of diamonds at position 5") << 42 << 5 << Suit::Diamonds << 3 << QStringList{"gazo/d03.png", "gazo/D03D.png"} << "Dia 3 draw card";
        QTest::newRow("43 at 1: the 4 of diamonds at position 1") << 43 << 1 << Suit::Diamonds << 4 << QStringList{"gazo/d04.png", "gazo/D04D.png"} << "dia 4 draw card";
        QTest::newRow("43 at 3: the 4 of diamonds at position 3") << 43 << 3 << Suit::Diamonds << 4 << QStringList{"gazo/d04.png", "gazo/D04D.png"} << "Dia 4 draw card";
        QTest::newRow("43 at 4: the 4 of diamonds at position 4") << 43 << 4 << Suit::Diamonds << 4 << QStringList{"gazo/d04.png", "gazo/D04D.png"} << "Dia 4 draw card";
        QTest::newRow("43 at 5: the 4 of diamonds at position 5, with a zero") << 43 << 5 << Suit::Diamonds << 4 << QStringList{"gazo/d04.png", "gazo/D04D.png"} << "Dia 04 draw card";
        QTest::newRow("44 at 5: the 5 of diamonds at position 5") << 44 << 5 << Suit::Diamonds << 5 << QStringList{"gazo/d05.png", "gazo/D05D.png"} << "Dia 5 draw card";
        QTest::newRow("51 at 2: the queen of diamonds at position 2") << 51 << 2 << Suit::Diamonds << 12 << QStringList{"gazo/d12.png", "gazo/D12D.png"} << "dia Queen draw card";
        QTest::newRow("52 at 4: the king of diamonds, the last card") << 52 << 4 << Suit::Diamonds << 13 << QStringList{"gazo/d13.png", "gazo/D13D.png"} << "Dia King draw card";
        QTest::newRow("52 at 5: the king of diamonds at position 5") << 52 << 5 << Suit::Diamonds << 13 << QStringList{"gazo/d13.png", "gazo/D13D.png"} << "Dia King draw card";
        QTest::newRow("0 at 1: no card") << 0 << 1 << Suit::None << 0 << QStringList{"", ""} << "";
        QTest::newRow("0 at 5: no card") << 0 << 5 << Suit::None << 0 << QStringList{"", ""} << "";
        QTest::newRow("-1 at 3: no card") << -1 << 3 << Suit::None << 0 << QStringList{"", ""} << "";
        QTest::newRow("53 at 2: no card") << 53 << 2 << Suit::None << 0 << QStringList{"", ""} << "";
        QTest::newRow("53 at 5: no card") << 53 << 5 << Suit::None << 0 << QStringList{"", ""} << "";
        QTest::newRow("100 at 4: no card") << 100 << 4 << Suit::None << 0 << QStringList{"", ""} << "";
        // clang-format on
    }

    void cards_the_rules_name()
    {
        QFETCH(int, card);
        QFETCH(int, position);
        QFETCH(Suit, suit);
        QFETCH(int, rank);
        QFETCH(QStringList, pictures);
        QFETCH(QString, tool_tip);

        QCOMPARE(card_suit(card), suit);
        QCOMPARE(card_rank(card), rank);
        QCOMPARE(QStringList({face_picture_path(card), open_picture_path(card)}), pictures);
        QCOMPARE(draw_tool_tip(card, position), tool_tip);
    }

    // Pairs judged in turn: tallies, score line, trace, sound and notice.  A
    // tie shows its notice before its sound, a pattern after it.  The next
    // pair's trace runs on after a tie's or a closing line.
    void judging_pairs_data()
    {
        QTest::addColumn<QList<int>>("pairs");  // the CPU's rank, the user's, ...
        QTest::addColumn<QList<int>>("before"); // the CPU's, the user's and the tie tally
        QTest::addColumn<QByteArray>("trace");
        QTest::addColumn<QStringList>("sounds");
        QTest::addColumn<QStringList>("label_at_sounds");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("score");

        // clang-format off
        QTest::newRow("seven against seven: tie") << QList<int>{7, 7} << QList<int>{0, 0, 0} << QByteArray("tie :3.CPU=0,User=0,tie=1") << QStringList{kTieSound} << QStringList{kTie} << kTie << "CPU=0,User=0,tie=1";
        QTest::newRow("king against seven, difference 6: CPU wins") << QList<int>{13, 7} << QList<int>{0, 0, 0} << QByteArray("!x==y\nPatern 1,x-y=6,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0") << QStringList{kLoseSound} << QStringList{""} << kLose << "CPU=1,User=0,tie=0";
        QTest::newRow("queen against seven, difference 5: user wins") << QList<int>{12, 7} << QList<int>{0, 0, 0} << QByteArray("!x==y\nPatern2,x-y=5,user win:CPU=0,User=1,tie=0\n1.CPU=0,User=1,tie=0") << QStringList{kWinSound} << QStringList{""} << kWin << "CPU=0,User=1,tie=0";
        QTest::newRow("ace against seven, difference 6: user wins") << QList<int>{1, 7} << QList<int>{0, 0, 0} << QByteArray("!x==y\nPatern 3,y-x=6,user win:CPU=0,User=1,tie=0\n2.CPU=0,User=1,tie=0") << QStringList{kWinSound} << QStringList{""} << kWin << "CPU=0,User=1,tie=0";
        QTest::newRow("two against seven, difference 5: CPU wins") << QList<int>{2, 7} << QList<int>{0, 0, 0} << QByteArray("!x==y\nPatern 4,y-x=5,cpu win:CPU=1,User=0,tie=0\n2.CPU=1,User=0,tie=0") << QStringList{kLoseSound} << QStringList{""} << kLose << "CPU=1,User=0,tie=0";
        QTest::newRow("tenth CPU win written without padding") << QList<int>{13, 7} << QList<int>{9, 2, 0} << QByteArray("!x==y\nPatern 1,x-y=6,cpu win:CPU=10,User=2,tie=0\n1.CPU=10,User=2,tie=0") << QStringList{kLoseSound} << QStringList{""} << kLose << "CPU=10,User=2,tie=0";
        QTest::newRow("twelfth user win written without padding") << QList<int>{2, 12} << QList<int>{3, 11, 9} << QByteArray("!x==y\nPatern 3,y-x=10,user win:CPU=3,User=12,tie=9\n2.CPU=3,User=12,tie=9") << QStringList{kWinSound} << QStringList{""} << kWin << "CPU=3,User=12,tie=9";
        QTest::newRow("thirteenth tie written without padding") << QList<int>{9, 9} << QList<int>{11, 10, 12} << QByteArray("tie :3.CPU=11,User=10,tie=13") << QStringList{kTieSound} << QStringList{kTie} << kTie << "CPU=11,User=10,tie=13";
        QTest::newRow("six pairs in a row") << QList<int>{7, 7, 13, 7, 12, 7, 1, 7, 2, 7, 4, 4} << QList<int>{0, 0, 0} << QByteArray("tie :3.CPU=0,User=0,tie=1!x==y\nPatern 1,x-y=6,cpu win:CPU=1,User=0,tie=1\n1.CPU=1,User=0,tie=1!x==y\nPatern2,x-y=5,user win:CPU=1,User=1,tie=1\n1.CPU=1,User=1,tie=1!x==y\nPatern 3,y-x=6,user win:CPU=1,User=2,tie=1\n2.CPU=1,User=2,tie=1!x==y\nPatern 4,y-x=5,cpu win:CPU=2,User=2,tie=1\n2.CPU=2,User=2,tie=1tie :3.CPU=2,User=2,tie=2") << QStringList{kTieSound, kLoseSound, kWinSound, kWinSound, kLoseSound, kTieSound} << QStringList{kTie, kTie, kLose, kWin, kWin, kTie} << kTie << "CPU=2,User=2,tie=2";
        QTest::newRow("the rule at its edges, and ranks outside ace to king") << QList<int>{1, 13, 13, 1, 1, 6, 6, 1, 8, 7, 7, 8, 0, 14} << QList<int>{0, 0, 0} << QByteArray("!x==y\nPatern 3,y-x=12,user win:CPU=0,User=1,tie=0\n2.CPU=0,User=1,tie=0!x==y\nPatern 1,x-y=12,cpu win:CPU=1,User=1,tie=0\n1.CPU=1,User=1,tie=0!x==y\nPatern 4,y-x=5,cpu win:CPU=2,User=1,tie=0\n2.CPU=2,User=1,tie=0!x==y\nPatern2,x-y=5,user win:CPU=2,User=2,tie=0\n1.CPU=2,User=2,tie=0!x==y\nPatern2,x-y=1,user win:CPU=2,User=3,tie=0\n1.CPU=2,User=3,tie=0!x==y\nPatern 4,y-x=1,cpu win:CPU=3,User=3,tie=0\n2.CPU=3,User=3,tie=0!x==y\nPatern 3,y-x=14,user win:CPU=3,User=4,tie=0\n2.CPU=3,User=4,tie=0") << QStringList{kWinSound, kLoseSound, kLoseSound, kWinSound, kWinSound, kLoseSound, kWinSound} << QStringList{"", kWin, kLose, kLose, kWin, kWin, kLose} << kWin << "CPU=3,User=4,tie=0";
        // clang-format on
    }

    void judging_pairs()
    {
        QFETCH(QList<int>, pairs);
        QFETCH(QList<int>, before);
        QFETCH(QByteArray, trace);
        QFETCH(QStringList, sounds);
        QFETCH(QStringList, label_at_sounds);
        QFETCH(QString, notice);
        QFETCH(QString, score);
        QLabel *result = table->label("result_label");
        // Before the first pair.
        QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
        QVERIFY(!result->isVisible());
        std::tie(cpu_score, user_score, tie_score) = std::tuple(before[0], before[1], before[2]);
        QStringList seen_at_sound;
        table->sound.on_play = [&](const QString &) { seen_at_sound << result->text(); };

        QByteArray out;
        for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
            out += judge(pairs.at(i), pairs.at(i + 1));

        QCOMPARE(out, trace);
        QCOMPARE(table->sound.played, sounds);
        QCOMPARE(seen_at_sound, label_at_sounds);
        QVERIFY(result->isVisible());
        QCOMPARE(result->text(), notice);
        QCOMPARE(
            QStringLiteral("CPU=%1,User=%2,tie=%3").arg(cpu_score).arg(user_score).arg(tie_score),
            score);
        QCOMPARE(table->label("score_label")->text(), score);
        QCOMPARE(table->probe->score_text(), score);
    }

    void pauses_end_on_time_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<int>("length");       // in the game
        QTest::addColumn<int>("pause");        // as run here, shortened
        QTest::addColumn<QStringList>("seen"); // just before its end, and at it

        // clang-format off
        QTest::newRow("game start to Deal cards") << QByteArray("Beginer_start") << 6500 << 2000 << QStringList{"deal=0 notice=", "deal=1 notice="};
        QTest::newRow("tie notice") << QByteArray("user_cpu_tie_timer") << 2000 << 250 << QStringList{"deal=0 notice=" + kTie, "deal=0 notice="};
        QTest::newRow("CPU-win notice") << QByteArray("lose_timer") << 2000 << 250 << QStringList{"deal=0 notice=" + kLose, "deal=0 notice="};
        QTest::newRow("user-win notice") << QByteArray("win_timer") << 2000 << 250 << QStringList{"deal=0 notice=" + kWin, "deal=0 notice="};
        // clang-format on
    }

    // Regression: timers of 2 s or more were coarse and could end up to 5 %
    // early or late (the start pause by 325 ms).  Two precise timers of our
    // own look at the table: one set just before the pause, due 1 ms before
    // its end, one set just after it with its length.  Timers fire in the
    // order they are due, however late the event loop runs.
    void pauses_end_on_time()
    {
        QFETCH(QByteArray, slot);
        QFETCH(int, length);
        QFETCH(int, pause);
        QFETCH(QStringList, seen);
        set_delay_scale_for_tests(double(pause) / length);
        QLabel *result = table->label("result_label");
        QStringList looks;
        auto look = [&] {
            looks << QStringLiteral("deal=%1 notice=%2")
                         .arg(int(table->deal_button()->isEnabled()))
                         .arg(result->text());
        };

        // Coarse, a pause of 2000 ms would move to the 500 ms marks of the
        // monotonic clock (Qt's), one of 250 ms to its 250 ms marks: it starts
        // half-way between.
        const int marks = std::min(pause, 500);
        const qint64 now = QDeadlineTimer::current(Qt::PreciseTimer).deadline();
        QThread::msleep(static_cast<unsigned long>((marks / 2 - now % marks + marks) % marks));
        QTimer::singleShot(pause - 1, Qt::PreciseTimer, this, look);
        QVERIFY(QMetaObject::invokeMethod(table->window(), slot.constData(), Qt::DirectConnection));
        QTimer::singleShot(pause, Qt::PreciseTimer, this, look);
        QTRY_COMPARE(looks.size(), 2);
        QCOMPARE(looks, seen);
    }

    // Notice timers are never cancelled: the first pair's timer empties the
    // label even when a second notice has come up since, and the second timer
    // later clears an already empty label.  Precise timers of our own, due
    // between and after the game's, look at the label.
    void earlier_timer_clears_later_notice()
    {
        set_delay_scale_for_tests(0.05); // notices of 100 ms
        QLabel *result = table->label("result_label");
        QStringList seen;
        judge(7, 7);
        QCOMPARE(result->text(), kTie);
        QTimer::singleShot(50, Qt::PreciseTimer, this, [&] {
            judge(12, 7);
            seen << result->text();
            QTimer::singleShot(75, Qt::PreciseTimer, this, [&] { seen << result->text(); });
            QTimer::singleShot(101, Qt::PreciseTimer, this, [&] {
                seen << result->text() + (result->isVisible() ? " (shown)" : " (hidden)");
            });
        });
        QTRY_COMPARE(seen.size(), 3);
        QCOMPARE(seen, QStringList({kWin, QString(), QStringLiteral(" (shown)")}));
    }

    void verdict_data()
    {
        QTest::addColumn<QList<int>>("tallies"); // the CPU's, the user's, the ties
        QTest::addColumn<QString>("text");

        // clang-format off
        QTest::newRow("CPU wins 12 to 10 with 3 ties") << QList<int>{12, 10, 3} << "CPU=12,User=10,tie=3 \n\nCPU Win,You lose";
        QTest::newRow("user wins 12 to 10 with 3 ties") << QList<int>{10, 12, 3} << "CPU=10,User=12,tie=3 \n\nYou Win,CPU lose";
        QTest::newRow("CPU wins by one, no ties") << QList<int>{13, 12, 0} << "CPU=13,User=12,tie=0 \n\nCPU Win,You lose";
        QTest::newRow("ties never decide: 10 to 10 with 5 ties") << QList<int>{10, 10, 5} << "CPU=10,User=10,tie=5 \n\nYou CPU,You tie";
        QTest::newRow("ties never decide: one CPU win and 24 ties") << QList<int>{1, 0, 24} << "CPU=1,User=0,tie=24 \n\nCPU Win,You lose";
        QTest::newRow("ties never decide: one user win and 24 ties") << QList<int>{0, 1, 24} << "CPU=0,User=1,tie=24 \n\nYou Win,CPU lose";
        QTest::newRow("every pair a tie") << QList<int>{0, 0, 25} << "CPU=0,User=0,tie=25 \n\nYou CPU,You tie";
        QTest::newRow("match cut short before any pair") << QList<int>{0, 0, 0} << "CPU=0,User=0,tie=0 \n\nYou CPU,You tie";
        // clang-format on
    }

    // The verdict box at the end of a match, and the clean slate after it.
    void verdict()
    {
        QFETCH(QList<int>, tallies);
        QFETCH(QString, text);
        QAction *start = table->start_action();
        start->setEnabled(false); // as during a match
        std::tie(cpu_score, user_score, tie_score) = std::tuple(tallies[0], tallies[1], tallies[2]);

        // While the box is up the tallies still hold the match (timers that fire
        // meanwhile see them), and "Game start" is already available again.
        QList<int> meanwhile; // the tallies, and 1 for "Game start" enabled
        const ModalAnswer *box = answer_next_box(QMessageBox::Ok, 0, [&] {
            meanwhile = {cpu_score, user_score, tie_score, int(start->isEnabled())};
        });
        QCOMPARE(capture_stdout([this] { table->probe->match_result(); }), QByteArray());

        QVERIFY(box->answered);
        QCOMPARE(box->title, QStringLiteral("information"));
        QCOMPARE(box->text, text);
        QCOMPARE(box->parent, table->window());
        QCOMPARE(box->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box->icon, QMessageBox::Information);
        QCOMPARE(meanwhile, tallies + QList<int>{1});
        QCOMPARE(QList<int>({cpu_score, user_score, tie_score}), QList<int>({0, 0, 0}));
        QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
        QCOMPARE(table->probe->score_text(), QStringLiteral("CPU=0,User=0,tie=0"));
        QVERIFY(start->isEnabled());
        QVERIFY(table->sound.played.isEmpty());
    }

    // One whole shuffle through the window.  Spades: raw draws 12..47 reach
    // positions 0 and 11 only, never the king at 12.  Clubs: pair (4,5) prints
    // no pair line.  Hearts: the exchanges compose, label 9 has no blank.
    // Diamonds: all six draws equal, nothing moves.
    void whole_shuffle_trace()
    {
        // clang-format off
        ScriptedRandom random({12, 23, 24, 35, 36, 47,    // spades: 0 and 11 after % 12
                               15, 15, 15, 15, 19, 15,    // clubs: 3 and 7
                               0, 1, 2, 2, 2, 2,          // hearts
                               35, 35, 35, 35, 35, 35,    // diamonds: 11
                               100, 100, 100, 100, 59,    // nn1..nn5: 48 and 7 after % 52
                               100});                     // nn6..nn24
        const QByteArray s0 = "1,2,3,4,5,6,7,8,9,10,11,12,13,\n";
        const QByteArray s1 = "12,2,3,4,5,6,7,8,9,10,11,1,13,\n";
        const QByteArray c0 = "14,15,16,17,18,19,20,21,22,23,24,25,26,\n";
        const QByteArray c1 = "14,15,16,21,18,19,20,17,22,23,24,25,26,\n";
        const QByteArray h0 = "27,28,29,30,31,32,33,34,35,36,37,38,39,\n";
        const QByteArray h1 = "28,27,29,30,31,32,33,34,35,36,37,38,39,\n";
        const QByteArray h2 = "29,27,28,30,31,32,33,34,35,36,37,38,39,\n";
        const QByteArray h3 = "28,29,27,30,31,32,33,34,35,36,37,38,39,\n";
        const QByteArray t0 = "12,2,3,4,5,6,7,8,9,10,11,1,13,14,15,16,21,18,19,20,17,22,23,24,25,26,"
                              "28,27,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,\n";
        const QByteArray t1 = "12,2,3,4,5,6,7,49,9,10,11,1,13,14,15,16,21,18,19,20,17,22,23,24,25,26,"
                              "28,27,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,8,50,51,52,\n";
        const QByteArray expected = QByteArrayList{
            "n1=0,n2=11,n3=0,n4=11,n5=0,n6=11\n",
            "n1=0,n2=11\n", s0, s1, "Patern 1\n",  "n1=0,n4=11\n", s1, s0, "Patern 3\n",
            "n1=0,n6=11\n", s0, s1, "Patern 5\n",  "n2=11,n3=0\n", s1, s0, "Patern 6\n",
            "n2=11,n5=0\n", s0, s1, "Patern 8\n",  "n3=0,n4=11\n", s1, s0, "Patern 10\n",
            "n3=0,n6=11\n", s0, s1, "Patern 12\n", /* (4,5) */   s1, s0, "Patern 13\n",
            "n5=0,n6=11\n", s0, s1, "Patern 15\n", "MAX=15,n=9",
            "n1=3,n2=3,n3=3,n4=3,n5=7,n6=3\n",
            "n1=3,n5=7\n", c0, c1, "Patern 4\n",  "n2=3,n5=7\n", c1, c0, "Patern 8\n",
            "n3=3,n5=7\n", c0, c1, "Patern 11\n", /* (4,5) */  c1, c0, "Patern 13\n",
            "n5=7,n6=3\n", c0, c1, "Patern 15\n", "MAX=15,n=5",
            "n1=0,n2=1,n3=2,n4=2,n5=2,n6=2\n",
            "n1=0,n2=1\n", h0, h1, "Patern 1\n", "n1=0,n3=2\n", h1, h2, "Patern 2\n",
            "n1=0,n4=2\n", h2, h1, "Patern 3\n", "n1=0,n5=2\n", h1, h2, "Patern 4\n",
            "n1=0,n6=2\n", h2, h1, "Patern 5\n", "n2=1,n3=2\n", h1, h3, "Patern 6\n",
            "n2=1,n4=2\n", h3, h1, "Patern 7\n", "n2=1,n5=2\n", h1, h3, "Patern 8\n",
            "n2=1,n6=2\n", h3, h1, "Patern9\n",  "MAX=15,n=9",
            "n1=11,n2=11,n3=11,n4=11,n5=11,n6=11\n", "MAX=15,n=0",
            // the rows laid end to end
            "buf[0]=12\tbuf[1]=2\tbuf[2]=3\tbuf[3]=4\tbuf[4]=5\tbuf[5]=6\tbuf[6]=7\tbuf[7]=8\t"
            "buf[8]=9\tbuf[9]=10\tbuf[10]=11\tbuf[11]=1\tbuf[12]=13\t",
            "buf[13]=14\tbuf[14]=15\tbuf[15]=16\tbuf[16]=21\tbuf[17]=18\tbuf[18]=19\tbuf[19]=20\t"
            "buf[20]=17\tbuf[21]=22\tbuf[22]=23\tbuf[23]=24\tbuf[24]=25\tbuf[25]=26\t",
            "buf[26]=28\tbuf[27]=27\tbuf[28]=29\tbuf[29]=30\tbuf[30]=31\tbuf[31]=32\tbuf[32]=33\t"
            "buf[33]=34\tbuf[34]=35\tbuf[35]=36\tbuf[36]=37\tbuf[37]=38\tbuf[38]=39\t",
            "buf[39]=40\nbuf[40]=41\nbuf[41]=42\nbuf[42]=43\nbuf[43]=44\nbuf[44]=45\nbuf[45]=46\n"
            "buf[46]=47\nbuf[47]=48\nbuf[48]=49\nbuf[49]=50\nbuf[50]=51\nbuf[51]=52\n",
            "buf_r[0]=12\tbuf_r[1]=2\tbuf_r[2]=3\tbuf_r[3]=4\tbuf_r[4]=5\tbuf_r[5]=6\tbuf_r[6]=7\t"
            "buf_r[7]=8\tbuf_r[8]=9\tbuf_r[9]=10\tbuf_r[10]=11\tbuf_r[11]=1\tbuf_r[12]=13\t"
            "buf_r[13]=14\tbuf_r[14]=15\tbuf_r[15]=16\tbuf_r[16]=21\tbuf_r[17]=18\tbuf_r[18]=19\t"
            "buf_r[19]=20\tbuf_r[20]=17\tbuf_r[21]=22\tbuf_r[22]=23\tbuf_r[23]=24\tbuf_r[24]=25\t"
            "buf_r[25]=26\tbuf_r[26]=28\tbuf_r[27]=27\tbuf_r[28]=29\tbuf_r[29]=30\tbuf_r[30]=31\t"
            "buf_r[31]=32\tbuf_r[32]=33\tbuf_r[33]=34\tbuf_r[34]=35\tbuf_r[35]=36\tbuf_r[36]=37\t"
            "buf_r[37]=38\tbuf_r[38]=39\tbuf_r[39]=40\tbuf_r[40]=41\tbuf_r[41]=42\tbuf_r[42]=43\t"
            "buf_r[43]=44\tbuf_r[44]=45\tbuf_r[45]=46\tbuf_r[46]=47\tbuf_r[47]=48\tbuf_r[48]=49\t"
            "buf_r[49]=50\tbuf_r[50]=51\tbuf_r[51]=52\t",
            // the table draws
            "nn1=48,nn2=48,nn3=48,nn4=48,nn5=7,nn6=48\nnn7=48,nn8=48,nn9=48,nn10=48,nn11=48,nn12=48\n"
            "nn13=48,nn14=48,nn15=48,nn16=48,nn17=48,nn18=48\nnn19=48,nn20=48,nn21=48,nn22=48,nn23=48,nn24=48\n",
            // steps 4 (1,5) and 26 (2,5) print no pair line; step 67 (4,5), silent,
            // carries label 13 and step 87 (5,6) label 15; steps 89, 109 and 129
            // run pairs (3,5), (4,5) and (5,6) again
            t0, t1, "Patern 4\n", t1, t0, "Patern 26\n",
            "nn3=48,nn5=7\n", t0, t1, "Patern 47\n", t1, t0, "Patern 13\n",
            "nn5=7,nn6=48\n", t0, t1, "Patern 15\n",
            "nn3=48,nn5=7\n", t1, t0, "Patern 47\n", t0, t1, "Patern 13\n",
            "nn5=7,nn6=48\n", t1, t0, "Patern 15\n",
            "MAX=15,n=9"}.join();
        // clang-format on
        QStringList messages;
        connect(table->window()->statusBar(), &QStatusBar::messageChanged, this,
                [&messages](const QString &message) { messages << message; });

        QCOMPARE(shuffle().split('\n'), expected.split('\n'));
        QCOMPARE(random.reseeds, 5); // one per row, one for the table
        QCOMPARE(list(buf_r), QList<int>({12, 2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 1,  13, 14,
                                          15, 16, 21, 18, 19, 20, 17, 22, 23, 24, 25, 26, 28, 27}) +
                                  from_to(29, 52));
        QCOMPARE(deck_swap_count, 9);
        // The window keeps the last draws: the diamonds' row and the table's.
        QCOMPARE(kept_draws(),
                 QList<int>(6, 11) + QList<int>(4, 48) + QList<int>(1, 7) + QList<int>(19, 48));
        QCOMPARE(messages, QStringList({QStringLiteral("It is shuffuling now"),
                                        QStringLiteral("It has shuffuled Ok")}));
        QCOMPARE(table->window()->statusBar()->currentMessage(),
                 QStringLiteral("It has shuffuled Ok"));
    }

    void table_steps_of_one_position_drawn_apart_data()
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
    void table_steps_of_one_position_drawn_apart()
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
        int deck[kDeckCards], nn[kTableDraws], swaps = 1;
        const QByteArray printed =
            capture_stdout([&] { shuffle_table(deck, buf_suit, nn, swaps); });

        QList<int> printed_labels;
        QByteArrayList printed_pairs;
        for (const QByteArray &line : printed.split('\n')) {
            if (line.startsWith("Patern "))
                printed_labels << line.mid(7).toInt();
            else if (line.startsWith("nn") && line.count('=') == 2)
                printed_pairs << line;
        }
        QCOMPARE(printed_labels, labels);
        QCOMPARE(printed_pairs, pair_lines);
        QCOMPARE(swaps, 1 + int(labels.size()));
        QVERIFY2(printed.endsWith("\nMAX=15,n=" + QByteArray::number(swaps)), printed.right(40));

        // An odd number of exchanges leaves entries 0 and 51 exchanged.
        const bool odd = labels.size() % 2 == 1;
        QCOMPARE(list(deck), QList<int>{odd ? 52 : 1} + from_to(2, 51) + QList<int>{odd ? 1 : 52});
    }

    void shuffles_one_after_another_data()
    {
        QTest::addColumn<QList<QList<int>>>("shuffles"); // the draws of each shuffle in turn
        QTest::addColumn<QByteArray>("starts");          // how the last shuffle's trace starts
        QTest::addColumn<QByteArray>("ends");            // and ends
        QTest::addColumn<int>("swaps");

        // Row draws all 0, nn1 = 51 and the other table draws 0: 23 table exchanges.
        const QList<int> nn1_apart = QList<int>(4 * kRowDraws, 0) + QList<int>{51, 0};
        // Spades exchange positions 0 and 1 five times; nothing else moves.
        const QList<int> spades_01 = {0, 1, 1, 1, 1, 1, 0};
        const QByteArray quiet = "n1=6,n2=6,n3=6,n4=6,n5=6,n6=6\nMAX=15,n=0";
        // clang-format off
        QTest::newRow("all draws equal: nothing moves, the first hands are spades") << QList<QList<int>>{{30}} << quiet + quiet + quiet + quiet + "buf[0]=1\t" << QByteArray("\nnn19=30,nn20=30,nn21=30,nn22=30,nn23=30,nn24=30\nMAX=15,n=1") << 1;
        QTest::newRow("rows persist into the next shuffle") << QList<QList<int>>{spades_01, spades_01} << QByteArray("n1=0,n2=1,n3=1,n4=1,n5=1,n6=1\nn1=0,n2=1\n2,1,3,4,5,6,7,8,9,10,11,12,13,\n1,2,3,4,5,6,7,8,9,10,11,12,13,\nPatern 1\n") << QByteArray("\nMAX=15,n=1") << 1;
        QTest::newRow("the swap count only grows") << QList<QList<int>>{nn1_apart, nn1_apart, {0}} << QByteArray("n1=0,n2=0") << QByteArray("nn24=0\nMAX=15,n=47") << 47;
        // clang-format on
    }

    // Each row's shuffles leave every card where it started.
    void shuffles_one_after_another()
    {
        QFETCH(QList<QList<int>>, shuffles);
        QFETCH(QByteArray, starts);
        QFETCH(QByteArray, ends);
        QFETCH(int, swaps);

        QByteArray printed;
        for (const QList<int> &draws : shuffles) {
            ScriptedRandom random(draws);
            printed = shuffle();
        }
        QVERIFY2(printed.startsWith(starts), printed.left(300));
        QVERIFY2(printed.endsWith(ends), printed.right(200));
        QCOMPARE(deck_swap_count, swaps);
        QCOMPARE(list(buf_suit[0]) + list(buf_suit[1]) + list(buf_suit[2]) + list(buf_suit[3]),
                 from_to(1, 52));
        QCOMPARE(list(buf_r), from_to(1, 52));
    }

    // Over many shuffles each suit row keeps its own cards, its king last, and
    // the deal table holds every card once.
    void cards_stay_in_their_rows()
    {
        // 20 shuffles with the C library's draws, then 100 with a fixed spread
        // of raw draws over the whole range rand() returns.
        QList<int> varied;
        for (unsigned i = 0, state = 12345; i < 100 * (4 * kRowDraws + kTableDraws); ++i) {
            state = state * 1103515245u + 12345u;
            varied << int((state >> 1) & 0x7fffffff);
        }
        std::unique_ptr<ScriptedRandom> random;
        for (int i = 1; i <= 120; ++i) {
            if (i == 21)
                random = std::make_unique<ScriptedRandom>(varied);
            shuffle();
            for (int s = 0; s < 4; ++s) {
                QList<int> row = list(buf_suit[s]);
                QCOMPARE(row.at(12), 13 * s + 13);
                std::sort(row.begin(), row.end());
                QCOMPARE(row, from_to(13 * s + 1, 13 * s + 13));
            }
            QList<int> deck = list(buf_r);
            std::sort(deck.begin(), deck.end());
            QCOMPARE(deck, from_to(1, 52));
        }
    }

    // The C library draws: every batch reseeds with the time in whole seconds,
    // so shuffles within one second draw the same raw numbers for each batch.
    void clock_seeded_draws_within_one_second()
    {
        QByteArray trace;
        time_t second = 0;
        bool within_one_second = false;
        for (int attempt = 0; attempt < 5 && !within_one_second; ++attempt) {
            second = std::time(nullptr);
            trace = shuffle();
            trace += shuffle();
            within_one_second = std::time(nullptr) == second;
        }
        if (!within_one_second)
            QSKIP("every attempt crossed a second boundary");

        std::srand(static_cast<unsigned>(second));
        QList<int> positions(kRowDraws); // n1..n6, then nn1..nn24
        QString row_line = QStringLiteral("n1=%1,n2=%2,n3=%3,n4=%4,n5=%5,n6=%6\n");
        for (int i = 0; i < kTableDraws; ++i) {
            const int raw = std::rand();
            positions << raw % 52;
            if (i < kRowDraws)
                row_line = row_line.arg(positions[i] = raw % 12);
        }
        QCOMPARE(trace.count(row_line.toLatin1()), 8); // four rows, two shuffles
        QCOMPARE(kept_draws(), positions);

        // Every row got the same exchanges from the same starting order, so the
        // ranks still line up across the four rows.
        for (int s = 1; s < 4; ++s) {
            QList<int> ranks = list(buf_suit[s]);
            for (int &card : ranks)
                card -= 13 * s;
            QCOMPARE(ranks, list(buf_suit[0]));
        }
    }

private:
    // The last draws the window keeps: n1..n6, then nn1..nn24.
    QList<int> kept_draws() const
    {
        QList<int> kept;
        for (int i = 1; i <= kRowDraws + kTableDraws; ++i)
            kept << (i <= kRowDraws ? table->probe->n(i) : table->probe->nn(i - kRowDraws));
        return kept;
    }
    QByteArray judge(int x, int y)
    {
        return capture_stdout([&] {
            QVERIFY(QMetaObject::invokeMethod(table->window(), "Compare_cpu_user",
                                              Qt::DirectConnection, Q_ARG(int, x), Q_ARG(int, y)));
        });
    }
    QByteArray shuffle()
    {
        return capture_stdout([this] { table->probe->card_shuffle(); });
    }

    std::unique_ptr<TableFixture> table;
};

QTEST_MAIN(TestRules)
#include "test_rules.moc"
