#include "tests/support/deal_table.h"

#include "table/game_state.h"

void lay_deal_table(int first, const QList<int> &cards)
{
    QList<int> rest;
    for (int card = 1; card <= 52; ++card) {
        if (!cards.contains(card))
            rest << card;
    }
    int next = 0;
    for (int i = 0; i < 52; ++i)
        buf_r[i] =
            i >= first && i < first + cards.size() ? cards.at(i - first) : rest.value(next++);
}
