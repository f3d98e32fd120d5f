// MsgBox and InputBox, shown by the program through its host services.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/LibraryArgs.h"
#include "vbscript/objects/HostServices.h"

namespace vbscript {
namespace {

// MsgBox(prompt[, buttons][, title][, helpfile, context])
Value msgBox(Context&, Args args) {
    const std::u16string prompt = toString(args[0]);
    const int32_t style = lib::longArg(args, 1, 0);
    if (style < 0 || (style & 0xF) > 5)
        raiseError(err::InvalidCall);
    const std::u16string title = lib::stringArg(args, 2);
    const int answer = requireHostServices().messageBox(prompt, style, title, 0);
    return Value::integer(static_cast<int16_t>(answer));
}

// InputBox(prompt[, title][, default][, xpos][, ypos][, helpfile, context]); Empty when the
// user cancelled, so scripts can tell a cancel from an empty answer with IsEmpty.
Value inputBox(Context&, Args args) {
    const std::u16string prompt = toString(args[0]);
    const std::u16string title = lib::stringArg(args, 1);
    const std::u16string defaultText = lib::stringArg(args, 2);
    HostServices::BoxPosition position;
    if (!args.isMissing(3))
        position.xTwips = toLong(args[3]);
    if (!args.isMissing(4))
        position.yTwips = toLong(args[4]);
    const auto answer = requireHostServices().inputBox(prompt, title, defaultText, position);
    if (!answer)
        return Value();
    return Value::string(*answer);
}

const BuiltinFunction kFunctions[] = {
    {u"InputBox", 1, 7, &inputBox},
    {u"MsgBox", 1, 5, &msgBox},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(Interaction) {
    registry.addFunctions(vbscript::kFunctions);
}
