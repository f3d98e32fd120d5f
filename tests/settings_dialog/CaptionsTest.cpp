// Every caption of the dialog is drawn whole and with real glyphs: no character falls back to a
// missing glyph (the Japanese font must be installed) and no caption is cut off by its control.
#include "CaptionCheck.h"
#include "DialogFixture.h"

#include <QTabWidget>

namespace {

using dialogtest::DialogTest;

TEST_F(DialogTest, EveryCaptionHasItsGlyphsAndItsRoom) {
    settings_dialog::frmProperty& d = open({QStringLiteral("[Options]"), QStringLiteral("MRU=10")});
    d.Show2(1, false);
    QStringList problems;
    int checked = 0;
    for (int tab = 0; tab < d.tabStrip()->count(); ++tab) {
        d.tabStrip()->setCurrentIndex(tab);
        QApplication::processEvents();
        const testsupport::CaptionReport report = testsupport::checkCaptions(&d);
        problems << report.problems;
        checked += report.checked;
    }
    EXPECT_GT(checked, 35);
    const bool english = qgetenv("SCRIVLET_TEST_LANGUAGE") == "en";
    EXPECT_EQ(d.tabStrip()->tabText(0),
              english ? QStringLiteral("General") : QStringLiteral("全般"));
    EXPECT_EQ(d.tabStrip()->tabText(2),
              english ? QStringLiteral("Timer") : QStringLiteral("タイマー"));
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    d.cmdCancel()->click();
}

} // namespace
