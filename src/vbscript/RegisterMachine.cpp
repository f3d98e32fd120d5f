// Runs register code (see RegisterCode.h). Each instruction does what the tree node it came
// from does, taking the same shortcuts; anything else is handed to that node.
#include "BinaryOps.h"
#include "Conversions.h"
#include "Interpreter.h"
#include "Operand.h"
#include "RegisterCode.h"
#include "StackGuard.h"

namespace vbscript {

namespace {

// The stored value of an operand, or nullptr when reading it runs the tree (a global that is
// no plain variable now: a function, an undeclared name, a local of a procedure's own).
[[gnu::always_inline]] inline const Value* peek(const Operand& o, const Frame& f,
                                                const RegisterCode& rc) {
    switch (o.loc) {
    case Loc::Local:
        return &f.locals[o.index];
    case Loc::Param:
        return f.params[o.index];
    case Loc::Const:
        return &rc.constants[static_cast<size_t>(o.index)];
    case Loc::Global:
        return o.cell->isVariable ? &o.cell->value : nullptr;
    }
    return nullptr;
}

// Ends a temporary once its instruction has used it: an object it holds goes (and its
// Class_Terminate runs) where the tree's temporary would have gone.
[[gnu::always_inline]] inline void drop(const Operand& o, Frame& f) {
    if (o.temp) {
        Value& v = f.locals[o.index];
        if (v.isString() || v.isObject() || v.isArray())
            v = Value();
    }
}

// Stores an assignment's value: a variable directly, anything else through the tree's own
// assignment (a constant raises, a global object's member is set).
[[gnu::always_inline]] inline void write(const Operand& d, Frame& f, Value v) {
    switch (d.loc) {
    case Loc::Local:
        f.locals[d.index] = std::move(v);
        return;
    case Loc::Param:
        *f.params[d.index] = std::move(v);
        return;
    case Loc::Global: {
        GlobalCell* c = d.cell;
        if (c->isVariable && !c->isConst) {
            c->value = std::move(v);
            return;
        }
        d.node->assign(f, std::move(v), false);
        return;
    }
    case Loc::Const:
        break;
    }
}

// The operator when a side is not read in place, or is no plain number: an object's default
// member may run code, so both sides are copies taken left first.
[[gnu::noinline]] void binarySlow(const Instr& in, Frame& f, const RegisterCode& rc) {
    Value a;
    if (const Value* p = peek(in.a, f, rc))
        a = *p;
    else
        a = in.a.node->eval(f);
    Value b;
    if (const Value* p = peek(in.b, f, rc))
        b = *p;
    else
        b = in.b.node->eval(f);
    drop(in.a, f);
    drop(in.b, f);
    write(in.dst, f, applyBinary(in.binary, a, b));
}

template <BinaryOp Op>
[[gnu::always_inline]] inline void binary(const Instr& in, Frame& f, const RegisterCode& rc) {
    const Value* a = peek(in.a, f, rc);
    const Value* b = a ? peek(in.b, f, rc) : nullptr;
    if (b && isPlainNumber(*a) && isPlainNumber(*b)) [[likely]] {
        write(in.dst, f, applyBinary(Op, *a, *b));
        return;
    }
    binarySlow(in, f, rc);
}

[[gnu::noinline]] bool compareSlow(const Instr& in, Frame& f, const RegisterCode& rc) {
    Value a;
    if (const Value* p = peek(in.a, f, rc))
        a = *p;
    else
        a = in.a.node->eval(f);
    Value b;
    if (const Value* p = peek(in.b, f, rc))
        b = *p;
    else
        b = in.b.node->eval(f);
    drop(in.a, f);
    drop(in.b, f);
    return ops::compareHolds(a, b, comparisonOf(in.binary));
}

[[gnu::always_inline]] inline bool compare(const Instr& in, Frame& f, const RegisterCode& rc) {
    const Value* a = peek(in.a, f, rc);
    const Value* b = a ? peek(in.b, f, rc) : nullptr;
    if (b && isPlainNumber(*a) && isPlainNumber(*b)) [[likely]]
        return ops::compareHolds(*a, *b, comparisonOf(in.binary));
    return compareSlow(in, f, rc);
}

// ---- For ----

bool isWholeValue(const Value& v) {
    return v.type() == VarType::Integer || v.type() == VarType::Long;
}

int64_t wholeOf(const Value& v) {
    return v.type() == VarType::Integer ? v.asInteger() : v.asLong();
}

Value loopNumber(Frame& f, Expr& e) {
    Value v = e.eval(f);
    if (v.isObject())
        v = dereference(v);
    if (v.isNull())
        raiseError(err::InvalidNull);
    return toNumeric(v);
}

// The counter's storage, looked up again at every use: the body may have run any code.
inline Value* counterOf(ForStmt& s, Frame& f) {
    Value* c = nullptr;
    if (s.counter->shape == ExprShape::Name)
        c = plainVariable(*static_cast<NameExpr&>(*s.counter).ref, f);
    if (!c)
        c = s.counter->reference(f, nullptr);
    if (!c)
        raiseError(err::IllegalAssignment);
    return c;
}

// True while the loop goes on.
inline bool forTest(const Value& c, const Value& end, const Value& step) {
    if (isWholeValue(end) && isWholeValue(step) && isWholeValue(c)) {
        const int64_t v = wholeOf(c);
        return wholeOf(step) >= 0 ? v <= wholeOf(end) : v >= wholeOf(end);
    }
    const bool up = ops::compareValues(step, Value::integer(0)) >= 0;
    const int cmp = ops::compareValues(c, end);
    return up ? cmp <= 0 : cmp >= 0;
}

bool forPrep(ForStmt& s, Frame& f, Value* state) {
    Value start = loopNumber(f, *s.from);
    Value end = loopNumber(f, *s.to);
    Value step = s.step ? loopNumber(f, *s.step) : Value::integer(1);
    s.counter->assign(f, start, false);
    state[0] = std::move(end);
    state[1] = std::move(step);
    return forTest(*counterOf(s, f), state[0], state[1]);
}

bool forLoop(ForStmt& s, Frame& f, const Value* state) {
    f.in.tick();
    Value* c = counterOf(s, f);
    const Value& end = state[0];
    const Value& step = state[1];
    if (isWholeValue(end) && isWholeValue(step) && isWholeValue(*c)) {
        const int64_t next = wholeOf(*c) + wholeOf(step);
        const bool longRank = step.type() == VarType::Long || c->type() == VarType::Long;
        if (!longRank && next >= -32768 && next <= 32767)
            *c = Value::integer(static_cast<int16_t>(next));
        else if (next >= INT32_MIN && next <= INT32_MAX)
            *c = Value::longValue(static_cast<int32_t>(next));
        else
            *c = Value::dbl(static_cast<double>(next));
    } else {
        *c = ops::add(*c, step);
    }
    return forTest(*c, end, step);
}

// ---- statements run by the tree ----

[[gnu::noinline]] const Instr* execTree(const Instr& in, Frame& f, const Instr* base, Flow& leave) {
    const Flow flow = static_cast<Stmt*>(in.node)->exec(f);
    int32_t to = -1;
    switch (flow) {
    case Flow::Normal:
        return &in + 1;
    case Flow::ExitFor:
        to = in.exitFor;
        break;
    case Flow::ExitDo:
        to = in.exitDo;
        break;
    case Flow::ExitProc:
        break;
    }
    if (to < 0) {
        leave = flow;
        return nullptr;
    }
    return base + to;
}

} // namespace

Flow runRegisterCode(const RegisterCode& rc, Frame& f) {
    checkStack();
    const Instr* const base = rc.code.data();
    const Instr* pc = base;
    Procedure* held = nullptr;
    try {
        for (;;) {
            const Instr& in = *pc;
            switch (in.op) {
#define SCRIVLET_BINARY(O)                                                                         \
    case OpCode::O:                                                                                \
        binary<BinaryOp::O>(in, f, rc);                                                            \
        ++pc;                                                                                      \
        break;
                SCRIVLET_BINARY(Add)
                SCRIVLET_BINARY(Sub)
                SCRIVLET_BINARY(Mul)
                SCRIVLET_BINARY(Mod)
                SCRIVLET_BINARY(Concat)
                SCRIVLET_BINARY(Eq)
                SCRIVLET_BINARY(Ne)
                SCRIVLET_BINARY(Lt)
                SCRIVLET_BINARY(Gt)
                SCRIVLET_BINARY(Le)
                SCRIVLET_BINARY(Ge)
#undef SCRIVLET_BINARY
            case OpCode::Binary:
                binarySlow(in, f, rc);
                ++pc;
                break;
            case OpCode::Copy:
                if (const Value* p = peek(in.a, f, rc))
                    write(in.dst, f, *p);
                else
                    write(in.dst, f, in.a.node->eval(f));
                ++pc;
                break;
            case OpCode::Store: {
                Value v;
                if (in.a.temp)
                    v = std::move(f.locals[in.a.index]);
                else if (const Value* p = peek(in.a, f, rc))
                    v = *p;
                else
                    v = in.a.node->eval(f);
                if (v.isObject())
                    v = dereference(v);
                write(in.dst, f, std::move(v));
                ++pc;
                break;
            }
            case OpCode::Eval:
                write(in.dst, f, static_cast<Expr*>(in.node)->eval(f));
                ++pc;
                break;
            case OpCode::Exec: {
                Flow leave = Flow::Normal;
                pc = execTree(in, f, base, leave);
                if (!pc)
                    return leave;
                break;
            }
            case OpCode::Jump:
                pc = base + in.target;
                break;
            case OpCode::JumpIf:
                pc = static_cast<Expr*>(in.node)->condition(f) == in.sense ? base + in.target
                                                                           : pc + 1;
                break;
            case OpCode::CompareJump:
                pc = compare(in, f, rc) == in.sense ? base + in.target : pc + 1;
                break;
            case OpCode::ForPrep:
                pc = forPrep(*static_cast<ForStmt*>(in.node), f, &f.locals[in.a.index])
                         ? pc + 1
                         : base + in.target;
                break;
            case OpCode::ForLoop:
                pc = forLoop(*static_cast<ForStmt*>(in.node), f, &f.locals[in.a.index])
                         ? base + in.target
                         : pc + 1;
                break;
            case OpCode::Tick:
                f.in.tick();
                ++pc;
                break;
            case OpCode::GuardCall:
                held = in.a.cell->proc;
                pc = held ? pc + 1 : base + in.target;
                break;
            case OpCode::Call: {
                Value* args[kMaxCallArgs];
                for (uint8_t i = 0; i < in.count; ++i)
                    args[i] = &f.locals[in.a.index + i];
                Value r = f.in.callProcedure(held, nullptr, args, in.count);
                for (uint8_t i = 0; i < in.count; ++i)
                    f.locals[in.a.index + i] = Value();
                write(in.dst, f, std::move(r));
                ++pc;
                break;
            }
            case OpCode::Return:
                return Flow::ExitProc;
            }
        }
    } catch (ScriptError& e) {
        // Places the error at its statement; code with On Error is never compiled, so
        // nothing here resumes.
        f.in.resumesAfter(e, *pc->stmt, f);
        throw;
    }
}

} // namespace vbscript
