// Runs another program, or this test program again with one test function,
// as a child process: a crash or a hang fails the case that started it
// instead of ending the whole test.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

struct ChildRun
{
    QString program;
    QStringList arguments;
    QString folder;          // working directory; the current one when empty
    QStringList environment; // "NAME=value" is set, a bare "NAME" removed
    int limit_ms = 60000;    // a child still running then has hung
    // For a child that does not end by itself: once its output so far
    // satisfies `up`, it is watched `settle_ms` longer and then stopped.
    std::function<bool(const QByteArray &)> up;
    int settle_ms = 300;
    // Standard output on a pseudo-terminal (raw: bytes as printed) instead of
    // a pipe; a child that came up is then stopped by SIGTERM, as a closed
    // terminal would, so that what it still holds comes out.  Needs `up`.
    bool terminal = false;
};

struct ChildResult
{
    bool started = false;
    bool hung = false;    // still running at the limit, or before `up` held
    bool crashed = false; // ended by a signal
    bool ended = false;   // ended by itself (also before `up` held)
    int exit_code = -1;
    QByteArray out;
    QByteArray out_before_stop; // what it had printed when it was stopped
    QByteArray err;

    // Ended by itself with exit code 0; with a test function, that function passed.
    [[nodiscard]] bool passed(const char *test_function = nullptr) const;
    // Came up (see ChildRun::up) and was still running after it.
    [[nodiscard]] bool stayed_up() const { return started && !ended && !hung; }
    // For failure messages: how it ended and the end of what it printed.
    QByteArray report() const;
};

[[nodiscard]] ChildResult run_child(const ChildRun &run);
// This test program again, running `test_function` only.
ChildRun rerun_of(const char *test_function);

// The real game, started as a player starts it (unbuffered, so that every
// trace byte is out while it runs) in `folder`: watched until its start-up
// trace has ended and `settle_ms` longer, then stopped.  On a `terminal`,
// started as it is, watched until its start-up trace is out but for the
// deal table's closing count, which has no line end.
[[nodiscard]] ChildResult start_up_game(const QString &folder, const QStringList &environment = {},
                                        int settle_ms = 300, bool terminal = false);
// What is wrong with a start-up trace, empty when nothing is: it must hold
// only the lines the window and its first shuffle print, the four suit rows'
// draws among them, and end with the deal table's closing count.
QString start_up_trace_problem(const QByteArray &output);
