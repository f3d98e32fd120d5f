#include "vbscript/builtins/Regional.h"

namespace vbscript::lib {

namespace {

RegionalSettings makeJapan() {
    RegionalSettings s{};
    s.lcid = kJapanLcid;
    s.dateOrder = DateOrder::YearMonthDay;
    s.twelveHourClock = false;
    s.amDesignator = u"午前";
    s.pmDesignator = u"午後";
    s.monthNames = {u"1月", u"2月", u"3月", u"4月",  u"5月",  u"6月",
                    u"7月", u"8月", u"9月", u"10月", u"11月", u"12月"};
    s.monthAbbreviations = s.monthNames;
    s.dayNames = {u"日曜日", u"月曜日", u"火曜日", u"水曜日", u"木曜日", u"金曜日", u"土曜日"};
    s.dayAbbreviations = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
    s.currencySymbol = std::u16string(1, u'\u00A5');
    s.currencyDigits = 0;
    s.decimalSeparator = u'.';
    s.groupSeparator = u',';
    s.numberDigits = 2;
    return s;
}

RegionalSettings makeUnitedStates() {
    RegionalSettings s{};
    s.lcid = kUnitedStatesLcid;
    s.dateOrder = DateOrder::MonthDayYear;
    s.twelveHourClock = true;
    s.amDesignator = u"AM";
    s.pmDesignator = u"PM";
    s.monthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                    u"July",    u"August",   u"September", u"October", u"November", u"December"};
    s.monthAbbreviations = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                            u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    s.dayNames = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                  u"Thursday", u"Friday", u"Saturday"};
    s.dayAbbreviations = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    s.currencySymbol = std::u16string(1, u'$');
    s.currencyDigits = 2;
    s.decimalSeparator = u'.';
    s.groupSeparator = u',';
    s.numberDigits = 2;
    return s;
}

int g_currentLocale = kJapanLcid;

char16_t lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

} // namespace

const RegionalSettings& regionalSettings(int lcid) {
    static const RegionalSettings japan = makeJapan();
    static const RegionalSettings unitedStates = makeUnitedStates();
    return lcid == kUnitedStatesLcid ? unitedStates : japan;
}

int currentLocale() {
    return g_currentLocale;
}

const RegionalSettings& currentRegionalSettings() {
    return regionalSettings(g_currentLocale);
}

void setCurrentLocale(int lcid) {
    g_currentLocale = lcid;
}

std::optional<int> resolveLocale(int lcid) {
    if (lcid == 0 || lcid == kJapanLcid)
        return kJapanLcid;
    if (lcid == kUnitedStatesLcid)
        return kUnitedStatesLcid;
    return std::nullopt;
}

std::optional<int> resolveLocale(std::u16string_view name) {
    std::u16string folded;
    for (char16_t c : name)
        folded.push_back(c == u'_' ? u'-' : lower(c));
    if (folded.empty() || folded == u"ja" || folded == u"ja-jp" || folded == u"japanese")
        return kJapanLcid;
    if (folded == u"en" || folded == u"en-us" || folded == u"english")
        return kUnitedStatesLcid;
    return std::nullopt;
}

} // namespace vbscript::lib
