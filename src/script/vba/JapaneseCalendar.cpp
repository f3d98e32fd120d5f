#include "script/vba/JapaneseCalendar.h"

namespace script {

namespace {

const JapaneseEra kEras[] = {
    {2019, 5, 1, u"令和", u"令", u"R"},   {1989, 1, 8, u"平成", u"平", u"H"},
    {1926, 12, 25, u"昭和", u"昭", u"S"}, {1912, 7, 30, u"大正", u"大", u"T"},
    {1868, 1, 1, u"明治", u"明", u"M"},
};

const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
const char16_t kJapaneseDays[] = u"日月火水木金土";

} // namespace

const JapaneseEra* japaneseEraOf(int year, int month, int day) {
    const int key = year * 10000 + month * 100 + day;
    for (const JapaneseEra& era : kEras) {
        if (key >= era.startYear * 10000 + era.startMonth * 100 + era.startDay) {
            return &era;
        }
    }
    return nullptr;
}

QString englishDayName(int weekday) {
    return QString::fromLatin1(kDayNames[(weekday - 1) % 7]);
}

QString englishDayAbbrev(int weekday) {
    return englishDayName(weekday).left(3);
}

QString englishMonthName(int month) {
    return QString::fromLatin1(kMonthNames[(month - 1) % 12]);
}

QString englishMonthAbbrev(int month) {
    return englishMonthName(month).left(3);
}

QString japaneseDayAbbrev(int weekday) {
    return QString(QChar(kJapaneseDays[(weekday - 1) % 7]));
}

QString japaneseDayName(int weekday) {
    return japaneseDayAbbrev(weekday) + QStringLiteral("曜日");
}

QString japaneseMonthName(int month) {
    return QString::number(month) + QStringLiteral("月");
}

} // namespace script
