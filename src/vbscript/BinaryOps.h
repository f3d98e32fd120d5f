#pragma once

// A binary operator's node kind mapped onto the operator rules, for every runner of the tree.

#include "Nodes.h"

namespace vbscript {

[[gnu::always_inline]] inline Value applyBinary(BinaryOp op, const Value& a, const Value& b) {
    switch (op) {
    case BinaryOp::Pow:
        return ops::power(a, b);
    case BinaryOp::Mul:
        return ops::multiply(a, b);
    case BinaryOp::Div:
        return ops::divide(a, b);
    case BinaryOp::IntDiv:
        return ops::intDivide(a, b);
    case BinaryOp::Mod:
        return ops::modulo(a, b);
    case BinaryOp::Add:
        return ops::add(a, b);
    case BinaryOp::Sub:
        return ops::subtract(a, b);
    case BinaryOp::Concat:
        return ops::concat(a, b);
    case BinaryOp::Eq:
        return ops::compare(a, b, ops::Compare::Eq);
    case BinaryOp::Ne:
        return ops::compare(a, b, ops::Compare::Ne);
    case BinaryOp::Lt:
        return ops::compare(a, b, ops::Compare::Lt);
    case BinaryOp::Gt:
        return ops::compare(a, b, ops::Compare::Gt);
    case BinaryOp::Le:
        return ops::compare(a, b, ops::Compare::Le);
    case BinaryOp::Ge:
        return ops::compare(a, b, ops::Compare::Ge);
    case BinaryOp::Is:
        return Value::boolean(ops::sameObject(a, b));
    case BinaryOp::And:
        return ops::logicalAnd(a, b);
    case BinaryOp::Or:
        return ops::logicalOr(a, b);
    case BinaryOp::Xor:
        return ops::logicalXor(a, b);
    case BinaryOp::Eqv:
        return ops::logicalEqv(a, b);
    case BinaryOp::Imp:
        return ops::logicalImp(a, b);
    }
    return Value();
}

constexpr bool isComparison(BinaryOp op) {
    return op == BinaryOp::Eq || op == BinaryOp::Ne || op == BinaryOp::Lt || op == BinaryOp::Gt ||
           op == BinaryOp::Le || op == BinaryOp::Ge;
}

constexpr ops::Compare comparisonOf(BinaryOp op) {
    switch (op) {
    case BinaryOp::Ne:
        return ops::Compare::Ne;
    case BinaryOp::Lt:
        return ops::Compare::Lt;
    case BinaryOp::Gt:
        return ops::Compare::Gt;
    case BinaryOp::Le:
        return ops::Compare::Le;
    case BinaryOp::Ge:
        return ops::Compare::Ge;
    default:
        return ops::Compare::Eq;
    }
}

} // namespace vbscript
