#include "vbscript/objects/EnvironmentObject.h"

#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Text.h"
#include "vbscript/objects/ValueListEnumerator.h"

#include <cstdlib>
#include <unistd.h>

extern char** environ;

namespace vbscript {

namespace {

std::string variableName(const Value& v) {
    const std::string name = toUtf8(toString(v));
    if (name.empty() || name.find('=') != std::string::npos)
        raiseError(err::InvalidCall);
    return name;
}

} // namespace

std::span<const EnvironmentObject::Member> EnvironmentObject::members() const {
    using E = EnvironmentObject;
    static const Member table[] = {
        {u"Item", 1, 1, &E::getItem, &E::setItem, true},
        {u"Count", 0, 0, &E::count, nullptr},
        {u"Length", 0, 0, &E::length, nullptr},
        {u"Remove", 1, 1, &E::remove, nullptr},
    };
    return table;
}

// A variable that is not set reads as "".
Value EnvironmentObject::getItem(Context&, Args args) {
    const char* value = std::getenv(variableName(args[0]).c_str());
    return Value::string(value ? fromUtf8(value) : std::u16string());
}

void EnvironmentObject::setItem(Context&, Args args, const Value& v) {
    if (::setenv(variableName(args[0]).c_str(), toUtf8(toString(v)).c_str(), 1) != 0)
        raiseError(err::InvalidCall);
}

Value EnvironmentObject::count(Context&, Args) {
    int32_t n = 0;
    for (char** e = environ; e && *e; ++e)
        ++n;
    return Value::longValue(n);
}

Value EnvironmentObject::remove(Context&, Args args) {
    ::unsetenv(variableName(args[0]).c_str());
    return Value();
}

Ref<Enumerator> EnvironmentObject::enumerate(Context&) {
    std::vector<Value> entries;
    for (char** e = environ; e && *e; ++e)
        entries.push_back(Value::string(fromUtf8(*e)));
    return makeRef<ValueListEnumerator>(std::move(entries));
}

} // namespace vbscript
