#pragma once

// Dates as text: the language's date-to-string conversion, FormatDateTime, and the reading of
// date and time text (CDate, DateValue, TimeValue, IsDate) by the regional settings.

#include "vbscript/builtins/Regional.h"

#include <optional>
#include <string>
#include <string_view>

namespace vbscript::lib {

enum class NamedDateFormat {
    General = 0,
    LongDate = 1,
    ShortDate = 2,
    LongTime = 3,
    ShortTime = 4
};

std::u16string formatDateTime(double oleDate, NamedDateFormat format,
                              const RegionalSettings& settings);
// The conversion of a date value to text: the date, the time, or both, as present.
inline std::u16string dateToText(double oleDate, const RegionalSettings& settings) {
    return formatDateTime(oleDate, NamedDateFormat::General, settings);
}

// Reads a date, a time or both. A date alone has no time part; a time alone lies on day 0.
// currentYear completes dates written without a year ("1/5").
std::optional<double> parseDateTime(std::u16string_view text, const RegionalSettings& settings,
                                    int currentYear);

} // namespace vbscript::lib
