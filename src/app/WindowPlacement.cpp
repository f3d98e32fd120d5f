#include "WindowPlacement.h"

#include "config/CIniFile.h"
#include "config/Settings.h"

#include <functional>

namespace app {

namespace {

const QString kPosition = QStringLiteral("Position");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");

// Reads one geometry value, applies it and writes back what the window actually took.
void restoreGeometry(config::CIniFile& ini, const QString& key, int defaultValue,
                     const std::function<void(int)>& apply, const std::function<int()>& applied) {
    apply(ini.InitData(key, config::CIniFile::IniLong, defaultValue).toInt());
    ini.setData(key, QString::number(applied()));
}

void restorePosition(config::CIniFile& ini, IPlacedWindow& w) {
    ini.setNowSection(kPosition);
    restoreGeometry(
        ini, kWidth, 3000, [&](int v) { w.setWindowWidthTwips(v); },
        [&] { return w.windowWidthTwips(); });
    restoreGeometry(
        ini, kHeight, 1500, [&](int v) { w.setMemoPaneHeightTwips(v); },
        [&] { return w.memoPaneHeightTwips(); });
    restoreGeometry(
        ini, kLeft, (w.screenWidthTwips() - w.windowWidthTwips()) / 2,
        [&](int v) { w.setWindowLeftTwips(v); }, [&] { return w.windowLeftTwips(); });
    restoreGeometry(
        ini, kTop, (w.screenHeightTwips() - w.windowHeightTwips()) / 2,
        [&](int v) { w.setWindowTopTwips(v); }, [&] { return w.windowTopTwips(); });

    const QStringList keys = {kWidth, kHeight, kLeft, kTop};
    for (const QString& key : ini.Keys())
        if (!keys.contains(key)) // exact case
            ini.DeleteData(key);
    ini.Save(kPosition);
}

} // namespace

void LoadSettingsAndPlacement(IPlacedWindow& window, const QStringList& arguments) {
    // Provisional height: frame, input line and the memo pane at its design height, centred.
    const int height =
        window.frameHeightTwips() + window.inputLineHeightTwips() + window.memoPaneHeightTwips();
    window.setWindowHeightTwips(height);
    window.setWindowTopTwips((window.screenHeightTwips() - window.windowHeightTwips()) / 2);

    config::LoadSettings(arguments);
    if (config::CIniFile* ini = config::iniFile())
        restorePosition(*ini, window);
}

void SaveWindowPlacement(config::CIniFile& ini, const IPlacedWindow& window) {
    ini.setNowSection(kPosition);
    ini.setData(kLeft, QString::number(window.windowLeftTwips()));
    ini.setData(kTop, QString::number(window.windowTopTwips()));
    ini.setData(kWidth, QString::number(window.windowWidthTwips()));
    ini.setData(kHeight, QString::number(window.memoPaneHeightTwips()));
    ini.Save(kPosition);
}

} // namespace app
