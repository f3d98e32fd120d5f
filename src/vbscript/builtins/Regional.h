#pragma once

// Regional settings the library formats and parses with. The program speaks Japanese, so Japan
// (1041) is the system setting whatever the machine's locale is; SetLocale can switch a run to
// the United States (1033) conventions.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vbscript::lib {

enum class DateOrder { YearMonthDay, MonthDayYear };

struct RegionalSettings {
    int lcid;
    DateOrder dateOrder;
    bool twelveHourClock;
    std::u16string amDesignator;
    std::u16string pmDesignator;
    std::array<std::u16string, 12> monthNames;
    std::array<std::u16string, 12> monthAbbreviations;
    std::array<std::u16string, 7> dayNames; // Sunday first
    std::array<std::u16string, 7> dayAbbreviations;
    std::u16string currencySymbol;
    int currencyDigits;
    char16_t decimalSeparator;
    char16_t groupSeparator;
    int numberDigits;
};

inline constexpr int kJapanLcid = 1041;
inline constexpr int kUnitedStatesLcid = 1033;

const RegionalSettings& regionalSettings(int lcid);

// The locale of the running scripts. Process-wide: the program runs its scripts on one thread.
int currentLocale();
const RegionalSettings& currentRegionalSettings();
void setCurrentLocale(int lcid); // lcid must be supported

// 0 and "" mean the system setting; names like "ja-jp" or "en-US" are accepted too.
std::optional<int> resolveLocale(int lcid);
std::optional<int> resolveLocale(std::u16string_view name);

} // namespace vbscript::lib
