// Deal tables laid out by hand, for tests that choose the cards dealt.
#pragma once

#include <QList>
#include <QString>

// The demonstration match: ten cards a round (the user's five, then the
// CPU's, dealt to positions 1 to 5), and the two cards never dealt.
// clang-format off
constexpr int kDemoDeal[52] = {
     1, 24, 38, 43, 10,   52, 27, 13, 20, 35, // A, J, Q, 4, 10 of S, C, H, D, S / K D, A H, K S, 7 C, 9 H
     2,  3,  4,  5,  6,    7,  8,  9, 11, 12, // round 2: spades 2..6 / 7..Q
    14, 15, 16, 17, 18,   19, 21, 22, 23, 25, // round 3: clubs A..5 / 6, 8, 9, 10, Q
    26, 28, 29, 30, 31,   32, 33, 34, 36, 37, // round 4: K C, hearts 2..5 / 6, 7, 8, 10, J
    39, 40, 41, 42, 44,   45, 46, 47, 48, 49, // round 5: K H, diamonds A, 2, 3, 5 / 6..10
    50, 51,
};
// The order the user plays each round's positions in.
constexpr int kDemoOrders[5][5] = {{3, 1, 5, 2, 4}, {5, 4, 3, 2, 1}, {2, 4, 1, 5, 3}, {4, 1, 3, 5, 2}, {1, 2, 3, 4, 5}};
// clang-format on
// Draws for the shuffles of a demonstration table, the same in every game.
inline const QList<int> kDemoDraws = {5, 11, 2, 8, 0, 7, 3, 10, 1, 9, 4, 6, 13, 29, 40, 17};

// Lays a deal table holding `cards` from entry `first` on and the other card
// numbers, in ascending order, everywhere else.
void lay_deal_table(int first, const QList<int> &cards);
// The deal table holds every card number once.
bool deal_table_is_a_deck();
// The deal table is the suit rows end to end, 1..52: a shuffle whose draws
// were all 0.
bool deal_table_is_rows_end_to_end();
// "1,3,5": positions or card numbers for a row name or a state line.
QString joined(const QList<int> &values);
