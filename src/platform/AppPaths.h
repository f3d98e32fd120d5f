#pragma once

#include <QString>

namespace platform {

// The program folder with a trailing "/". It is the executable's folder, or, for an installed
// program or when that folder is not writable, the per-user folder $XDG_CONFIG_HOME/scrivlet/,
// created on first use.
QString AppPath();

// PREFIX when the executable lies in PREFIX/bin/ of an installation (cmake --install, the package),
// told by its AppStream file in PREFIX/share/metainfo/; else empty. An installed program never
// keeps the user's files beside itself, even where it could write there (root, a prefix in the
// user's home).
QString installPrefix();

// The user's guide in the user interface's language: ReadMe.txt (Japanese) or ReadMe.en.txt.
QString guideFileName();
// That guide beside the executable, else, installed, in PREFIX/share/doc/scrivlet/.
QString guideFilePath();

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
