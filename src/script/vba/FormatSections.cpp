#include "script/vba/FormatSections.h"

#include <QChar>

namespace script::format {

namespace {

bool startsWithCi(QStringView text, qsizetype at, QStringView word) {
    return text.mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

std::vector<QStringView> splitSections(QStringView format) {
    std::vector<QStringView> sections;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u'\\') {
            ++i;
        } else if (!quoted && c == u';') {
            sections.push_back(format.mid(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.mid(start));
    return sections;
}

qsizetype designatorLength(QStringView s, qsizetype i) {
    if (startsWithCi(s, i, u"AM/PM")) {
        return 5;
    }
    if (startsWithCi(s, i, u"AMPM")) {
        return 4;
    }
    if (startsWithCi(s, i, u"A/P")) {
        return 3;
    }
    return 0;
}

namespace {

bool isDateLetter(QStringView s, qsizetype i) {
    const char16_t c = QChar::toLower(s[i].unicode());
    switch (c) {
    case u'd':
    case u'm':
    case u'y':
    case u'h':
    case u'n':
    case u's':
    case u'w':
    case u'q':
    case u'c':
    case u'g':
    case u'e':
        return true;
    case u'a':
        return designatorLength(s, i) > 0 || startsWithCi(s, i, u"aaa");
    case u'o':
        return startsWithCi(s, i, u"oooo");
    case u't':
        return startsWithCi(s, i, u"ttttt");
    default:
        return false;
    }
}

} // namespace

FormatKind classify(QStringView format) {
    bool digits = false;
    bool date = false;
    bool text = false;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"') {
            quoted = !quoted;
            continue;
        }
        if (quoted) {
            continue;
        }
        if (c == u'\\') {
            ++i;
        } else if (c == u'0' || c == u'#' || c == u'.' || c == u'%') {
            digits = true;
        } else if (c == u'@' || c == u'&' || c == u'<' || c == u'>' || c == u'!') {
            text = true;
        } else if (isDateLetter(format, i)) {
            date = true;
        }
    }
    if (digits) {
        return FormatKind::Number;
    }
    if (date) {
        return FormatKind::Date;
    }
    return text ? FormatKind::String : FormatKind::Literal;
}

} // namespace script::format
