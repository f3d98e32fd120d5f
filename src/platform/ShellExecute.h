#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform {

struct ShellRequest {
    QString verb; // "open", "edit", or a desktop action of the default application
    QString file; // a URL, a file or folder, or a program
    QString parameters;
};

// What a request would start, without starting it: a short description ("program /usr/bin/x",
// "application gedit.desktop", …), or nullopt when nothing can be started for it.
std::optional<QString> describeShellExecute(const ShellRequest& request);

// Starts what the request names and returns true only when something was really started:
//   a URL with a scheme goes to the scheme's default handler, and so does "www.…" (as https);
//   an existing file or folder opens with the application the associations give for the verb
//   ("edit" on a text file uses the text editor), an executable program file starts itself;
//   a program name found on PATH starts with the parameters split by splitParameters, never run
//   through a shell, with no terminal input and its output discarded.
// A file starts as a program only when it is an ELF executable or a "#!" script of a script
// interpreter; other files open through their associations, whatever their execute bit.
// Anything else is false, at once and silently. Synchronous: returns once the start was made.
bool shellExecute(const QString& verb, const QString& file, const QString& parameters);

// Replaces what shellExecute does (tests, dry runs); an empty handler restores the real one.
using ShellHandler = std::function<bool(const ShellRequest&)>;
ShellHandler setShellHandler(ShellHandler handler);

// Offers the user a choice of application for `file` and waits for it. The window layer installs
// its dialog; without one (the console) no choice can be offered.
enum class OpenWithResult {
    Started,    // the user chose, and the application started
    Declined,   // the user cancelled: nothing opened, and nothing is to be reported
    Unavailable // no chooser
};
OpenWithResult offerOpenWith(const QString& file);
using OpenWithHandler = std::function<OpenWithResult(const QString& file)>;
OpenWithHandler setOpenWithHandler(OpenWithHandler handler);

// Splits a started program's parameter text into its arguments: blanks separate, a pair of
// double quotes groups words. Every other character reaches the program as typed: single quotes,
// backslashes (C:\dir\file) and a double quote that no other closes.
QStringList splitParameters(const QString& text);

// True for text that starts with a URL scheme of two or more characters ("https:", "mailto:").
bool hasUrlScheme(const QString& text);

// The program a name without "/" starts, as a full path; empty when there is none. The one place
// that says which names are installed programs.
QString findProgram(const QString& name);

// The file a typed path names: a leading "~" is the home folder.
QString expandHome(const QString& file);

// The link that text beginning with "www." stands for, as browsers read it: https://www.…
QString webAddressLink(const QString& text);

} // namespace platform
