// Puts the shared game state back as it is when the program starts.
#pragma once

void reset_game_state();
