#include "Settings.h"

#include "CIniFile.h"
#include "CommandEntry.h"
#include "OptionSchema.h"
#include "platform/AppPaths.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

std::unique_ptr<CIniFile> g_ini;

const QString kOptions = QStringLiteral("Options");
const QString kPosition = QStringLiteral("Position");

// Section "Options" must be selected.
void repairOptions(CIniFile& ini, const Options& defaults) {
    for (const OptionField& field : optionSchema())
        repairOption(ini, field, defaults);
}

Options readRepairedOptions(const CIniFile& ini) {
    Options o;
    for (const OptionField& field : optionSchema())
        readOption(o, field, ini.Data(field.key));
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
    const std::vector<OptionField>& schema = optionSchema();
    for (const QString& key : ini.Keys()) {
        const auto named = [&](Qt::CaseSensitivity cs) {
            return std::find_if(schema.begin(), schema.end(), [&](const OptionField& field) {
                return field.key.compare(key, cs) == 0;
            });
        };
        if (named(Qt::CaseSensitive) != schema.end())
            continue;
        const auto known = named(Qt::CaseInsensitive);
        const QString value = ini.Data(key);
        ini.DeleteData(key);
        if (known != schema.end())
            ini.setData(known->key, value);
    }
    ini.Save(kOptions);

    restorePosition(ini, window);

    ini.setNowSection(kCommandSection);
    for (const QString& key : ini.Keys())
        if (!parseCommandEntry(ini.Data(key)))
            ini.DeleteData(key);

    applySwitches(options(), arguments);
}
