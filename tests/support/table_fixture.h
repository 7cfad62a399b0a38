// The game's window on screen for a test: sounds recorded instead of played,
// the shared game state reset, the game's pauses shortened, and the widgets a
// player uses found by the names the tests know them by.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

#include "tests/support/kestrano_probe.h"
#include "tests/support/recording_sound.h"
#include "tests/support/scripted_random.h"

class QAction;
class QLabel;
class QPushButton;
class QWidget;
class Kestrano;

class TableFixture
{
public:
    // Builds the window (what it prints is dropped) with the pauses scaled
    // by `delay_scale`; shuffles draw from the game's own random source.
    explicit TableFixture(double delay_scale = 0.01);
    // The same, with every shuffle taking `draws` in order (0 when empty).
    TableFixture(double delay_scale, const QList<int> &draws);
    // Puts the pauses back to their full length.
    ~TableFixture();
    TableFixture(const TableFixture &) = delete;
    TableFixture &operator=(const TableFixture &) = delete;

    // Shows the window and waits until it is on screen.
    [[nodiscard]] bool show_exposed();
    // Shows the window, activates it and waits until it has the focus.
    [[nodiscard]] bool show_active();

    Kestrano *window() const { return built.get(); }
    // Destroys the window at once, as main() does when its event loop has
    // returned; the recorded sounds, the draws and the pauses stay as they are.
    void destroy_window();

    QPushButton *button(const QString &name) const;
    QLabel *label(const QString &name) const;
    QPushButton *deal_button() const;
    QPushButton *open_button() const;
    QPushButton *card_button(int position) const;
    QLabel *user_card_label(int position) const;
    QLabel *cpu_card_label(int position) const;
    QLabel *round_label() const;
    // The "Game start" menu entry, found by its English text.
    QAction *start_action() const;

    // The start pause has run out: "Deal cards" is enabled.
    void end_start_delay();
    // Clicks `target` with the mouse; returns what the game printed meanwhile.
    QByteArray click(QWidget *target);
    // Lets the deal pause run out; returns what the deal printed.  A deal
    // that never comes fails the running test.
    QByteArray wait_for_deal();

    RecordingSoundPlayer sound;
    std::unique_ptr<ScriptedRandom> random; // only when the draws are given
    std::unique_ptr<KestranoProbe> probe;

private:
    std::unique_ptr<Kestrano> built;
};
