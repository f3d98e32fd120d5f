#pragma once

#include <QStringList>
#include <QTextStream>

#include <iostream>

namespace cli {

// Exit codes of a line run. A script file run (--vbs) exits with the script's own code.
enum ExitCode { PieceRan = 0, NothingRan = 1, UsageError = 2, MemoNotFiled = 3, ScriptStopped = 4 };

// Runs scrivlet-cli with the arguments after the program name; writes results to `out` and
// messages to `err`, reads what scripts ask for with InputBox from `in`; returns the exit code.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err,
           std::istream& in = std::cin);

} // namespace cli
