#include "cli/CliCommandLine.h"

namespace cli {

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
        if (arg == QLatin1String("--dry-run")) {
            result.dryRun = true;
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
        } else {
            result.error = QStringLiteral("unknown option %1").arg(arg);
            return result;
        }
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
        "Usage: scrivlet-cli [--dir DIR] [--dry-run] [--] LINE...\n"
        "\n"
        "Runs one input line the way the Scrivlet window does: the line is cut at \"|\",\n"
        "registered commands of the settings file expand, and each piece is opened\n"
        "through the desktop (file, folder, program, URL), else evaluated as script,\n"
        "else, when it reads as prose, filed as a memo. The words of LINE are joined\n"
        "with single spaces; quote the line to keep \"|\" and spaces from your shell.\n"
        "\n"
        "Prints what the window would write back into its input line (the results of\n"
        "the evaluated pieces, joined with \" |\"); prints nothing when the window would\n"
        "leave the line as typed. Script errors go to standard error.\n"
        "\n"
        "Options:\n"
        "  --dir DIR   use DIR as the program folder: its scrivlet.ini (settings and\n"
        "              registered commands), scrivlet.vbs (script functions) and the\n"
        "              memo file. Default: the folder the window uses.\n"
        "  --dry-run   start nothing; print one line per request to the desktop:\n"
        "              VERB<TAB>FILE<TAB>PARAMETERS<TAB>RESULT, where RESULT says what\n"
        "              would start, or \"refused\". An open-with request prints\n"
        "              \"openwith<TAB>FILE\" (the console has no chooser).\n"
        "  --help      show this text.\n"
        "\n"
        "The settings file is read, never written.\n"
        "\n"
        "Exit status: 0 when a piece ran (opened, evaluated or filed), 1 when none did,\n"
        "2 for a usage error.\n");
}

} // namespace cli
