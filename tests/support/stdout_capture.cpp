#include "tests/support/stdout_capture.h"

#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

// While the game's output is captured, Qt's messages still reach QtTest's own
// handler (so QTest::ignoreMessage keeps working), but on the real standard
// output rather than in the middle of the game's.
QtMessageHandler test_handler = nullptr;
int real_stdout = -1;
std::vector<int> capture_files; // the innermost last

void to_real_stdout(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    std::fflush(stdout);
    dup2(real_stdout, STDOUT_FILENO);
    test_handler(type, context, message);
    std::fflush(stdout);
    dup2(capture_files.back(), STDOUT_FILENO);
}

} // namespace

QByteArray capture_stdout(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        qFatal("cannot open a temporary file for standard output");
    std::fflush(stdout);
    const int before = dup(STDOUT_FILENO);
    if (capture_files.empty()) {
        real_stdout = before;
        test_handler = qInstallMessageHandler(to_real_stdout);
    }
    capture_files.push_back(file.handle());
    dup2(file.handle(), STDOUT_FILENO);
    action();
    std::fflush(stdout);
    capture_files.pop_back();
    if (capture_files.empty())
        qInstallMessageHandler(test_handler);
    dup2(before, STDOUT_FILENO);
    close(before);
    file.seek(0);
    QByteArray printed = file.readAll();
    if (!capture_files.empty() && !printed.isEmpty())
        (void)!write(STDOUT_FILENO, printed.constData(), printed.size());
    return printed;
}
