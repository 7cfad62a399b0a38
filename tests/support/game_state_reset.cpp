#include "tests/support/game_state_reset.h"

#include <algorithm>
#include <iterator>

#include "table/game_state.h"

void reset_game_state()
{
    count = 0;
    button_count = 0;
    buf_n = 0;
    std::fill(std::begin(buf_user), std::end(buf_user), 0);
    std::fill(std::begin(buf_cpu), std::end(buf_cpu), 0);
    cpu_cout = 0;
    cpu_score = 0;
    user_score = 0;
    tie_score = 0;
    std::fill(std::begin(buf_r), std::end(buf_r), 0);
    for (int s = 0; s < 4; ++s) {
        for (int k = 0; k < 13; ++k)
            buf_suit[s][k] = 13 * s + k + 1;
    }
    deck_swap_count = 1;
}
