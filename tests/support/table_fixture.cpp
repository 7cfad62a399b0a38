#include "tests/support/table_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "table/delays.h"
#include "table/kestrano.h"
#include "tests/support/game_state_reset.h"
#include "tests/support/stdout_capture.h"

TableFixture::TableFixture(double delay_scale)
{
    reset_game_state();
    set_delay_scale_for_tests(delay_scale);
    capture_stdout([this] { built = std::make_unique<Kestrano>(); });
    probe = std::make_unique<KestranoProbe>(*built);
}

TableFixture::TableFixture(double delay_scale, const QList<int> &draws)
{
    reset_game_state();
    set_delay_scale_for_tests(delay_scale);
    random = std::make_unique<ScriptedRandom>(draws);
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

QPushButton *TableFixture::deal_button() const
{
    return button(QStringLiteral("deal_button"));
}

QPushButton *TableFixture::open_button() const
{
    return button(QStringLiteral("cpu_open_button"));
}

QPushButton *TableFixture::card_button(int position) const
{
    return button(QStringLiteral("push_button%1").arg(position));
}

QLabel *TableFixture::user_card_label(int position) const
{
    return label(QStringLiteral("user_card_label%1").arg(position));
}

QLabel *TableFixture::cpu_card_label(int position) const
{
    return label(QStringLiteral("cpu_card_label%1").arg(position));
}

QLabel *TableFixture::round_label() const
{
    return label(QStringLiteral("round_label"));
}

QAction *TableFixture::start_action() const
{
    for (QAction *action : built->findChildren<QAction *>()) {
        if (action->text() == QLatin1String("Game start"))
            return action;
    }
    return nullptr;
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
    bool dealt = false;
    QByteArray trace = capture_stdout(
        [&] { dealt = QTest::qWaitFor([this] { return round_label()->isHidden(); }); });
    QTest::qVerify(dealt, "dealt", "the deal never came", __FILE__, __LINE__);
    return trace;
}
