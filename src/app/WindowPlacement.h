#pragma once

#include <QList>
#include <QRect>
#include <QStringList>

namespace config {
class CIniFile;
}

namespace app {

// What placing the main window from section "Position" needs of it. Every size is in twips (1440
// per inch); the window converts to and from pixels with the screen's logical DPI.
class IPlacedWindow {
public:
    virtual ~IPlacedWindow() = default;
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
    // Each screen's area for windows (without panels), in twips on the virtual desktop.
    virtual QList<QRect> availableAreasTwips() const = 0;
};

// Where a bar of the given place and size goes so that the user can reach it: where it is when
// the screens' areas hold it whole, else into the area that holds most of it (the nearest one
// when none holds any of it).
QPoint reachablePlace(const QRect& bar, const QList<QRect>& areas);

// The settings at start-up: the window gets its provisional height, centred; LoadSettings reads
// the settings file; then section "Position" places the window (moved onto a screen when the
// stored place is off them: the monitors or the scale changed), is written back as applied and
// keeps only its four keys.
void LoadSettingsAndPlacement(IPlacedWindow& window, const QStringList& arguments);

// Writes the window's place and size into section "Position" and saves that section.
void SaveWindowPlacement(config::CIniFile& ini, const IPlacedWindow& window);

} // namespace app
