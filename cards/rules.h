// The rules of play that decide between outcomes: judging a pair of ranks,
// what a press of a card button does to the other buttons, and what an open
// gives back to the player.  Hand positions are 1..5.
#pragma once

// A set of hand positions, one bit per position.
using Positions = unsigned;

constexpr Positions position_bit(int position)
{
    return 1u << position;
}

// Judging a pair: x is the CPU's rank, y the user's.

// Ranks this far apart or more go to the higher card, closer ones to the lower.
constexpr int kFarApart = 6;

enum class Outcome
{
    Tie,
    Pattern1, // the CPU's rank is higher and far apart: the CPU wins
    Pattern2, // the CPU's rank is higher and close: the user wins
    Pattern3, // the user's rank is higher and far apart: the user wins
    Pattern4, // the user's rank is higher and close: the CPU wins
};

struct Judgement
{
    Outcome outcome;
    int distance; // the positive difference of the ranks
};

Judgement judge_pair(int x, int y);

// A press of a card button.  Each position has a table of rows, tried in
// order; a press numbered k matches the first row that names k - 1 other
// buttons, all of them already played (hidden).  The pressed button is then
// hidden and every other button outside the row is locked (disabled).

struct PressRow
{
    int hidden[4];                // the played buttons, as the table writes them; 0 ends them
    const char *lines[2];         // printed in order; nullptr for none
    bool visibility_line = false; // then the five buttons' visibility, no line end
};

// The row matched by press number `press` of the button at `position`
// while the buttons in `hidden` are hidden; nullptr when none matches.
const PressRow *match_press(int position, Positions hidden, int press);

// The buttons a row names.
Positions row_positions(const PressRow &row);

// What a press that matches no row prints instead; nullptr for nothing.
const char *unmatched_press_line(int position, int press);

// An open gives back the card buttons still in hand, or after the round's
// last card "Deal cards".

enum class Reenabled
{
    DealButton,         // "Card open" off, "Deal cards" on; no card button touched
    VisibleCardButtons, // every card button still visible
    Nothing,
};

struct OpenStep
{
    Reenabled reenabled;
    const char *line; // printed with the press count as its argument; nullptr for none
};

// The step for an open after `press` presses while the buttons in `hidden`
// are hidden.
OpenStep reenabling_step(int press, Positions hidden);
