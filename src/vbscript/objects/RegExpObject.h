#pragma once

// New RegExp: Pattern, Global, IgnoreCase, Multiline, Test, Execute and Replace.

#include "vbscript/Object.h"
#include "vbscript/objects/Regex.h"

#include <string>

namespace vbscript {

class RegExpObject final : public HostObject<RegExpObject> {
public:
    std::u16string typeName() const override { return u"IRegExp2"; }
    std::span<const Member> members() const override;

private:
    Value getPattern(Context&, Args) { return Value::string(m_pattern); }
    void setPattern(Context&, Args, const Value& v);
    Value getGlobal(Context&, Args) { return Value::boolean(m_global); }
    void setGlobal(Context&, Args, const Value& v);
    Value getIgnoreCase(Context&, Args) { return Value::boolean(m_ignoreCase); }
    void setIgnoreCase(Context&, Args, const Value& v);
    Value getMultiline(Context&, Args) { return Value::boolean(m_multiline); }
    void setMultiline(Context&, Args, const Value& v);
    Value test(Context& context, Args args);
    Value execute(Context& context, Args args);
    Value replace(Context& context, Args args);

    // The compiled pattern, compiled again after the pattern or a flag changed.
    const Regex& compiled();

    std::u16string m_pattern;
    bool m_global = false;
    bool m_ignoreCase = false;
    bool m_multiline = false;
    bool m_dirty = true;
    Regex m_regex;
};

} // namespace vbscript
