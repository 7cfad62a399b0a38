// Deal tables laid out by hand, for tests that choose the cards dealt.
#pragma once

#include <QList>

// Lays a deal table holding `cards` from entry `first` on and the other card
// numbers, in ascending order, everywhere else.
void lay_deal_table(int first, const QList<int> &cards);
