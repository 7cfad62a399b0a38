// The match shuffle, run by the window with its status-bar messages.
#include "table/kestrano.h"

#include <QStatusBar>

#include "cards/shuffle.h"
#include "table/game_state.h"

void Kestrano::card_shuffle()
{
    statusBar()->showMessage(tr("It is shuffuling now"), 0);

    for (auto &row : buf_suit) {
        int n[kRowDraws];
        shuffle_row(row, n);
        for (int i = 0; i < kRowDraws; ++i)
            this->*kRowPositions[i] = n[i];
    }

    int nn[kTableDraws];
    shuffle_table(buf_r, buf_suit, nn, deck_swap_count);
    for (int i = 0; i < kTableDraws; ++i)
        this->*kTablePositions[i] = nn[i];

    statusBar()->showMessage(tr("It has shuffuled Ok"), 0);
}
