#include "tests/support/stdout_capture.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

QByteArray capture_stdout(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        qFatal("cannot open a temporary file for standard output");
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    dup2(file.handle(), STDOUT_FILENO);
    action();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    file.seek(0);
    return file.readAll();
}
