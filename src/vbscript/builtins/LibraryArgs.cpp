#include "vbscript/builtins/LibraryArgs.h"

#include "vbscript/builtins/DateMath.h"
#include "vbscript/builtins/DateText.h"

#include <ctime>

namespace vbscript::lib {

double dateArg(const Value& v) {
    const Value value = dereference(v);
    if (value.isString()) {
        const auto parsed =
            parseDateTime(value.asString(), currentRegionalSettings(), currentLocalYear());
        if (!parsed)
            raiseError(err::TypeMismatch);
        return *parsed;
    }
    const double date = toDate(value);
    if (!isValidDate(date))
        raiseError(err::Overflow);
    return date;
}

int currentLocalYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

} // namespace vbscript::lib
