#include "script/vba/DateFormat.h"

#include "script/vba/FormatSections.h"
#include "script/vba/JapaneseCalendar.h"
#include "script/vba/VbaFormat.h"

#include <algorithm>
#include <vector>

namespace script {

namespace format {

namespace {

int relativeWeekday(int weekday, int firstDayOfWeek) { // 0 .. 6 from the first day of the week
    return (weekday - firstDayOfWeek + 7) % 7;
}

int weekOfYear(const DateParts& p, int firstDayOfWeek, int firstWeekOfYear) {
    const int jan1 = relativeWeekday(weekdayOf(p.year, 1, 1), firstDayOfWeek);
    // Day of year (0-based) on which week 1 begins; may be negative.
    int week1Start = -jan1;
    if (firstWeekOfYear == 2 && jan1 > 3) {
        week1Start += 7;
    } else if (firstWeekOfYear == 3 && jan1 > 0) {
        week1Start += 7;
    }
    const int doy = p.dayOfYear - 1;
    if (doy < week1Start) {
        // The days before week 1 belong to the last week of the year before.
        DateParts dec31;
        dec31.year = p.year - 1;
        dec31.month = 12;
        dec31.day = 31;
        dec31.dayOfYear = isLeapYear(dec31.year) ? 366 : 365;
        return weekOfYear(dec31, firstDayOfWeek, firstWeekOfYear);
    }
    return (doy - week1Start) / 7 + 1;
}

qsizetype runLength(QStringView s, qsizetype i) {
    const char16_t c = QChar::toLower(s[i].unicode());
    qsizetype n = 1;
    while (i + n < s.size() && QChar::toLower(s[i + n].unicode()) == c) {
        ++n;
    }
    return n;
}

bool hasDesignator(QStringView section) {
    bool quoted = false;
    for (qsizetype i = 0; i < section.size(); ++i) {
        if (section[i] == u'"') {
            quoted = !quoted;
        } else if (!quoted && section[i] == u'\\') {
            ++i;
        } else if (!quoted && designatorLength(section, i) > 0) {
            return true;
        }
    }
    return false;
}

} // namespace

QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

QString shortDateText(const DateParts& p) {
    return QString::number(p.year).rightJustified(4, u'0') + u'/' + twoDigits(p.month) + u'/' +
           twoDigits(p.day);
}

QString longDateText(const DateParts& p) {
    return QString::number(p.year) + QStringLiteral("年") + QString::number(p.month) +
           QStringLiteral("月") + QString::number(p.day) + QStringLiteral("日");
}

QString longTimeText(const DateParts& p) {
    return QString::number(p.hour) + u':' + twoDigits(p.minute) + u':' + twoDigits(p.second);
}

QString generalDateText(const DateParts& p) {
    const bool hasTime = p.hour != 0 || p.minute != 0 || p.second != 0;
    const bool hasDate = !(p.year == 1899 && p.month == 12 && p.day == 30);
    if (hasDate && hasTime) {
        return shortDateText(p) + u' ' + longTimeText(p);
    }
    return hasDate ? shortDateText(p) : longTimeText(p);
}

QString formatDateSection(const DateParts& p, QStringView s, int firstDayOfWeek,
                          int firstWeekOfYear) {
    const bool twelveHour = hasDesignator(s);
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    const JapaneseEra* era = japaneseEraOf(p.year, p.month, p.day);
    QString out;
    bool afterHour = false;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        const char16_t lc = QChar::toLower(c.unicode());
        if (c == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            out += s.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == u'\\') {
            if (i + 1 < s.size()) {
                out += s[i + 1];
            }
            i += 2;
            continue;
        }
        const qsizetype designator = designatorLength(s, i);
        if (designator > 0) {
            const bool pm = p.hour >= 12;
            if (designator == 4) {
                out += pm ? kPmDesignator : kAmDesignator;
            } else if (designator == 5) {
                out += pm ? s.mid(i + 3, 2) : s.mid(i, 2);
            } else {
                out += pm ? s[i + 2] : s[i];
            }
            i += designator;
            afterHour = false;
            continue;
        }
        const qsizetype run = runLength(s, i);
        qsizetype used = 1;
        bool token = true;
        bool hourToken = false;
        switch (lc) {
        case u'c':
            out += generalDateText(p);
            break;
        case u'd':
            used = std::min<qsizetype>(run, 6);
            switch (used) {
            case 1:
                out += QString::number(p.day);
                break;
            case 2:
                out += twoDigits(p.day);
                break;
            case 3:
                out += englishDayAbbrev(p.weekday);
                break;
            case 4:
                out += englishDayName(p.weekday);
                break;
            case 5:
                out += shortDateText(p);
                break;
            default:
                out += longDateText(p);
                break;
            }
            break;
        case u'a':
            if (run >= 4) {
                used = 4;
                out += japaneseDayName(p.weekday);
            } else if (run == 3) {
                used = 3;
                out += japaneseDayAbbrev(p.weekday);
            } else {
                token = false;
            }
            break;
        case u'w':
            used = std::min<qsizetype>(run, 2);
            out += QString::number(used == 1 ? relativeWeekday(p.weekday, firstDayOfWeek) + 1
                                             : weekOfYear(p, firstDayOfWeek, firstWeekOfYear));
            break;
        case u'm':
            used = std::min<qsizetype>(run, 4);
            if (used == 4) {
                out += englishMonthName(p.month);
            } else if (used == 3) {
                out += englishMonthAbbrev(p.month);
            } else if (afterHour) {
                out += used == 2 ? twoDigits(p.minute) : QString::number(p.minute);
            } else {
                out += used == 2 ? twoDigits(p.month) : QString::number(p.month);
            }
            break;
        case u'o':
            if (run >= 4) {
                used = 4;
                out += japaneseMonthName(p.month);
            } else {
                token = false;
            }
            break;
        case u'q':
            out += QString::number((p.month - 1) / 3 + 1);
            break;
        case u'y':
            if (run >= 4) {
                used = 4;
                out += QString::number(p.year);
            } else if (run >= 2) {
                used = 2;
                out += twoDigits(p.year % 100);
            } else {
                out += QString::number(p.dayOfYear);
            }
            break;
        case u'h': {
            used = std::min<qsizetype>(run, 2);
            const int h = twelveHour ? hour12 : p.hour;
            out += used == 2 ? twoDigits(h) : QString::number(h);
            hourToken = true;
            break;
        }
        case u'n':
            used = std::min<qsizetype>(run, 2);
            out += used == 2 ? twoDigits(p.minute) : QString::number(p.minute);
            break;
        case u's':
            used = std::min<qsizetype>(run, 2);
            out += used == 2 ? twoDigits(p.second) : QString::number(p.second);
            break;
        case u't':
            if (run >= 5) {
                used = 5;
                out += longTimeText(p);
            } else {
                token = false;
            }
            break;
        case u'g':
            used = std::min<qsizetype>(run, 3);
            if (era) {
                out += used == 1 ? era->letter : used == 2 ? era->initial : era->name;
            }
            break;
        case u'e': {
            used = std::min<qsizetype>(run, 2);
            const int year = era ? p.year - era->startYear + 1 : p.year;
            out += used == 2 ? twoDigits(year) : QString::number(year);
            break;
        }
        default:
            token = false;
            break;
        }
        if (!token) {
            out += c; // ':' and '/' are this locale's separators already
            i += 1;
            continue;
        }
        afterHour = hourToken;
        i += used;
    }
    return out;
}

VbaResult formatDate(double oleDate, QStringView format, int firstDayOfWeek, int firstWeekOfYear) {
    const auto parts = oleDateToParts(oleDate);
    if (!parts) {
        return VbaResult::fail(6);
    }
    const std::vector<QStringView> sections = splitSections(format);
    QStringView section = sections[0];
    if (oleDate < 0 && sections.size() >= 2 && !sections[1].isEmpty()) {
        section = sections[1];
    } else if (oleDate == 0 && sections.size() >= 3 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    return VbaResult::ok(formatDateSection(*parts, section, firstDayOfWeek, firstWeekOfYear));
}

} // namespace format

QString vbaDateText(double oleDate) {
    const auto parts = oleDateToParts(oleDate);
    return parts ? format::generalDateText(*parts) : QString();
}

} // namespace script
