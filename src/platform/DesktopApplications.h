#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The applications installed on the desktop (freedesktop desktop entries, read through GIO), so
// that a typed "Files" or "ImageMagick" starts what the menu shows under that name.
namespace platform {

struct DesktopApplication {
    QString id;            // the desktop file id, "org.gnome.Nautilus.desktop"
    QString name;          // the entry's untranslated Name
    QString program;       // the file name of the program its Exec line starts
    bool terminal = false; // Terminal=true: it needs a terminal to run in
};

// The applications a menu shows (GIO leaves out Hidden entries and those whose TryExec program
// is missing; NoDisplay entries are left out here), ordered by desktop id.
QList<DesktopApplication> installedApplications();

// The application a typed name starts: the first, in installedApplications' order, whose
// untranslated Name equals `name` ignoring letter case; else the first whose Name does without a
// qualifier in parentheses at its end ("ImageMagick" for "ImageMagick (color depth=q16)"); else
// the first whose Exec program's file name does.
// Only names in ASCII are matched: a localized name ("設定", "ファイル") typed as a memo stays a
// memo.
std::optional<DesktopApplication> applicationNamed(const QString& name);

// Whether a name can be typed to start an application: not blank, and ASCII only.
bool isApplicationName(const QString& name);

// The Terminal=true application (NoDisplay ones too) that starts `program` (a full path or a
// file name), so that the program started from PATH gets the terminal its entry asks for.
std::optional<DesktopApplication> terminalApplicationFor(const QString& program);

// Whether `name` (a program on PATH, or an application's name) needs a terminal to run in and no
// terminal is installed: it was not started for that reason alone.
bool needsMissingTerminal(const QString& name);

// The command that runs `command` in the user's terminal: xdg-terminal-exec COMMAND... where it
// is installed, else x-terminal-emulator -e COMMAND...; empty when there is neither.
QStringList terminalCommand(const QStringList& command);

// The command the application's Exec line runs when it is started without files (field codes
// left out); empty when the entry is gone.
QStringList applicationCommand(const DesktopApplication& application);

// Starts the application through its desktop entry with GIO. True when it was started.
bool launchDesktopApplication(const DesktopApplication& application);

} // namespace platform
