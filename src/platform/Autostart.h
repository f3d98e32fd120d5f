#pragma once

#include "platform/AtomicFile.h"

#include <QString>

// Start at login the freedesktop way: a desktop entry in $XDG_CONFIG_HOME/autostart (default
// ~/.config/autostart). The entry itself is the setting; nothing about it is kept elsewhere.
namespace platform {

QString autostartEntryPath();

// Whether the entry is there and not switched off (Hidden=true, or disabled for GNOME).
bool isStartedAtLogin();

// Writes the entry starting `program` (an absolute path), or removes it.
WriteResult setStartedAtLogin(bool on, const QString& program);

// `program` as the Exec key of a desktop entry wants it: quoted where it holds reserved
// characters, with the entry's own escapes.
QString desktopEntryExec(const QString& program);

} // namespace platform
