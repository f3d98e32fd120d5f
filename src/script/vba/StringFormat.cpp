#include "script/vba/StringFormat.h"

#include "script/vba/FormatSections.h"

#include <vector>

namespace script::format {

namespace {

QString formatStringSection(QString value, QStringView s) {
    struct Piece {
        bool placeholder;
        QChar ch; // '@' or '&' for placeholders
        QString literal;
    };
    std::vector<Piece> pieces;
    bool leftToRight = false;
    int caseMode = 0; // 1 lower, 2 upper
    int placeholders = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            pieces.push_back({false, {}, s.mid(i + 1, stop - i - 1).toString()});
            i = stop;
        } else if (c == u'\\') {
            if (i + 1 < s.size()) {
                pieces.push_back({false, {}, QString(s[++i])});
            }
        } else if (c == u'@' || c == u'&') {
            pieces.push_back({true, c, {}});
            ++placeholders;
        } else if (c == u'<') {
            caseMode = 1;
        } else if (c == u'>') {
            caseMode = 2;
        } else if (c == u'!') {
            leftToRight = true;
        } else {
            pieces.push_back({false, {}, QString(c)});
        }
    }
    if (caseMode == 1) {
        value = value.toLower();
    } else if (caseMode == 2) {
        value = value.toUpper();
    }
    QString out;
    if (placeholders == 0) {
        out = value;
        for (const Piece& p : pieces) {
            out += p.literal;
        }
        return out;
    }
    const int length = static_cast<int>(value.size());
    const int surplus = length - placeholders;
    int k = 0;
    for (const Piece& p : pieces) {
        if (!p.placeholder) {
            out += p.literal;
            continue;
        }
        if (leftToRight) {
            if (k < length) {
                out += value[k];
            } else if (p.ch == u'@') {
                out += u' ';
            }
            if (k == placeholders - 1 && surplus > 0) {
                out += value.mid(placeholders);
            }
        } else {
            if (k == 0 && surplus > 0) {
                out += value.left(surplus);
            }
            const int index = surplus + k;
            if (index >= 0) {
                out += value[index];
            } else if (p.ch == u'@') {
                out += u' ';
            }
        }
        ++k;
    }
    return out;
}

} // namespace

QString formatString(const QString& value, bool isNull, QStringView format) {
    const std::vector<QStringView> sections = splitSections(format);
    if ((isNull || value.isEmpty()) && sections.size() >= 2) {
        return formatStringSection(QString(), sections[1]);
    }
    return formatStringSection(value, sections[0]);
}

} // namespace script::format
