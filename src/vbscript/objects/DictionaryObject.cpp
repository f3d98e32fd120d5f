#include "vbscript/objects/DictionaryObject.h"

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/TextOps.h"
#include "vbscript/objects/ValueListEnumerator.h"

#include <cstring>

namespace vbscript {

namespace {

constexpr int32_t kElementNotFound = 32811;

[[noreturn]] void raiseElementNotFound() {
    raiseError(kElementNotFound);
}

void appendBits(std::u16string& out, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        out.push_back(char16_t(bytes[i]));
}

} // namespace

std::span<const DictionaryObject::Member> DictionaryObject::members() const {
    static const Member table[] = {
        {u"Add", 2, 2, &DictionaryObject::add, nullptr},
        {u"Exists", 1, 1, &DictionaryObject::exists, nullptr},
        {u"Item", 1, 1, &DictionaryObject::getItem, &DictionaryObject::setItem, true, true},
        {u"Key", 1, 1, nullptr, &DictionaryObject::setKey, false, true},
        {u"Items", 0, 0, &DictionaryObject::items, nullptr},
        {u"Keys", 0, 0, &DictionaryObject::keys, nullptr},
        {u"Remove", 1, 1, &DictionaryObject::remove, nullptr},
        {u"RemoveAll", 0, 0, &DictionaryObject::removeAll, nullptr},
        {u"Count", 0, 0, &DictionaryObject::count, nullptr},
        {u"CompareMode", 0, 0, &DictionaryObject::getCompareMode,
         &DictionaryObject::setCompareMode},
    };
    return table;
}

std::u16string DictionaryObject::hashKey(const Value& key) const {
    std::u16string out;
    switch (key.type()) {
    case VarType::Empty:
        return u"e";
    case VarType::Null:
        return u"z";
    case VarType::String:
        out = u"s";
        for (char16_t c : key.asString())
            out.push_back(m_compareMode == 0 ? c : lib::foldForTextCompare(c));
        return out;
    case VarType::Object: {
        out = u"o";
        const Object* object = key.asObject();
        appendBits(out, &object, sizeof object);
        return out;
    }
    case VarType::Boolean:
        return key.asBool() ? u"b1" : u"b0";
    case VarType::Date: {
        out = u"d";
        const double d = key.asDate();
        appendBits(out, &d, sizeof d);
        return out;
    }
    case VarType::Array:
        raiseError(err::TypeMismatch);
    default: {
        out = u"n";
        double d = toDouble(key);
        if (d == 0)
            d = 0; // -0 and 0 are one key
        appendBits(out, &d, sizeof d);
        return out;
    }
    }
}

DictionaryObject::Entry* DictionaryObject::find(const Value& key) {
    const auto it = m_index.find(hashKey(key));
    return it == m_index.end() ? nullptr : &m_entries[it->second];
}

DictionaryObject::Entry& DictionaryObject::insert(const Value& key, Value item) {
    m_index.emplace(hashKey(key), m_entries.size());
    m_entries.push_back({key, std::move(item), true});
    return m_entries.back();
}

void DictionaryObject::compact() {
    std::vector<Entry> alive;
    alive.reserve(m_entries.size() - m_dead);
    m_index.clear();
    for (auto& entry : m_entries) {
        if (!entry.alive)
            continue;
        m_index.emplace(hashKey(entry.key), alive.size());
        alive.push_back(std::move(entry));
    }
    m_entries = std::move(alive);
    m_dead = 0;
}

Value DictionaryObject::add(Context&, Args args) {
    if (find(args[0]))
        raiseError(err::KeyAlreadyExists);
    insert(args[0], args[1]);
    return Value();
}

Value DictionaryObject::exists(Context&, Args args) {
    return Value::boolean(find(args[0]) != nullptr);
}

// Reading a missing key adds it with an empty item, as the language's dictionary does.
Value DictionaryObject::getItem(Context&, Args args) {
    if (Entry* entry = find(args[0]))
        return entry->item;
    insert(args[0], Value());
    return Value();
}

void DictionaryObject::setItem(Context&, Args args, const Value& v) {
    if (Entry* entry = find(args[0]))
        entry->item = v;
    else
        insert(args[0], v);
}

void DictionaryObject::setKey(Context&, Args args, const Value& newKey) {
    const auto it = m_index.find(hashKey(args[0]));
    if (it == m_index.end())
        raiseElementNotFound();
    const std::u16string newHash = hashKey(newKey);
    if (newHash != it->first && m_index.count(newHash))
        raiseError(err::KeyAlreadyExists);
    const size_t position = it->second;
    m_index.erase(it);
    m_index.emplace(newHash, position);
    m_entries[position].key = newKey;
}

Value DictionaryObject::items(Context&, Args) {
    std::vector<Value> values;
    values.reserve(m_entries.size() - m_dead);
    for (const auto& entry : m_entries)
        if (entry.alive)
            values.push_back(entry.item);
    return Value::array(ArrayData::fromValues(std::move(values)));
}

Value DictionaryObject::keys(Context&, Args) {
    std::vector<Value> values;
    values.reserve(m_entries.size() - m_dead);
    for (const auto& entry : m_entries)
        if (entry.alive)
            values.push_back(entry.key);
    return Value::array(ArrayData::fromValues(std::move(values)));
}

Value DictionaryObject::remove(Context&, Args args) {
    const auto it = m_index.find(hashKey(args[0]));
    if (it == m_index.end())
        raiseElementNotFound();
    Entry& entry = m_entries[it->second];
    entry.alive = false;
    entry.key = Value();
    entry.item = Value();
    m_index.erase(it);
    if (++m_dead > 32 && m_dead * 2 > m_entries.size())
        compact();
    return Value();
}

Value DictionaryObject::removeAll(Context&, Args) {
    std::vector<Entry> dropped;
    dropped.swap(m_entries); // items are released after the dictionary is consistent again
    m_index.clear();
    m_dead = 0;
    return Value();
}

Value DictionaryObject::count(Context&, Args) {
    return Value::longValue(static_cast<int32_t>(m_entries.size() - m_dead));
}

Value DictionaryObject::getCompareMode(Context&, Args) {
    return Value::longValue(m_compareMode);
}

// The mode can only change while the dictionary is empty.
void DictionaryObject::setCompareMode(Context&, Args, const Value& v) {
    const int32_t mode = toLong(v);
    if (mode < 0 || mode > 2 || m_entries.size() != m_dead)
        raiseError(err::InvalidCall);
    m_compareMode = mode;
}

Ref<Enumerator> DictionaryObject::enumerate(Context&) {
    std::vector<Value> snapshot;
    for (const auto& entry : m_entries)
        if (entry.alive)
            snapshot.push_back(entry.key);
    return makeRef<ValueListEnumerator>(std::move(snapshot));
}

} // namespace vbscript

SCRIVLET_VBS_MODULE(DictionaryObject) {
    registry.addClass(u"Scripting.Dictionary",
                      [](vbscript::Context&) -> vbscript::Ref<vbscript::Object> {
                          return vbscript::makeRef<vbscript::DictionaryObject>();
                      });
}
