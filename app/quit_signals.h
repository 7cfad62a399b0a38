// The signals that end a session on Unix: SIGTERM (a logout, `kill`), SIGINT
// (Ctrl+C in the terminal) and SIGHUP (the terminal closed).  Elsewhere both
// calls do nothing.
#pragma once

class QApplication;

// From now on, such a signal closes the game as a confirmed "close" does:
// its windows close and the event loop returns 0, so main() ends normally
// and everything printed is written.  A second one while it closes ends the
// program at once.
void close_on_signals(QApplication &application);

// Called once the event loop has returned: any such signal ends the program
// at once, also while the last traces wait for a reader that does not read.
void end_at_once_on_signals();
