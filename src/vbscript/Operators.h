#pragma once

// The language's operators on Values, with its promotion, overflow and Null rules.

#include "Value.h"

namespace vbscript::ops {

Value add(const Value& a, const Value& b);
Value subtract(const Value& a, const Value& b);
Value multiply(const Value& a, const Value& b);
Value divide(const Value& a, const Value& b);
Value intDivide(const Value& a, const Value& b);
Value modulo(const Value& a, const Value& b);
Value power(const Value& a, const Value& b);
Value negate(const Value& a);
Value concat(const Value& a, const Value& b);
// Appends b's text to `target` in place when possible (s = s & x).
void concatInPlace(Value& target, const Value& b);

enum class Compare { Eq, Ne, Lt, Gt, Le, Ge };
// Null when either side is Null, else Boolean.
Value compare(const Value& a, const Value& b, Compare op);
// The truth of compare(a, b, op) as a condition: False for Null.
bool compareHolds(const Value& a, const Value& b, Compare op);
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
