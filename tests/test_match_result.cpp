// The verdict box at the end of a match, and the clean slate after it.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
    void box_while_open();

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

    QTest::newRow("CPU wins 12 to 10 with 3 ties")
        << 12 << 10 << 3 << "CPU=12,User=10,tie=3 \n\nCPU Win,You lose";
    QTest::newRow("user wins 12 to 10 with 3 ties")
        << 10 << 12 << 3 << "CPU=10,User=12,tie=3 \n\nYou Win,CPU lose";
    QTest::newRow("CPU wins by one, no ties")
        << 13 << 12 << 0 << "CPU=13,User=12,tie=0 \n\nCPU Win,You lose";
    QTest::newRow("ties never decide: 10 to 10 with 5 ties")
        << 10 << 10 << 5 << "CPU=10,User=10,tie=5 \n\nYou CPU,You tie";
    QTest::newRow("ties never decide: one CPU win and 24 ties")
        << 1 << 0 << 24 << "CPU=1,User=0,tie=24 \n\nCPU Win,You lose";
    QTest::newRow("ties never decide: one user win and 24 ties")
        << 0 << 1 << 24 << "CPU=0,User=1,tie=24 \n\nYou Win,CPU lose";
    QTest::newRow("every pair a tie") << 0 << 0 << 25 << "CPU=0,User=0,tie=25 \n\nYou CPU,You tie";
    QTest::newRow("match cut short before any pair")
        << 0 << 0 << 0 << "CPU=0,User=0,tie=0 \n\nYou CPU,You tie";
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

    ModalAnswer *answer = answer_next_box(QMessageBox::Ok);
    const QByteArray out = capture_stdout([&] { probe.match_result(); });

    QVERIFY(answer->answered);
    QCOMPARE(answer->title, QStringLiteral("information"));
    QCOMPARE(answer->text, text);
    QCOMPARE(out, QByteArray());
    QCOMPARE(cpu_score, 0);
    QCOMPARE(user_score, 0);
    QCOMPARE(tie_score, 0);
    QCOMPARE(table->label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QCOMPARE(probe.score_text(), QStringLiteral("CPU=0,User=0,tie=0"));
    QVERIFY(probe.start_action()->isEnabled());
    QVERIFY(table->sound.played.isEmpty());
}

void MatchResultTest::box_while_open()
{
    // While the box is up the tallies still hold the match (timers that fire
    // meanwhile see them), and "Game start" is already available again.
    KestranoProbe &probe = *table->probe;
    cpu_score = 3;
    user_score = 7;
    tie_score = 2;

    struct Seen
    {
        bool open = false;
        QWidget *parent = nullptr;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int cpu = -1, user = -1, tie = -1;
        bool start_enabled = false;
    } seen;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        seen = {true,
                box->parentWidget(),
                box->standardButtons(),
                box->icon(),
                cpu_score,
                user_score,
                tie_score,
                probe.start_action()->isEnabled()};
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    poll.start();

    probe.match_result();

    QVERIFY(seen.open);
    QCOMPARE(seen.parent, table->window());
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.cpu, 3);
    QCOMPARE(seen.user, 7);
    QCOMPARE(seen.tie, 2);
    QVERIFY(seen.start_enabled);
    QCOMPARE(cpu_score, 0);
    QCOMPARE(user_score, 0);
    QCOMPARE(tie_score, 0);
}

QTEST_MAIN(MatchResultTest)
#include "test_match_result.moc"
