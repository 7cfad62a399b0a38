// The game's trace lines on standard output, written off the GUI thread.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// While it lives, descriptor 1 is a pipe that a thread of its own drains into
// memory at once, and a second thread writes what was drained, in order, to
// the real standard output.  So a reader that stops reading (`kestrano |
// less`, left alone) stalls only that second thread, never the game's
// printf().  When the reader goes away, what is left is dropped.
//
// Started by main() alone, before anything is printed; the tests read the
// game's output in their own process and do without it.
class TraceWriter
{
public:
    TraceWriter();
    // Flushes stdout and ends both threads once the real standard output has
    // taken all that was printed (or its reader has gone away).
    ~TraceWriter();

    TraceWriter(const TraceWriter &) = delete;
    TraceWriter &operator=(const TraceWriter &) = delete;

private:
    void drain_pipe();
    void write_out();

    int output = -1;   // the real standard output
    int pipe_end = -1; // the reading end of the pipe now on descriptor 1
    int wake[2] = {-1, -1};
    std::thread drainer;
    std::thread writer;
    std::mutex lock;
    std::condition_variable filled;
    std::string queue;
    bool drained = false;
};
