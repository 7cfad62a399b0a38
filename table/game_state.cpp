#include "table/game_state.h"

int count = 0;
int button_count = 0;
int buf_n = 0;
int buf_user[6] = {};
int buf_cpu[5] = {};
int cpu_cout = 0;
int cpu_score = 0;
int user_score = 0;
int tie_score = 0;
int buf_r[52] = {};
int buf_suit[4][13] = {
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
    {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26},
    {27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39},
    {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52},
};
int deck_swap_count = 1;
