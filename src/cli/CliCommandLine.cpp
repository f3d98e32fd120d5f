#include "cli/CliCommandLine.h"

namespace cli {

namespace {

// The value of "--name VALUE" or "--name=VALUE"; advances i past a separate value.
bool optionValue(const QStringList& arguments, qsizetype& i, QLatin1StringView name,
                 QString& value) {
    const QString& arg = arguments.at(i);
    if (arg == name) {
        value = i + 1 < arguments.size() ? arguments.at(++i) : QString();
        return true;
    }
    if (arg.startsWith(name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 1);
        return true;
    }
    return false;
}

bool isBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

} // namespace

CliCommandLine parseCommandLine(const QStringList& arguments) {
    CliCommandLine result;
    QStringList words;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1String("--")) || arg.size() == 2) {
            if (!optionsEnded && arg == QLatin1String("--")) {
                optionsEnded = true;
                continue;
            }
            words.append(arg);
            continue;
        }
        if (arg == QLatin1String("--help")) {
            result.action = CliCommandLine::Action::Help;
            return result;
        }
        if (arg == QLatin1String("--version")) {
            result.action = CliCommandLine::Action::Version;
            return result;
        }
        if (arg == QLatin1String("--vbs")) {
            // Everything after the file belongs to the script, options included.
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                result.error = QStringLiteral("--vbs needs a script file");
                return result;
            }
            result.scriptFile = arguments.at(i + 1);
            result.scriptArguments = arguments.mid(i + 2);
            if (!words.isEmpty()) {
                result.error = QStringLiteral("--vbs runs a file, not a line");
                return result;
            }
            if (result.action == CliCommandLine::Action::Find || !result.memoTitle.isEmpty()) {
                result.error = QStringLiteral("--vbs does not go with --find or --memo");
                return result;
            }
            result.action = CliCommandLine::Action::RunScript;
            return result;
        }
        QString value;
        if (arg == QLatin1String("--dry-run")) {
            result.dryRun = true;
        } else if (optionValue(arguments, i, QLatin1StringView("--find"), value)) {
            if (isBlank(value)) {
                result.error = QStringLiteral("--find needs text to find (not empty, not only "
                                              "blanks)");
                return result;
            }
            result.findText = value;
            result.action = CliCommandLine::Action::Find;
        } else if (optionValue(arguments, i, QLatin1StringView("--memo"), value)) {
            // A title is one line of the memo file: a line break in it could never match again.
            if (isBlank(value) || value.contains(QLatin1Char('\n')) ||
                value.contains(QLatin1Char('\r'))) {
                result.error = QStringLiteral("--memo needs the title of a memo (one line, not "
                                              "only blanks)");
                return result;
            }
            result.memoTitle = value;
        } else if (arg == QLatin1String("--dir") || arg.startsWith(QLatin1String("--dir="))) {
            if (arg.startsWith(QLatin1String("--dir="))) {
                result.folder = arg.mid(6);
            } else if (i + 1 < arguments.size()) {
                result.folder = arguments.at(++i);
            }
            if (result.folder.isEmpty()) {
                result.error = QStringLiteral("--dir needs a folder");
                return result;
            }
        } else if (arg == QLatin1String("--time-limit") ||
                   arg.startsWith(QLatin1String("--time-limit="))) {
            const QString value = arg.contains(QLatin1Char('='))
                                      ? arg.section(QLatin1Char('='), 1)
                                      : (i + 1 < arguments.size() ? arguments.at(++i) : QString());
            bool ok = false;
            const double seconds = value.toDouble(&ok);
            // Up to a day; beyond that "no limit" (0) says what is meant.
            if (!ok || !(seconds >= 0 && seconds <= 86400)) {
                result.error = QStringLiteral("--time-limit needs a number of seconds from 0 "
                                              "(no limit) to 86400, not \"%1\"")
                                   .arg(value);
                return result;
            }
            result.timeLimit = std::chrono::milliseconds(qint64(seconds * 1000 + 0.5));
        } else {
            result.error = QStringLiteral("unknown option %1").arg(arg);
            return result;
        }
    }
    if (result.action == CliCommandLine::Action::Find) {
        if (!words.isEmpty())
            result.error = QStringLiteral("--find takes one TEXT; quote text with blanks");
        else if (!result.memoTitle.isEmpty())
            result.error = QStringLiteral("--find looks in every memo; --memo is for filing");
        if (!result.error.isEmpty())
            result.action = CliCommandLine::Action::UsageError;
        return result;
    }
    if (words.isEmpty()) {
        result.error = QStringLiteral("no line to run");
        return result;
    }
    result.line = words.join(QLatin1Char(' '));
    result.action = CliCommandLine::Action::Run;
    return result;
}

QString usageText() {
    return QStringLiteral(
        "Usage: scrivlet-cli [--dir DIR] [--dry-run] [--time-limit SECONDS] [--memo TITLE]\n"
        "                    [--] LINE...\n"
        "       scrivlet-cli [--dir DIR] [--dry-run] --vbs FILE [ARGUMENT...]\n"
        "       scrivlet-cli [--dir DIR] --find TEXT\n"
        "\n"
        "Runs one input line the way the Scrivlet window does: the line is cut at \"|\",\n"
        "registered commands of the settings file expand, and each piece is opened\n"
        "through the desktop (file, folder, program, URL, or an installed application\n"
        "by the name its menu entry has, such as Files), else evaluated as script\n"
        "(with the functions of scrivlet.vbs), else, when it reads as prose, filed as\n"
        "a time-stamped line in the first memo of the memo file. The words of LINE are\n"
        "joined with single spaces; quote the line to keep \"|\" and spaces from your\n"
        "shell.\n"
        "\n"
        "Prints what the window would write back into its input line (the results of\n"
        "the evaluated pieces, joined with \" |\"); prints nothing when the window would\n"
        "leave the line as typed. Script errors (\"Error Number N:DESCRIPTION\", when\n"
        "ShowErrMsg is on) and other messages go to standard error.\n"
        "\n"
        "When a Scrivlet window runs with the same memo file open, prose is handed to\n"
        "it and the window files it; otherwise the memo file is written here. A line\n"
        "that can be neither handed over nor saved is reported, and the memo file is\n"
        "left as it was.\n"
        "\n"
        "Options:\n"
        "  --dir DIR   use DIR as the program folder: its scrivlet.ini (settings and\n"
        "              registered commands), scrivlet.vbs (script functions) and the\n"
        "              memo file. Default: the folder the window uses.\n"
        "  --dry-run   start nothing; print one line per request to the desktop:\n"
        "              VERB<TAB>FILE<TAB>PARAMETERS<TAB>RESULT, where RESULT says what\n"
        "              would start, or \"refused\". An open-with request prints\n"
        "              \"openwith<TAB>FILE\" (the console has no chooser).\n"
        "  --time-limit SECONDS\n"
        "              stop a script that stays busy longer than this (a loop that never\n"
        "              ends in scrivlet.vbs or in the line), as the window's stop box\n"
        "              would: the run ends with error 18 and the rest of the line goes on.\n"
        "              Waiting for an InputBox answer does not count. Default 10; 0 for no\n"
        "              limit. Ctrl+C stops a running script the same way at any time.\n"
        "  --vbs FILE  run the script file FILE (UTF-8 or CP932) instead of a line; the\n"
        "              words after FILE are the script's WScript.Arguments. The script\n"
        "              has WScript (Echo, Quit, Arguments, StdOut, StdErr, ScriptName,\n"
        "              ScriptFullName, Sleep), VBA and Clipboard. An uncaught error\n"
        "              prints FILE(LINE, COLUMN) Error Number N:DESCRIPTION on standard\n"
        "              error.\n"
        "  --memo TITLE\n"
        "              file prose into the memo titled TITLE (exactly, letter case\n"
        "              counts) instead of the first memo; when no memo has that title, a\n"
        "              new memo of that title is added at the end of the memo file.\n"
        "  --find TEXT print every memo line that holds TEXT as TITLE<TAB>LINE, newest\n"
        "              first (by the lines' time stamps). Letter case, full and half\n"
        "              width (ＡＢＣ, ABC; ｶﾅ, カナ) and hiragana and katakana do not\n"
        "              count; voiced marks and accents do. Exit status 0 when a line\n"
        "              matched, 1 when none did, 2 for an empty TEXT or a memo file that\n"
        "              cannot be read.\n"
        "  --help      show this text.\n"
        "  --version   show the version and the licence.\n"
        "\n"
        "The settings file is read, never written.\n"
        "\n"
        "Exit status for a line: 0 when a piece ran (opened, evaluated or filed), 1 when\n"
        "none did, 2 for a usage error, 3 when a prose line could not be filed (or a\n"
        "window got it but did not confirm it: it may have been filed; look before\n"
        "sending it again), 4 when a script was stopped by the time limit or Ctrl+C\n"
        "(3 wins over 4).\n"
        "For --vbs: the code given to WScript.Quit, 0 when the script ends by itself,\n"
        "1 after an uncaught error or when FILE cannot be read, 2 for a usage error.\n");
}

} // namespace cli
