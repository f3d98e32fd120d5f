#include "vbscript/objects/RegExpMatch.h"

#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/objects/ValueListEnumerator.h"

namespace vbscript {

namespace {

size_t indexArg(Args args, size_t count) {
    const int32_t index = toLong(args[0]);
    if (index < 0 || static_cast<size_t>(index) >= count)
        raiseError(err::InvalidCall);
    return static_cast<size_t>(index);
}

} // namespace

std::span<const SubMatchesObject::Member> SubMatchesObject::members() const {
    static const Member table[] = {
        {u"Count", 0, 0, &SubMatchesObject::count, nullptr},
        {u"Item", 1, 1, &SubMatchesObject::item, nullptr, true},
    };
    return table;
}

Value SubMatchesObject::groupValue(size_t index) const {
    const auto& group = m_groups[index];
    return group ? Value::string(*group) : Value();
}

Value SubMatchesObject::count(Context&, Args) {
    return Value::longValue(static_cast<int32_t>(m_groups.size()));
}

Value SubMatchesObject::item(Context&, Args args) {
    return groupValue(indexArg(args, m_groups.size()));
}

Ref<Enumerator> SubMatchesObject::enumerate(Context&) {
    std::vector<Value> values;
    for (size_t i = 0; i < m_groups.size(); ++i)
        values.push_back(groupValue(i));
    return makeRef<ValueListEnumerator>(std::move(values));
}

std::span<const MatchObject::Member> MatchObject::members() const {
    static const Member table[] = {
        {u"Value", 0, 0, &MatchObject::value, nullptr, true},
        {u"FirstIndex", 0, 0, &MatchObject::firstIndex, nullptr},
        {u"Length", 0, 0, &MatchObject::length, nullptr},
        {u"SubMatches", 0, 1, &MatchObject::subMatches, nullptr},
    };
    return table;
}

Value MatchObject::subMatches(Context& context, Args args) {
    auto groups = makeRef<SubMatchesObject>(m_record.groups);
    if (args.empty())
        return Value::object(groups);
    return groups->invoke(context, kDefaultMember, Invoke::Get, args, nullptr);
}

MatchCollectionObject::MatchCollectionObject(std::vector<MatchRecord> records) {
    m_matches.reserve(records.size());
    for (auto& record : records)
        m_matches.push_back(Value::object(makeRef<MatchObject>(std::move(record))));
}

std::span<const MatchCollectionObject::Member> MatchCollectionObject::members() const {
    static const Member table[] = {
        {u"Count", 0, 0, &MatchCollectionObject::count, nullptr},
        {u"Item", 1, 1, &MatchCollectionObject::item, nullptr, true},
    };
    return table;
}

Value MatchCollectionObject::count(Context&, Args) {
    return Value::longValue(static_cast<int32_t>(m_matches.size()));
}

Value MatchCollectionObject::item(Context&, Args args) {
    return m_matches[indexArg(args, m_matches.size())];
}

Ref<Enumerator> MatchCollectionObject::enumerate(Context&) {
    return makeRef<ValueListEnumerator>(m_matches);
}

} // namespace vbscript
