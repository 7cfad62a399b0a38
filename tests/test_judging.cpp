// Judging one pair of opened cards on the table: the tallies, the score line,
// the trace, the sound and the short result notice, and the pauses' timers.
#include <QDeadlineTimer>
#include <QLabel>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <tuple>

#include "table/delays.h"
#include "table/game_state.h"
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
    void init()
    {
        table = std::make_unique<TableFixture>(1.0);
        QVERIFY(table->show_exposed());
        table->sound.played.clear();
    }

    void cleanup() { table.reset(); }

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

private:
    QByteArray judge(int x, int y)
    {
        return capture_stdout([&] {
            QVERIFY(QMetaObject::invokeMethod(table->window(), "Compare_cpu_user",
                                              Qt::DirectConnection, Q_ARG(int, x), Q_ARG(int, y)));
        });
    }

    std::unique_ptr<TableFixture> table;
};

QTEST_MAIN(JudgingTest)
#include "test_judging.moc"
