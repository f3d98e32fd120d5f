#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

enum ExitCode { PieceRan = 0, NothingRan = 1, UsageError = 2 };

// Runs scrivlet-cli with the arguments after the program name; writes results to `out` and
// messages to `err`; returns the exit code.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace cli
