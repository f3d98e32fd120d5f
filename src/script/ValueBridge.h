#pragma once

#include "script/vba/VbaValue.h"
#include "vbscript/Value.h"

#include <QString>

namespace script {

// Between the engine's values and Qt text.
QString toQString(const vbscript::Value& value); // CStr; raises the language's errors
vbscript::Value fromQString(const QString& text);
// The value as Format sees it; raises 13 for arrays and objects without a default value.
VbaValue toVbaValue(const vbscript::Value& value);
// A Format or StrConv result as a script value; raises its error.
vbscript::Value fromVbaResult(const VbaResult& result);

} // namespace script
