// RGB, the ScriptEngine* identification functions and GetObject.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

#include <algorithm>

namespace vbscript {
namespace {

// RGB(red, green, blue): components above 255 count as 255; below 0 is error 5.
Value rgb(Context&, Args args) {
    int32_t color = 0;
    for (int i = 2; i >= 0; --i) {
        const int32_t component = toLong(args[static_cast<size_t>(i)]);
        if (component < 0)
            raiseError(err::InvalidCall);
        color = color << 8 | std::min<int32_t>(component, 255);
    }
    return Value::longValue(color);
}

Value scriptEngine(Context&, Args) {
    return Value::string(u"VBScript");
}
Value majorVersion(Context&, Args) {
    return Value::longValue(5);
}
Value minorVersion(Context&, Args) {
    return Value::longValue(8);
}
Value buildVersion(Context&, Args) {
    return Value::longValue(16384);
}

// There are no running objects or documents to attach to here.
Value getObject(Context&, Args args) {
    for (size_t i = 0; i < args.size(); ++i)
        if (!args.isMissing(i))
            toString(args[i]);
    raiseError(err::CannotCreateObject);
}

const BuiltinFunction kFunctions[] = {
    {u"GetObject", 0, 2, &getObject},
    {u"RGB", 3, 3, &rgb},
    {u"ScriptEngine", 0, 0, &scriptEngine},
    {u"ScriptEngineBuildVersion", 0, 0, &buildVersion},
    {u"ScriptEngineMajorVersion", 0, 0, &majorVersion},
    {u"ScriptEngineMinorVersion", 0, 0, &minorVersion},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(EngineInfoFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
