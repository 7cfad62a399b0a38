// The command line: --help, --version and a clear refusal of anything else.
#pragma once

#include <QStringList>

#include <optional>

// Answers --help (-h) and --version (-v) on standard output before anything
// needs a display, and returns the exit status 0; returns nothing when
// neither is asked for.
std::optional<int> answer_help_or_version(int argc, char **argv);

// To be given the arguments QApplication has left once it has taken its own
// (-platform, -style...): an option still there is unknown, said in one line
// on standard error, and the exit status is 2.  Returns nothing when all is
// well.
std::optional<int> refuse_unknown_options(const QStringList &arguments);
