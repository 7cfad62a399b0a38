// The match shuffle, run by the window with its status-bar messages.
#include "table/kestrano.h"

#include <QStatusBar>

#include "cards/shuffle.h"
#include "table/game_state.h"

void Kestrano::card_shuffle()
{
    statusBar()->showMessage(tr("It is shuffuling now"), 0);

    int *const row_draws[kRowDraws] = {&n1, &n2, &n3, &n4, &n5, &n6};
    for (auto &row : buf_suit) {
        int n[kRowDraws];
        shuffle_row(row, n);
        for (int i = 0; i < kRowDraws; ++i)
            *row_draws[i] = n[i];
    }

    int *const table_draws[kTableDraws] = {&nn1,  &nn2,  &nn3,  &nn4,  &nn5,  &nn6,  &nn7,  &nn8,
                                           &nn9,  &nn10, &nn11, &nn12, &nn13, &nn14, &nn15, &nn16,
                                           &nn17, &nn18, &nn19, &nn20, &nn21, &nn22, &nn23, &nn24};
    int nn[kTableDraws];
    shuffle_table(buf_r, buf_suit, nn, deck_swap_count);
    for (int i = 0; i < kTableDraws; ++i)
        *table_draws[i] = nn[i];

    statusBar()->showMessage(tr("It has shuffuled Ok"), 0);
}
