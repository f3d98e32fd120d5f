#pragma once

// CreateObject("Scripting.Dictionary"): keys in insertion order, looked up by hashing. Numbers
// of any numeric subtype that are equal are one key, text keys follow CompareMode, objects are
// keys by identity.

#include "vbscript/Object.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace vbscript {

class DictionaryObject final : public HostObject<DictionaryObject> {
public:
    std::u16string typeName() const override { return u"Dictionary"; }
    std::span<const Member> members() const override;
    Ref<Enumerator> enumerate(Context& context) override;

private:
    struct Entry {
        Value key;
        Value item;
        bool alive = true;
    };

    Value add(Context&, Args args);
    Value exists(Context&, Args args);
    Value getItem(Context&, Args args);
    void setItem(Context&, Args args, const Value& v);
    void setKey(Context&, Args args, const Value& v);
    Value items(Context&, Args);
    Value keys(Context&, Args);
    Value remove(Context&, Args args);
    Value removeAll(Context&, Args);
    Value count(Context&, Args);
    Value getCompareMode(Context&, Args);
    void setCompareMode(Context&, Args, const Value& v);

    std::u16string hashKey(const Value& key) const;
    Entry* find(const Value& key);
    Entry& insert(const Value& key, Value item);
    void compact();

    std::vector<Entry> m_entries;
    std::unordered_map<std::u16string, size_t> m_index;
    size_t m_dead = 0;
    int m_compareMode = 0;
};

} // namespace vbscript
