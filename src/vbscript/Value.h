#pragma once

// The script language's Variant: one tagged value with the language's subtypes. Strings are
// UTF-16 and shared (copy-on-write); arrays are shared until written (the language copies arrays
// on assignment, so a write to a shared array first makes it private).

#include "RefCounted.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vbscript {

class Object;
class ArrayData;

// The numbers VarType() reports.
enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
    Array = 8192, // a Value holding an array reports Array | Variant (8204)
};

// The shared text of a String value.
class StringData final : public RefCounted {
public:
    explicit StringData(std::u16string t) : text(std::move(t)) {}
    std::u16string text;
};

// Error value meaning "argument left out" (f(1, , 3), optional arguments not given).
inline constexpr int32_t kMissingArgument = static_cast<int32_t>(0x80020004u);

class Value {
public:
    // All sixteen bytes in one store (Empty is all zeros): frames clear their slots in a few.
    Value() noexcept { std::memset(static_cast<void*>(this), 0, sizeof(Value)); }
    Value(const Value& o) noexcept : m_type(o.m_type), m_u(o.m_u) {
        if (isShared())
            addRefShared();
    }
    Value(Value&& o) noexcept : m_type(o.m_type), m_u(o.m_u) {
        o.m_type = VarType::Empty;
        o.m_u.i64 = 0;
    }
    Value& operator=(const Value& o) noexcept {
        if (this != &o) {
            Value copy(o);
            *this = std::move(copy);
        }
        return *this;
    }
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            const VarType oldType = m_type;
            const Payload oldU = m_u;
            m_type = o.m_type;
            m_u = o.m_u;
            o.m_type = VarType::Empty;
            o.m_u.i64 = 0;
            // Released last: a terminator run by the release may look at this value.
            if (isSharedType(oldType))
                releaseShared(oldType, oldU);
        }
        return *this;
    }
    ~Value() {
        if (isShared())
            releaseShared(m_type, m_u);
    }
    // Replaces the value by `plain`, which holds no shared data (a number, a Boolean, Empty).
    [[gnu::always_inline]] void setPlain(const Value& plain) noexcept {
        const VarType oldType = m_type;
        const Payload oldU = m_u;
        m_type = plain.m_type;
        m_u = plain.m_u;
        // Released last: a terminator run by the release may look at this value.
        if (isSharedType(oldType))
            releaseShared(oldType, oldU);
    }

    // Replaces a value that holds no shared data by `plain`, which holds none either: nothing
    // to release. Field by field: a 16-byte copy would read a value just written in two
    // stores, and stall waiting for them.
    [[gnu::always_inline]] void overwritePlain(const Value& plain) noexcept {
        m_type = plain.m_type;
        m_u = plain.m_u;
    }
    // A quicker test than isShared that also answers true for a Boolean, an Error or a
    // Variant: for a place that rarely holds one of those.
    bool mayBeShared() const { return (static_cast<unsigned>(m_type) & kSharedBits) != 0; }
    // Takes `from`'s value, which leaves it Empty, over a value that holds no shared data:
    // nothing to release.
    [[gnu::always_inline]] void takeOverPlain(Value& from) noexcept {
        m_type = from.m_type;
        m_u = from.m_u;
        from.m_type = VarType::Empty;
        from.m_u.i64 = 0;
    }
    // Text, an object or an array: data shared by reference, released when the value goes.
    bool isShared() const { return isSharedType(m_type); }
    // False when none of the values holds shared data, found by one look at all their types
    // together (true may also mean a Boolean, an Error or a Variant among them).
    static bool mayHoldShared(const Value* values, size_t count) {
        unsigned bits = 0;
        for (size_t i = 0; i < count; ++i)
            bits |= static_cast<unsigned>(values[i].m_type);
        return (bits & kSharedBits) != 0;
    }

    // Constructors of each subtype.
    static Value null() { return Value(VarType::Null); }
    static Value integer(int16_t v) {
        Value r(VarType::Integer);
        r.m_u.i64 = v; // one 8-byte store: a later copy reads it whole; sign-extended (whole())
        return r;
    }
    static Value longValue(int32_t v) {
        Value r(VarType::Long);
        r.m_u.i64 = v;
        return r;
    }
    static Value single(float v) {
        Value r(VarType::Single);
        r.m_u.i64 = std::bit_cast<uint32_t>(v);
        return r;
    }
    static Value dbl(double v) {
        Value r(VarType::Double);
        r.m_u.f64 = v;
        return r;
    }
    static Value currency(int64_t tenThousandths) {
        Value r(VarType::Currency);
        r.m_u.i64 = tenThousandths;
        return r;
    }
    static Value date(double oleDate) {
        Value r(VarType::Date);
        r.m_u.f64 = oleDate;
        return r;
    }
    static Value boolean(bool v) {
        Value r(VarType::Boolean);
        r.m_u.i64 = v ? 1 : 0;
        return r;
    }
    static Value byte(uint8_t v) {
        Value r(VarType::Byte);
        r.m_u.i64 = v;
        return r;
    }
    static Value error(int32_t code) {
        Value r(VarType::Error);
        r.m_u.i64 = static_cast<uint32_t>(code);
        return r;
    }
    static Value missing() { return error(kMissingArgument); }
    static Value string(std::u16string text);
    static Value string(std::u16string_view text) { return string(std::u16string(text)); }
    static Value string(const char16_t* text) { return string(std::u16string(text)); }
    static Value object(Ref<Object> object); // a null Ref is Nothing
    static Value nothing();
    static Value array(Ref<ArrayData> array);

    VarType type() const { return m_type; }
    // The VarType() function's number: arrays give 8204.
    int varTypeCode() const;

    bool isEmpty() const { return m_type == VarType::Empty; }
    bool isNull() const { return m_type == VarType::Null; }
    bool isString() const { return m_type == VarType::String; }
    bool isObject() const { return m_type == VarType::Object; } // Nothing included
    bool isNothing() const { return m_type == VarType::Object && m_u.obj == nullptr; }
    bool isArray() const { return m_type == VarType::Array; }
    bool isMissing() const { return m_type == VarType::Error && m_u.i32 == kMissingArgument; }
    // Integer, Long, Single, Double, Currency, Date, Boolean, Byte.
    bool isNumeric() const;

    // Raw access; only valid for the matching type.
    int16_t asInteger() const { return m_u.i16; }
    int32_t asLong() const { return m_u.i32; }
    float asSingle() const { return m_u.f32; }
    double asDouble() const { return m_u.f64; }
    int64_t asCurrency() const { return m_u.i64; }
    double asDate() const { return m_u.f64; }
    bool asBool() const { return m_u.b; }
    uint8_t asByte() const { return m_u.u8; }
    int32_t asError() const { return m_u.i32; }
    // An Integer's or a Long's number: both are stored sign-extended to 64 bits, so reading
    // either needs no choice.
    int64_t whole() const { return m_u.i64; }
    const std::u16string& asString() const;
    Object* asObject() const { return m_u.obj; }
    ArrayData* asArray() const { return m_u.arr; }

    // The string of a String value made private to this value, for appending in place.
    std::u16string& mutableString();
    // The array of an Array value made private to this value, for writing.
    ArrayData& mutableArray();

private:
    union Payload {
        int16_t i16;
        int32_t i32;
        int64_t i64;
        float f32;
        double f64;
        bool b;
        uint8_t u8;
        StringData* str; // nullptr is ""
        Object* obj;     // nullptr is Nothing
        ArrayData* arr;
    };

    explicit Value(VarType type) noexcept : m_type(type) { m_u.i64 = 0; }
    static bool isSharedType(VarType t) {
        // Numbers, the common case, are told apart by one test of the bits shared types have.
        return (static_cast<unsigned>(t) & kSharedBits) != 0 &&
               (t == VarType::String || t == VarType::Object || t == VarType::Array);
    }
    // A bit every shared type has: 8 (String, Object) or 8192 (Array).
    static constexpr unsigned kSharedBits = 0x2008;
    static_assert((static_cast<unsigned>(VarType::String) & kSharedBits) != 0 &&
                  (static_cast<unsigned>(VarType::Object) & kSharedBits) != 0 &&
                  (static_cast<unsigned>(VarType::Array) & kSharedBits) != 0);
    static void releaseShared(VarType type, Payload payload) noexcept;
    void addRefShared() noexcept;
    ArrayData& unshareArray(); // mutableArray's copy when the array is shared

    VarType m_type;
    Payload m_u;
};

// One dimension of an array: elements lower..upper (lower is always 0 for script arrays).
struct ArrayBound {
    int32_t lower = 0;
    int32_t count = 0; // upper = lower + count - 1; 0 elements when upper is -1
};

// Storage of an array of any rank, column-major as the language lays it out: the first index
// varies fastest.
class ArrayData final : public RefCounted {
public:
    ArrayData() = default;
    explicit ArrayData(std::vector<ArrayBound> bounds);
    // A one-dimensional array 0..n-1 holding the values.
    static Ref<ArrayData> fromValues(std::vector<Value> values);

    int rank() const { return static_cast<int>(bounds.size()); }
    int32_t lbound(int dimension) const { return bounds[dimension].lower; }
    int32_t ubound(int dimension) const {
        return bounds[dimension].lower + bounds[dimension].count - 1;
    }
    // Element by indexes (one per dimension); raises 9 when out of range or of the wrong rank.
    Value& at(const int32_t* indexes, int count);
    Ref<ArrayData> clone() const;

    std::vector<ArrayBound> bounds;
    std::vector<Value> items;
    bool fixedSize = false; // declared with Dim a(n): ReDim raises 10
    int locks = 0;          // an element is borrowed by reference: resizing raises 10
};

inline ArrayData& Value::mutableArray() {
    if (m_u.arr->refCount() > 1) [[unlikely]]
        return unshareArray();
    return *m_u.arr;
}

} // namespace vbscript
