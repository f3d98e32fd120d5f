#pragma once

#include <QString>

namespace script {

// Names of the program's regional settings (Japan): the ones Format prints.
struct JapaneseEra {
    int startYear;
    int startMonth;
    int startDay;
    const char16_t* name;    // 令和
    const char16_t* initial; // 令
    const char16_t* letter;  // R
};

// The era a date falls in, or nullptr before Meiji (1868-01-01).
const JapaneseEra* japaneseEraOf(int year, int month, int day);

QString englishDayName(int weekday);    // 1 Sunday .. 7 Saturday: "Sunday"
QString englishDayAbbrev(int weekday);  // "Sun"
QString englishMonthName(int month);    // "January"
QString englishMonthAbbrev(int month);  // "Jan"
QString japaneseDayName(int weekday);   // "日曜日"
QString japaneseDayAbbrev(int weekday); // "日"
QString japaneseMonthName(int month);   // "4月"

inline constexpr char16_t kAmDesignator[] = u"午前";
inline constexpr char16_t kPmDesignator[] = u"午後";
inline constexpr char16_t kCurrencySymbol[] = u"¥";

} // namespace script
