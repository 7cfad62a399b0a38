#include "app/trace_writer.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

bool write_all(int descriptor, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

} // namespace

TraceWriter::TraceWriter()
{
    int ends[2];
    if (pipe2(wake, O_CLOEXEC) != 0)
        return;
    if (pipe2(ends, O_CLOEXEC) != 0) {
        close(wake[0]);
        close(wake[1]);
        wake[0] = wake[1] = -1;
        return;
    }
    output = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    // stdio buffers by what descriptor 1 is when it first prints: a terminal
    // gets each line as it is printed, as it did before the pipe came in.
    if (output != -1 && isatty(output))
        std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (output == -1 || dup2(ends[1], STDOUT_FILENO) == -1) {
        for (int descriptor : {ends[0], ends[1], wake[0], wake[1], output})
            close(descriptor);
        output = wake[0] = wake[1] = -1;
        return;
    }
    close(ends[1]);
    pipe_end = ends[0];
    drainer = std::thread(&TraceWriter::drain_pipe, this);
    writer = std::thread(&TraceWriter::write_out, this);
}

TraceWriter::~TraceWriter()
{
    if (pipe_end == -1)
        return;
    std::fflush(stdout);
    // Everything printed is in the pipe now.  A child the game started may
    // still hold the pipe open, so the drainer is told to stop rather than
    // left waiting for its end.
    dup2(output, STDOUT_FILENO);
    const char stop = 0;
    (void)!write(wake[1], &stop, 1);
    drainer.join();
    writer.join();
    for (int descriptor : {pipe_end, wake[0], wake[1], output})
        close(descriptor);
}

void TraceWriter::drain_pipe()
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

void TraceWriter::write_out()
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
        // When the reader has gone (EPIPE: SIGPIPE is ignored), the rest is
        // dropped, while the drainer keeps the pipe empty for the game.
        if (!reader_gone)
            reader_gone = !write_all(output, bytes);
        hold.lock();
    }
}
