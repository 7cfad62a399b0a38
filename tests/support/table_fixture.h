// The one driver every test plays the game with.  A TableFixture is the
// game's window with sounds recorded instead of played, the shared game state
// reset and the pauses shortened; its steps play as a player does, through
// real clicks and keys on the widgets, and each returns whether it could be
// taken, so that the test asserts at its own line:
//
//   show_exposed(), show_active()  the window on screen (active: keys reach it)
//   lay_demo_deal()                the demonstration match's deal table
//   start_game()                   Ctrl+B, then the start pause runs out
//   deal()                         "Deal cards" pressed, the deal waited for
//   deal_round(round, cards)       the same for a chosen round and hands
//   press(widget), press_key(key)  a button the player can press, by mouse or key
//   play_pair(position)            a card button, then "Card open"
//   play_round(order)              five pairs, the positions in the given order
//   play_to(phase)                 a fresh table played to a named phase of the
//                                  demonstration match (kPhases)
//   finish_match(answer)           the sixth "Deal cards"; the verdict box answered
//   settle()                       the deal and the notice on screen have run out
//
// A step that cannot be taken says why (a warning) and returns false.  What
// the game prints during the steps gathers in `trace`.  Widgets are found by
// their object names and menu entries by their text, as a player or a screen
// reader knows them (windows.h has the rest: pressable, top-level windows,
// closing by the frame); the probe reaches only the window's private state.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMessageBox>
#include <QMetaType>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "tests/support/deal_table.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/recording_sound.h"
#include "tests/support/scripted_random.h"

class QAction;
class QLabel;
class QPushButton;
class QWidget;
class Kestrano;

// The phases of the demonstration match that play_to() reaches.  In the
// phases inside a pause, the pause is left at full length so that it does
// not end during the test.
enum class Phase
{
    BeforeStart,
    StartDelay,
    AfterStartDelay,
    DealDelay,
    AfterDeal,
    AfterPress,       // the card at position 3 pressed
    AfterOpen,        // opened against it; the notice is on screen
    AfterSecondPress, // then the card at position 1 pressed
    AfterFifthOpen,
    NextDealDelay,
    AfterLastOpen, // the 25th pair opened
    AfterMatch,    // the verdict answered
};
Q_DECLARE_METATYPE(Phase)

struct PhaseInfo
{
    Phase phase;
    const char *name;
    bool in_pause;
};

// clang-format off
constexpr PhaseInfo kPhases[] = {
    {Phase::BeforeStart,      "before game start",              false},
    {Phase::StartDelay,       "during the start delay",         true},
    {Phase::AfterStartDelay,  "after the start delay",          false},
    {Phase::DealDelay,        "during the deal delay",          true},
    {Phase::AfterDeal,        "after the deal",                 false},
    {Phase::AfterPress,       "after pressing 3",               false},
    {Phase::AfterOpen,        "after opening against 3",        false},
    {Phase::AfterSecondPress, "after pressing 1 next",          false},
    {Phase::AfterFifthOpen,   "after the fifth open",           false},
    {Phase::NextDealDelay,    "during the second deal delay",   true},
    {Phase::AfterLastOpen,    "after the last open of a match", false},
    {Phase::AfterMatch,       "after the match",                false},
};
// clang-format on

constexpr const PhaseInfo &phase_info(Phase phase)
{
    return kPhases[static_cast<int>(phase)];
}

// Puts the shared game state back as it is when the program starts.
void reset_game_state();

class TableFixture
{
public:
    // Builds the window (what it prints is dropped) with the pauses scaled
    // by `delay_scale`; shuffles take `draws` in order (0 once they run out),
    // or without them draw from the game's own random source.
    explicit TableFixture(double delay_scale = 0.01,
                          const std::optional<QList<int>> &draws = std::nullopt);
    // Puts the pauses back to their full length.
    ~TableFixture();
    TableFixture(const TableFixture &) = delete;
    TableFixture &operator=(const TableFixture &) = delete;

    [[nodiscard]] bool show_exposed();
    [[nodiscard]] bool show_active();

    Kestrano *window() const { return built.get(); }
    // Destroys the window at once, as main() does when its event loop has
    // returned; the recorded sounds, the draws and the pauses stay as they are.
    void destroy_window();

    // Widgets by object name, menu entries by their (English) text.
    QPushButton *button(const QString &name) const;
    QLabel *label(const QString &name) const;
    QAction *action(const QString &text) const;
    QPushButton *deal_button() const { return button(QStringLiteral("deal_button")); }
    QPushButton *open_button() const { return button(QStringLiteral("cpu_open_button")); }
    QPushButton *card_button(int p) const { return button("push_button" + QString::number(p)); }
    QLabel *user_card_label(int p) const { return label("user_card_label" + QString::number(p)); }
    QLabel *cpu_card_label(int p) const { return label("cpu_card_label" + QString::number(p)); }
    QLabel *round_label() const { return label(QStringLiteral("round_label")); }
    QAction *start_action() const { return action(QStringLiteral("Game start")); }

    // The steps of play.
    void lay_demo_deal();
    [[nodiscard]] bool start_game();
    [[nodiscard]] bool deal();
    // Deals `round` holding `cards` (the user's hand, then the CPU's) through
    // "Deal cards", as after the previous round's last open.
    [[nodiscard]] bool deal_round(int round, const QList<int> &cards);
    [[nodiscard]] bool press(QWidget *target);
    // A key pressed on the window that has the keyboard, as a keyboard does.
    [[nodiscard]] bool press_key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    [[nodiscard]] bool play_pair(int position);
    [[nodiscard]] bool play_round(const int (&order)[5]);
    [[nodiscard]] bool play_to(Phase phase);
    // The verdict box's title and text are kept in `verdict_title` and `verdict`.
    [[nodiscard]] bool finish_match(QMessageBox::StandardButton answer = QMessageBox::Ok);
    [[nodiscard]] bool settle();

    // The start pause has run out: "Deal cards" is enabled.
    void end_start_delay();
    // Clicks `target` with the mouse, pressable or not; returns what the game
    // printed meanwhile (not added to `trace`).
    QByteArray click(QWidget *target);
    // Lets the deal pause run out; returns what the deal printed, or "<no
    // deal>" when it never comes.
    QByteArray wait_for_deal();

    QByteArray trace;
    int step_timeout_ms = 5000; // how long a step waits for the game
    QString verdict_title;
    QString verdict;
    RecordingSoundPlayer sound;
    std::unique_ptr<ScriptedRandom> random; // only when the draws are given
    std::unique_ptr<KestranoProbe> probe;

private:
    [[nodiscard]] bool started();
    [[nodiscard]] bool dealt();
    [[nodiscard]] bool wait(const char *what, const std::function<bool()> &condition);

    std::unique_ptr<Kestrano> built;
};
