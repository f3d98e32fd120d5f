#include "Settings.h"

#include "CIniFile.h"
#include "NumericTextQt.h"
#include "platform/AppPaths.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

namespace {

std::unique_ptr<CIniFile> g_ini;

const QString kOptions = QStringLiteral("Options");
const QString kPosition = QStringLiteral("Position");
const QString kCommand = QStringLiteral("Command");

// The keys of section "Options", in the order they are repaired and written.
const std::array<QString, 13> kOptionKeys = {
    QStringLiteral("TopMost"),        QStringLiteral("StartUpTray"),
    QStringLiteral("UnresidentInfo"), QStringLiteral("IMEState"),
    QStringLiteral("HideAfterRun"),   QStringLiteral("NoTray"),
    QStringLiteral("MemoFileName"),   QStringLiteral("HotKeyMask"),
    QStringLiteral("HotKey"),         QStringLiteral("MRU"),
    QStringLiteral("SetClipboard"),   QStringLiteral("IfVoidThenHide"),
    QStringLiteral("ShowErrMsg"),
};

QString boolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool isHotKeyCode(int code) {
    return (code >= 48 && code <= 57) || (code >= 65 && code <= 90) || (code >= 96 && code <= 105);
}

void repairBool(CIniFile& ini, const QString& key, bool defaultValue) {
    if (!numtext::isBool(numtext::view(ini.Data(key))))
        ini.setData(key, boolText(defaultValue));
}

void disableHotKey(CIniFile& ini) {
    ini.setData(QStringLiteral("HotKeyMask"), QStringLiteral("0"));
    ini.setData(QStringLiteral("HotKey"), QStringLiteral("0"));
}

// Section "Options" must be selected. Every repair goes through Data, so it moves the key to the
// end of the section.
void repairOptions(CIniFile& ini, const Options& defaults) {
    repairBool(ini, QStringLiteral("TopMost"), defaults.TopMost);
    repairBool(ini, QStringLiteral("StartUpTray"), defaults.StartUpTray);
    repairBool(ini, QStringLiteral("UnresidentInfo"), defaults.UnresidentInfo);
    repairBool(ini, QStringLiteral("IMEState"), defaults.IMEState);
    repairBool(ini, QStringLiteral("HideAfterRun"), defaults.HideAfterRun);
    repairBool(ini, QStringLiteral("NoTray"), defaults.NoTray);

    if (ini.Data(QStringLiteral("MemoFileName")).isEmpty())
        ini.setData(QStringLiteral("MemoFileName"), defaults.MemoFileName);

    const QString mask = ini.Data(QStringLiteral("HotKeyMask"));
    if (mask.isEmpty())
        ini.setData(QStringLiteral("HotKeyMask"), QString::number(defaults.HotKeyMask));
    else if (mask != QLatin1String("3") && mask != QLatin1String("7") && mask != QLatin1String("8"))
        disableHotKey(ini);

    const QString key = ini.Data(QStringLiteral("HotKey"));
    if (key.isEmpty())
        ini.setData(QStringLiteral("HotKey"), QString::number(defaults.HotKey));
    else if (!numtext::isInt(numtext::view(key)) ||
             !isHotKeyCode(numtext::toLng(numtext::view(key))))
        disableHotKey(ini);

    const QString mru = ini.Data(QStringLiteral("MRU"));
    if (!numtext::isInt(numtext::view(mru))) {
        ini.setData(QStringLiteral("MRU"), QString::number(defaults.MRU));
    } else {
        const int value = numtext::toLng(numtext::view(mru));
        if (value != -1 && (value < 0 || value > 50))
            ini.setData(QStringLiteral("MRU"), QString::number(defaults.MRU));
    }

    repairBool(ini, QStringLiteral("SetClipboard"), defaults.SetClipboard);
    repairBool(ini, QStringLiteral("IfVoidThenHide"), defaults.IfVoidThenHide);
    repairBool(ini, QStringLiteral("ShowErrMsg"), defaults.ShowErrMsg);
}

Options readRepairedOptions(const CIniFile& ini) {
    const auto flag = [&](const char* key) {
        return numtext::toBool(numtext::view(ini.Data(QLatin1String(key))));
    };
    const auto number = [&](const char* key) {
        return numtext::toLng(numtext::view(ini.Data(QLatin1String(key))));
    };
    Options o;
    o.TopMost = flag("TopMost");
    o.StartUpTray = flag("StartUpTray");
    o.UnresidentInfo = flag("UnresidentInfo");
    o.IMEState = flag("IMEState");
    o.HideAfterRun = flag("HideAfterRun");
    o.NoTray = flag("NoTray");
    o.MemoFileName = ini.Data(QStringLiteral("MemoFileName"));
    o.HotKeyMask = number("HotKeyMask");
    o.HotKey = number("HotKey");
    o.MRU = static_cast<short>(number("MRU"));
    o.SetClipboard = flag("SetClipboard");
    o.IfVoidThenHide = flag("IfVoidThenHide");
    o.ShowErrMsg = flag("ShowErrMsg");
    return o;
}

Options defaultOptions() {
    Options o;
    o.MemoFileName = platform::defaultMemoFilePath();
    return o;
}

// Reads one geometry value, applies it and writes back what the window actually took.
void restoreGeometry(CIniFile& ini, const QString& key, int defaultValue,
                     const std::function<void(int)>& apply, const std::function<int()>& applied) {
    apply(ini.InitData(key, CIniFile::IniLong, defaultValue).toInt());
    ini.setData(key, QString::number(applied()));
}

void restorePosition(CIniFile& ini, ISettingsWindow& w) {
    ini.setNowSection(kPosition);
    restoreGeometry(
        ini, QStringLiteral("Width"), 3000, [&](int v) { w.setWindowWidthTwips(v); },
        [&] { return w.windowWidthTwips(); });
    restoreGeometry(
        ini, QStringLiteral("Height"), 1500, [&](int v) { w.setMemoPaneHeightTwips(v); },
        [&] { return w.memoPaneHeightTwips(); });
    restoreGeometry(
        ini, QStringLiteral("Left"), (w.screenWidthTwips() - w.windowWidthTwips()) / 2,
        [&](int v) { w.setWindowLeftTwips(v); }, [&] { return w.windowLeftTwips(); });
    restoreGeometry(
        ini, QStringLiteral("Top"), (w.screenHeightTwips() - w.windowHeightTwips()) / 2,
        [&](int v) { w.setWindowTopTwips(v); }, [&] { return w.windowTopTwips(); });

    static const QStringList kPositionKeys = {QStringLiteral("Width"), QStringLiteral("Height"),
                                              QStringLiteral("Left"), QStringLiteral("Top")};
    for (const QString& key : ini.Keys())
        if (!kPositionKeys.contains(key)) // exact case
            ini.DeleteData(key);
    ini.Save(kPosition);
}

void applySwitches(Options& o, const QStringList& arguments) {
    for (const QString& argument : arguments) {
        for (const QString& word : argument.split(QLatin1Char(' '))) {
            if (word == QLatin1String("/nohotkey")) {
                o.HotKey = 0;
                o.HotKeyMask = 0;
            } else if (word == QLatin1String("/tray")) {
                o.StartUpTray = true;
            } else if (word == QLatin1String("/topmost")) {
                o.TopMost = true;
            }
        }
    }
}

} // namespace

Options& options() {
    static Options o;
    return o;
}

CIniFile* iniFile() {
    return g_ini.get();
}

Options readOptions(CIniFile& ini) {
    ini.setNowSection(kOptions);
    repairOptions(ini, defaultOptions());
    return readRepairedOptions(ini);
}

void LoadSettings(ISettingsWindow& window, const QStringList& arguments) {
    options() = defaultOptions();
    // The list of running timers starts empty here once timers exist.

    // Provisional height: frame, input line and the memo pane at its design height, centred.
    const int height =
        window.frameHeightTwips() + window.inputLineHeightTwips() + window.memoPaneHeightTwips();
    window.setWindowHeightTwips(height);
    window.setWindowTopTwips((window.screenHeightTwips() - window.windowHeightTwips()) / 2);

    g_ini = std::make_unique<CIniFile>();
    CIniFile& ini = *g_ini;
    ini.Load(platform::settingsFilePath());

    options() = readOptions(ini);
    // Unknown keys go. A known key written in another letter case ("topmost") took effect above
    // and stays, under its own spelling.
    for (const QString& key : ini.Keys()) {
        if (std::find(kOptionKeys.begin(), kOptionKeys.end(), key) != kOptionKeys.end())
            continue;
        const auto known =
            std::find_if(kOptionKeys.begin(), kOptionKeys.end(), [&](const QString& name) {
                return name.compare(key, Qt::CaseInsensitive) == 0;
            });
        const QString value = ini.Data(key);
        ini.DeleteData(key);
        if (known != kOptionKeys.end())
            ini.setData(*known, value);
    }
    ini.Save(kOptions);

    restorePosition(ini, window);

    // Registered commands are "name,content"; a line without the comma cannot be one.
    ini.setNowSection(kCommand);
    for (const QString& key : ini.Keys())
        if (!ini.Data(key).contains(QLatin1Char(',')))
            ini.DeleteData(key);

    applySwitches(options(), arguments);
}
