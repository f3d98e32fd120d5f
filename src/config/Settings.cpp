#include "Settings.h"

#include "CIniFile.h"
#include "CommandEntry.h"
#include "OptionSchema.h"
#include "platform/AppPaths.h"

#include <algorithm>
#include <memory>

namespace config {

namespace {

std::unique_ptr<CIniFile> g_ini;

const QString kOptions = QStringLiteral("Options");

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

void LoadSettings(const QStringList& arguments) {
    options() = defaultOptions();

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

    ini.setNowSection(kCommandSection);
    for (const QString& key : ini.Keys())
        if (!parseCommandEntry(ini.Data(key)))
            ini.DeleteData(key);

    applySwitches(options(), arguments);
}

} // namespace config
