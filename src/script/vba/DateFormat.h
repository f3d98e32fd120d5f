#pragma once

#include "script/vba/OleDate.h"
#include "script/vba/VbaValue.h"

#include <QString>
#include <QStringView>

// Date formats under the Japanese regional settings.
namespace script::format {

QString twoDigits(int n);
QString shortDateText(const DateParts& p);   // 2025/04/01
QString longDateText(const DateParts& p);    // 2025年4月1日
QString longTimeText(const DateParts& p);    // 1:02:03
QString generalDateText(const DateParts& p); // date, time, or both
QString formatDateSection(const DateParts& p, QStringView s, int firstDayOfWeek,
                          int firstWeekOfYear);
// Picks the section (positive; negative; zero); error 6 outside the date range.
VbaResult formatDate(double oleDate, QStringView format, int firstDayOfWeek, int firstWeekOfYear);

} // namespace script::format
