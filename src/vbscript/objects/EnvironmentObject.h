#pragma once

// WScript.Shell's Environment collection, a view of this process's environment variables:
// Item (the default member) reads and sets a variable, Remove deletes one, For Each gives
// "NAME=value" texts.

#include "vbscript/Object.h"

namespace vbscript {

class EnvironmentObject final : public HostObject<EnvironmentObject> {
public:
    std::u16string typeName() const override { return u"IWshEnvironment"; }
    std::span<const Member> members() const override;
    Ref<Enumerator> enumerate(Context& context) override;

private:
    Value getItem(Context&, Args args);
    void setItem(Context&, Args args, const Value& v);
    Value count(Context&, Args);
    Value length(Context& context, Args args) { return count(context, args); }
    Value remove(Context&, Args args);
};

} // namespace vbscript
