// CBool, CByte, CCur, CDate, CDbl, CInt, CLng, CSng, CStr.
#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

namespace vbscript {
namespace {

const Value& argument(Args args) {
    if (args[0].isNull())
        raiseError(err::InvalidNull);
    return args[0];
}

// CBool and the others: the conversion's result as its own subtype.
template <auto Make, auto Convert> Value convert(Context&, Args a) {
    return Make(Convert(argument(a)));
}

const BuiltinFunction kFunctions[] = {
    {u"CBool", 1, 1, &convert<&Value::boolean, &toBool>},
    {u"CByte", 1, 1, &convert<&Value::byte, &toByte>},
    {u"CCur", 1, 1, &convert<&Value::currency, &toCurrency>},
    {u"CDate", 1, 1, &convert<&Value::date, &toDate>},
    {u"CDbl", 1, 1, &convert<&Value::dbl, &toDouble>},
    {u"CInt", 1, 1, &convert<&Value::integer, &toInteger>},
    {u"CLng", 1, 1, &convert<&Value::longValue, &toLong>},
    {u"CSng", 1, 1, &convert<&Value::single, &toSingle>},
    {u"CStr", 1, 1, &convert<static_cast<Value (*)(std::u16string)>(&Value::string), &toString>},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(ConversionFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
