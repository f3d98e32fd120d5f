#include "script/vba/OleDate.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace script {

bool isLeapYear(int year) {
    return vbscript::lib::isLeapYear(year);
}

int weekdayOf(int year, int month, int day) {
    return vbscript::lib::weekday(double(vbscript::lib::daysFromCivil(year, month, day)));
}

double dateToOleDate(int year, int month, int day) {
    // Months roll into years first (as DateSerial does), then days are plain arithmetic.
    const long long months = year * 12LL + (month - 1);
    const long long wholeYears = months >= 0 ? months / 12 : (months - 11) / 12;
    const int monthInYear = static_cast<int>(months - wholeYears * 12) + 1;
    return static_cast<double>(vbscript::lib::daysFromCivil(wholeYears, monthInYear, 1) +
                               (day - 1));
}

double timeToOleFraction(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

double combineOleDate(double datePart, double timeFraction) {
    return datePart < 0 ? datePart - timeFraction : datePart + timeFraction;
}

std::optional<DateParts> oleDateToParts(double oleDate) {
    if (!std::isfinite(oleDate) || oleDate < kMinOleDate - 0.99999 || oleDate >= 2958466.0)
        return std::nullopt;
    const DateParts p = vbscript::lib::splitDate(oleDate);
    if (p.year < 100 || p.year > 9999)
        return std::nullopt;
    return p;
}

namespace {

bool validDate(int y, int m, int d) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) {
        return false;
    }
    return d <= vbscript::lib::daysInMonth(y, m);
}

std::optional<double> parseTimeText(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^(午前|午後|AM|PM|A|P)?\\s*(\\d{1,2})(?::(\\d{1,2}))?(?::(\\d{1,2}))?"
                       "\\s*(午前|午後|AM|PM|A|P)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const QString before = m.captured(1).toUpper();
    const QString after = m.captured(5).toUpper();
    if (!before.isEmpty() && !after.isEmpty()) {
        return std::nullopt;
    }
    const QString designator = before.isEmpty() ? after : before;
    // A lone number is no time unless a designator says so ("1 PM").
    if (m.captured(3).isEmpty() && designator.isEmpty()) {
        return std::nullopt;
    }
    int h = m.captured(2).toInt();
    const int n = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const int s = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
    if (!designator.isEmpty()) {
        if (h < 1 || h > 12) {
            return std::nullopt;
        }
        const bool pm = designator == QStringLiteral("PM") || designator == QStringLiteral("P") ||
                        designator == QStringLiteral("午後");
        h = h % 12 + (pm ? 12 : 0);
    }
    if (h > 23 || n > 59 || s > 59) {
        return std::nullopt;
    }
    return timeToOleFraction(h, n, s);
}

std::optional<double> parseDateOnly(const QString& text) {
    static const QRegularExpression ymd(
        QStringLiteral("^(\\d{1,4})\\s*[/\\-年]\\s*(\\d{1,2})\\s*[/\\-月]\\s*(\\d{1,2})\\s*日?$"));
    static const QRegularExpression md(
        QStringLiteral("^(\\d{1,2})\\s*[/\\-月]\\s*(\\d{1,2})\\s*日?$"));
    if (const auto m = ymd.match(text); m.hasMatch()) {
        int y = m.captured(1).toInt();
        if (m.captured(1).size() <= 2) {
            y += y < 30 ? 2000 : 1900; // two-digit years: 00-29 this century, as the system does
        }
        const int mo = m.captured(2).toInt();
        const int d = m.captured(3).toInt();
        if (!validDate(y, mo, d)) {
            return std::nullopt;
        }
        return dateToOleDate(y, mo, d);
    }
    if (const auto m = md.match(text); m.hasMatch()) {
        const int y = QDate::currentDate().year();
        const int mo = m.captured(1).toInt();
        const int d = m.captured(2).toInt();
        if (!validDate(y, mo, d)) {
            return std::nullopt;
        }
        return dateToOleDate(y, mo, d);
    }
    return std::nullopt;
}

} // namespace

std::optional<double> parseDateText(const QString& input) {
    const QString text = input.trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    if (auto d = parseDateOnly(text)) {
        return d;
    }
    if (auto t = parseTimeText(text)) {
        return t;
    }
    // A date and a time separated by blanks.
    const int gap = text.indexOf(QLatin1Char(' '));
    if (gap > 0) {
        const auto d = parseDateOnly(text.left(gap));
        const auto t = parseTimeText(text.mid(gap + 1).trimmed());
        if (d && t) {
            return combineOleDate(*d, *t);
        }
    }
    return std::nullopt;
}

} // namespace script
