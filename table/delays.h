// The game's three pauses.  Tests may run them faster; the player cannot.
// Each runs on a precise timer: Qt would make a timer of 2 s or more a coarse
// one, which may end 5 % early.
#pragma once

constexpr int kStartDelayMs = 6500;  // game start to "Deal cards"
constexpr int kDealDelayMs = 1200;   // "Deal cards" to the deal
constexpr int kNoticeDelayMs = 2000; // a result notice on screen

// `ms` scaled by the factor tests have set (1 in the game).
int game_delay(int ms);
void set_delay_scale_for_tests(double scale);
