#include "tests/support/stdout_capture.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

// While the game's output is captured, Qt's messages still reach QtTest's own
// handler (so QTest::ignoreMessage keeps working), but on the real standard
// output rather than in the middle of the game's.
QtMessageHandler test_handler = nullptr;
int real_stdout = -1;
int capture_file = -1;

void to_real_stdout(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    std::fflush(stdout);
    dup2(real_stdout, STDOUT_FILENO);
    test_handler(type, context, message);
    std::fflush(stdout);
    dup2(capture_file, STDOUT_FILENO);
}

} // namespace

QByteArray capture_stdout(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        qFatal("cannot open a temporary file for standard output");
    std::fflush(stdout);
    real_stdout = dup(STDOUT_FILENO);
    capture_file = file.handle();
    dup2(capture_file, STDOUT_FILENO);
    test_handler = qInstallMessageHandler(to_real_stdout);
    action();
    qInstallMessageHandler(test_handler);
    std::fflush(stdout);
    dup2(real_stdout, STDOUT_FILENO);
    close(real_stdout);
    file.seek(0);
    return file.readAll();
}
