// The game's trace lines on standard output, written off the GUI thread
// where the system lets a program put a pipe on its own descriptor 1.
#pragma once

#include <memory>

// While it lives, descriptor 1 is a pipe that a thread of its own drains into
// memory at once, and a second thread writes what was drained, in order, to
// the real standard output.  So a reader that stops reading (`kestrano |
// less`, left alone) stalls only that second thread, never the game's
// printf().  When the reader goes away, what is left is dropped.  Elsewhere
// it does nothing, and printf() writes straight to standard output.
//
// Started by main() alone, before anything is printed; the tests read the
// game's output in their own process and do without it.
class TraceWriter
{
public:
    TraceWriter();
    // Flushes stdout and ends both threads once the real standard output has
    // taken all that was printed, or its reader has gone away, or has taken
    // nothing for a few seconds: then the rest is dropped and the game ends.
    ~TraceWriter();

    TraceWriter(const TraceWriter &) = delete;
    TraceWriter &operator=(const TraceWriter &) = delete;

private:
    struct Pipe; // the pipe on descriptor 1 and its threads, where there are any
    std::unique_ptr<Pipe> pipe;
};
