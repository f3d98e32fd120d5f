// The date and time functions. Dates given as text are read by the current regional settings
// (Japan unless SetLocale chose otherwise); a Null date gives Null.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/DateMath.h"
#include "vbscript/builtins/DateText.h"
#include "vbscript/builtins/LibraryArgs.h"
#include "vbscript/builtins/Regional.h"

#include <chrono>
#include <ctime>

namespace vbscript {
namespace {

struct LocalNow {
    double date;    // today at midnight
    double time;    // the time of day as a fraction
    double seconds; // seconds since midnight, with fractions
};

LocalNow localNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto sinceEpoch = now.time_since_epoch();
    const double fraction =
        double(std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count() %
               1000000) /
        1e6;
    const int secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return {double(lib::daysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)),
            secondOfDay / 86400.0, secondOfDay + fraction};
}

lib::DateInterval intervalArg(Args args, size_t i) {
    const auto interval = lib::parseInterval(toString(args[i]));
    if (!interval)
        raiseError(err::InvalidCall);
    return *interval;
}

int dayOfWeekArg(Args args, size_t i) {
    const int32_t v = lib::longArg(args, i, 1);
    if (v < 0 || v > 7)
        raiseError(err::InvalidCall);
    return v;
}

int weekOfYearArg(Args args, size_t i) {
    const int32_t v = lib::longArg(args, i, 1);
    if (v < 0 || v > 3)
        raiseError(err::InvalidCall);
    return v;
}

double checkedDate(const lib::DateResult& result) {
    if (result.error != 0)
        raiseError(result.error);
    return result.value;
}

double datePartOnly(double oleDate) {
    const int64_t seconds = lib::totalSeconds(oleDate);
    const int64_t day = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    return double(day);
}

double timePartOnly(double oleDate) {
    const int64_t seconds = lib::totalSeconds(oleDate);
    return double(((seconds % 86400) + 86400) % 86400) / 86400.0;
}

Value dateFn(Context&, Args) {
    return Value::date(localNow().date);
}
Value timeFn(Context&, Args) {
    return Value::date(localNow().time);
}
Value nowFn(Context&, Args) {
    const LocalNow n = localNow();
    return Value::date(n.date + n.time);
}
Value timer(Context&, Args) {
    return Value::single(static_cast<float>(localNow().seconds));
}

template <int lib::CivilDateTime::*Field> Value partOf(Context&, Args args) {
    if (args[0].isNull())
        return Value::null();
    const lib::CivilDateTime parts = lib::splitDate(lib::dateArg(args[0]));
    return Value::integer(static_cast<int16_t>(parts.*Field));
}

Value weekdayFn(Context&, Args args) {
    const int firstDay = dayOfWeekArg(args, 1);
    if (args[0].isNull())
        return Value::null();
    return Value::integer(static_cast<int16_t>(lib::weekday(lib::dateArg(args[0]), firstDay)));
}

Value weekdayName(Context&, Args args) {
    const int32_t day = toLong(args[0]);
    const bool abbreviate = lib::boolArg(args, 1, false);
    int firstDay = dayOfWeekArg(args, 2);
    if (firstDay == 0)
        firstDay = 1;
    if (day < 1 || day > 7)
        raiseError(err::InvalidCall);
    const auto& settings = lib::currentRegionalSettings();
    const int index = (day - 1 + firstDay - 1) % 7;
    return Value::string(abbreviate ? settings.dayAbbreviations[index] : settings.dayNames[index]);
}

Value monthName(Context&, Args args) {
    const int32_t month = toLong(args[0]);
    const bool abbreviate = lib::boolArg(args, 1, false);
    if (month < 1 || month > 12)
        raiseError(err::InvalidCall);
    const auto& settings = lib::currentRegionalSettings();
    return Value::string(abbreviate ? settings.monthAbbreviations[month - 1]
                                    : settings.monthNames[month - 1]);
}

Value dateSerialFn(Context&, Args args) {
    const auto date = lib::dateSerial(toInteger(args[0]), toInteger(args[1]), toInteger(args[2]));
    if (!date)
        raiseError(err::InvalidCall);
    return Value::date(*date);
}

Value timeSerialFn(Context&, Args args) {
    const auto time = lib::timeSerial(toInteger(args[0]), toInteger(args[1]), toInteger(args[2]));
    if (!time)
        raiseError(err::InvalidCall);
    return Value::date(*time);
}

Value dateValue(Context&, Args args) {
    if (args[0].isNull())
        return Value::null();
    return Value::date(datePartOnly(lib::dateArg(args[0])));
}

Value timeValue(Context&, Args args) {
    if (args[0].isNull())
        return Value::null();
    return Value::date(timePartOnly(lib::dateArg(args[0])));
}

Value dateAdd(Context&, Args args) {
    const lib::DateInterval interval = intervalArg(args, 0);
    const double number = toDouble(args[1]);
    if (args[2].isNull())
        return Value::null();
    return Value::date(checkedDate(lib::dateAdd(interval, number, lib::dateArg(args[2]))));
}

Value dateDiff(Context&, Args args) {
    const lib::DateInterval interval = intervalArg(args, 0);
    const int firstDay = dayOfWeekArg(args, 3);
    const int firstWeek = weekOfYearArg(args, 4);
    if (args[1].isNull() || args[2].isNull())
        return Value::null();
    const double result = checkedDate(
        lib::dateDiff(interval, lib::dateArg(args[1]), lib::dateArg(args[2]), firstDay, firstWeek));
    return Value::longValue(static_cast<int32_t>(result));
}

Value datePart(Context&, Args args) {
    const lib::DateInterval interval = intervalArg(args, 0);
    const int firstDay = dayOfWeekArg(args, 2);
    const int firstWeek = weekOfYearArg(args, 3);
    if (args[1].isNull())
        return Value::null();
    const double result =
        checkedDate(lib::datePart(interval, lib::dateArg(args[1]), firstDay, firstWeek));
    return Value::integer(static_cast<int16_t>(result));
}

const BuiltinFunction kFunctions[] = {
    {u"Date", 0, 0, &dateFn},
    {u"DateAdd", 3, 3, &dateAdd},
    {u"DateDiff", 3, 5, &dateDiff},
    {u"DatePart", 2, 4, &datePart},
    {u"DateSerial", 3, 3, &dateSerialFn},
    {u"DateValue", 1, 1, &dateValue},
    {u"Day", 1, 1, &partOf<&lib::CivilDateTime::day>},
    {u"Hour", 1, 1, &partOf<&lib::CivilDateTime::hour>},
    {u"Minute", 1, 1, &partOf<&lib::CivilDateTime::minute>},
    {u"Month", 1, 1, &partOf<&lib::CivilDateTime::month>},
    {u"MonthName", 1, 2, &monthName},
    {u"Now", 0, 0, &nowFn},
    {u"Second", 1, 1, &partOf<&lib::CivilDateTime::second>},
    {u"Time", 0, 0, &timeFn},
    {u"Timer", 0, 0, &timer},
    {u"TimeSerial", 3, 3, &timeSerialFn},
    {u"TimeValue", 1, 1, &timeValue},
    {u"Weekday", 1, 2, &weekdayFn},
    {u"WeekdayName", 1, 3, &weekdayName},
    {u"Year", 1, 1, &partOf<&lib::CivilDateTime::year>},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(DateFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
