#include "MemoViewText.h"

namespace memopane {

QString toViewText(const QString& storedText) {
    QString text = storedText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A lone CR would be shown as a line break by the text field and come back as CR LF; make it
    // one explicitly so positions stay in step.
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString toStoredText(const QString& viewText) {
    QString text = viewText;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

int storedToViewPosition(const QString& storedText, int storedPosition) {
    if (storedPosition <= 0)
        return 0;
    const int limit = qMin(storedPosition, int(storedText.size()));
    int view = 0;
    for (int i = 0; i < limit; ++i) {
        // The LF of a CR LF pair adds nothing: the pair is one character in the view.
        if (storedText[i] == QLatin1Char('\n') && i > 0 && storedText[i - 1] == QLatin1Char('\r'))
            continue;
        ++view;
    }
    return view;
}

int viewToStoredPosition(const QString& viewText, int viewPosition) {
    const int limit = qBound(0, viewPosition, int(viewText.size()));
    int stored = limit;
    for (int i = 0; i < limit; ++i) {
        if (viewText[i] == QLatin1Char('\n'))
            ++stored;
    }
    return stored;
}

bool lineAt(const QString& viewText, int caret, int& lineStart, int& lineEnd) {
    if (viewText.isEmpty())
        return false;
    caret = qBound(0, caret, int(viewText.size()));
    const int previousBreak = caret > 0 ? viewText.lastIndexOf(QLatin1Char('\n'), caret - 1) : -1;
    lineStart = previousBreak + 1;
    const int nextBreak = viewText.indexOf(QLatin1Char('\n'), caret);
    lineEnd = nextBreak < 0 ? int(viewText.size()) : nextBreak;
    return true;
}

} // namespace memopane
