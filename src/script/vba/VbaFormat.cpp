#include "script/vba/VbaFormat.h"

#include "config/NumericText.h"
#include "script/vba/JapaneseCalendar.h"
#include "script/vba/OleDate.h"

#include <cmath>
#include <optional>
#include <vector>

namespace script {

namespace {

// ---------------------------------------------------------------------------------------------
// Sections and the kind of a format

enum class FormatKind { Number, Date, String, Literal };

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

bool startsWithCi(QStringView text, qsizetype at, QStringView word) {
    return text.mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// The AM/PM designators a date format may hold, longest first.
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

// Digit placeholders make a number format (its letters are then plain text); else date tokens
// make a date format; else @ & < > ! a string format.
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

// ---------------------------------------------------------------------------------------------
// Decimal digits of a Double, rounded the way the language rounds for display

// value = 0.d1d2d3... * 10^pointPos, i.e. pointPos digits stand before the decimal point.
struct Decimal {
    QString digits; // no leading or trailing zeros; empty for zero
    int pointPos = 0;
};

Decimal toDecimal(double value) {
    Decimal d;
    if (value == 0 || !std::isfinite(value)) {
        return d;
    }
    // Fifteen significant digits, as the language converts a Double to text before formatting,
    // so 2.675 rounds to 2.68 and 0.1 + 0.2 prints as 0.3.
    const QString e = QString::number(std::fabs(value), 'e', 14);
    const qsizetype ePos = e.indexOf(u'e');
    QString digits = e.left(ePos);
    digits.remove(u'.');
    const int exponent = e.mid(ePos + 1).toInt();
    while (digits.endsWith(u'0')) {
        digits.chop(1);
    }
    d.digits = digits;
    d.pointPos = exponent + 1;
    return d;
}

// Keeps `keep` leading digits, rounding half away from zero.
void roundDigits(Decimal& d, int keep) {
    if (keep >= d.digits.size()) {
        return;
    }
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= u'5';
    d.digits.truncate(keep);
    if (up) {
        qsizetype i = d.digits.size() - 1;
        while (i >= 0 && d.digits[i] == u'9') {
            d.digits[i] = u'0';
            --i;
        }
        if (i < 0) {
            d.digits.prepend(u'1');
            ++d.pointPos;
        } else {
            d.digits[i] = QChar(d.digits[i].unicode() + 1);
        }
    }
    while (d.digits.endsWith(u'0')) {
        d.digits.chop(1);
    }
}

QChar digitAt(const Decimal& d, int index) { // index 0 is the first digit of d.digits
    return index >= 0 && index < d.digits.size() ? d.digits[index] : QChar(u'0');
}

// ---------------------------------------------------------------------------------------------
// Number sections

struct NumberToken {
    enum Type { Zero, Hash, Point, Comma, Percent, Exponent, Literal } type;
    QString text; // Literal: the text; Exponent: "E" or "e"
    bool exponentPlus = false;
};

std::vector<NumberToken> tokenizeNumber(QStringView s) {
    std::vector<NumberToken> tokens;
    bool point = false;
    bool exponent = false;
    bool placeholderSeen = false;
    auto literal = [&](const QString& text) {
        if (!tokens.empty() && tokens.back().type == NumberToken::Literal) {
            tokens.back().text += text;
        } else {
            tokens.push_back({NumberToken::Literal, text});
        }
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            literal(s.mid(i + 1, stop - i - 1).toString());
            i = stop;
        } else if (c == u'\\') {
            if (i + 1 < s.size()) {
                literal(QString(s[++i]));
            }
        } else if (c == u'0' || c == u'#') {
            tokens.push_back({c == u'0' ? NumberToken::Zero : NumberToken::Hash, {}});
            placeholderSeen = true;
        } else if (c == u'.' && !point && !exponent) {
            tokens.push_back({NumberToken::Point, {}});
            point = true;
        } else if (c == u',') {
            tokens.push_back({NumberToken::Comma, {}});
        } else if (c == u'%') {
            tokens.push_back({NumberToken::Percent, {}});
        } else if ((c == u'E' || c == u'e') && !exponent && placeholderSeen && i + 1 < s.size() &&
                   (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            tokens.push_back({NumberToken::Exponent, QString(c), s[i + 1] == u'+'});
            exponent = true;
            ++i;
        } else {
            literal(QString(c));
        }
    }
    return tokens;
}

bool isPlaceholder(const NumberToken& t) {
    return t.type == NumberToken::Zero || t.type == NumberToken::Hash;
}

// Formats a non-negative value with one number section.
QString formatNumberSection(double value, QStringView section) {
    const std::vector<NumberToken> tokens = tokenizeNumber(section);
    const int count = static_cast<int>(tokens.size());
    int exponentAt = count;
    int pointAt = -1;
    for (int i = 0; i < count; ++i) {
        if (tokens[i].type == NumberToken::Exponent) {
            exponentAt = i;
            break;
        }
        if (tokens[i].type == NumberToken::Point && pointAt < 0) {
            pointAt = i;
        }
    }
    const int integerEnd = pointAt >= 0 ? pointAt : exponentAt;

    int firstIntPlaceholder = -1;
    int lastIntPlaceholder = -1;
    int intPlaceholders = 0;
    int fracPlaceholders = 0;
    int percents = 0;
    for (int i = 0; i < count; ++i) {
        if (tokens[i].type == NumberToken::Percent) {
            ++percents;
        }
        if (!isPlaceholder(tokens[i])) {
            continue;
        }
        if (i < integerEnd) {
            ++intPlaceholders;
            if (firstIntPlaceholder < 0) {
                firstIntPlaceholder = i;
            }
            lastIntPlaceholder = i;
        } else if (i < exponentAt) {
            ++fracPlaceholders;
        }
    }
    // Commas between integer placeholders ask for thousands separators; commas right after the
    // last one (before the decimal point or the end) divide by 1000 each.
    bool grouping = false;
    int scaling = 0;
    for (int i = 0; i < integerEnd; ++i) {
        if (tokens[i].type != NumberToken::Comma) {
            continue;
        }
        if (i > firstIntPlaceholder && i < lastIntPlaceholder && firstIntPlaceholder >= 0) {
            grouping = true;
        } else if (lastIntPlaceholder >= 0 && i > lastIntPlaceholder) {
            ++scaling;
        }
    }

    double scaled = value;
    for (int i = 0; i < percents; ++i) {
        scaled *= 100;
    }
    for (int i = 0; i < scaling; ++i) {
        scaled /= 1000;
    }

    Decimal dec = toDecimal(scaled);
    QString integerDigits;
    QString fractionDigits;
    int exponentValue = 0;
    if (exponentAt < count) {
        if (!dec.digits.isEmpty()) {
            roundDigits(dec, intPlaceholders + fracPlaceholders);
            exponentValue = dec.pointPos - intPlaceholders;
        }
        for (int i = 0; i < intPlaceholders; ++i) {
            integerDigits += digitAt(dec, i);
        }
        for (int i = 0; i < fracPlaceholders; ++i) {
            fractionDigits += digitAt(dec, intPlaceholders + i);
        }
    } else {
        roundDigits(dec, dec.pointPos + fracPlaceholders);
        for (int i = 0; i < dec.pointPos; ++i) {
            integerDigits += digitAt(dec, i);
        }
        for (int i = 0; i < fracPlaceholders; ++i) {
            fractionDigits += digitAt(dec, dec.pointPos + i);
        }
    }
    // Leading zeros are the placeholders' business.
    qsizetype lead = 0;
    while (lead < integerDigits.size() && integerDigits[lead] == u'0') {
        ++lead;
    }
    integerDigits = integerDigits.mid(lead);

    // What each integer placeholder shows; the first one takes any surplus digits.
    std::vector<QString> shown(static_cast<size_t>(intPlaceholders));
    const int surplus = static_cast<int>(integerDigits.size()) - intPlaceholders;
    int totalIntDigits = 0;
    for (int j = 0, t = 0; t < integerEnd; ++t) {
        if (!isPlaceholder(tokens[t])) {
            continue;
        }
        const int index = surplus + j;
        QString& out = shown[static_cast<size_t>(j)];
        if (j == 0 && surplus > 0) {
            out = integerDigits.left(surplus + 1);
        } else if (index >= 0) {
            out = integerDigits[index];
        } else if (tokens[t].type == NumberToken::Zero) {
            out = QStringLiteral("0");
        }
        totalIntDigits += static_cast<int>(out.size());
        ++j;
    }
    // A format without integer placeholders still shows the integer digits, before the point.
    const bool orphanDigits = intPlaceholders == 0 && !integerDigits.isEmpty();

    // The last fraction digit that shows: trailing zeros under "#" are dropped.
    int fracShown = 0;
    {
        int j = 0;
        for (int t = integerEnd + 1; t < exponentAt; ++t) {
            if (!isPlaceholder(tokens[t])) {
                continue;
            }
            if (tokens[t].type == NumberToken::Zero || fractionDigits[j] != u'0') {
                fracShown = j + 1;
            }
            ++j;
        }
    }

    QString out;
    int emitted = 0;
    auto emitIntDigits = [&](const QString& digits) {
        for (const QChar d : digits) {
            out += d;
            ++emitted;
            const int remaining = totalIntDigits - emitted;
            if (grouping && remaining > 0 && remaining % 3 == 0) {
                out += u',';
            }
        }
    };
    if (orphanDigits) {
        totalIntDigits = static_cast<int>(integerDigits.size());
    }
    int intIndex = 0;
    int fracIndex = 0;
    int expIndex = 0;
    int expPlaceholders = 0;
    for (int t = exponentAt + 1; t < count; ++t) {
        expPlaceholders += isPlaceholder(tokens[t]) ? 1 : 0;
    }
    const QString expDigits = QString::number(std::abs(exponentValue));
    for (int t = 0; t < count; ++t) {
        const NumberToken& tok = tokens[t];
        if (orphanDigits && t == integerEnd) {
            emitIntDigits(integerDigits);
        }
        switch (tok.type) {
        case NumberToken::Literal:
            out += tok.text;
            break;
        case NumberToken::Percent:
            out += u'%';
            break;
        case NumberToken::Comma:
            break;
        case NumberToken::Point:
            out += u'.';
            break;
        case NumberToken::Exponent:
            out += tok.text;
            if (exponentValue < 0) {
                out += u'-';
            } else if (tok.exponentPlus) {
                out += u'+';
            }
            if (expPlaceholders == 0) {
                out += expDigits;
            }
            break;
        case NumberToken::Zero:
        case NumberToken::Hash:
            if (t < integerEnd) {
                emitIntDigits(shown[static_cast<size_t>(intIndex++)]);
            } else if (t < exponentAt) {
                if (fracIndex < fracShown) {
                    out += fractionDigits[fracIndex];
                }
                ++fracIndex;
            } else {
                // Exponent digits, right-aligned like integer digits.
                const int surplusExp = static_cast<int>(expDigits.size()) - expPlaceholders;
                const int index = surplusExp + expIndex;
                if (expIndex == 0 && surplusExp > 0) {
                    out += expDigits.left(surplusExp + 1);
                } else if (index >= 0) {
                    out += expDigits[index];
                } else if (tok.type == NumberToken::Zero) {
                    out += u'0';
                }
                ++expIndex;
            }
            break;
        }
    }
    if (orphanDigits && integerEnd >= count) {
        emitIntDigits(integerDigits);
    }
    return out;
}

bool showsNonZeroDigit(const QString& text) {
    for (const QChar c : text) {
        if (c >= u'1' && c <= u'9') {
            return true;
        }
    }
    return false;
}

// Picks the section for the value: positive; negative; zero; Null.
QString formatNumber(double value, QStringView format) {
    const std::vector<QStringView> sections = splitSections(format);
    QStringView section = sections[0];
    bool addMinus = false;
    if (value < 0) {
        if (sections.size() >= 2 && !sections[1].isEmpty()) {
            section = sections[1];
        } else {
            addMinus = true;
        }
    } else if (value == 0 && sections.size() >= 3 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    const QString text = formatNumberSection(std::fabs(value), section);
    // No "-0.00": a negative value that rounds to zero shows no sign.
    return addMinus && showsNonZeroDigit(text) ? QStringLiteral("-") + text : text;
}

// The literal text of a section (the Null section of a number format).
QString literalText(QStringView section) {
    QString out;
    for (const NumberToken& t : tokenizeNumber(section)) {
        if (t.type == NumberToken::Literal) {
            out += t.text;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Dates

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

std::optional<VbaResult> formatDate(double oleDate, QStringView format, int firstDayOfWeek,
                                    int firstWeekOfYear) {
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

// ---------------------------------------------------------------------------------------------
// Strings

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

QString formatString(const QString& value, bool isNull, QStringView format) {
    const std::vector<QStringView> sections = splitSections(format);
    if ((isNull || value.isEmpty()) && sections.size() >= 2) {
        return formatStringSection(QString(), sections[1]);
    }
    return formatStringSection(value, sections[0]);
}

// ---------------------------------------------------------------------------------------------
// Value conversions

std::optional<double> numberOf(const VbaValue& v) {
    switch (v.kind) {
    case VbaValue::Kind::Empty:
        return 0.0;
    case VbaValue::Kind::Null:
        return std::nullopt;
    case VbaValue::Kind::String:
        return numtext::parseNumber(std::u16string_view(
            reinterpret_cast<const char16_t*>(v.text.utf16()), static_cast<size_t>(v.text.size())));
    default:
        return v.number;
    }
}

std::optional<double> dateOf(const VbaValue& v) {
    if (v.kind == VbaValue::Kind::String) {
        if (auto d = parseDateText(v.text)) {
            return d;
        }
    }
    return numberOf(v);
}

QString plainText(const VbaValue& v) {
    switch (v.kind) {
    case VbaValue::Kind::Empty:
    case VbaValue::Kind::Null:
        return QString();
    case VbaValue::Kind::String:
        return v.text;
    case VbaValue::Kind::Boolean:
        return v.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case VbaValue::Kind::Date:
        return vbaDateText(v.number);
    case VbaValue::Kind::Number:
        return vbaNumberText(v.number);
    }
    return QString();
}

// ---------------------------------------------------------------------------------------------
// Named formats

enum class Named {
    None,
    GeneralNumber,
    Currency,
    Fixed,
    Standard,
    Percent,
    Scientific,
    YesNo,
    TrueFalse,
    OnOff,
    GeneralDate,
    LongDate,
    MediumDate,
    ShortDate,
    LongTime,
    MediumTime,
    ShortTime
};

Named namedFormat(QStringView f) {
    static const struct {
        const char16_t* name;
        Named kind;
    } table[] = {
        {u"General Number", Named::GeneralNumber},
        {u"Currency", Named::Currency},
        {u"Fixed", Named::Fixed},
        {u"Standard", Named::Standard},
        {u"Percent", Named::Percent},
        {u"Scientific", Named::Scientific},
        {u"Yes/No", Named::YesNo},
        {u"True/False", Named::TrueFalse},
        {u"On/Off", Named::OnOff},
        {u"General Date", Named::GeneralDate},
        {u"Long Date", Named::LongDate},
        {u"Medium Date", Named::MediumDate},
        {u"Short Date", Named::ShortDate},
        {u"Long Time", Named::LongTime},
        {u"Medium Time", Named::MediumTime},
        {u"Short Time", Named::ShortTime},
    };
    for (const auto& entry : table) {
        if (f.compare(QStringView(entry.name), Qt::CaseInsensitive) == 0) {
            return entry.kind;
        }
    }
    return Named::None;
}

VbaResult formatNamed(const VbaValue& value, Named kind) {
    if (value.kind == VbaValue::Kind::Null) {
        return VbaResult::nullValue();
    }
    if (kind >= Named::GeneralDate) {
        const auto date = dateOf(value);
        if (!date) {
            return VbaResult::ok(value.text); // text that is no date stays as it is
        }
        const auto parts = oleDateToParts(*date);
        if (!parts) {
            return VbaResult::fail(6);
        }
        switch (kind) {
        case Named::LongDate:
            return VbaResult::ok(longDateText(*parts));
        case Named::MediumDate:
            return VbaResult::ok(twoDigits(parts->year % 100) + u'-' + twoDigits(parts->month) +
                                 u'-' + twoDigits(parts->day));
        case Named::ShortDate:
            return VbaResult::ok(shortDateText(*parts));
        case Named::LongTime:
            return VbaResult::ok(longTimeText(*parts));
        case Named::MediumTime:
            return VbaResult::ok(formatDateSection(*parts, u"hh:nn AMPM", 1, 1));
        case Named::ShortTime:
            return VbaResult::ok(twoDigits(parts->hour) + u':' + twoDigits(parts->minute));
        default:
            return VbaResult::ok(generalDateText(*parts));
        }
    }
    const auto number = numberOf(value);
    if (!number) {
        return VbaResult::ok(value.text);
    }
    const double n = *number;
    switch (kind) {
    case Named::GeneralNumber:
        return VbaResult::ok(vbaNumberText(n));
    case Named::Currency:
        return VbaResult::ok(formatNumber(n, u"\\¥#,##0"));
    case Named::Fixed:
        return VbaResult::ok(formatNumber(n, u"0.00"));
    case Named::Standard:
        return VbaResult::ok(formatNumber(n, u"#,##0.00"));
    case Named::Percent:
        return VbaResult::ok(formatNumber(n, u"0.00%"));
    case Named::Scientific:
        return VbaResult::ok(formatNumber(n, u"0.00E+00"));
    case Named::YesNo:
        return VbaResult::ok(n != 0 ? QStringLiteral("Yes") : QStringLiteral("No"));
    case Named::TrueFalse:
        return VbaResult::ok(n != 0 ? QStringLiteral("True") : QStringLiteral("False"));
    default:
        return VbaResult::ok(n != 0 ? QStringLiteral("On") : QStringLiteral("Off"));
    }
}

} // namespace

QString vbaNumberText(double value) {
    if (value == 0) {
        return QStringLiteral("0");
    }
    if (!std::isfinite(value)) {
        return std::isnan(value)
                   ? QStringLiteral("NaN")
                   : (value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity"));
    }
    const Decimal d = toDecimal(value);
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const int exponent = d.pointPos - 1;
    if (exponent >= 15 || exponent < -4) {
        QString mantissa = d.digits.left(1);
        if (d.digits.size() > 1) {
            mantissa += u'.' + d.digits.mid(1);
        }
        return sign + mantissa + u'E' + (exponent < 0 ? u'-' : u'+') +
               QString::number(std::abs(exponent)).rightJustified(2, u'0');
    }
    if (d.pointPos <= 0) {
        return sign + QStringLiteral("0.") + QString(-d.pointPos, u'0') + d.digits;
    }
    if (d.pointPos >= d.digits.size()) {
        return sign + d.digits + QString(d.pointPos - d.digits.size(), u'0');
    }
    return sign + d.digits.left(d.pointPos) + u'.' + d.digits.mid(d.pointPos);
}

QString vbaDateText(double oleDate) {
    const auto parts = oleDateToParts(oleDate);
    return parts ? generalDateText(*parts) : QString();
}

VbaResult vbaFormat(const VbaValue& value, const QString& format, int firstDayOfWeek,
                    int firstWeekOfYear) {
    if (firstDayOfWeek < 0 || firstDayOfWeek > 7 || firstWeekOfYear < 0 || firstWeekOfYear > 3) {
        return VbaResult::fail(5);
    }
    const int dayOfWeek = firstDayOfWeek == 0 ? 1 : firstDayOfWeek;
    const int weekOfYear = firstWeekOfYear == 0 ? 1 : firstWeekOfYear;

    if (format.isEmpty()) {
        if (value.kind == VbaValue::Kind::Null) {
            return VbaResult::nullValue();
        }
        return VbaResult::ok(plainText(value));
    }
    if (const Named named = namedFormat(format); named != Named::None) {
        return formatNamed(value, named);
    }

    const FormatKind kind = classify(format);
    if (kind == FormatKind::String) {
        return VbaResult::ok(
            formatString(plainText(value), value.kind == VbaValue::Kind::Null, format));
    }
    if (value.kind == VbaValue::Kind::Null) {
        const std::vector<QStringView> sections = splitSections(format);
        if (sections.size() >= 4) {
            return VbaResult::ok(literalText(sections[3]));
        }
        return VbaResult::nullValue();
    }
    if (kind == FormatKind::Date) {
        const auto date = dateOf(value);
        if (!date) {
            return VbaResult::ok(value.text); // text that is no date stays as it is
        }
        return *formatDate(*date, format, dayOfWeek, weekOfYear);
    }
    const auto number = numberOf(value);
    if (!number) {
        // Text that is no number: a format of literals only still applies, as to a string.
        return VbaResult::ok(kind == FormatKind::Literal ? formatString(value.text, false, format)
                                                         : value.text);
    }
    return VbaResult::ok(formatNumber(*number, format));
}

} // namespace script
