// The game state shared by the window's steps: plain globals with static
// storage, zero at start except the suit rows and the exchange count.
#pragma once

extern int count;           // round number: 0 before the first deal, 1..5 in a match
extern int button_count;    // card buttons pressed in the round
extern int buf_n;           // cards the user has played in the match
extern int buf_user[6];     // card the user played in round n, at index n = 1..5
extern int buf_cpu[5];      // the CPU's cards of the round, in playing order
extern int cpu_cout;        // index into buf_cpu of the CPU's next card
extern int cpu_score;       // pairs won by the CPU in the match
extern int user_score;      // pairs won by the user in the match
extern int tie_score;       // tied pairs in the match
extern int buf_r[52];       // the match's deal table
extern int buf_suit[4][13]; // per-suit card order, kept between matches
extern int deck_swap_count; // deal-table exchanges over the whole run
