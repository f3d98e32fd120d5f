#pragma once

#include "script/vba/VbaValue.h"

namespace script {

// The VBA Format function under Japanese regional settings: named formats ("Currency",
// "Short Date", ...), number sections with digit placeholders, scaling commas, percent and
// exponents, date and time tokens (including the Japanese aaa, aaaa, oooo, g, gg, ggg, e, ee) and
// string formats (@ & < > !). firstDayOfWeek 0..7 (0 and 1 Sunday), firstWeekOfYear 0..3 (0 and 1
// the week of January 1); other values give error 5.
VbaResult vbaFormat(const VbaValue& value, const QString& format = QString(),
                    int firstDayOfWeek = 1, int firstWeekOfYear = 1);

// A Double as the language's CStr writes it: up to 15 significant digits, exponent form
// ("1E+15", "1E-05") outside 1E-4 .. 1E+15.
QString vbaNumberText(double value);

// A Date as CStr writes it: "2025/04/01", "13:05:09", or both; an empty text when the value is
// outside the date range.
QString vbaDateText(double oleDate);

} // namespace script
