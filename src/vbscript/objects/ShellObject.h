#pragma once

// CreateObject("WScript.Shell"): Run through the program's own way of opening things,
// ExpandEnvironmentStrings, Environment and Popup.

#include "vbscript/Object.h"

#include <string>
#include <utility>

namespace vbscript {

class ShellObject final : public HostObject<ShellObject> {
public:
    std::u16string typeName() const override { return u"IWshShell3"; }
    std::span<const Member> members() const override;

    // "%NAME%" replaced by the variable's value; unknown names stay as written.
    static std::u16string expandEnvironment(std::u16string_view text);
    // The program and its parameters of a command line: a quoted first word keeps its blanks.
    static std::pair<std::u16string, std::u16string> splitCommand(std::u16string_view command);

private:
    Value run(Context&, Args args);
    Value expandEnvironmentStrings(Context&, Args args);
    Value environment(Context&, Args args);
    Value popup(Context&, Args args);
};

} // namespace vbscript
