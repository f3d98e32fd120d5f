// Evaluation of expression nodes.
#include "BinaryOps.h"
#include "Conversions.h"
#include "Interpreter.h"
#include "Nodes.h"
#include "Operand.h"
#include "Parser.h"
#include "ScriptObject.h"
#include "StackGuard.h"

namespace vbscript {

namespace {

ScriptObject& meObject(Frame& f) {
    auto* me = dynamic_cast<ScriptObject*>(f.me);
    if (!me)
        raiseError(err::ObjectRequired);
    return *me;
}

[[noreturn]] void undefinedVariable() {
    raiseError(err::VariableUndefined);
}

// A member of an object added with its members global, read as a bare name.
bool readGlobalMember(Frame& f, const std::u16string& name, Args args, Value& out) {
    for (const auto& object : f.in.globalMemberObjects()) {
        const int id = object->findMember(name);
        if (id != kNoMember) {
            out = object->invoke(f.in, id, Invoke::Get, args, nullptr);
            return true;
        }
    }
    return false;
}

// Storage of a variable binding that plainVariable did not answer (locals and parameters it
// always does); nullptr when the name is no variable (a procedure, a builtin, a constant, a
// method of Me).
Value* variableSlotSlow(Frame& f, const NameRef& r, bool write) {
    switch (r.binding) {
    case Binding::Field:
        return &meObject(f).field(r.slot);
    case Binding::Outer:
        return &f.outer->locals[r.slot];
    case Binding::OuterParam:
        return f.outer->params[r.slot];
    case Binding::Global: {
        GlobalCell* c = r.cell;
        if (c->proc || c->builtin)
            return nullptr;
        if (!c->declared) {
            if (r.strict)
                undefinedVariable();
            if (write)
                c->setDeclared();
        }
        return &c->value;
    }
    case Binding::Dynamic: {
        GlobalCell* c = r.cell;
        if (c->proc || c->builtin)
            return nullptr;
        if (c->declared)
            return &c->value;
        if (r.strict)
            undefinedVariable();
        return &f.locals[r.slot];
    }
    default:
        return nullptr;
    }
}

inline Value* variableSlot(Frame& f, const NameRef& r, bool write) {
    if (Value* v = plainVariable(r, f))
        return v;
    return variableSlotSlow(f, r, write);
}

const ClassMember& methodMember(Frame& f, const NameRef& r) {
    return meObject(f).classInfo().members[static_cast<size_t>(r.member)];
}

Value callMethod(Frame& f, const NameRef& r, const ExprList* args) {
    const ClassMember& m = methodMember(f, r);
    if (!m.method)
        raiseError(err::NoSuchMember);
    if (!args)
        return f.in.callProcedure(m.method, f.me, nullptr, 0);
    return f.in.callProcedure(m.method, f.me, f, *args);
}

void assignMethod(Frame& f, const NameRef& r, const ExprList* args, Value v, bool isSet) {
    const ClassMember& m = methodMember(f, r);
    Procedure* setter = isSet ? m.set : m.let;
    if (!setter)
        raiseError(err::IllegalAssignment);
    static const ExprList kNone;
    ArgBuffer a(f, args ? *args : kNone);
    a.append(std::move(v));
    f.in.callProcedure(setter, f.me, a.items(), a.size());
}

bool isUndeclaredCell(const NameRef& r) {
    if (r.binding != Binding::Global && r.binding != Binding::Dynamic)
        return false;
    const GlobalCell* c = r.cell;
    return !c->declared && !c->proc && !c->builtin;
}

int32_t indexValue(const Value& v) {
    if (v.type() == VarType::Integer)
        return v.asInteger();
    if (v.type() == VarType::Long)
        return v.asLong();
    if (v.isNull() || v.isMissing())
        raiseError(err::TypeMismatch);
    return toLong(v);
}

// An index expression's value; a variable is read in place unless it holds an object, whose
// default member may run code.
// a(j + 1): two whole numbers read in place need no Value in between. False for anything else
// (and a result beyond a Long), which takes the operator's own rules.
[[gnu::always_inline]] inline bool wholeSumIndex(const Expr& e, const Frame& f, int32_t& index) {
    if (e.shape != ExprShape::Sum && e.shape != ExprShape::Difference)
        return false;
    const auto& sum = static_cast<const BinaryExpr&>(e);
    const Value* x = peekOperand(*sum.left, f);
    const Value* y = x ? peekOperand(*sum.right, f) : nullptr;
    if (!y || !ops::detail::bothWhole(x->type(), y->type()))
        return false;
    const int64_t a = ops::detail::wholeOf(*x);
    const int64_t b = ops::detail::wholeOf(*y);
    const int64_t r = e.shape == ExprShape::Sum ? a + b : a - b;
    if (r < INT32_MIN || r > INT32_MAX)
        return false;
    index = static_cast<int32_t>(r);
    return true;
}

[[gnu::always_inline]] inline int32_t indexOf(Frame& f, const ExprPtr& e) {
    if (!e)
        raiseError(err::TypeMismatch);
    if (const Value* v = peekOperand(*e, f); v && !v->isObject())
        return indexValue(*v);
    if (int32_t index; wholeSumIndex(*e, f, index))
        return index;
    return indexValue(e->eval(f));
}

// The element of an array for index values (one per dimension).
[[gnu::always_inline]] inline Value& elementAt(Value* slot, const int32_t* indexes, size_t count,
                                               bool forWrite, Ref<ArrayData>* keep) {
    // The indexes may have run code that changed the variable.
    if (!slot->isArray())
        raiseError(err::TypeMismatch);
    ArrayData& a = forWrite ? slot->mutableArray() : *slot->asArray();
    if (keep)
        *keep = Ref<ArrayData>(&a);
    if (count == 1 && a.rank() == 1) {
        const int64_t i = static_cast<int64_t>(indexes[0]) - a.bounds[0].lower;
        if (i < 0 || i >= a.bounds[0].count)
            raiseError(err::SubscriptOutOfRange);
        return a.items[static_cast<size_t>(i)];
    }
    return a.at(indexes, static_cast<int>(count));
}

// The element a(i) of an array variable whose index reads in place (a literal, a variable or
// a whole-number sum of them), found where it is stored. Its look-up runs no code and raises
// 9 or 13 exactly where evaluating a(i) would; nullptr for every other form.
[[gnu::noinline]] const Value* peekElement(Expr& e, Frame& f) {
    const auto& call = static_cast<const CallExpr&>(e);
    const NameRef& r = *call.ref;
    Value* slot = plainVariable(r, f);
    if (!slot) {
        // A call of a procedure, a builtin or a method stays one: later passes skip this look.
        // (Should the name become a variable after all, the node still evaluates it correctly.)
        const bool global = r.binding == Binding::Global || r.binding == Binding::Dynamic;
        if (r.binding == Binding::Method || r.binding == Binding::Constant ||
            (global && (r.cell->proc || r.cell->builtin)))
            e.shape = ExprShape::Other;
        return nullptr;
    }
    if (!slot->isArray())
        return nullptr;
    const Expr& indexExpr = *call.args[0];
    int32_t index;
    if (const Value* v = peekOperand(indexExpr, f); v && !v->isObject())
        index = indexValue(*v);
    else if (!wholeSumIndex(indexExpr, f, index))
        return nullptr;
    return &elementAt(slot, &index, 1, false, nullptr);
}

// An operator's operand read in place: a literal, a variable or an array element.
[[gnu::always_inline]] inline const Value* peekValue(Expr& e, Frame& f) {
    if (const Value* v = peekOperand(e, f))
        return v;
    return e.shape == ExprShape::Element ? peekElement(e, f) : nullptr;
}

[[gnu::noinline]] Value& elementOfManyIndexes(Frame& f, Value* slot, const ExprList& args,
                                              bool forWrite, Ref<ArrayData>* keep) {
    std::vector<int32_t> indexes(args.size());
    for (size_t i = 0; i < args.size(); ++i)
        indexes[i] = indexOf(f, args[i]);
    return elementAt(slot, indexes.data(), indexes.size(), forWrite, keep);
}

// Element of the array in `slot` for the index expressions; the array is made private first
// when it is to be written.
[[gnu::always_inline]] inline Value& indexedElement(Frame& f, Value* slot, const ExprList& args,
                                                    bool forWrite, Ref<ArrayData>* keep) {
    if (args.size() != 1)
        return elementOfManyIndexes(f, slot, args, forWrite, keep);
    const int32_t index = indexOf(f, args[0]);
    return elementAt(slot, &index, 1, forWrite, keep);
}

} // namespace

// ---- names ----

Value NameExpr::eval(Frame& f) {
    NameRef& r = *ref;
    switch (r.binding) {
    case Binding::Local:
        return f.locals[r.slot];
    case Binding::Param:
        return *f.params[r.slot];
    case Binding::Constant:
        return r.constant;
    case Binding::Method:
        return callMethod(f, r, nullptr);
    case Binding::Global:
    case Binding::Dynamic: {
        GlobalCell* c = r.cell;
        if (c->isVariable)
            return c->value;
        if (c->proc)
            return f.in.callProcedure(c->proc, nullptr, nullptr, 0);
        if (c->builtin)
            return f.in.callBuiltin(c->builtin, nullptr, 0);
        if (isUndeclaredCell(r) && !f.in.globalMemberObjects().empty()) {
            Value out;
            if (readGlobalMember(f, r.name, Args(), out))
                return out;
        }
        return *variableSlot(f, r, false);
    }
    default:
        return *variableSlot(f, r, false);
    }
}

Value NameExpr::evalObject(Frame& f) {
    return eval(f);
}

Value* NameExpr::reference(Frame& f, Ref<ArrayData>*) {
    return variableSlot(f, *ref, true);
}

void NameExpr::assign(Frame& f, Value v, bool isSet) {
    NameRef& r = *ref;
    if (r.binding == Binding::Method) {
        assignMethod(f, r, nullptr, std::move(v), isSet);
        return;
    }
    if (r.binding == Binding::Local) { // the common case first
        f.locals[r.slot] = std::move(v);
        return;
    }
    if ((r.binding == Binding::Global || r.binding == Binding::Dynamic) && r.cell->isConst &&
        (r.cell->declared))
        raiseError(err::IllegalAssignment);
    if (isUndeclaredCell(r) && !f.in.globalMemberObjects().empty()) {
        for (const auto& object : f.in.globalMemberObjects()) {
            const int id = object->findMember(r.name);
            if (id != kNoMember) {
                object->invoke(f.in, id, isSet ? Invoke::Set : Invoke::Let, Args(), &v);
                return;
            }
        }
    }
    Value* slot = variableSlot(f, r, true);
    if (!slot)
        raiseError(err::IllegalAssignment);
    *slot = std::move(v);
}

void NameExpr::callStatement(Frame& f) {
    const NameRef& r = *ref;
    if (isUndeclaredCell(r) && f.in.globalMemberObjects().empty())
        raiseError(err::SubNotDefined);
    eval(f);
}

// ---- name(args) ----

Value CallExpr::eval(Frame& f) {
    const NameRef& r = *ref;
    if (Value* slot = plainVariable(r, f); slot && slot->isArray() && !args.empty())
        return indexedElement(f, slot, args, false, nullptr);
    if (r.binding == Binding::Global && r.cell->proc)
        return f.in.callProcedure(r.cell->proc, nullptr, f, args);
    return evalOther(f);
}

[[gnu::noinline]] Value CallExpr::evalOther(Frame& f) {
    NameRef& r = *ref;
    switch (r.binding) {
    case Binding::Method:
        return callMethod(f, r, &args);
    case Binding::Constant:
        if (args.empty())
            return r.constant;
        raiseError(err::TypeMismatch);
    case Binding::Global:
    case Binding::Dynamic: {
        GlobalCell* c = r.cell;
        if (c->proc)
            return f.in.callProcedure(c->proc, nullptr, f, args);
        if (c->builtin) {
            // A required argument written as left out ("Mid(s, , 2)") is 449; a variable
            // holding the missing value passes on (VarType of an omitted parameter is 10).
            if (args.size() >= c->builtin->minArgs)
                for (size_t i = 0; i < c->builtin->minArgs; ++i)
                    if (!args[i])
                        raiseError(err::ArgumentNotOptional);
            ArgBuffer a(f, args);
            return f.in.callBuiltin(c->builtin, a.items(), a.size());
        }
        if (isUndeclaredCell(r)) {
            if (!f.in.globalMemberObjects().empty()) {
                ArgBuffer a(f, args);
                Value out;
                if (readGlobalMember(f, r.name, a.args(), out))
                    return out;
            }
            Value* slot = variableSlot(f, r, false);
            if (!slot->isArray() && !slot->isObject())
                raiseError(err::SubNotDefined);
        }
        break;
    }
    default:
        break;
    }
    Value* slot = variableSlot(f, r, false);
    if (slot->isArray() && !args.empty())
        return indexedElement(f, slot, args, false, nullptr);
    ArgBuffer a(f, args);
    return applyArguments(f.in, *slot, a.args());
}

Value* CallExpr::reference(Frame& f, Ref<ArrayData>* locked) {
    NameRef& r = *ref;
    if (r.binding == Binding::Method || r.binding == Binding::Constant || args.empty() ||
        isUndeclaredCell(r))
        return nullptr;
    Value* slot = variableSlot(f, r, false);
    if (!slot || !slot->isArray())
        return nullptr;
    return &indexedElement(f, slot, args, true, locked);
}

void CallExpr::assign(Frame& f, Value v, bool isSet) {
    if (Value* slot = plainVariable(*ref, f); slot && slot->isArray()) {
        indexedElement(f, slot, args, true, nullptr) = std::move(v);
        return;
    }
    assignOther(f, std::move(v), isSet);
}

[[gnu::noinline]] void CallExpr::assignOther(Frame& f, Value v, bool isSet) {
    NameRef& r = *ref;
    if (r.binding == Binding::Method) {
        assignMethod(f, r, &args, std::move(v), isSet);
        return;
    }
    if (r.binding == Binding::Constant)
        raiseError(err::IllegalAssignment);
    Value* slot = variableSlot(f, r, true);
    if (!slot)
        raiseError(err::IllegalAssignment);
    if (slot->isArray()) {
        indexedElement(f, slot, args, true, nullptr) = std::move(v);
        return;
    }
    ArgBuffer a(f, args);
    assignWithArguments(f.in, *slot, a.args(), std::move(v), isSet);
}

void CallExpr::callStatement(Frame& f) {
    eval(f);
}

// ---- expr(args) ----

Value ApplyExpr::eval(Frame& f) {
    checkStack();
    const Value target0 = target->eval(f);
    ArgBuffer a(f, args);
    return applyArguments(f.in, target0, a.args());
}

void ApplyExpr::assign(Frame& f, Value v, bool isSet) {
    Value target0 = target->eval(f);
    if (!target0.isObject())
        raiseError(err::IllegalAssignment);
    ArgBuffer a(f, args);
    assignWithArguments(f.in, target0, a.args(), std::move(v), isSet);
}

// ---- members ----

Value MemberExpr::invoke(Frame& f, int kind, const Value* assigned) {
    checkStack();
    const Value target = object->eval(f);
    if (!target.isObject() || target.isNothing())
        raiseError(err::ObjectRequired);
    Object* o = target.asObject();
    const void* key = o->memberTableKey();
    int id;
    if (key && key == cachedKey) {
        id = cachedId;
    } else {
        id = o->findMember(name);
        if (key) {
            cachedKey = key;
            cachedId = id;
        }
    }
    if (id == kNoMember)
        raiseError(err::NoSuchMember);
    ArgBuffer a(f, args);
    return o->invoke(f.in, id, static_cast<Invoke>(kind), a.args(), assigned);
}

Value MemberExpr::eval(Frame& f) {
    return invoke(f, static_cast<int>(Invoke::Get), nullptr);
}

Value MemberExpr::evalObject(Frame& f) {
    return eval(f);
}

void MemberExpr::assign(Frame& f, Value v, bool isSet) {
    invoke(f, static_cast<int>(isSet ? Invoke::Set : Invoke::Let), &v);
}

void MemberExpr::callStatement(Frame& f) {
    invoke(f, static_cast<int>(Invoke::Call), nullptr);
}

// ---- the rest ----

Value ParenExpr::eval(Frame& f) {
    checkStack();
    return inner->eval(f);
}

Value WithObjectExpr::eval(Frame& f) {
    if (slot < 0)
        raiseError(err::InvalidReference);
    return f.locals[slot];
}

Value MeExpr::eval(Frame& f) {
    if (!f.me)
        raiseError(err::ObjectRequired);
    return Value::object(Ref<Object>(f.me));
}

Value NewExpr::eval(Frame& f) {
    // The built-in classes (RegExp) come before a script class of the same name.
    if (ClassFactory factory = builtinRegistry().findClass(className))
        return Value::object(factory(f.in));
    return f.in.createObject(className);
}

Value UnaryExpr::eval(Frame& f) {
    checkStack();
    const Value v = operand->eval(f);
    return op == UnaryOp::Neg ? ops::negate(v) : ops::logicalNot(v);
}

namespace {

// Runs `apply` on both operands of a binary operator, left first. Literals and variables are
// read in place unless an object is involved: reading an object's default member runs script
// code, which could change the variable under the operator.
template <class Apply> inline auto withOperands(Expr& left, Expr& right, Frame& f, Apply&& apply) {
    if (const Value* a = peekValue(left, f)) {
        const Value* b = peekValue(right, f);
        if (b && !a->isObject() && !b->isObject())
            return apply(*a, *b);
        const Value heldA = *a; // read before the right side runs
        const Value heldB = b ? *b : right.eval(f);
        return apply(heldA, heldB);
    }
    const Value heldA = left.eval(f);
    if (const Value* b = peekValue(right, f); b && !b->isObject())
        return apply(heldA, *b);
    const Value heldB = right.eval(f);
    return apply(heldA, heldB);
}

} // namespace

Value BinaryExpr::eval(Frame& f) {
    checkStack();
    return withOperands(*left, *right, f,
                        [this](const Value& a, const Value& b) { return applyBinary(op, a, b); });
}

bool BinaryExpr::condition(Frame& f) {
    if (!isComparison(op))
        return ops::isTrue(eval(f));
    checkStack();
    const ops::Compare compare = comparisonOf(op);
    return withOperands(*left, *right, f, [compare](const Value& a, const Value& b) {
        return ops::compareHolds(a, b, compare);
    });
}

namespace {

template <BinaryOp Op> ExprPtr makeOperator(ExprPtr left, ExprPtr right) {
    return std::make_unique<OperatorExpr<Op>>(std::move(left), std::move(right));
}

} // namespace

template <BinaryOp Op> Value OperatorExpr<Op>::eval(Frame& f) {
    checkStack();
    return withOperands(*left, *right, f,
                        [](const Value& a, const Value& b) { return applyBinary(Op, a, b); });
}

template <BinaryOp Op> bool OperatorExpr<Op>::condition(Frame& f) {
    if constexpr (isComparison(Op)) {
        checkStack();
        return withOperands(*left, *right, f, [](const Value& a, const Value& b) {
            return ops::compareHolds(a, b, comparisonOf(Op));
        });
    } else {
        return ops::isTrue(eval(f));
    }
}

ExprPtr makeBinary(BinaryOp op, ExprPtr left, ExprPtr right) {
    switch (op) {
    case BinaryOp::Add:
        return makeOperator<BinaryOp::Add>(std::move(left), std::move(right));
    case BinaryOp::Sub:
        return makeOperator<BinaryOp::Sub>(std::move(left), std::move(right));
    case BinaryOp::Mul:
        return makeOperator<BinaryOp::Mul>(std::move(left), std::move(right));
    case BinaryOp::Mod:
        return makeOperator<BinaryOp::Mod>(std::move(left), std::move(right));
    case BinaryOp::Concat:
        return makeOperator<BinaryOp::Concat>(std::move(left), std::move(right));
    case BinaryOp::Eq:
        return makeOperator<BinaryOp::Eq>(std::move(left), std::move(right));
    case BinaryOp::Ne:
        return makeOperator<BinaryOp::Ne>(std::move(left), std::move(right));
    case BinaryOp::Lt:
        return makeOperator<BinaryOp::Lt>(std::move(left), std::move(right));
    case BinaryOp::Gt:
        return makeOperator<BinaryOp::Gt>(std::move(left), std::move(right));
    case BinaryOp::Le:
        return makeOperator<BinaryOp::Le>(std::move(left), std::move(right));
    case BinaryOp::Ge:
        return makeOperator<BinaryOp::Ge>(std::move(left), std::move(right));
    default:
        return std::make_unique<BinaryExpr>(op, std::move(left), std::move(right));
    }
}

Value IntrinsicExpr::eval(Frame& f) {
    if (args.size() != 1)
        raiseError(err::WrongArgumentCount);
    if (!args[0])
        raiseError(err::ArgumentNotOptional);
    const Value arg = args[0]->eval(f);
    const std::u16string text = toString(arg);
    switch (kind) {
    case Intrinsic::Eval:
        return f.in.evaluate(text, &f);
    case Intrinsic::Execute:
        f.in.runProgram(text, &f);
        return Value();
    case Intrinsic::ExecuteGlobal:
        f.in.runProgram(text, nullptr);
        return Value();
    case Intrinsic::GetRef: {
        Procedure* proc = f.in.findProcedure(text);
        if (!proc)
            raiseError(err::InvalidCall);
        return Value::object(makeRef<ProcedureRef>(f.in, proc, nullptr));
    }
    }
    return Value();
}

} // namespace vbscript
