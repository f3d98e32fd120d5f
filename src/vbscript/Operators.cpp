#include "Operators.h"

#include "Conversions.h"
#include "Object.h"
#include "ScriptError.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace vbscript::ops {

namespace {

// Precision order of the arithmetic result types.
enum Rank { RByte, RInteger, RLong, RSingle, RDouble, RCurrency, RDate };

Rank rankOf(const Value& v) {
    switch (v.type()) {
    case VarType::Byte:
        return RByte;
    case VarType::Integer:
    case VarType::Boolean:
    case VarType::Empty:
        return RInteger;
    case VarType::Long:
        return RLong;
    case VarType::Single:
        return RSingle;
    case VarType::Currency:
        return RCurrency;
    case VarType::Date:
        return RDate;
    default:
        return RDouble;
    }
}

int64_t asInt64(const Value& v) {
    switch (v.type()) {
    case VarType::Byte:
        return v.asByte();
    case VarType::Integer:
        return v.asInteger();
    case VarType::Long:
        return v.asLong();
    case VarType::Boolean:
        return v.asBool() ? -1 : 0;
    default:
        return 0;
    }
}

Value fromDouble(double r) {
    if (!std::isfinite(r))
        raiseError(err::Overflow);
    return Value::dbl(r);
}

Value fromWhole(int64_t r, Rank rank) {
    if (rank == RByte && r >= 0 && r <= 255)
        return Value::byte(static_cast<uint8_t>(r));
    if (rank <= RInteger && r >= -32768 && r <= 32767)
        return Value::integer(static_cast<int16_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Value::longValue(static_cast<int32_t>(r));
    return Value::dbl(static_cast<double>(r));
}

Value fromSingleOrDouble(double r) {
    if (!std::isfinite(r))
        raiseError(err::Overflow);
    if (std::fabs(r) <= std::numeric_limits<float>::max())
        return Value::single(static_cast<float>(r));
    return Value::dbl(r);
}

Value fromCurrency(long double r) {
    if (!(std::fabs(r) <= 922337203685477.5807L * 10000.0L))
        raiseError(err::Overflow);
    return Value::currency(static_cast<int64_t>(std::nearbyint(r)));
}

Value fromDate(double r) {
    if (!(r >= -657434.0 && r < 2958466.0))
        raiseError(err::Overflow);
    return Value::date(r);
}

enum class Arith { Add, Sub, Mul };

// Whole numbers are added in 64 bits, so the result's rank is chosen after the fact.
template <class T> T applyArith(Arith op, T x, T y) {
    switch (op) {
    case Arith::Add:
        return x + y;
    case Arith::Sub:
        return x - y;
    case Arith::Mul:
        return x * y;
    }
    return T{};
}

Value arithSlow(Arith op, const Value& a0, const Value& b0) {
    if (a0.isObject() || b0.isObject())
        return arithSlow(op, dereference(a0), dereference(b0));
    if (a0.isNull() || b0.isNull())
        return Value::null();
    if (op == Arith::Add) {
        if (a0.isString() && (b0.isString() || b0.isEmpty()))
            return concat(a0, b0);
        if (b0.isString() && a0.isEmpty())
            return b0;
    }
    const Value a = toNumeric(a0);
    const Value b = toNumeric(b0);
    Rank ra = rankOf(a), rb = rankOf(b);
    Rank r = ra > rb ? ra : rb;
    if ((ra == RSingle && rb == RLong) || (ra == RLong && rb == RSingle))
        r = RDouble;
    if (r == RDate) {
        const double x = toDouble(a), y = toDouble(b);
        switch (op) {
        case Arith::Add:
            return fromDate(x + y);
        case Arith::Sub:
            return ra == RDate && rb == RDate ? fromDouble(x - y) : fromDate(x - y);
        case Arith::Mul:
            return fromDouble(x * y);
        }
    }
    if (r == RCurrency) {
        const long double x = static_cast<long double>(toCurrency(a));
        const long double y = static_cast<long double>(toCurrency(b));
        switch (op) {
        case Arith::Add:
            return fromCurrency(x + y);
        case Arith::Sub:
            return fromCurrency(x - y);
        case Arith::Mul:
            return fromCurrency(x * y / 10000.0L);
        }
    }
    if (r <= RLong)
        return fromWhole(applyArith(op, asInt64(a), asInt64(b)), r);
    const double res = applyArith(op, toDouble(a), toDouble(b));
    return r == RSingle ? fromSingleOrDouble(res) : fromDouble(res);
}

// Whole-number operands of \ and Mod, and the rank of their result.
int64_t wholeOperand(const Value& v) {
    switch (v.type()) {
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Boolean:
        return asInt64(v);
    default:
        return toLong(v);
    }
}

Rank wholeRank(const Value& a, const Value& b) {
    const Rank ra = rankOf(a), rb = rankOf(b);
    if (ra == RByte && rb == RByte)
        return RByte;
    if (ra <= RInteger && rb <= RInteger)
        return RInteger;
    return RLong;
}

Value wholeDivide(const Value& a0, const Value& b0, bool mod) {
    if (a0.isObject() || b0.isObject())
        return wholeDivide(dereference(a0), dereference(b0), mod);
    if (a0.isNull() || b0.isNull())
        return Value::null();
    const Value a = toNumeric(a0), b = toNumeric(b0);
    const int64_t x = wholeOperand(a), y = wholeOperand(b);
    if (y == 0)
        raiseError(err::DivisionByZero);
    const int64_t r = mod ? x % y : x / y;
    const Rank rank = wholeRank(a, b);
    if (rank == RLong && (r < INT32_MIN || r > INT32_MAX))
        raiseError(err::Overflow);
    return fromWhole(r, rank);
}

// Operands of the logical operators: Boolean, or a whole number with its rank.
struct Logical {
    bool isNull = false;
    bool isBool = false;
    int64_t bits = 0;
    Rank rank = RInteger;
};

Logical logicalOperand(const Value& v0) {
    const Value v = v0.isObject() ? dereference(v0) : v0;
    Logical l;
    switch (v.type()) {
    case VarType::Null:
        l.isNull = true;
        return l;
    case VarType::Boolean:
        l.isBool = true;
        l.bits = v.asBool() ? -1 : 0;
        return l;
    case VarType::Empty:
        return l;
    case VarType::Byte:
        l.rank = RByte;
        l.bits = v.asByte();
        return l;
    case VarType::Integer:
        l.bits = v.asInteger();
        return l;
    case VarType::String: {
        const auto& s = v.asString();
        if (!parseNumber(s)) {
            l.isBool = true;
            l.bits = toBool(v) ? -1 : 0;
            return l;
        }
        l.rank = RLong;
        l.bits = toLong(v);
        return l;
    }
    default:
        l.rank = RLong;
        l.bits = toLong(v);
        return l;
    }
}

Value logicalResult(const Logical& a, const Logical& b, int64_t bits) {
    if (a.isBool && b.isBool)
        return Value::boolean(bits != 0);
    Rank r = RInteger;
    if (!a.isBool && !b.isBool && a.rank == RByte && b.rank == RByte)
        r = RByte;
    else if ((!a.isBool && a.rank == RLong) || (!b.isBool && b.rank == RLong))
        r = RLong;
    if (r == RByte)
        return Value::byte(static_cast<uint8_t>(bits));
    if (r == RInteger)
        return Value::integer(static_cast<int16_t>(bits));
    return Value::longValue(static_cast<int32_t>(bits));
}

// The value given when a Null operand leaves the result decided: Null And 0 is 0, Null Or -1
// is -1 (True with Booleans).
Value knownResult(const Logical& known, const Logical& other) {
    if (known.isBool)
        return Value::boolean(known.bits != 0);
    (void)other;
    Logical same = known;
    return logicalResult(same, same, known.bits);
}

bool isNumericKind(const Value& v) {
    return v.isNumeric() || v.isEmpty();
}

bool isWholeType(VarType t) {
    return t == VarType::Integer || t == VarType::Long;
}

bool isFloatType(VarType t) {
    return t == VarType::Double || t == VarType::Single;
}

} // namespace

Value addSlow(const Value& a, const Value& b) {
    return arithSlow(Arith::Add, a, b);
}

Value subtractSlow(const Value& a, const Value& b) {
    return arithSlow(Arith::Sub, a, b);
}

Value multiplySlow(const Value& a, const Value& b) {
    return arithSlow(Arith::Mul, a, b);
}

Value divide(const Value& a0, const Value& b0) {
    if (a0.isObject() || b0.isObject())
        return divide(dereference(a0), dereference(b0));
    if (a0.isNull() || b0.isNull())
        return Value::null();
    const Value a = toNumeric(a0), b = toNumeric(b0);
    const double x = toDouble(a), y = toDouble(b);
    if (y == 0.0)
        raiseError(x == 0.0 || std::isnan(x) ? err::Overflow : err::DivisionByZero);
    const Rank ra = rankOf(a), rb = rankOf(b);
    const bool single = (ra == RSingle || rb == RSingle) && ra <= RSingle && rb <= RSingle &&
                        ra != RLong && rb != RLong;
    return single ? fromSingleOrDouble(x / y) : fromDouble(x / y);
}

Value intDivide(const Value& a, const Value& b) {
    return wholeDivide(a, b, false);
}

Value moduloSlow(const Value& a, const Value& b) {
    return wholeDivide(a, b, true);
}

Value power(const Value& a0, const Value& b0) {
    if (a0.isObject() || b0.isObject())
        return power(dereference(a0), dereference(b0));
    if (a0.isNull() || b0.isNull())
        return Value::null();
    const double x = toDouble(toNumeric(a0)), y = toDouble(toNumeric(b0));
    if ((x == 0.0 && y < 0.0) || (x < 0.0 && y != std::floor(y)))
        raiseError(err::InvalidCall);
    return fromDouble(std::pow(x, y));
}

Value negate(const Value& a0) {
    switch (a0.type()) {
    case VarType::Null:
        return a0;
    case VarType::Empty:
        return Value::integer(0);
    case VarType::Integer:
    case VarType::Boolean:
    case VarType::Byte:
        return fromWhole(-asInt64(a0), RInteger);
    case VarType::Long:
        return fromWhole(-asInt64(a0), RLong);
    case VarType::Single:
        return Value::single(-a0.asSingle());
    case VarType::Double:
        return Value::dbl(-a0.asDouble());
    case VarType::Currency:
        if (a0.asCurrency() == INT64_MIN)
            raiseError(err::Overflow);
        return Value::currency(-a0.asCurrency());
    case VarType::Date:
        return fromDate(-a0.asDate());
    case VarType::Object:
        return negate(dereference(a0));
    default:
        return Value::dbl(-toDouble(a0));
    }
}

namespace {
// Longest text a script may build (the language's string space); beyond it error 14.
constexpr size_t kMaxStringLength = size_t{1} << 28;

void checkLength(size_t a, size_t b) {
    if (a + b > kMaxStringLength)
        raiseError(err::OutOfStringSpace);
}
} // namespace

Value concat(const Value& a, const Value& b) {
    if (a.isNull() && b.isNull())
        return Value::null();
    std::u16string s = a.isNull() ? std::u16string() : toString(a);
    if (!b.isNull()) {
        if (b.isString()) {
            checkLength(s.size(), b.asString().size());
            s += b.asString();
        } else {
            const std::u16string t = toString(b);
            checkLength(s.size(), t.size());
            s += t;
        }
    }
    return Value::string(std::move(s));
}

void concatInPlace(Value& target, const Value& b) {
    if (target.isString() && !b.isNull()) {
        if (b.isString()) {
            const std::u16string& tail = b.asString();
            checkLength(target.asString().size(), tail.size());
            if (!tail.empty()) {
                if (&tail == &target.asString()) {
                    const std::u16string copy = tail;
                    target.mutableString() += copy;
                } else {
                    target.mutableString() += tail;
                }
            }
        } else {
            const std::u16string tail = toString(b);
            checkLength(target.asString().size(), tail.size());
            target.mutableString() += tail;
        }
        return;
    }
    target = concat(target, b);
}

namespace {
// A Single against a Double compares at the Single's precision, as the language does:
// CSng(0.001 * 0.001) = 0.000001 holds.
int compareFloats(const Value& a, const Value& b) {
    const bool single = a.type() == VarType::Single || b.type() == VarType::Single;
    if (single && (a.type() == VarType::Double || b.type() == VarType::Double)) {
        const float x = static_cast<float>(toDouble(a)), y = static_cast<float>(toDouble(b));
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const double x = toDouble(a), y = toDouble(b);
    return x < y ? -1 : x > y ? 1 : 0;
}
} // namespace

int compareValues(const Value& a0, const Value& b0) {
    if (a0.isObject() || b0.isObject())
        return compareValues(dereference(a0), dereference(b0));
    const Value& a = a0;
    const Value& b = b0;
    if (a.isArray() || b.isArray() || a.type() == VarType::Error || b.type() == VarType::Error)
        raiseError(err::TypeMismatch);
    const bool aStr = a.isString(), bStr = b.isString();
    if (aStr || bStr) {
        if (aStr && bStr) {
            const int c = a.asString().compare(b.asString());
            return c < 0 ? -1 : c > 0 ? 1 : 0;
        }
        // Empty against text compares as "", a number is less than any text.
        if (a.isEmpty() || b.isEmpty()) {
            const std::u16string& s = aStr ? a.asString() : b.asString();
            const int c = s.empty() ? 0 : 1;
            return aStr ? c : -c;
        }
        return aStr ? 1 : -1;
    }
    if (a.type() == VarType::Currency && b.type() == VarType::Currency)
        return a.asCurrency() < b.asCurrency() ? -1 : a.asCurrency() > b.asCurrency() ? 1 : 0;
    if (isNumericKind(a) && isNumericKind(b)) {
        if (rankOf(a) <= RLong && rankOf(b) <= RLong) {
            const int64_t x = asInt64(a), y = asInt64(b);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        return compareFloats(a, b);
    }
    raiseError(err::TypeMismatch);
}

Value compare(const Value& a, const Value& b, Compare op) {
    if (a.isNull() || b.isNull())
        return Value::null();
    int c;
    if (isWholeType(a.type()) && isWholeType(b.type())) {
        const int64_t x = a.whole(), y = b.whole();
        c = x < y ? -1 : x > y ? 1 : 0;
    } else if (isFloatType(a.type()) && isFloatType(b.type())) {
        c = compareFloats(a, b);
    } else {
        if ((a.isObject() && !a.isNothing()) || (b.isObject() && !b.isNothing())) {
            const Value x = dereference(a), y = dereference(b);
            return compare(x, y, op);
        }
        c = compareValues(a, b);
    }
    switch (op) {
    case Compare::Eq:
        return Value::boolean(c == 0);
    case Compare::Ne:
        return Value::boolean(c != 0);
    case Compare::Lt:
        return Value::boolean(c < 0);
    case Compare::Gt:
        return Value::boolean(c > 0);
    case Compare::Le:
        return Value::boolean(c <= 0);
    case Compare::Ge:
        return Value::boolean(c >= 0);
    }
    return Value();
}

bool compareHoldsSlow(const Value& a, const Value& b, Compare op) {
    return isTrue(compare(a, b, op));
}

bool sameObject(const Value& a, const Value& b) {
    if (!a.isObject() || !b.isObject())
        raiseError(err::ObjectRequired);
    return a.asObject() == b.asObject();
}

Value logicalNot(const Value& a) {
    const Logical l = logicalOperand(a);
    if (l.isNull)
        return Value::null();
    return logicalResult(l, l, ~l.bits);
}

Value logicalAnd(const Value& a, const Value& b) {
    const Logical x = logicalOperand(a), y = logicalOperand(b);
    if (x.isNull && y.isNull)
        return Value::null();
    if (x.isNull || y.isNull) {
        const Logical& known = x.isNull ? y : x;
        return known.bits == 0 ? knownResult(known, known) : Value::null();
    }
    return logicalResult(x, y, x.bits & y.bits);
}

Value logicalOr(const Value& a, const Value& b) {
    const Logical x = logicalOperand(a), y = logicalOperand(b);
    if (x.isNull && y.isNull)
        return Value::null();
    if (x.isNull || y.isNull) {
        const Logical& known = x.isNull ? y : x;
        return known.bits == -1 ? knownResult(known, known) : Value::null();
    }
    return logicalResult(x, y, x.bits | y.bits);
}

Value logicalXor(const Value& a, const Value& b) {
    const Logical x = logicalOperand(a), y = logicalOperand(b);
    if (x.isNull || y.isNull)
        return Value::null();
    return logicalResult(x, y, x.bits ^ y.bits);
}

Value logicalEqv(const Value& a, const Value& b) {
    const Logical x = logicalOperand(a), y = logicalOperand(b);
    if (x.isNull || y.isNull)
        return Value::null();
    return logicalResult(x, y, ~(x.bits ^ y.bits));
}

Value logicalImp(const Value& a, const Value& b) {
    const Logical x = logicalOperand(a), y = logicalOperand(b);
    if (x.isNull && y.isNull)
        return Value::null();
    if (x.isNull) // Null Imp True is True, else Null
        return y.bits == -1 ? knownResult(y, y) : Value::null();
    if (y.isNull) { // False Imp Null is True, else Null
        if (x.bits == 0) {
            Logical t = x;
            t.bits = -1;
            return knownResult(t, t);
        }
        return Value::null();
    }
    return logicalResult(x, y, ~x.bits | y.bits);
}

bool isTrue(const Value& v) {
    switch (v.type()) {
    case VarType::Boolean:
        return v.asBool();
    case VarType::Null:
        return false;
    case VarType::Integer:
        return v.asInteger() != 0;
    case VarType::Long:
        return v.asLong() != 0;
    default:
        return toBool(v);
    }
}

} // namespace vbscript::ops
