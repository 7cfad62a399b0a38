#include "table/delays.h"

#include <cmath>

namespace {
double delay_scale = 1.0;
}

int game_delay(int ms)
{
    return static_cast<int>(std::lround(ms * delay_scale));
}

void set_delay_scale_for_tests(double scale)
{
    delay_scale = scale > 0 ? scale : 1.0;
}
