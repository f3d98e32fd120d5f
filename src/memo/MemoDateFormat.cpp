#include "memo/MemoDateFormat.h"

namespace memo {

namespace {

// The program follows Japanese regional settings on every machine.
constexpr QChar kDateSeparator = u'/';
constexpr QChar kTimeSeparator = u':';

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

MemoClock systemMemoClock() {
    return [] { return QDateTime::currentDateTime(); };
}

QString FormatMemoDate(const QDateTime& when, const QString& pattern) {
    const QDate date = when.date();
    const QTime time = when.time();
    QString out;
    out.reserve(pattern.size() + 8);
    bool afterHour = false;
    const QStringView p(pattern);
    for (qsizetype i = 0; i < p.size();) {
        const QStringView rest = p.mid(i);
        if (rest.startsWith(u"yyyy")) {
            out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            afterHour = false;
            i += 4;
        } else if (rest.startsWith(u"mm")) {
            out += twoDigits(afterHour ? time.minute() : date.month());
            afterHour = false;
            i += 2;
        } else if (rest.startsWith(u"dd")) {
            out += twoDigits(date.day());
            afterHour = false;
            i += 2;
        } else if (rest.startsWith(u"hh")) {
            out += twoDigits(time.hour());
            afterHour = true;
            i += 2;
        } else if (rest.startsWith(u"ss")) {
            out += twoDigits(time.second());
            afterHour = false;
            i += 2;
        } else {
            const QChar c = p[i];
            out += c == u'/' ? kDateSeparator : c == u':' ? kTimeSeparator : c;
            ++i;
        }
    }
    return out;
}

} // namespace memo
