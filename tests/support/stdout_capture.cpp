#include "tests/support/stdout_capture.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

// QtTest logs Qt's warnings on standard output; while the game's output is
// captured they go to standard error, where the game itself sends them.
void to_stderr(QtMsgType, const QMessageLogContext &, const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

QByteArray capture_stdout(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        qFatal("cannot open a temporary file for standard output");
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    dup2(file.handle(), STDOUT_FILENO);
    const QtMessageHandler previous = qInstallMessageHandler(to_stderr);
    action();
    qInstallMessageHandler(previous);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    file.seek(0);
    return file.readAll();
}
