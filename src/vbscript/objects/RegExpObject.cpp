#include "vbscript/objects/RegExpObject.h"

#include "vbscript/Builtins.h"
#include "vbscript/Context.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/objects/RegExpMatch.h"

namespace vbscript {

std::span<const RegExpObject::Member> RegExpObject::members() const {
    static const Member table[] = {
        {u"Pattern", 0, 0, &RegExpObject::getPattern, &RegExpObject::setPattern},
        {u"Global", 0, 0, &RegExpObject::getGlobal, &RegExpObject::setGlobal},
        {u"IgnoreCase", 0, 0, &RegExpObject::getIgnoreCase, &RegExpObject::setIgnoreCase},
        {u"Multiline", 0, 0, &RegExpObject::getMultiline, &RegExpObject::setMultiline},
        {u"Test", 1, 1, &RegExpObject::test, nullptr},
        {u"Execute", 1, 1, &RegExpObject::execute, nullptr},
        {u"Replace", 2, 2, &RegExpObject::replace, nullptr},
    };
    return table;
}

void RegExpObject::setPattern(Context&, Args, const Value& v) {
    m_pattern = toMemberText(v);
    m_dirty = true;
}

void RegExpObject::setGlobal(Context&, Args, const Value& v) {
    m_global = toBool(v);
}

void RegExpObject::setIgnoreCase(Context&, Args, const Value& v) {
    m_ignoreCase = toBool(v);
    m_dirty = true;
}

void RegExpObject::setMultiline(Context&, Args, const Value& v) {
    m_multiline = toBool(v);
    m_dirty = true;
}

const Regex& RegExpObject::compiled() {
    if (m_dirty) {
        const int error = m_regex.compile(m_pattern, m_ignoreCase, m_multiline);
        if (error != 0)
            raiseError(error);
        m_dirty = false;
    }
    return m_regex;
}

Value RegExpObject::test(Context&, Args args) {
    const std::u16string subject = toMemberText(args[0]);
    bool found = false;
    const int error = compiled().forEachMatch(subject, false, [&](const RegexMatch&) {
        found = true;
        return false;
    });
    if (error != 0)
        raiseError(error);
    return Value::boolean(found);
}

Value RegExpObject::execute(Context& context, Args args) {
    const std::u16string subject = toMemberText(args[0]);
    std::vector<MatchRecord> records;
    const int error = compiled().forEachMatch(subject, m_global, [&](const RegexMatch& m) {
        MatchRecord record;
        record.value = subject.substr(m.start, m.length);
        record.firstIndex = static_cast<int32_t>(m.start);
        for (const auto& group : m.groups) {
            if (group)
                record.groups.emplace_back(subject.substr(group->first, group->second));
            else
                record.groups.emplace_back(std::nullopt);
        }
        records.push_back(std::move(record));
        if (records.size() % 4096 == 0)
            context.checkInterrupt();
        return true;
    });
    if (error != 0)
        raiseError(error);
    return Value::object(makeRef<MatchCollectionObject>(std::move(records)));
}

Value RegExpObject::replace(Context&, Args args) {
    const std::u16string subject = toMemberText(args[0]);
    const std::u16string replacement = toMemberText(args[1]);
    int error = 0;
    std::u16string result = compiled().replace(subject, replacement, m_global, error);
    if (error != 0)
        raiseError(error);
    return Value::string(std::move(result));
}

} // namespace vbscript

SCRIVLET_VBS_MODULE(RegExpObject) {
    const vbscript::ClassFactory factory =
        [](vbscript::Context&) -> vbscript::Ref<vbscript::Object> {
        return vbscript::makeRef<vbscript::RegExpObject>();
    };
    registry.addClass(u"RegExp", factory);
    registry.addClass(u"VBScript.RegExp", factory);
}
