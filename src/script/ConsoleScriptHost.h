#pragma once

#include <QString>
#include <QStringList>

#include <iostream>

namespace script {

class ClipboardAccess;

// Runs a script file the way a console script host does: WScript.Echo and WScript.StdOut write
// to `out`, WScript.StdErr and uncaught errors to `err`; the objects "VBA" (and "Clipboard" when
// one is given) are there too. MsgBox prints its text and answers with the default button;
// InputBox reads a line from `in`.
class ConsoleScriptHost {
public:
    ConsoleScriptHost(std::ostream& out, std::ostream& err, std::istream& in = std::cin);

    // Offers the clipboard to scripts as "Clipboard"; it must outlive run().
    void setClipboard(ClipboardAccess* clipboard) { m_clipboard = clipboard; }

    // Runs the file (UTF-8 or CP932) with the arguments. Gives WScript.Quit's code, 0 when the
    // script ends by itself, and 1 after an uncaught error (printed as
    // "FILE(LINE, COLUMN) Error Number N:DESCRIPTION") or when the file cannot be read.
    int run(const QString& scriptPath, const QStringList& arguments);

private:
    std::ostream& m_out;
    std::ostream& m_err;
    std::istream& m_in;
    ClipboardAccess* m_clipboard = nullptr;
};

} // namespace script
