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

Value cBool(Context&, Args a) {
    return Value::boolean(toBool(argument(a)));
}
Value cByte(Context&, Args a) {
    return Value::byte(toByte(argument(a)));
}
Value cCur(Context&, Args a) {
    return Value::currency(toCurrency(argument(a)));
}
Value cDate(Context&, Args a) {
    return Value::date(toDate(argument(a)));
}
Value cDbl(Context&, Args a) {
    return Value::dbl(toDouble(argument(a)));
}
Value cInt(Context&, Args a) {
    return Value::integer(toInteger(argument(a)));
}
Value cLng(Context&, Args a) {
    return Value::longValue(toLong(argument(a)));
}
Value cSng(Context&, Args a) {
    return Value::single(toSingle(argument(a)));
}
Value cStr(Context&, Args a) {
    return Value::string(toString(argument(a)));
}

const BuiltinFunction kFunctions[] = {
    {u"CBool", 1, 1, &cBool}, {u"CByte", 1, 1, &cByte}, {u"CCur", 1, 1, &cCur},
    {u"CDate", 1, 1, &cDate}, {u"CDbl", 1, 1, &cDbl},   {u"CInt", 1, 1, &cInt},
    {u"CLng", 1, 1, &cLng},   {u"CSng", 1, 1, &cSng},   {u"CStr", 1, 1, &cStr},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(CoreConversion) {
    registry.addFunctions(vbscript::kFunctions);
}
