#include "memo/MemoLines.h"

#include <algorithm>

std::optional<MemoLineTarget> MemoLineUnderCaret(const QString& text, int caret) {
    if (text.isEmpty() || caret < 0)
        return std::nullopt;
    qsizetype lineStart = 0;
    qsizetype remaining = caret;
    while (true) {
        qsizetype lineEnd = text.indexOf(QStringLiteral("\r\n"), lineStart);
        const bool last = lineEnd < 0;
        if (last)
            lineEnd = text.size();
        const qsizetype length = lineEnd - lineStart;
        remaining -= length + 2;
        if (remaining < 0) {
            qsizetype first = lineStart;
            while (first < lineEnd && text[first] == u' ')
                ++first;
            if (first == lineEnd)
                return std::nullopt;
            return MemoLineTarget{text.mid(first, lineEnd - first), int(first)};
        }
        if (last)
            return std::nullopt;
        lineStart = lineEnd + 2;
    }
}

QString memoTextToView(const QString& crlfText) {
    QString out = crlfText;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

QString memoTextFromView(const QString& viewText) {
    QString out;
    out.reserve(viewText.size() + viewText.count(u'\n'));
    for (qsizetype i = 0; i < viewText.size(); ++i) {
        if (viewText[i] == u'\n' && (i == 0 || viewText[i - 1] != u'\r'))
            out += u'\r';
        out += viewText[i];
    }
    return out;
}

int caretToView(const QString& crlfText, int crlfCaret) {
    const qsizetype end = std::clamp<qsizetype>(crlfCaret, 0, crlfText.size());
    qsizetype pairs = 0;
    for (qsizetype i = 1; i < end; ++i)
        if (crlfText[i] == u'\n' && crlfText[i - 1] == u'\r')
            ++pairs;
    // A caret between CR and LF sits before the line end in the view.
    if (end > 0 && end < crlfText.size() && crlfText[end - 1] == u'\r' && crlfText[end] == u'\n')
        return int(end - 1 - pairs);
    return int(end - pairs);
}

int caretFromView(const QString& viewText, int viewCaret) {
    const qsizetype end = std::clamp<qsizetype>(viewCaret, 0, viewText.size());
    qsizetype loneLineFeeds = 0;
    for (qsizetype i = 0; i < end; ++i)
        if (viewText[i] == u'\n' && (i == 0 || viewText[i - 1] != u'\r'))
            ++loneLineFeeds;
    return int(end + loneLineFeeds);
}
