// The three standard streams of a program started with one of them closed
// (`kestrano >&-`), or whose output's reader goes away.
#pragma once

// Where the system has numbered descriptors, opens each of 0, 1 and 2 that is
// closed on /dev/null, and makes a write to a reader that has gone away fail
// instead of ending the program (SIGPIPE ignored), so that a game in progress
// goes on.  Must run before anything else opens a file: the first connection
// opened (the X server's) would otherwise take the free number, and the
// game's traces or Qt's warnings would be written into it.
void open_standard_streams();
