#include "script/ValueBridge.h"

#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

namespace script {

QString toQString(const vbscript::Value& value) {
    return QString::fromStdU16String(vbscript::toString(value));
}

vbscript::Value fromQString(const QString& text) {
    return vbscript::Value::string(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                                                  static_cast<size_t>(text.size())));
}

VbaValue toVbaValue(const vbscript::Value& input) {
    const vbscript::Value value = vbscript::dereference(input);
    switch (value.type()) {
    case vbscript::VarType::Empty:
        return VbaValue::empty();
    case vbscript::VarType::Null:
        return VbaValue::null();
    case vbscript::VarType::String:
        return VbaValue::fromString(QString::fromStdU16String(value.asString()));
    case vbscript::VarType::Boolean:
        return VbaValue::fromBool(value.asBool());
    case vbscript::VarType::Date:
        return VbaValue::fromDate(value.asDate());
    case vbscript::VarType::Single:
        // Through its own 7 digits, so that CSng(0.1) formats as 0.1 and not as the nearest Double.
        return VbaValue::fromNumber(
            vbscript::parseNumber(vbscript::formatSingle(value.asSingle())).value_or(0.0));
    default:
        if (value.isNumeric()) {
            return VbaValue::fromNumber(vbscript::toDouble(value));
        }
        vbscript::raiseError(vbscript::err::TypeMismatch);
    }
}

vbscript::Value fromVbaResult(const VbaResult& result) {
    if (result.error != 0) {
        vbscript::raiseError(result.error);
    }
    return result.isNull ? vbscript::Value::null() : fromQString(result.text);
}

} // namespace script
