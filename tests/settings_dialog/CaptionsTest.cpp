// Every caption of the dialog is drawn whole and with real glyphs: no character falls back to a
// missing glyph (the Japanese font must be installed) and no caption is cut off by its control.
#include "DialogFixture.h"

#include <QAbstractButton>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextLayout>

namespace {

using dialogtest::DialogTest;

QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Characters the fonts Qt picks for `font` (fallbacks included) cannot draw.
QString missingGlyphs(const QString& text, const QFont& font) {
    QString missing;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(line, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            for (const quint32 glyph : run.glyphIndexes()) {
                if (glyph == 0)
                    missing += QStringLiteral("[%1 in %2]").arg(line, run.rawFont().familyName());
            }
        }
    }
    return missing;
}

TEST_F(DialogTest, EveryCaptionHasItsGlyphsAndItsRoom) {
    settings_dialog::frmProperty& d = open({QStringLiteral("[Options]"), QStringLiteral("MRU=10")});
    d.Show2(1, false);
    QStringList problems;
    int checked = 0;
    for (int tab = 0; tab < d.tabStrip()->count(); ++tab) {
        d.tabStrip()->setCurrentIndex(tab);
        QApplication::processEvents();
        const QString tabText = d.tabStrip()->tabText(tab);
        problems << missingGlyphs(tabText, d.tabStrip()->tabBar()->font());
        if (d.tabStrip()->tabBar()->tabRect(tab).width() <
            d.tabStrip()->tabBar()->fontMetrics().horizontalAdvance(tabText))
            problems << QStringLiteral("tab %1 cut off").arg(tabText);
        QWidget* page = d.tabStrip()->currentWidget();
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&d))
                continue;
            QString text;
            QSize need;
            if (auto* label = qobject_cast<QLabel*>(w)) {
                text = label->text();
                need = label->sizeHint();
            } else if (auto* push = qobject_cast<QPushButton*>(w)) {
                // A push button's size hint has the style's minimum width; the text needs less.
                text = push->text();
                const int margin =
                    push->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push);
                need = QSize(push->fontMetrics().horizontalAdvance(withoutMnemonic(text)) + margin,
                             push->sizeHint().height());
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                text = button->text();
                need = button->sizeHint();
            } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
                text = group->title();
                need = QSize(group->fontMetrics().horizontalAdvance(text), 0);
            }
            if (text.isEmpty())
                continue;
            ++checked;
            const QString shown = withoutMnemonic(text);
            problems << missingGlyphs(shown, w->font());
            if (w->width() < need.width() || w->height() < need.height())
                problems << QStringLiteral("%1 \"%2\": %3x%4 shown, %5x%6 needed")
                                .arg(w->objectName(), shown)
                                .arg(w->width())
                                .arg(w->height())
                                .arg(need.width())
                                .arg(need.height());
        }
    }
    problems.removeAll(QString());
    EXPECT_GT(checked, 35);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    d.cmdCancel()->click();
}

} // namespace
