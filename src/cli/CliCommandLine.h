#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

namespace cli {

// Long enough for any real calculation, short enough that a script loop stuck in a shell pipeline
// or a cron job is noticed.
inline constexpr std::chrono::seconds kDefaultTimeLimit{10};

struct CliCommandLine {
    enum class Action { Run, RunScript, Find, Help, Version, UsageError };
    Action action = Action::UsageError;
    QString line;   // the words after the options, joined with single spaces
    QString folder; // --dir: the program folder to use instead of the automatic one
    bool dryRun = false;
    // --time-limit: how long one script run may stay busy before it is stopped; zero for no limit.
    std::chrono::milliseconds timeLimit = kDefaultTimeLimit;
    QString scriptFile;          // --vbs: the script file to run instead of a line
    QStringList scriptArguments; // the words after it, all for the script
    QString findText;            // --find: what to find in the memos
    QString memoTitle;           // --memo: the memo prose is filed into ("" for the first memo)
    QString error;               // why the command line was refused
};

// Parses the arguments after the program name.
CliCommandLine parseCommandLine(const QStringList& arguments);

QString usageText();

} // namespace cli
