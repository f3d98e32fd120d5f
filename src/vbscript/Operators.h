#pragma once

// The language's operators on Values, with its promotion, overflow and Null rules.

#include "Value.h"

#include <cmath>

namespace vbscript::ops {

// The general rules; add, subtract, multiply and compareHolds below take the common numeric
// pairs inline and hand everything else to these.
Value addSlow(const Value& a, const Value& b);
Value subtractSlow(const Value& a, const Value& b);
Value multiplySlow(const Value& a, const Value& b);

namespace detail {
inline bool isWhole(VarType t) {
    return t == VarType::Integer || t == VarType::Long;
}
// Both Integer or Long (2 and 3), in one test.
inline bool bothWhole(VarType a, VarType b) {
    return ((static_cast<unsigned>(a) ^ 2u) | (static_cast<unsigned>(b) ^ 2u)) <= 1u;
}
inline int64_t wholeOf(const Value& v) {
    return v.whole();
}
// Either a Long (for two whole numbers: Integer is 2, Long 3).
inline bool longRank(VarType a, VarType b) {
    return ((static_cast<unsigned>(a) | static_cast<unsigned>(b)) & 1u) != 0;
}
inline bool longRank(const Value& a, const Value& b) {
    return longRank(a.type(), b.type());
}
// Integer and Long arithmetic is done in 64 bits; the result takes the smallest type of the
// operands' rank that holds it (an Integer overflows into a Long, a Long into a Double).
inline Value wholeResult(int64_t r, bool longRank) {
    if (!longRank && r >= -32768 && r <= 32767)
        return Value::integer(static_cast<int16_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Value::longValue(static_cast<int32_t>(r));
    return Value::dbl(static_cast<double>(r));
}
} // namespace detail

inline Value add(const Value& a, const Value& b) {
    if (detail::bothWhole(a.type(), b.type()))
        return detail::wholeResult(detail::wholeOf(a) + detail::wholeOf(b), detail::longRank(a, b));
    if (a.type() == VarType::Double && b.type() == VarType::Double) {
        const double r = a.asDouble() + b.asDouble();
        if (std::isfinite(r))
            return Value::dbl(r);
    }
    return addSlow(a, b);
}
inline Value subtract(const Value& a, const Value& b) {
    if (detail::bothWhole(a.type(), b.type()))
        return detail::wholeResult(detail::wholeOf(a) - detail::wholeOf(b), detail::longRank(a, b));
    if (a.type() == VarType::Double && b.type() == VarType::Double) {
        const double r = a.asDouble() - b.asDouble();
        if (std::isfinite(r))
            return Value::dbl(r);
    }
    return subtractSlow(a, b);
}
inline Value multiply(const Value& a, const Value& b) {
    if (detail::bothWhole(a.type(), b.type()))
        return detail::wholeResult(detail::wholeOf(a) * detail::wholeOf(b), detail::longRank(a, b));
    if (a.type() == VarType::Double && b.type() == VarType::Double) {
        const double r = a.asDouble() * b.asDouble();
        if (std::isfinite(r))
            return Value::dbl(r);
    }
    return multiplySlow(a, b);
}
Value divide(const Value& a, const Value& b);
Value intDivide(const Value& a, const Value& b);
Value moduloSlow(const Value& a, const Value& b);
// Integer and Long pairs inline, in a 32-bit division, the quicker one (the smallest Long
// Mod -1 is 0, not a fault).
inline Value modulo(const Value& a, const Value& b) {
    if (detail::bothWhole(a.type(), b.type()) && detail::wholeOf(b) != 0) {
        const auto x = static_cast<int32_t>(detail::wholeOf(a));
        const auto y = static_cast<int32_t>(detail::wholeOf(b));
        const int32_t r = y == -1 ? 0 : x % y;
        return detail::longRank(a, b) ? Value::longValue(static_cast<int32_t>(r))
                                      : Value::integer(static_cast<int16_t>(r));
    }
    return moduloSlow(a, b);
}
Value power(const Value& a, const Value& b);
Value negate(const Value& a);
Value concat(const Value& a, const Value& b);
// Appends b's text to `target` in place when possible (s = s & x).
void concatInPlace(Value& target, const Value& b);

enum class Compare { Eq, Ne, Lt, Gt, Le, Ge };
// Null when either side is Null, else Boolean.
Value compare(const Value& a, const Value& b, Compare op);
// The truth of compare(a, b, op) as a condition: False for Null.
bool compareHoldsSlow(const Value& a, const Value& b, Compare op);
namespace detail {
template <class T> bool holds(T x, T y, Compare op) {
    switch (op) {
    case Compare::Eq:
        return x == y;
    case Compare::Ne:
        return x != y;
    case Compare::Lt:
        return x < y;
    case Compare::Gt:
        return x > y;
    case Compare::Le:
        return x <= y;
    case Compare::Ge:
        return x >= y;
    }
    return false;
}
} // namespace detail
inline bool compareHolds(const Value& a, const Value& b, Compare op) {
    if (detail::bothWhole(a.type(), b.type()))
        return detail::holds(detail::wholeOf(a), detail::wholeOf(b), op);
    if (a.type() == VarType::Double && b.type() == VarType::Double)
        return detail::holds(a.asDouble(), b.asDouble(), op);
    if (a.type() == VarType::Single && b.type() == VarType::Single)
        return detail::holds(a.asSingle(), b.asSingle(), op);
    return compareHoldsSlow(a, b, op);
}
// -1, 0, 1; raises nothing for Null (callers check): used by Select Case and sorting helpers.
int compareValues(const Value& a, const Value& b);
// The Is operator: both sides must be objects (or Nothing).
bool sameObject(const Value& a, const Value& b);

Value logicalNot(const Value& a);
Value logicalAnd(const Value& a, const Value& b);
Value logicalOr(const Value& a, const Value& b);
Value logicalXor(const Value& a, const Value& b);
Value logicalEqv(const Value& a, const Value& b);
Value logicalImp(const Value& a, const Value& b);

// The truth of a condition (If, While): Null counts as False, text "True"/"False" and numbers.
bool isTrue(const Value& v);

} // namespace vbscript::ops
