#pragma once

// Objects seen by scripts: host objects (Clipboard, VBA), library objects (RegExp,
// Dictionary...) and instances of script classes all implement this interface.

#include "RefCounted.h"
#include "Value.h"

#include <span>
#include <string>
#include <string_view>

namespace vbscript {

class Context;

// Arguments of a call. Reading gives the value; ref() gives the caller's variable when the
// argument was a plain variable (so a member can write back, ByRef), else a private temporary.
class Args {
public:
    Args() = default;
    Args(Value* const* items, size_t count) : m_items(items), m_count(count) {}
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const Value& operator[](size_t i) const { return *m_items[i]; }
    Value& ref(size_t i) const { return *m_items[i]; }
    Value* const* data() const { return m_items; }
    // Left out (f(1, , 3)) or beyond the arguments given.
    bool isMissing(size_t i) const { return i >= m_count || m_items[i]->isMissing(); }

private:
    Value* const* m_items = nullptr;
    size_t m_count = 0;
};

// How a member is reached.
enum class Invoke : uint8_t {
    Get,  // read a property or call a method for its value: x = o.M(a)
    Let,  // assign a value: o.M(a) = v
    Set,  // assign an object: Set o.M(a) = v
    Call, // call for its effect, result dropped: o.M a
};

// The member id that stands for an object's default member (o(1), x = o, "a" & o).
inline constexpr int kDefaultMember = -2;
// What findMember returns for an unknown name; invoking it raises 438.
inline constexpr int kNoMember = -1;

// For Each over an object.
class Enumerator : public RefCounted {
public:
    // Stores the next element and returns true, or returns false at the end.
    virtual bool next(Value& out) = 0;
};

class Object : public RefCounted {
public:
    // TypeName() of the object ("RegExp", "Dictionary", a class name).
    virtual std::u16string typeName() const = 0;
    // Member id of a name (case-insensitive), or kNoMember.
    virtual int findMember(std::u16string_view name) const = 0;
    // Reads, writes or calls a member. `assigned` is the value for Let and Set, else nullptr.
    // Raises ScriptError (438 unknown member, 450 wrong argument count ...).
    virtual Value invoke(Context& context, int memberId, Invoke kind, Args args,
                         const Value* assigned) = 0;
    // For Each support; the default raises 451 (object not a collection).
    virtual Ref<Enumerator> enumerate(Context& context);
    // Member ids are stable for all objects returning the same non-null key (typically the
    // class's member table), so call sites may cache them.
    virtual const void* memberTableKey() const { return nullptr; }
};

// A host class described by a table of members, for library and host objects:
//
//   class RegExpObject : public HostObject<RegExpObject> {
//   public:
//       std::u16string typeName() const override { return u"IRegExp2"; }
//       std::span<const Member> members() const override {
//           static const Member table[] = {
//               {u"Pattern", 0, 0, &RegExpObject::getPattern, &RegExpObject::setPattern},
//               {u"Test", 1, 1, &RegExpObject::test, nullptr},
//           };
//           return table;
//       }
//   ...
//
// A member with a getter is readable and callable, one with a setter is assignable with Let
// (and with Set when `acceptsObject`). `isDefault` marks the default member.
template <class T> class HostObject : public Object {
public:
    struct Member {
        std::u16string_view name;
        uint8_t minArgs = 0;
        uint8_t maxArgs = 0;
        Value (T::*get)(Context&, Args) = nullptr;
        void (T::*set)(Context&, Args, const Value&) = nullptr;
        bool isDefault = false;
        bool acceptsObject = false;
    };
    virtual std::span<const Member> members() const = 0;

    int findMember(std::u16string_view name) const override;
    Value invoke(Context& context, int memberId, Invoke kind, Args args,
                 const Value* assigned) override;
    const void* memberTableKey() const override { return members().data(); }
};

// Shared checks used by HostObject; raise the language's errors.
namespace detail {
int findMemberByName(std::u16string_view name, const std::u16string_view* names, size_t count);
[[noreturn]] void raiseNoMember();
// 450 for too few or too many arguments, 449 for a required one left out ("f(1, , 3)").
void checkArgCount(Args args, uint8_t minArgs, uint8_t maxArgs);
} // namespace detail

template <class T> int HostObject<T>::findMember(std::u16string_view name) const {
    const auto table = members();
    for (size_t i = 0; i < table.size(); ++i) {
        if (detail::findMemberByName(name, &table[i].name, 1) == 0)
            return static_cast<int>(i);
    }
    return kNoMember;
}

template <class T>
Value HostObject<T>::invoke(Context& context, int memberId, Invoke kind, Args args,
                            const Value* assigned) {
    const auto table = members();
    if (memberId == kDefaultMember) {
        memberId = kNoMember;
        for (size_t i = 0; i < table.size(); ++i)
            if (table[i].isDefault)
                memberId = static_cast<int>(i);
    }
    if (memberId < 0 || static_cast<size_t>(memberId) >= table.size())
        detail::raiseNoMember();
    const Member& m = table[static_cast<size_t>(memberId)];
    T& self = static_cast<T&>(*this);
    if (kind == Invoke::Let || kind == Invoke::Set) {
        if (!m.set || (kind == Invoke::Set && !m.acceptsObject))
            detail::raiseNoMember();
        detail::checkArgCount(args, m.minArgs, m.maxArgs);
        (self.*m.set)(context, args, *assigned);
        return Value();
    }
    if (!m.get)
        detail::raiseNoMember();
    detail::checkArgCount(args, m.minArgs, m.maxArgs);
    return (self.*m.get)(context, args);
}

} // namespace vbscript
