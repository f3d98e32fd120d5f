#include "script/vba/OleDate.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace script {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian), valid far beyond our range.
constexpr long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr long long kOleEpoch = daysFromCivil(1899, 12, 30);

} // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int weekdayOf(int year, int month, int day) {
    const long long days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    // 1970-01-01 was a Thursday (5).
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

double dateToOleDate(int year, int month, int day) {
    // Month overflow first (DateSerial-like), then days are plain arithmetic.
    long long y = year + (month - 1) / 12;
    int m = (month - 1) % 12;
    if (m < 0) {
        m += 12;
        --y;
    }
    return static_cast<double>(daysFromCivil(y, static_cast<unsigned>(m + 1), 1) - kOleEpoch +
                               (day - 1));
}

double timeToOleFraction(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

double combineOleDate(double datePart, double timeFraction) {
    return datePart < 0 ? datePart - timeFraction : datePart + timeFraction;
}

std::optional<DateParts> oleDateToParts(double oleDate) {
    if (!std::isfinite(oleDate) || oleDate < kMinOleDate - 0.99999 || oleDate >= 2958466.0) {
        return std::nullopt;
    }
    long long dayIndex = static_cast<long long>(std::trunc(oleDate));
    long long seconds = std::llround(std::fabs(oleDate - std::trunc(oleDate)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayIndex += 1;
    }
    DateParts p;
    civilFromDays(dayIndex + kOleEpoch, p.year, p.month, p.day);
    if (p.year < 100 || p.year > 9999) {
        return std::nullopt;
    }
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    p.weekday = weekdayOf(p.year, p.month, p.day);
    p.dayOfYear = static_cast<int>(daysFromCivil(p.year, static_cast<unsigned>(p.month),
                                                 static_cast<unsigned>(p.day)) -
                                   daysFromCivil(p.year, 1, 1)) +
                  1;
    return p;
}

namespace {

bool validDate(int y, int m, int d) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) {
        return false;
    }
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return d <= lengths[m - 1] + (m == 2 && isLeapYear(y) ? 1 : 0);
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
