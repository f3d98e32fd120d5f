#pragma once

#include <QString>

namespace platform {

// The program folder with a trailing "/". It is the executable's folder, or, when that folder is
// not writable (an installed program), the per-user folder $XDG_CONFIG_HOME/scrivlet/, created on
// first use.
QString AppPath();

// The executable's file name without its extension ("scrivlet"). The companion scrivlet-cli uses
// the window's base name so that both share one set of files.
QString appBaseName();

QString settingsFilePath();    // AppPath + base name + ".ini"
QString defaultMemoFilePath(); // AppPath + base name + ".txt"
QString userScriptFilePath();  // AppPath + base name + ".vbs"

// The memo file the option MemoFileName names: "" is the default memo file, "~/" starts in the
// home folder, and a relative name counts from AppPath.
QString memoFilePath(const QString& memoFileName);

// Pins the program folder and base name (scrivlet-cli's --dir, tests). An empty folder keeps the
// automatic choice; an empty base name keeps the executable's.
void setProgramIdentity(const QString& folder, const QString& baseName);

} // namespace platform
