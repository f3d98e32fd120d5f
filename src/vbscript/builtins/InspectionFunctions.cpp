// IsArray, IsDate, IsEmpty, IsNull, IsNumeric, IsObject, TypeName, VarType.
#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

namespace vbscript {
namespace {

Value isArray(Context&, Args a) {
    return Value::boolean(a[0].isArray());
}
Value isDate(Context&, Args a) {
    return Value::boolean(isDateValue(a[0]));
}
Value isEmptyFn(Context&, Args a) {
    return Value::boolean(a[0].isEmpty());
}
Value isNullFn(Context&, Args a) {
    return Value::boolean(a[0].isNull());
}
Value isNumeric(Context&, Args a) {
    if (a[0].isObject() && !a[0].isNothing()) {
        // An object counts by its default value, when it has one.
        try {
            return Value::boolean(isNumericValue(dereference(a[0])));
        } catch (const ScriptError&) {
            return Value::boolean(false);
        }
    }
    return Value::boolean(isNumericValue(a[0]));
}
Value isObject(Context&, Args a) {
    return Value::boolean(a[0].isObject());
}
Value typeNameFn(Context&, Args a) {
    return Value::string(typeName(a[0]));
}
Value varType(Context&, Args a) {
    return Value::integer(static_cast<int16_t>(a[0].varTypeCode()));
}

const BuiltinFunction kFunctions[] = {
    {u"IsArray", 1, 1, &isArray},     {u"IsDate", 1, 1, &isDate},
    {u"IsEmpty", 1, 1, &isEmptyFn},   {u"IsNull", 1, 1, &isNullFn},
    {u"IsNumeric", 1, 1, &isNumeric}, {u"IsObject", 1, 1, &isObject},
    {u"TypeName", 1, 1, &typeNameFn}, {u"VarType", 1, 1, &varType},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(InspectionFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
