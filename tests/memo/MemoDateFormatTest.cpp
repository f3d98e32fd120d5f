#include "memo/MemoDateFormat.h"

#include <gtest/gtest.h>

TEST(FormatMemoDate, Table) {
    const QDateTime when(QDate(2007, 3, 1), QTime(14, 5, 9));
    const std::pair<const char*, const char*> rows[] = {
        {"yyyy/mm/dd hh:mm:ss", "2007/03/01 14:05:09"},
        {"yyyy-mm-dd", "2007-03-01"},
        {"hh mm", "14 05"}, // minutes after an hour, literals between
        {"mm hh mm", "03 14 05"},
        {"hh dd mm", "14 01 03"}, // a field between: month again
        {"ss", "09"},
        {"Time: y m", "Time: y m"}, // single letters and other characters are copied
        {"yyyyy", "2007y"},
        {"", ""}};
    for (const auto& [pattern, expected] : rows)
        EXPECT_EQ(memo::FormatMemoDate(when, QString::fromUtf8(pattern)).toStdString(), expected)
            << pattern;
}

TEST(FormatMemoDate, HoursRunFrom00To23) {
    EXPECT_EQ(memo::FormatMemoDate(QDateTime(QDate(2020, 12, 31), QTime(0, 0, 0)), "hh:mm:ss"),
              QStringLiteral("00:00:00"));
    EXPECT_EQ(memo::FormatMemoDate(QDateTime(QDate(2020, 12, 31), QTime(23, 59, 59)), "hh:mm:ss"),
              QStringLiteral("23:59:59"));
}
