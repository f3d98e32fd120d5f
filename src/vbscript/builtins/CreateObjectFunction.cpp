// CreateObject: the library's creatable classes by their ProgID ("Scripting.Dictionary",
// "Scripting.FileSystemObject", "WScript.Shell", "VBScript.RegExp"); any other name is
// error 429.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

namespace vbscript {
namespace {

Value createObject(Context& context, Args args) {
    const std::u16string progId = toString(args[0]);
    // Bare class names such as "RegExp" are for New only; ProgIDs always carry a dot.
    const ClassFactory factory =
        progId.find(u'.') == std::u16string::npos ? nullptr : builtinRegistry().findClass(progId);
    if (!factory)
        raiseError(err::CannotCreateObject);
    return Value::object(factory(context));
}

const BuiltinFunction kFunctions[] = {
    {u"CreateObject", 1, 2, &createObject},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(CreateObjectFunction) {
    registry.addFunctions(vbscript::kFunctions);
}
