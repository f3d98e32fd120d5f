#include "WindowPlacement.h"

#include "config/CIniFile.h"
#include "config/Settings.h"

#include <algorithm>
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

    const QRect bar(w.windowLeftTwips(), w.windowTopTwips(), w.windowWidthTwips(),
                    w.frameHeightTwips() + w.inputLineHeightTwips());
    const QPoint place = reachablePlace(bar, w.availableAreasTwips());
    if (place != bar.topLeft()) {
        w.setWindowLeftTwips(place.x());
        w.setWindowTopTwips(place.y());
        ini.setData(kLeft, QString::number(w.windowLeftTwips()));
        ini.setData(kTop, QString::number(w.windowTopTwips()));
    }

    const QStringList keys = {kWidth, kHeight, kLeft, kTop};
    for (const QString& key : ini.Keys())
        if (!keys.contains(key)) // exact case
            ini.DeleteData(key);
    ini.Save(kPosition);
}

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

qint64 distanceSquared(const QRect& a, const QRect& b) {
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

QPoint reachablePlace(const QRect& bar, const QList<QRect>& areas) {
    if (areas.isEmpty() || bar.isEmpty())
        return bar.topLeft();
    // Screens do not overlap: what they hold of the bar adds up to the whole bar when it is
    // on screen, across monitors too.
    qint64 held = 0;
    const QRect* best = nullptr;
    for (const QRect& area : areas) {
        held += overlap(bar, area);
        if (!best || overlap(bar, area) > overlap(bar, *best) ||
            (overlap(bar, *best) == 0 && distanceSquared(bar, area) < distanceSquared(bar, *best)))
            best = &area;
    }
    if (held >= qint64(bar.width()) * bar.height())
        return bar.topLeft();
    // Into the chosen area; a bar wider or higher than it keeps its left or top edge visible.
    const int x = std::max(best->left(), std::min(bar.left(), best->right() + 1 - bar.width()));
    const int y = std::max(best->top(), std::min(bar.top(), best->bottom() + 1 - bar.height()));
    return {x, y};
}

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
