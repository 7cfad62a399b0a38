#include "tests/support/table_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <iterator>

#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/windows.h"

void reset_game_state()
{
    count = 0;
    button_count = 0;
    buf_n = 0;
    std::fill(std::begin(buf_user), std::end(buf_user), 0);
    std::fill(std::begin(buf_cpu), std::end(buf_cpu), 0);
    cpu_cout = 0;
    cpu_score = 0;
    user_score = 0;
    tie_score = 0;
    std::fill(std::begin(buf_r), std::end(buf_r), 0);
    for (int s = 0; s < 4; ++s) {
        for (int k = 0; k < 13; ++k)
            buf_suit[s][k] = 13 * s + k + 1;
    }
    deck_swap_count = 1;
}

TableFixture::TableFixture(double delay_scale, const std::optional<QList<int>> &draws)
{
    reset_game_state();
    set_delay_scale_for_tests(delay_scale);
    if (draws)
        random = std::make_unique<ScriptedRandom>(*draws);
    capture_stdout([this] { built = std::make_unique<Kestrano>(); });
    probe = std::make_unique<KestranoProbe>(*built);
}

TableFixture::~TableFixture()
{
    destroy_window();
    random.reset();
    set_delay_scale_for_tests(1.0);
}

void TableFixture::destroy_window()
{
    probe.reset();
    built.reset();
}

bool TableFixture::show_exposed()
{
    built->show();
    return QTest::qWaitForWindowExposed(built.get());
}

bool TableFixture::show_active()
{
    built->show();
    built->activateWindow();
    return QTest::qWaitForWindowActive(built.get());
}

QPushButton *TableFixture::button(const QString &name) const
{
    return built->findChild<QPushButton *>(name);
}

QLabel *TableFixture::label(const QString &name) const
{
    return built->findChild<QLabel *>(name);
}

QAction *TableFixture::action(const QString &text) const
{
    for (QAction *action : built->findChildren<QAction *>()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

void TableFixture::lay_demo_deal()
{
    std::copy(std::begin(kDemoDeal), std::end(kDemoDeal), buf_r);
}

bool TableFixture::wait(const char *what, const std::function<bool()> &condition)
{
    bool reached = false;
    trace += capture_stdout([&] { reached = QTest::qWaitFor(condition, step_timeout_ms); });
    if (!reached)
        qWarning("the table never reached this: %s", what);
    return reached;
}

bool TableFixture::start_game()
{
    return press_key(Qt::Key_B, Qt::ControlModifier) && started();
}

bool TableFixture::started()
{
    return wait("\"Deal cards\" enabled after game start",
                [this] { return deal_button()->isEnabled(); });
}

bool TableFixture::deal()
{
    return press(deal_button()) && dealt();
}

bool TableFixture::deal_round(int round, const QList<int> &cards)
{
    lay_deal_table(10 * (round - 1), cards);
    count = round - 1;
    button_count = round == 1 ? 0 : 5;
    end_start_delay();
    return deal() && count == round;
}

bool TableFixture::dealt()
{
    return wait("the deal after \"Deal cards\"", [this] { return round_label()->isHidden(); });
}

bool TableFixture::press(QWidget *target)
{
    if (!target || !pressable(target)) {
        qWarning("%s cannot be pressed", target ? qPrintable(target->objectName()) : "(none)");
        return false;
    }
    trace += click(target);
    return true;
}

bool TableFixture::press_key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWindow *focus = QGuiApplication::focusWindow();
    QWindow *target = focus ? focus : built->windowHandle();
    if (!target) {
        qWarning("no window takes the key");
        return false;
    }
    trace += capture_stdout([=] { QTest::keyClick(target, key, modifiers); });
    return true;
}

bool TableFixture::play_pair(int position)
{
    return press(card_button(position)) && press(open_button());
}

bool TableFixture::play_round(const int (&order)[5])
{
    return std::all_of(std::begin(order), std::end(order),
                       [this](int position) { return play_pair(position); });
}

bool TableFixture::play_to(Phase phase)
{
    bool ok = true;
    // Whether play stops after a step: the step failed, or `phase` is reached.
    const auto stop = [&ok, phase](bool taken, Phase here) {
        ok = taken;
        return !ok || phase == here;
    };
    // The pause that runs in `phase` keeps its full length, so that it does
    // not end during the test.
    const auto full_pause_in = [phase](Phase here) {
        if (phase == here)
            set_delay_scale_for_tests(1.0);
    };
    const int(&first)[5] = kDemoOrders[0];
    if (phase == Phase::BeforeStart)
        return true;
    full_pause_in(Phase::StartDelay);
    if (stop(press_key(Qt::Key_B, Qt::ControlModifier), Phase::StartDelay) ||
        stop(started(), Phase::AfterStartDelay))
        return ok;
    full_pause_in(Phase::DealDelay);
    if (stop(press(deal_button()), Phase::DealDelay) || stop(dealt(), Phase::AfterDeal) ||
        stop(press(card_button(first[0])), Phase::AfterPress) ||
        stop(press(open_button()), Phase::AfterOpen) ||
        stop(press(card_button(first[1])), Phase::AfterSecondPress) ||
        stop(press(open_button()) && play_pair(first[2]) && play_pair(first[3]) &&
                 play_pair(first[4]),
             Phase::AfterFifthOpen))
        return ok;
    full_pause_in(Phase::NextDealDelay);
    if (stop(press(deal_button()), Phase::NextDealDelay))
        return ok;
    for (int round = 2; round <= 5; ++round) {
        if ((round > 2 && !press(deal_button())) || !dealt() || !play_round(kDemoOrders[round - 1]))
            return false;
    }
    // The last notice goes away, so that no timer is left to race the test.
    if (stop(settle(), Phase::AfterLastOpen))
        return ok;
    return finish_match();
}

bool TableFixture::finish_match(QMessageBox::StandardButton answer)
{
    ModalAnswer *box = answer_next_box(answer);
    if (!press(deal_button()))
        return false;
    verdict_title = box->title;
    verdict = box->text;
    if (!box->answered)
        qWarning("no verdict box after the match");
    return box->answered;
}

bool TableFixture::settle()
{
    return wait("the end of the deal and notice pauses", [this] {
        return round_label()->isHidden() && label(QStringLiteral("result_label"))->text().isEmpty();
    });
}

void TableFixture::end_start_delay()
{
    QMetaObject::invokeMethod(built.get(), "Beginer_start_timer");
}

QByteArray TableFixture::click(QWidget *target)
{
    return capture_stdout([target] { QTest::mouseClick(target, Qt::LeftButton); });
}

QByteArray TableFixture::wait_for_deal()
{
    const qsizetype from = trace.size();
    if (!dealt())
        trace += "<no deal>";
    QByteArray printed = trace.mid(from);
    trace.truncate(from);
    return printed;
}
