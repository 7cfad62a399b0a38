// Captures what the game prints on standard output while a piece of code runs.
#pragma once

#include <QByteArray>

#include <functional>

// Runs `action` with file descriptor 1 sent to a temporary file and returns
// every byte printed meanwhile.  Captures nest: what an inner capture takes
// reaches the enclosing one too.
QByteArray capture_stdout(const std::function<void()> &action);
