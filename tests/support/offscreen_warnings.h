// The offscreen platform warns each time a message box is shown; tests that
// show boxes drop that warning and pass every other message on.
#pragma once

// Installs the filter in front of the current message handler.
void drop_offscreen_warnings();
// Puts the handler from before drop_offscreen_warnings() back.
void keep_offscreen_warnings();
