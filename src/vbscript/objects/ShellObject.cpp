#include "vbscript/objects/ShellObject.h"

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Text.h"
#include "vbscript/builtins/LibraryArgs.h"
#include "vbscript/builtins/TextOps.h"
#include "vbscript/objects/EnvironmentObject.h"
#include "vbscript/objects/FileErrors.h"
#include "vbscript/objects/HostServices.h"

#include <cstdlib>

namespace vbscript {

std::span<const ShellObject::Member> ShellObject::members() const {
    using S = ShellObject;
    static const Member table[] = {
        {u"Run", 1, 3, &S::run, nullptr},
        {u"ExpandEnvironmentStrings", 1, 1, &S::expandEnvironmentStrings, nullptr},
        {u"Environment", 0, 1, &S::environment, nullptr},
        {u"Popup", 1, 4, &S::popup, nullptr},
    };
    return table;
}

std::u16string ShellObject::expandEnvironment(std::u16string_view text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find(u'%', i);
        if (open == std::u16string_view::npos)
            break;
        const size_t close = text.find(u'%', open + 1);
        if (close == std::u16string_view::npos)
            break;
        out.append(text.substr(i, open - i));
        const std::u16string_view name = text.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(toUtf8(name).c_str());
        if (value) {
            out += fromUtf8(value);
            i = close + 1;
        } else {
            // Not a variable: keep the first "%" and look again from the second.
            out.append(text.substr(open, close - open));
            i = close;
        }
    }
    out.append(text.substr(i));
    return out;
}

std::pair<std::u16string, std::u16string> ShellObject::splitCommand(std::u16string_view command) {
    const std::u16string_view trimmed = lib::trimRight(lib::trimLeft(command));
    if (!trimmed.empty() && trimmed.front() == u'"') {
        const size_t close = trimmed.find(u'"', 1);
        if (close != std::u16string_view::npos)
            return {std::u16string(trimmed.substr(1, close - 1)),
                    std::u16string(lib::trimLeft(trimmed.substr(close + 1)))};
        return {std::u16string(trimmed.substr(1)), {}};
    }
    const size_t blank = trimmed.find(u' ');
    if (blank == std::u16string_view::npos)
        return {std::u16string(trimmed), {}};
    return {std::u16string(trimmed.substr(0, blank)),
            std::u16string(lib::trimLeft(trimmed.substr(blank + 1)))};
}

// Run(command[, windowStyle[, waitOnReturn]]): the program opens the command the way it opens
// its input line; it does not wait, so the result is always 0.
Value ShellObject::run(Context&, Args args) {
    const std::u16string command = expandEnvironment(toMemberText(args[0]));
    const int32_t windowStyle = lib::longArg(args, 1, 1);
    lib::boolArg(args, 2, false); // checked for its type only: nothing is waited for
    const auto [file, parameters] = splitCommand(command);
    if (file.empty())
        raiseError(err::InvalidCall);
    if (!requireHostServices().shellExecute(file, parameters, windowStyle))
        raiseError(err::FileNotFound);
    return Value::integer(0);
}

Value ShellObject::expandEnvironmentStrings(Context&, Args args) {
    return Value::string(expandEnvironment(toMemberText(args[0])));
}

// Every kind ("PROCESS", "SYSTEM", "USER", "VOLATILE") shows this process's environment.
Value ShellObject::environment(Context&, Args args) {
    const std::u16string kind = lib::toUpper(lib::stringArg(args, 0, u"SYSTEM"));
    if (kind != u"PROCESS" && kind != u"SYSTEM" && kind != u"USER" && kind != u"VOLATILE")
        raiseError(err::InvalidCall);
    return Value::object(makeRef<EnvironmentObject>());
}

// Popup(text[, secondsToWait[, title[, type]]]): the button pressed, -1 when the time ran out.
Value ShellObject::popup(Context&, Args args) {
    const std::u16string message = toMemberText(args[0]);
    const int32_t seconds = lib::longArg(args, 1, 0);
    const std::u16string title = lib::stringArg(args, 2);
    const int32_t style = lib::longArg(args, 3, 0);
    if (seconds < 0 || style < 0 || (style & 0xF) > 5)
        raiseError(err::InvalidCall);
    return Value::integer(
        static_cast<int16_t>(requireHostServices().messageBox(message, style, title, seconds)));
}

} // namespace vbscript

SCRIVLET_VBS_MODULE(ShellObject) {
    registry.addClass(u"WScript.Shell", [](vbscript::Context&) -> vbscript::Ref<vbscript::Object> {
        return vbscript::makeRef<vbscript::ShellObject>();
    });
}
