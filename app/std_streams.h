// The three standard descriptors of a program started with one of them
// closed (`kestrano >&-`).
#pragma once

// Opens each of descriptors 0, 1 and 2 that is closed on /dev/null.  Must run
// before anything else opens a file: the first connection opened (the X
// server's) would otherwise take the free number, and the game's traces or
// Qt's warnings would be written into it.
void open_standard_streams();
