// FormatNumber, FormatCurrency, FormatPercent, FormatDateTime and the locale switch that
// decides their regional settings.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/DateText.h"
#include "vbscript/builtins/LibraryArgs.h"
#include "vbscript/builtins/NumberText.h"
#include "vbscript/builtins/Regional.h"

namespace vbscript {
namespace {

int tristateArg(Args args, size_t i) {
    const int32_t v = lib::longArg(args, i, lib::kTristateUseDefault);
    if (v < -2 || v > 1)
        raiseError(err::InvalidCall);
    return v == 1 ? lib::kTristateTrue : v;
}

lib::NumberFormatOptions numberOptions(Args args) {
    lib::NumberFormatOptions options;
    options.digitsAfterDecimal = lib::longArg(args, 1, -1);
    if (options.digitsAfterDecimal < -1 || options.digitsAfterDecimal > 255)
        raiseError(err::InvalidCall);
    options.includeLeadingDigit = tristateArg(args, 2);
    options.useParensForNegative = tristateArg(args, 3);
    options.groupDigits = tristateArg(args, 4);
    return options;
}

using NumberFormatter = std::u16string (*)(double, const lib::NumberFormatOptions&,
                                           const lib::RegionalSettings&);

Value formatWith(Args args, NumberFormatter formatter) {
    const lib::NumberFormatOptions options = numberOptions(args);
    if (args[0].isNull())
        raiseError(err::TypeMismatch);
    return Value::string(formatter(toDouble(args[0]), options, lib::currentRegionalSettings()));
}

Value formatNumber(Context&, Args args) {
    return formatWith(args, &lib::formatNumber);
}
Value formatCurrency(Context&, Args args) {
    return formatWith(args, &lib::formatCurrency);
}
Value formatPercent(Context&, Args args) {
    return formatWith(args, &lib::formatPercent);
}

Value formatDateTime(Context&, Args args) {
    const int32_t format = lib::longArg(args, 1, 0);
    if (format < 0 || format > 4)
        raiseError(err::InvalidCall);
    if (args[0].isNull())
        raiseError(err::TypeMismatch);
    return Value::string(lib::formatDateTime(lib::dateArg(args[0]),
                                             static_cast<lib::NamedDateFormat>(format),
                                             lib::currentRegionalSettings()));
}

Value getLocale(Context&, Args) {
    return Value::longValue(lib::currentLocale());
}

// SetLocale takes a locale id or a name ("ja-jp", "en-us"); it returns the previous id.
Value setLocale(Context&, Args args) {
    const int previous = lib::currentLocale();
    std::optional<int> lcid;
    if (args.isMissing(0)) {
        lcid = lib::kJapanLcid;
    } else {
        const Value v = dereference(args[0]);
        lcid = v.isString() ? lib::resolveLocale(std::u16string_view(v.asString()))
                            : lib::resolveLocale(toLong(v));
    }
    if (!lcid)
        raiseError(err::InvalidCall);
    lib::setCurrentLocale(*lcid);
    return Value::longValue(previous);
}

const BuiltinFunction kFunctions[] = {
    {u"FormatCurrency", 1, 5, &formatCurrency}, {u"FormatDateTime", 1, 2, &formatDateTime},
    {u"FormatNumber", 1, 5, &formatNumber},     {u"FormatPercent", 1, 5, &formatPercent},
    {u"GetLocale", 0, 0, &getLocale},           {u"SetLocale", 0, 1, &setLocale},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(FormatFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
