#include "app/trace_writer.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Once the game has ended, how long a reader that takes nothing more is
// waited for before the rest is dropped.
constexpr int kLastReaderWaitMs = 3000;

} // namespace

struct TraceWriter::Pipe
{
    void drain_pipe();
    void write_out();
    [[nodiscard]] bool write_all(const std::string &bytes);
    [[nodiscard]] bool wait_for_room();

    int output = -1;   // the real standard output
    int pipe_end = -1; // the reading end of the pipe now on descriptor 1
    int wake[2] = {-1, -1};
    std::thread drainer;
    std::thread writer;
    std::mutex lock;
    std::condition_variable filled;
    std::string queue;
    bool drained = false;
    bool ending = false; // the writer's own: the game has ended
};

TraceWriter::TraceWriter() : pipe(std::make_unique<Pipe>())
{
    int ends[2];
    int *const wake = pipe->wake;
    if (pipe2(wake, O_CLOEXEC) != 0) {
        pipe.reset();
        return;
    }
    if (pipe2(ends, O_CLOEXEC) != 0) {
        close(wake[0]);
        close(wake[1]);
        pipe.reset();
        return;
    }
    const int output = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    // stdio buffers by what descriptor 1 is when it first prints: a terminal
    // gets each line as it is printed, as it did before the pipe came in.
    if (output != -1 && isatty(output))
        std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (output == -1 || dup2(ends[1], STDOUT_FILENO) == -1) {
        for (int descriptor : {ends[0], ends[1], wake[0], wake[1], output})
            close(descriptor);
        pipe.reset();
        return;
    }
    close(ends[1]);
    pipe->output = output;
    pipe->pipe_end = ends[0];
    pipe->drainer = std::thread(&Pipe::drain_pipe, pipe.get());
    pipe->writer = std::thread(&Pipe::write_out, pipe.get());
}

TraceWriter::~TraceWriter()
{
    if (!pipe)
        return;
    std::fflush(stdout);
    // Everything printed is in the pipe now.  A child the game started may
    // still hold the pipe open, so the drainer is told to stop rather than
    // left waiting for its end.
    dup2(pipe->output, STDOUT_FILENO);
    const char stop = 0;
    (void)!write(pipe->wake[1], &stop, 1);
    pipe->drainer.join();
    pipe->writer.join();
    for (int descriptor : {pipe->pipe_end, pipe->wake[0], pipe->wake[1], pipe->output})
        close(descriptor);
}

void TraceWriter::Pipe::drain_pipe()
{
    char buffer[4096];
    pollfd ready[2] = {{pipe_end, POLLIN, 0}, {wake[0], POLLIN, 0}};
    for (;;) {
        if (poll(ready, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (ready[1].revents != 0)
            fcntl(pipe_end, F_SETFL, fcntl(pipe_end, F_GETFL) | O_NONBLOCK);
        const ssize_t bytes = read(pipe_end, buffer, sizeof buffer);
        if (bytes > 0) {
            const std::lock_guard<std::mutex> hold(lock);
            queue.append(buffer, static_cast<size_t>(bytes));
            filled.notify_one();
            continue;
        }
        if (bytes < 0 && errno == EINTR)
            continue;
        // The end of the pipe, or told to stop and nothing left in it.
        break;
    }
    const std::lock_guard<std::mutex> hold(lock);
    drained = true;
    filled.notify_one();
}

void TraceWriter::Pipe::write_out()
{
    bool reader_gone = false;
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
        filled.wait(hold, [this] { return !queue.empty() || drained; });
        if (queue.empty())
            return;
        std::string bytes;
        bytes.swap(queue);
        hold.unlock();
        // When the reader has gone (EPIPE: SIGPIPE is ignored), or takes no
        // more once the game has ended, the rest is dropped, while the
        // drainer keeps the pipe empty for the game.
        if (!reader_gone)
            reader_gone = !write_all(bytes);
        hold.lock();
    }
}

// The real standard output may be shared with other programs (a terminal),
// so it stays blocking: a write waits for room first, and a piece of at most
// PIPE_BUF bytes then goes into a pipe without blocking.
bool TraceWriter::Pipe::write_all(const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        if (!wait_for_room())
            return false;
        const size_t piece = std::min<size_t>(bytes.size() - done, PIPE_BUF);
        const ssize_t written = write(output, bytes.data() + done, piece);
        if (written < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// While the game runs, as long as the reader takes its time; once it has
// ended, kLastReaderWaitMs at most.  False when the reader took nothing for
// that long.
bool TraceWriter::Pipe::wait_for_room()
{
    for (;;) {
        pollfd ready[2] = {{output, POLLOUT, 0}, {wake[0], POLLIN, 0}};
        const int count = poll(ready, ending ? 1 : 2, ending ? kLastReaderWaitMs : -1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count == 0)
            return false;
        // Room, or an end or error that the write then meets.
        if (count < 0 || ready[0].revents != 0)
            return true;
        ending = true; // the stop byte stays in the wake pipe
    }
}
