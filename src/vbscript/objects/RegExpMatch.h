#pragma once

// The results of RegExp.Execute: a MatchCollection of Match objects, each with its SubMatches.

#include "vbscript/Object.h"

#include <optional>
#include <string>
#include <vector>

namespace vbscript {

struct MatchRecord {
    std::u16string value;
    int32_t firstIndex = 0;                            // 0-based, as the language reports it
    std::vector<std::optional<std::u16string>> groups; // an unmatched group is Empty
};

class SubMatchesObject final : public HostObject<SubMatchesObject> {
public:
    explicit SubMatchesObject(std::vector<std::optional<std::u16string>> groups)
        : m_groups(std::move(groups)) {}
    std::u16string typeName() const override { return u"ISubMatches"; }
    std::span<const Member> members() const override;
    Ref<Enumerator> enumerate(Context& context) override;

private:
    Value count(Context&, Args);
    Value item(Context&, Args args);
    Value groupValue(size_t index) const;
    std::vector<std::optional<std::u16string>> m_groups;
};

class MatchObject final : public HostObject<MatchObject> {
public:
    explicit MatchObject(MatchRecord record) : m_record(std::move(record)) {}
    std::u16string typeName() const override { return u"IMatch2"; }
    std::span<const Member> members() const override;

private:
    Value value(Context&, Args) { return Value::string(m_record.value); }
    Value firstIndex(Context&, Args) { return Value::longValue(m_record.firstIndex); }
    Value length(Context&, Args) {
        return Value::longValue(static_cast<int32_t>(m_record.value.size()));
    }
    // SubMatches, or with an index one of them: m.SubMatches(0).
    Value subMatches(Context& context, Args args);
    MatchRecord m_record;
};

class MatchCollectionObject final : public HostObject<MatchCollectionObject> {
public:
    explicit MatchCollectionObject(std::vector<MatchRecord> records);
    std::u16string typeName() const override { return u"IMatchCollection2"; }
    std::span<const Member> members() const override;
    Ref<Enumerator> enumerate(Context& context) override;

private:
    Value count(Context&, Args);
    Value item(Context&, Args args);
    std::vector<Value> m_matches;
};

} // namespace vbscript
