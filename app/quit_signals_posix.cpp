#include "app/quit_signals.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t closing = 0;
int wake[2] = {-1, -1};

// Only async-signal-safe calls here: the GUI thread hears of the signal
// through the pipe.
void on_signal(int number)
{
    if (closing) {
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
    closing = 1;
    const int saved = errno;
    const char byte = 0;
    (void)!write(wake[1], &byte, 1);
    errno = saved;
}

void catch_signals()
{
    struct sigaction action = {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        sigaction(number, &action, nullptr);
}

} // namespace

void close_on_signals(QApplication &application)
{
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(wake[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [notifier] {
        notifier->setEnabled(false);
        QApplication::closeAllWindows();
        // Also leaves a question or message box that is open.
        QCoreApplication::exit(0);
    });
    catch_signals();
}

void end_at_once_on_signals()
{
    closing = 1;
}
