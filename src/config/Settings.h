#pragma once

#include <QString>
#include <QStringList>

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

// What LoadSettings needs of the main window. Every size is in twips (1440 per inch); the window
// converts to and from pixels with the screen's logical DPI.
class ISettingsWindow {
public:
    virtual ~ISettingsWindow() = default;
    virtual int frameHeightTwips() const = 0;     // window height minus inner height
    virtual int inputLineHeightTwips() const = 0; // the input line's height
    virtual int memoPaneHeightTwips() const = 0;  // the memo pane's current height
    virtual int screenWidthTwips() const = 0;
    virtual int screenHeightTwips() const = 0;
    virtual void setWindowHeightTwips(int height) = 0;
    virtual int windowHeightTwips() const = 0;
    virtual void setWindowWidthTwips(int width) = 0;
    virtual int windowWidthTwips() const = 0;
    virtual void setMemoPaneHeightTwips(int height) = 0;
    virtual void setWindowLeftTwips(int left) = 0;
    virtual int windowLeftTwips() const = 0;
    virtual void setWindowTopTwips(int top) = 0;
    virtual int windowTopTwips() const = 0;
};

// Reads section "Options" of `ini` with the same repairs LoadSettings applies, in memory only:
// nothing is written to the file (scrivlet-cli uses this; it must not rewrite the user's settings).
Options readOptions(CIniFile& ini);

// Loads the settings file (settingsFilePath), repairs and saves "Options" and "Position", drops
// broken "Command" lines in memory and applies the start-up switches of `arguments` (the program's
// command line words after the program name).
void LoadSettings(ISettingsWindow& window, const QStringList& arguments);
