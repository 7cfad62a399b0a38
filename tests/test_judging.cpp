// Judging one pair of opened cards: the rank rule, the tallies, the score
// line, the trace, the sound and the short result notice.
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "cards/rules.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"

namespace {

const QString kLoseSound = QStringLiteral("wave/12-1/lose_wav.wav");
const QString kWinSound = QStringLiteral("wave/12-1/win_vic.wav");
const QString kTieSound = QStringLiteral("wave/12-1/tie.wav");
const QString kLose = QStringLiteral("User lose");
const QString kWin = QStringLiteral("User win");
const QString kTie = QStringLiteral("This is tie It's no count");

} // namespace

class JudgingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void before_the_first_pair();
    void judging_rule_data();
    void judging_rule();
    void judging_a_pair_data();
    void judging_a_pair();
    void pairs_in_a_row();
    void pauses_end_on_time_data();
    void pauses_end_on_time();
    void earlier_timer_clears_later_notice();

private:
    QByteArray judge(int x, int y);

    std::unique_ptr<TableFixture> table;
};

void JudgingTest::init()
{
    table = std::make_unique<TableFixture>(1.0);
    QVERIFY(table->show_exposed());
    table->sound.played.clear();
}

void JudgingTest::cleanup()
{
    table.reset();
}

QByteArray JudgingTest::judge(int x, int y)
{
    bool invoked = false;
    const QByteArray out = capture_stdout([&] {
        invoked = QMetaObject::invokeMethod(table->window(), "Compare_cpu_user",
                                            Qt::DirectConnection, Q_ARG(int, x), Q_ARG(int, y));
    });
    if (!invoked)
        qWarning("Compare_cpu_user(int,int) could not be invoked");
    return out;
}

void JudgingTest::before_the_first_pair()
{
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY(!table->label("result_label")->isVisible());
}

void JudgingTest::judging_rule_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("distance");

    QTest::newRow("seven against seven: tie") << 7 << 7 << Outcome::Tie << 0;
    QTest::newRow("king against seven, difference 6: CPU wins")
        << 13 << 7 << Outcome::Pattern1 << 6;
    QTest::newRow("queen against seven, difference 5: user wins")
        << 12 << 7 << Outcome::Pattern2 << 5;
    QTest::newRow("ace against seven, difference 6: user wins") << 1 << 7 << Outcome::Pattern3 << 6;
    QTest::newRow("two against seven, difference 5: CPU wins") << 2 << 7 << Outcome::Pattern4 << 5;
    QTest::newRow("ace against king, difference 12: user wins")
        << 1 << 13 << Outcome::Pattern3 << 12;
    QTest::newRow("king against ace, difference 12: CPU wins")
        << 13 << 1 << Outcome::Pattern1 << 12;
    QTest::newRow("ace against six, difference 5: CPU wins") << 1 << 6 << Outcome::Pattern4 << 5;
    QTest::newRow("six against ace, difference 5: user wins") << 6 << 1 << Outcome::Pattern2 << 5;
    QTest::newRow("eight against seven, difference 1: user wins")
        << 8 << 7 << Outcome::Pattern2 << 1;
    QTest::newRow("seven against eight, difference 1: CPU wins")
        << 7 << 8 << Outcome::Pattern4 << 1;
    QTest::newRow("ranks outside ace to king judged alike") << 0 << 14 << Outcome::Pattern3 << 14;
}

void JudgingTest::judging_rule()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(Outcome, outcome);
    QFETCH(int, distance);

    const Judgement judgement = judge_pair(x, y);
    QCOMPARE(judgement.outcome, outcome);
    QCOMPARE(judgement.distance, distance);
}

// Each outcome on the table: tally, score line, trace, sound and notice.
void JudgingTest::judging_a_pair_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("cpu_before");
    QTest::addColumn<int>("user_before");
    QTest::addColumn<int>("tie_before");
    QTest::addColumn<QByteArray>("trace");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("label_when_sound_starts");
    QTest::addColumn<int>("cpu_after");
    QTest::addColumn<int>("user_after");
    QTest::addColumn<int>("tie_after");
    QTest::addColumn<QString>("score");

    // A tie shows its notice before its sound; the four patterns start the
    // sound while the label is still as it was.
    // clang-format off
    QTest::newRow("seven against seven: tie") << 7 << 7 << 0 << 0 << 0 << QByteArray("tie :3.CPU=0,User=0,tie=1") << kTieSound << kTie << kTie << 0 << 0 << 1 << "CPU=0,User=0,tie=1";
    QTest::newRow("king against seven, difference 6: CPU wins") << 13 << 7 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 1,x-y=6,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0") << kLoseSound << kLose << "" << 1 << 0 << 0 << "CPU=1,User=0,tie=0";
    QTest::newRow("queen against seven, difference 5: user wins") << 12 << 7 << 0 << 0 << 0 << QByteArray("!x==y\nPatern2,x-y=5,user win:CPU=0,User=1,tie=0\n1.CPU=0,User=1,tie=0") << kWinSound << kWin << "" << 0 << 1 << 0 << "CPU=0,User=1,tie=0";
    QTest::newRow("ace against seven, difference 6: user wins") << 1 << 7 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 3,y-x=6,user win:CPU=0,User=1,tie=0\n2.CPU=0,User=1,tie=0") << kWinSound << kWin << "" << 0 << 1 << 0 << "CPU=0,User=1,tie=0";
    QTest::newRow("two against seven, difference 5: CPU wins") << 2 << 7 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 4,y-x=5,cpu win:CPU=1,User=0,tie=0\n2.CPU=1,User=0,tie=0") << kLoseSound << kLose << "" << 1 << 0 << 0 << "CPU=1,User=0,tie=0";
    QTest::newRow("ace against king, difference 12: user wins") << 1 << 13 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 3,y-x=12,user win:CPU=0,User=1,tie=0\n2.CPU=0,User=1,tie=0") << kWinSound << kWin << "" << 0 << 1 << 0 << "CPU=0,User=1,tie=0";
    QTest::newRow("king against ace, difference 12: CPU wins") << 13 << 1 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 1,x-y=12,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0") << kLoseSound << kLose << "" << 1 << 0 << 0 << "CPU=1,User=0,tie=0";
    QTest::newRow("ace against six, difference 5: CPU wins") << 1 << 6 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 4,y-x=5,cpu win:CPU=1,User=0,tie=0\n2.CPU=1,User=0,tie=0") << kLoseSound << kLose << "" << 1 << 0 << 0 << "CPU=1,User=0,tie=0";
    QTest::newRow("six against ace, difference 5: user wins") << 6 << 1 << 0 << 0 << 0 << QByteArray("!x==y\nPatern2,x-y=5,user win:CPU=0,User=1,tie=0\n1.CPU=0,User=1,tie=0") << kWinSound << kWin << "" << 0 << 1 << 0 << "CPU=0,User=1,tie=0";
    QTest::newRow("eight against seven, difference 1: user wins") << 8 << 7 << 0 << 0 << 0 << QByteArray("!x==y\nPatern2,x-y=1,user win:CPU=0,User=1,tie=0\n1.CPU=0,User=1,tie=0") << kWinSound << kWin << "" << 0 << 1 << 0 << "CPU=0,User=1,tie=0";
    QTest::newRow("seven against eight, difference 1: CPU wins") << 7 << 8 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 4,y-x=1,cpu win:CPU=1,User=0,tie=0\n2.CPU=1,User=0,tie=0") << kLoseSound << kLose << "" << 1 << 0 << 0 << "CPU=1,User=0,tie=0";
    QTest::newRow("tenth CPU win written without padding") << 13 << 7 << 9 << 2 << 0 << QByteArray("!x==y\nPatern 1,x-y=6,cpu win:CPU=10,User=2,tie=0\n1.CPU=10,User=2,tie=0") << kLoseSound << kLose << "" << 10 << 2 << 0 << "CPU=10,User=2,tie=0";
    QTest::newRow("twelfth user win written without padding") << 2 << 12 << 3 << 11 << 9 << QByteArray("!x==y\nPatern 3,y-x=10,user win:CPU=3,User=12,tie=9\n2.CPU=3,User=12,tie=9") << kWinSound << kWin << "" << 3 << 12 << 9 << "CPU=3,User=12,tie=9";
    QTest::newRow("thirteenth tie written without padding") << 9 << 9 << 11 << 10 << 12 << QByteArray("tie :3.CPU=11,User=10,tie=13") << kTieSound << kTie << kTie << 11 << 10 << 13 << "CPU=11,User=10,tie=13";
    QTest::newRow("ranks outside ace to king judged alike") << 0 << 14 << 0 << 0 << 0 << QByteArray("!x==y\nPatern 3,y-x=14,user win:CPU=0,User=1,tie=0\n2.CPU=0,User=1,tie=0") << kWinSound << kWin << "" << 0 << 1 << 0 << "CPU=0,User=1,tie=0";
    // clang-format on
}

void JudgingTest::judging_a_pair()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, cpu_before);
    QFETCH(int, user_before);
    QFETCH(int, tie_before);
    QFETCH(QByteArray, trace);
    QFETCH(QString, sound);
    QFETCH(QString, notice);
    QFETCH(QString, label_when_sound_starts);
    QFETCH(int, cpu_after);
    QFETCH(int, user_after);
    QFETCH(int, tie_after);
    QFETCH(QString, score);

    cpu_score = cpu_before;
    user_score = user_before;
    tie_score = tie_before;
    QLabel *result = table->label("result_label");
    QStringList seen_at_sound;
    table->sound.on_play = [&](const QString &) { seen_at_sound << result->text(); };

    QCOMPARE(judge(x, y), trace);

    QCOMPARE(table->sound.played, QStringList{sound});
    QCOMPARE(seen_at_sound, QStringList{label_when_sound_starts});
    QVERIFY(result->isVisible());
    QCOMPARE(result->text(), notice);
    QCOMPARE(cpu_score, cpu_after);
    QCOMPARE(user_score, user_after);
    QCOMPARE(tie_score, tie_after);
    QCOMPARE(table->label("score_label")->text(), score);
    QCOMPARE(table->probe->score_text(), score);
}

void JudgingTest::pairs_in_a_row()
{
    // The tie's trace and the closing lines have no line end of their own,
    // so the next pair's trace runs on after them.
    const int pairs[][2] = {{7, 7}, {13, 7}, {12, 7}, {1, 7}, {2, 7}, {4, 4}};
    QByteArray out;
    for (const auto &pair : pairs)
        out += judge(pair[0], pair[1]);

    QCOMPARE(out, QByteArray("tie :3.CPU=0,User=0,tie=1"
                             "!x==y\nPatern 1,x-y=6,cpu win:CPU=1,User=0,tie=1\n"
                             "1.CPU=1,User=0,tie=1"
                             "!x==y\nPatern2,x-y=5,user win:CPU=1,User=1,tie=1\n"
                             "1.CPU=1,User=1,tie=1"
                             "!x==y\nPatern 3,y-x=6,user win:CPU=1,User=2,tie=1\n"
                             "2.CPU=1,User=2,tie=1"
                             "!x==y\nPatern 4,y-x=5,cpu win:CPU=2,User=2,tie=1\n"
                             "2.CPU=2,User=2,tie=1"
                             "tie :3.CPU=2,User=2,tie=2"));
    QCOMPARE(table->sound.played,
             (QStringList{kTieSound, kLoseSound, kWinSound, kWinSound, kLoseSound, kTieSound}));
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=2,User=2,tie=2"));
    QCOMPARE(table->label("result_label")->text(), kTie);
}

void JudgingTest::pauses_end_on_time_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<int>("pause");
    QTest::addColumn<QString>("during");
    QTest::addColumn<QString>("after");

    // The real pauses, checked 100 ms either side of their end.
    QTest::newRow("game start to Deal cards")
        << QByteArray("Beginer_start") << 6500 << "deal=0 notice="
        << "deal=1 notice=";
    QTest::newRow("tie notice") << QByteArray("user_cpu_tie_timer") << 2000
                                << "deal=0 notice=" + kTie << "deal=0 notice=";
    QTest::newRow("CPU-win notice")
        << QByteArray("lose_timer") << 2000 << "deal=0 notice=" + kLose << "deal=0 notice=";
    QTest::newRow("user-win notice")
        << QByteArray("win_timer") << 2000 << "deal=0 notice=" + kWin << "deal=0 notice=";
}

// Regression: timers of 2 s or more were coarse and could end up to 5 % early
// (the start pause 325 ms).
void JudgingTest::pauses_end_on_time()
{
    QFETCH(QByteArray, slot);
    QFETCH(int, pause);
    QFETCH(QString, during);
    QFETCH(QString, after);
    QLabel *result = table->label("result_label");
    auto seen = [&] {
        return QStringLiteral("deal=%1 notice=%2")
            .arg(int(table->deal_button()->isEnabled()))
            .arg(result->text());
    };

    QElapsedTimer clock;
    clock.start();
    QVERIFY(QMetaObject::invokeMethod(table->window(), slot.constData(), Qt::DirectConnection));
    QTest::qWait(int(pause - 100 - clock.elapsed()));
    QCOMPARE(seen(), during);
    QTest::qWait(int(pause + 100 - clock.elapsed()));
    QCOMPARE(seen(), after);
}

void JudgingTest::earlier_timer_clears_later_notice()
{
    // Notice timers are never cancelled: the first pair's timer empties the
    // label even when a second notice has come up since.
    QLabel *result = table->label("result_label");
    QElapsedTimer clock;

    judge(7, 7);
    clock.start();
    QCOMPARE(result->text(), kTie);
    QTest::qWait(1000);
    QCOMPARE(result->text(), kTie);

    judge(12, 7);
    const qint64 second_shown = clock.elapsed();
    QCOMPARE(result->text(), kWin);

    QTRY_COMPARE_WITH_TIMEOUT(result->text(), QString(), 5000);
    const qint64 cleared = clock.elapsed();
    // The second notice's own timer could not have fired before this.
    QVERIFY2(cleared < second_shown + 1900,
             qPrintable(QStringLiteral("second notice shown at %1 ms, cleared only at %2 ms")
                            .arg(second_shown)
                            .arg(cleared)));

    // The second timer later clears an already empty label.
    QTest::qWait(qMax(0, int(second_shown + 2300 - clock.elapsed())));
    QCOMPARE(result->text(), QString());
    QVERIFY(result->isVisible());
}

QTEST_MAIN(JudgingTest)
#include "test_judging.moc"
