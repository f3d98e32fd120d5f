#pragma once

// Operands read in place: a literal or a variable is looked at where it is stored, without a
// virtual call or a copy, so that the common numeric cases of an operator cost no more than
// the arithmetic.

#include "Interpreter.h"
#include "Nodes.h"

namespace vbscript {

// The storage of a name bound to a variable that exists: a local, a parameter, or a declared
// global that is no procedure. nullptr for anything else (the general rules then decide).
inline Value* plainVariable(const NameRef& r, const Frame& f) {
    switch (r.binding) {
    case Binding::Local:
        return &f.locals[r.slot];
    case Binding::Param:
        return f.params[r.slot];
    case Binding::Global:
    case Binding::Dynamic: {
        GlobalCell* c = r.cell;
        if (c->isVariable)
            return &c->value;
        return nullptr;
    }
    default:
        return nullptr;
    }
}

// The stored value of a literal, a constant or a variable whose reading runs no code and
// raises nothing; nullptr when the expression has to be evaluated. The pointer is valid until
// any other code runs.
inline const Value* peekOperand(const Expr& e, const Frame& f) {
    if (e.shape == ExprShape::Literal)
        return &static_cast<const LiteralExpr&>(e).value;
    if (e.shape != ExprShape::Name)
        return nullptr;
    const NameRef& r = *static_cast<const NameExpr&>(e).ref;
    if (r.binding == Binding::Constant)
        return &r.constant;
    return plainVariable(r, f);
}

// Numbers that no operator has to convert or dereference first.
inline bool isPlainNumber(const Value& v) {
    const VarType t = v.type();
    return t == VarType::Integer || t == VarType::Long || t == VarType::Double;
}

} // namespace vbscript
