// The verdict box at the end of a match, and the clean slate after it.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"

class MatchResultTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void verdict_data();
    void verdict();

private:
    std::unique_ptr<TableFixture> table;
};

void MatchResultTest::init()
{
    table = std::make_unique<TableFixture>(1.0);
    QVERIFY(table->show_exposed());
    // As during a match: the start command is locked.
    table->probe->start_action()->setEnabled(false);
}

void MatchResultTest::cleanup()
{
    table.reset();
}

void MatchResultTest::verdict_data()
{
    QTest::addColumn<int>("cpu");
    QTest::addColumn<int>("user");
    QTest::addColumn<int>("tie");
    QTest::addColumn<QString>("text");

    // clang-format off
    QTest::newRow("CPU wins 12 to 10 with 3 ties") << 12 << 10 << 3 << "CPU=12,User=10,tie=3 \n\nCPU Win,You lose";
    QTest::newRow("user wins 12 to 10 with 3 ties") << 10 << 12 << 3 << "CPU=10,User=12,tie=3 \n\nYou Win,CPU lose";
    QTest::newRow("CPU wins by one, no ties") << 13 << 12 << 0 << "CPU=13,User=12,tie=0 \n\nCPU Win,You lose";
    QTest::newRow("ties never decide: 10 to 10 with 5 ties") << 10 << 10 << 5 << "CPU=10,User=10,tie=5 \n\nYou CPU,You tie";
    QTest::newRow("ties never decide: one CPU win and 24 ties") << 1 << 0 << 24 << "CPU=1,User=0,tie=24 \n\nCPU Win,You lose";
    QTest::newRow("ties never decide: one user win and 24 ties") << 0 << 1 << 24 << "CPU=0,User=1,tie=24 \n\nYou Win,CPU lose";
    QTest::newRow("every pair a tie") << 0 << 0 << 25 << "CPU=0,User=0,tie=25 \n\nYou CPU,You tie";
    QTest::newRow("match cut short before any pair") << 0 << 0 << 0 << "CPU=0,User=0,tie=0 \n\nYou CPU,You tie";
    // clang-format on
}

void MatchResultTest::verdict()
{
    QFETCH(int, cpu);
    QFETCH(int, user);
    QFETCH(int, tie);
    QFETCH(QString, text);
    KestranoProbe &probe = *table->probe;
    cpu_score = cpu;
    user_score = user;
    tie_score = tie;

    // While the box is up the tallies still hold the match (timers that fire
    // meanwhile see them), and "Game start" is already available again.
    struct
    {
        int cpu = -1, user = -1, tie = -1;
        bool start_enabled = false;
    } meanwhile;
    const ModalAnswer *box = answer_next_box(QMessageBox::Ok, 0, [&] {
        meanwhile = {cpu_score, user_score, tie_score, probe.start_action()->isEnabled()};
    });
    const QByteArray out = capture_stdout([&] { probe.match_result(); });

    QVERIFY(box->answered);
    QCOMPARE(box->title, QStringLiteral("information"));
    QCOMPARE(box->text, text);
    QCOMPARE(box->parent, table->window());
    QCOMPARE(box->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box->icon, QMessageBox::Information);
    QCOMPARE(meanwhile.cpu, cpu);
    QCOMPARE(meanwhile.user, user);
    QCOMPARE(meanwhile.tie, tie);
    QVERIFY(meanwhile.start_enabled);
    QCOMPARE(out, QByteArray());
    QCOMPARE(cpu_score, 0);
    QCOMPARE(user_score, 0);
    QCOMPARE(tie_score, 0);
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QCOMPARE(probe.score_text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY(probe.start_action()->isEnabled());
    QVERIFY(table->sound.played.isEmpty());
}

QTEST_MAIN(MatchResultTest)
#include "test_match_result.moc"
