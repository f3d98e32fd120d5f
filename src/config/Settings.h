#pragma once

#include <QString>
#include <QStringList>

namespace config {

class CIniFile;

// The option variables of section "Options": program-wide, written only by LoadSettings and the
// settings dialog, read by everyone else.
struct Options {
    bool TopMost = false;
    bool StartUpTray = false;
    bool UnresidentInfo = true;
    bool IMEState = true;
    bool HideAfterRun = true;
    bool NoTray = false;
    QString MemoFileName;
    int HotKeyMask = 8;
    int HotKey = 90;
    short MRU = 10;
    bool SetClipboard = false;
    bool IfVoidThenHide = false;
    bool ShowErrMsg = true;
};

Options& options();

// The one program-wide settings store, created by LoadSettings (nullptr before).
CIniFile* iniFile();

// Reads section "Options" of `ini` with the same repairs LoadSettings applies, in memory only:
// nothing is written to the file (scrivlet-cli uses this; it must not rewrite the user's settings).
Options readOptions(CIniFile& ini);

// Loads the settings file (settingsFilePath), repairs and saves "Options", drops broken "Command"
// lines in memory and applies the start-up switches of `arguments` (the program's command line
// words after the program name). The window's place (section "Position") is the window's own.
void LoadSettings(const QStringList& arguments);

} // namespace config
