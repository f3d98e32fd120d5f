#pragma once

// Whether every text of a window is drawn whole: captions of labels, buttons, check boxes, group
// boxes, tabs, list headers, the placeholder of a line edit, and the window's title against its
// width. Measured with the fonts the widgets use, so it holds for any language and scale.

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QTabWidget>
#include <QTextLayout>
#include <QTreeWidget>

namespace testsupport {

inline QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Characters the fonts Qt picks for `font` (fallbacks included) cannot draw.
inline QString missingGlyphs(const QString& text, const QFont& font) {
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

inline int widestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

struct CaptionReport {
    QStringList problems; // one line per text that is cut or lacks glyphs
    int checked = 0;      // texts measured
};

// Checks the texts of `window` and of its visible children (the current page of a tab widget
// only; call again after switching pages).
inline CaptionReport checkCaptions(QWidget* window) {
    CaptionReport report;
    auto cut = [&](QWidget* w, const QString& text, QSize shown, QSize needed) {
        report.problems << QStringLiteral("%1 %2 \"%3\": %4x%5 shown, %6x%7 needed")
                               .arg(QString::fromLatin1(w->metaObject()->className()),
                                    w->objectName(), text)
                               .arg(shown.width())
                               .arg(shown.height())
                               .arg(needed.width())
                               .arg(needed.height());
    };
    const QString title = window->windowTitle();
    if (!title.isEmpty()) {
        ++report.checked;
        const int needed = QFontMetrics(QApplication::font()).horizontalAdvance(title);
        if (window->width() < needed)
            cut(window, title, window->size(), QSize(needed, 0));
    }
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) && w != window)
            continue;
        QString text;
        QSize need;
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int tab = 0; tab < tabs->count(); ++tab) {
                const QString tabText = withoutMnemonic(tabs->tabText(tab));
                ++report.checked;
                report.problems << missingGlyphs(tabText, tabs->tabBar()->font());
                const int needed = tabs->tabBar()->fontMetrics().horizontalAdvance(tabText);
                if (tabs->tabBar()->tabRect(tab).width() < needed)
                    cut(w, tabText, tabs->tabBar()->tabRect(tab).size(), QSize(needed, 0));
            }
            continue;
        }
        if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            for (int column = 0; column < tree->columnCount(); ++column) {
                const QString header = tree->headerItem()->text(column);
                if (header.isEmpty() || tree->isColumnHidden(column))
                    continue;
                ++report.checked;
                const int needed = tree->header()->fontMetrics().horizontalAdvance(header);
                if (tree->header()->sectionSize(column) < needed)
                    cut(w, header, QSize(tree->header()->sectionSize(column), 0), QSize(needed, 0));
            }
            continue;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !edit->placeholderText().isEmpty()) {
            text = edit->placeholderText();
            ++report.checked;
            const int needed = edit->fontMetrics().horizontalAdvance(text);
            // QLineEdit keeps a margin of two pixels on each side inside its frame.
            const int room =
                edit->style()->subElementRect(QStyle::SE_LineEditContents, nullptr, edit).width();
            const int shown = (room > 0 ? room : edit->contentsRect().width()) - 4;
            if (shown < needed)
                cut(w, text, QSize(shown, edit->height()), QSize(needed, 0));
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            need = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                     : label->sizeHint();
            if (label->wordWrap())
                need.setWidth(0);
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            // A push button's size hint has the style's minimum width; the text needs less.
            text = push->text();
            const int margin = push->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push);
            const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
            need = QSize(widestLine(push->fontMetrics(), withoutMnemonic(text)) + margin + icon,
                         push->sizeHint().height());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
            need = button->sizeHint();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            need = QSize(group->fontMetrics().horizontalAdvance(withoutMnemonic(text)), 0);
        }
        if (text.isEmpty())
            continue;
        ++report.checked;
        const QString shown = withoutMnemonic(text);
        report.problems << missingGlyphs(shown, w->font());
        if (w->width() < need.width() || w->height() < need.height())
            cut(w, shown, w->size(), need);
    }
    report.problems.removeAll(QString());
    return report;
}

} // namespace testsupport
