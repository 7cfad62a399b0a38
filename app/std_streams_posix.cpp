#include "app/std_streams.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

void open_standard_streams()
{
    // The traces go to standard output; a reader that has gone away must not
    // end a game in progress.
    std::signal(SIGPIPE, SIG_IGN);
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lower numbers are open by now, so this one is the lowest free.
        const int null = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null != -1 && null != descriptor) {
            dup2(null, descriptor);
            close(null);
        }
    }
}
