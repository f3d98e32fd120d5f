// Runs register code (see RegisterCode.h). Each instruction does what the tree node it came
// from does, taking the same shortcuts; anything else is handed to that node. Handlers are
// made per operator and per place of each operand, so the common case reads its operands,
// does the arithmetic and stores a number with no choice left to make.
#include "BinaryOps.h"
#include "Conversions.h"
#include "Interpreter.h"
#include "Operand.h"
#include "RegisterCode.h"
#include "StackGuard.h"

#include <alloca.h>
#include <cassert>
#include <cstring>
#include <utility>

namespace vbscript {

struct Machine {
    Procedure* held = nullptr; // the procedure a GuardCall found, for the Call after it
    Flow flow = Flow::Normal;
    // Where an error is placed: set by the machine's loop, and by each handler before it does
    // anything that may raise (a general path, the tree, a call, the interrupt check). The
    // shortcuts raise nothing and leave it alone.
    const Instr* at = nullptr;
    uint32_t chained = 0; // handlers called by handlers since the loop (see onward)
};

namespace {

// Whether a handler's call of the next handler (see onward) is made a jump: an optimising
// build without sanitizers. Elsewhere each such call is a real call, and a chain is cut
// every kChainCut instructions to keep the C++ stack flat.
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#if defined(__has_feature)
#if !__has_feature(address_sanitizer) && !__has_feature(memory_sanitizer)
#define VBSCRIPT_FLAT_CHAINS 1
#endif
#else
#define VBSCRIPT_FLAT_CHAINS 1
#endif
#endif
inline constexpr uint32_t kChainCut = 32;

#ifdef VBSCRIPT_FLAT_CHAINS
// A chain is cut: the loop passes it made are counted for the interrupt check, then the
// machine's loop takes over.
[[gnu::noinline]] const Instr* cutChain(const Instr* to, const Instr* from, Frame& f, Machine& m) {
    m.at = from;
    m.chained = 0;
    f.in.tickBy(kChainCut);
    return to;
}
#endif

// Goes on at `to`. The handler calls the next one itself, as the last thing it does: a run
// of instructions goes from handler to handler without the loop's call and return, and each
// handler's jump is predicted on its own. Where those calls are jumps, a loop goes round
// without the machine's loop too, back to it every kChainCut passes all the same, so that a
// call the compiler left a call cannot pile up. Where they are calls, only forward jumps
// chain, every kChainCut instructions cut: the C++ stack holds a few frames at most.
//
// The interrupt check that stops a runaway script counts loop passes. Where chains are jumps,
// the passes are counted at each cut, kChainCut backward jumps at a time (a loop's every pass
// is one); elsewhere each loop counts its passes where the tree does (see passDone).
[[gnu::always_inline]] inline const Instr* onwardForward(const Instr* to, Frame& f, Machine& m) {
#ifndef VBSCRIPT_FLAT_CHAINS
    if (++m.chained == kChainCut) {
        m.chained = 0;
        return to;
    }
#endif
    return to->run(to, f, m);
}

[[gnu::always_inline]] inline const Instr* onwardBack(const Instr* to, const Instr* from, Frame& f,
                                                      Machine& m) {
#ifdef VBSCRIPT_FLAT_CHAINS
    if (++m.chained == kChainCut) [[unlikely]]
        return cutChain(to, from, f, m);
    return to->run(to, f, m);
#else
    (void)from;
    (void)f;
    (void)m;
    return to;
#endif
}

[[gnu::always_inline]] inline const Instr* onward(const Instr* to, const Instr* from, Frame& f,
                                                  Machine& m) {
    if (to <= from)
        return onwardBack(to, from, f, m);
    return onwardForward(to, f, m);
}

// A For loop's next pass (the jump back) or its end.
[[gnu::always_inline]] inline const Instr* nextPass(bool goesOn, const Instr* pc, Frame& f,
                                                    Machine& m) {
    if (goesOn)
        return onwardBack(pc->jump, pc, f, m);
    return onwardForward(pc + 1, f, m);
}

// A loop's pass is over, where the tree counts it: counted here unless chains count passes.
[[gnu::always_inline]] inline void
passDone([[maybe_unused]] const Instr* pc, [[maybe_unused]] Frame& f, [[maybe_unused]] Machine& m) {
#ifndef VBSCRIPT_FLAT_CHAINS
    m.at = pc;
    f.in.tick();
#endif
}

// ---- operands ----

// Handler<Loc> for a place known only when the code is linked.
template <class Next> Handler byPlace(Loc loc, Next next) {
    switch (loc) {
    case Loc::Local:
        return next.template operator()<Loc::Local>();
    case Loc::Param:
        return next.template operator()<Loc::Param>();
    case Loc::Const:
        return next.template operator()<Loc::Const>();
    case Loc::Global:
        return next.template operator()<Loc::Global>();
    }
    return nullptr;
}

// A local's (or a temporary's) and a parameter's place: the operand's index comes scaled
// to the array, so that finding it is one addition.
[[gnu::always_inline]] inline Value* localOf(const Operand& o, const Frame& f) {
    return reinterpret_cast<Value*>(reinterpret_cast<char*>(f.locals) + o.bytes);
}
[[gnu::always_inline]] inline Value* paramOf(const Operand& o, const Frame& f) {
    return *reinterpret_cast<Value**>(reinterpret_cast<char*>(f.params) + o.bytes);
}

// The stored value of an operand, or nullptr when reading it runs the tree (a global that is
// no plain variable now: a function, an undeclared name, a procedure's implicit local).
template <Loc L> [[gnu::always_inline]] inline const Value* peek(const Operand& o, const Frame& f) {
    if constexpr (L == Loc::Local)
        return localOf(o, f);
    else if constexpr (L == Loc::Param)
        return paramOf(o, f);
    else if constexpr (L == Loc::Const)
        return o.constant;
    else
        return o.cell->isVariable ? &o.cell->value : nullptr;
}

const Value* peekAny(const Operand& o, const Frame& f) {
    switch (o.loc) {
    case Loc::Local:
        return peek<Loc::Local>(o, f);
    case Loc::Param:
        return peek<Loc::Param>(o, f);
    case Loc::Const:
        return peek<Loc::Const>(o, f);
    case Loc::Global:
        return peek<Loc::Global>(o, f);
    }
    return nullptr;
}

// The operand's value, read by the tree when it is not read in place.
Value valueOf(const Operand& o, Frame& f) {
    if (const Value* p = peekAny(o, f))
        return *p;
    return o.node->eval(f);
}

// The storage an assignment writes without the tree: a local, a parameter, a global that is
// a plain variable and no constant. nullptr: the tree's own assignment decides.
template <Loc L> [[gnu::always_inline]] inline Value* slot(const Operand& d, Frame& f) {
    if constexpr (L == Loc::Local) {
        return localOf(d, f);
    } else if constexpr (L == Loc::Param) {
        return paramOf(d, f);
    } else {
        GlobalCell* c = d.cell;
        return c->isWritable ? &c->value : nullptr;
    }
}

Value* slotAny(const Operand& d, Frame& f) {
    switch (d.loc) {
    case Loc::Local:
        return slot<Loc::Local>(d, f);
    case Loc::Param:
        return slot<Loc::Param>(d, f);
    case Loc::Global:
        return slot<Loc::Global>(d, f);
    case Loc::Const:
        break;
    }
    return nullptr;
}

// An instruction's operand a and target dst where they are stored; false when a global among
// them is no plain variable now (the instruction's general path decides then).
template <Loc A, Loc D>
[[gnu::always_inline]] inline bool inPlace(const Instr* pc, Frame& f, const Value*& a, Value*& d) {
    a = peek<A>(pc->a, f);
    d = slot<D>(pc->dst, f);
    return (A != Loc::Global || a) && (D != Loc::Global || d);
}

void write(const Operand& d, Frame& f, Value v) {
    if (Value* s = slotAny(d, f))
        *s = std::move(v);
    else
        d.node->assign(f, std::move(v), false);
}

// Ends a temporary once its instruction has used it: an object it holds goes (and its
// Class_Terminate runs) where the tree's temporary would have gone.
inline void drop(const Operand& o, Frame& f) {
    if (o.temp) {
        Value& v = *localOf(o, f);
        if (v.isString() || v.isObject() || v.isArray())
            v = Value();
    }
}

// ---- arithmetic ----

using ops::detail::isWhole;
using ops::detail::wholeOf;
using ops::detail::wholeResult;

// x op y of two whole numbers into r, which holds nothing shared: computed in 64 bits, the
// result in the smallest type of the operands' rank. For Mod, y is neither 0 nor -1 (a
// 32-bit division, the quicker one).
template <BinaryOp Op>
[[gnu::always_inline]] inline void wholeArithmetic(int64_t x, int64_t y, bool longRank, Value& r) {
    if constexpr (Op == BinaryOp::Mod) {
        const int32_t v = static_cast<int32_t>(x) % static_cast<int32_t>(y);
        r.overwritePlain(longRank ? Value::longValue(v) : Value::integer(static_cast<int16_t>(v)));
    } else {
        r.overwritePlain(wholeResult(Op == BinaryOp::Add   ? x + y
                                     : Op == BinaryOp::Sub ? x - y
                                                           : x * y,
                                     longRank));
    }
}

// The operators' own rules for the pairs they take inline (Operators.h): Integer and Long in
// 64 bits, into the smallest type of the operands' rank; Doubles while finite. False for
// every other pair, which the general rules take. `r` holds nothing shared.
template <BinaryOp Op>
[[gnu::always_inline]] inline bool plainResult(const Value& a, const Value& b, Value& r) {
    const VarType ta = a.type();
    const VarType tb = b.type();
    if (ops::detail::bothWhole(ta, tb)) {
        int64_t y = b.whole();
        if constexpr (Op == BinaryOp::Mod) {
            if (y == 0)
                return false;
            if (y == -1) // x Mod -1 is 0, as x Mod 1 (the smallest Long would overflow)
                y = 1;
        }
        wholeArithmetic<Op>(a.whole(), y, ops::detail::longRank(ta, tb), r);
        return true;
    }
    if constexpr (Op != BinaryOp::Mod) {
        if (ta == VarType::Double && tb == VarType::Double) {
            const double v = Op == BinaryOp::Add   ? a.asDouble() + b.asDouble()
                             : Op == BinaryOp::Sub ? a.asDouble() - b.asDouble()
                                                   : a.asDouble() * b.asDouble();
            if (!std::isfinite(v))
                return false;
            r.overwritePlain(Value::dbl(v));
            return true;
        }
    }
    return false;
}

// An instruction's two operands for the general rules: copies taken left first (an object's
// default member may run code) and the temporaries ended. The copies end (an object's
// Class_Terminate runs) when `rule` has given its result, before anything is stored.
template <class Rule> auto byGeneralRules(const Instr* pc, Frame& f, Rule rule) {
    const Value a = valueOf(pc->a, f);
    const Value b = valueOf(pc->b, f);
    drop(pc->a, f);
    drop(pc->b, f);
    return rule(a, b);
}

// Any operator, any operands: the general rules, the tree's assignment when the target is no
// plain variable.
[[gnu::noinline]] const Instr* binaryGeneral(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    write(pc->dst, f, byGeneralRules(pc, f, [pc](const Value& a, const Value& b) {
              return applyBinary(pc->binary, a, b);
          }));
    return onward(pc + 1, pc, f, m);
}

// A shortcut does not apply: the general path, or for a speculated operator (one with a
// jump) its careful version.
[[gnu::always_inline]] inline const Instr* binarySlow(const Instr* pc, Frame& f, Machine& m) {
    if (pc->jump) [[unlikely]]
        return onward(pc->jump, pc, f, m);
    return binaryGeneral(pc, f, m);
}

template <BinaryOp Op, Loc A, Loc B, Loc D>
const Instr* binaryStep(const Instr* pc, Frame& f, Machine& m) {
    const Value* a;
    Value* r;
    const Value* b = peek<B>(pc->b, f);
    if (!inPlace<A, D>(pc, f, a, r) || (B == Loc::Global && !b)) [[unlikely]]
        return binarySlow(pc, f, m);
    // Text or an object in the target is released by the general path, out of this one's way
    // (so is a Boolean: arithmetic seldom overwrites one).
    if (r->mayBeShared()) [[unlikely]]
        return binarySlow(pc, f, m);
    if (plainResult<Op>(*a, *b, *r)) [[likely]]
        return onward(pc + 1, pc, f, m);
    return binarySlow(pc, f, m);
}

// x op k with k a whole constant, its number in offset, its rank KLong (for Mod neither 0 nor
// -1): only x's type is looked at.
template <BinaryOp Op, Loc A, Loc D, bool KLong>
const Instr* binaryConstStep(const Instr* pc, Frame& f, Machine& m) {
    const Value* a;
    Value* r;
    if (!inPlace<A, D>(pc, f, a, r)) [[unlikely]]
        return binarySlow(pc, f, m);
    const VarType ta = a->type();
    if (!isWhole(ta) || r->mayBeShared()) [[unlikely]]
        return binarySlow(pc, f, m);
    wholeArithmetic<Op>(a->whole(), pc->offset, KLong || ta == VarType::Long, *r);
    return onward(pc + 1, pc, f, m);
}

// ---- conditions ----

[[gnu::noinline]] const Instr* compareGeneral(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    const bool holds = byGeneralRules(pc, f, [pc](const Value& a, const Value& b) {
        return ops::compareHolds(a, b, comparisonOf(pc->binary));
    });
    return onwardForward(holds == pc->sense ? pc->jump : pc + 1, f, m);
}

// Two whole numbers, two Doubles or two Singles in place; everything else, the general path.
template <BinaryOp Op, Loc A, Loc B>
const Instr* compareJump(const Instr* pc, Frame& f, Machine& m) {
    const Value* a = peek<A>(pc->a, f);
    const Value* b = peek<B>(pc->b, f);
    if constexpr (A == Loc::Global)
        if (!a) [[unlikely]]
            return compareGeneral(pc, f, m);
    if constexpr (B == Loc::Global)
        if (!b) [[unlikely]]
            return compareGeneral(pc, f, m);
    const VarType ta = a->type();
    const VarType tb = b->type();
    bool holds;
    if (ops::detail::bothWhole(ta, tb))
        holds = ops::detail::holds(a->whole(), b->whole(), comparisonOf(Op));
    else if (ta == VarType::Double && tb == VarType::Double)
        holds = ops::detail::holds(a->asDouble(), b->asDouble(), comparisonOf(Op));
    else if (ta == VarType::Single && tb == VarType::Single)
        holds = ops::detail::holds(a->asSingle(), b->asSingle(), comparisonOf(Op));
    else
        return compareGeneral(pc, f, m);
    return onwardForward(holds == pc->sense ? pc->jump : pc + 1, f, m);
}

// The same against a whole constant, its number in offset: only a's type is looked at.
template <BinaryOp Op, Loc A> const Instr* compareConstJump(const Instr* pc, Frame& f, Machine& m) {
    const Value* a = peek<A>(pc->a, f);
    if constexpr (A == Loc::Global)
        if (!a) [[unlikely]]
            return compareGeneral(pc, f, m);
    if (!isWhole(a->type())) [[unlikely]]
        return compareGeneral(pc, f, m);
    const bool holds = ops::detail::holds(a->whole(), int64_t{pc->offset}, comparisonOf(Op));
    return onwardForward(holds == pc->sense ? pc->jump : pc + 1, f, m);
}

// ---- moves ----

[[gnu::noinline]] const Instr* copyGeneral(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    Value& t = *localOf(pc->dst, f);
    if (const Value* p = peekAny(pc->a, f))
        t = *p;
    else
        t = pc->a.node->eval(f);
    return onward(pc + 1, pc, f, m);
}

template <Loc A> const Instr* copyStep(const Instr* pc, Frame& f, Machine& m) {
    Value& t = *localOf(pc->dst, f);
    const Value* p = peek<A>(pc->a, f);
    if constexpr (A == Loc::Global)
        if (!p) [[unlikely]]
            return copyGeneral(pc, f, m);
    if (p->isShared() || t.isShared()) [[unlikely]]
        return copyGeneral(pc, f, m);
    t.overwritePlain(*p);
    return onward(pc + 1, pc, f, m);
}

[[gnu::noinline]] const Instr* storeGeneral(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    {
        Value v = pc->a.temp ? std::move(*localOf(pc->a, f)) : valueOf(pc->a, f);
        if (v.isObject())
            v = dereference(v);
        write(pc->dst, f, std::move(v));
    }
    return onward(pc + 1, pc, f, m);
}

// A number (or Empty, Null, a Boolean) over a variable that holds no text, object or array:
// copied in place. Everything else is an assignment the general path makes.
template <Loc A, Loc D> const Instr* storeStep(const Instr* pc, Frame& f, Machine& m) {
    const Value* v;
    Value* d;
    if (!inPlace<A, D>(pc, f, v, d) || v->isShared() || d->isShared()) [[unlikely]]
        return storeGeneral(pc, f, m);
    d->overwritePlain(*v);
    return onward(pc + 1, pc, f, m);
}

const Instr* evalStep(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    write(pc->dst, f, static_cast<Expr*>(pc->node)->eval(f));
    return pc + 1;
}

// ---- control ----

const Instr* execStep(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    const Flow flow = static_cast<Stmt*>(pc->node)->exec(f);
    const Instr* to = nullptr;
    switch (flow) {
    case Flow::Normal:
        return onward(pc + 1, pc, f, m);
    case Flow::ExitFor:
        to = pc->forExit;
        break;
    case Flow::ExitDo:
        to = pc->doExit;
        break;
    case Flow::ExitProc:
        break;
    }
    if (!to)
        m.flow = flow;
    return to;
}

const Instr* jumpStep(const Instr* pc, Frame& f, Machine& m) {
    if (pc->sense)
        passDone(pc, f, m);
    return onward(pc->jump, pc, f, m);
}

const Instr* jumpIfStep(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    return static_cast<Expr*>(pc->node)->condition(f) == pc->sense ? pc->jump : pc + 1;
}

const Instr* returnStep(const Instr*, Frame&, Machine& m) {
    m.flow = Flow::ExitProc;
    return nullptr;
}

// ---- For ----

// The counter's storage, looked up again at every use: the body may have run any code. Its
// place is in dst when it is a local, a parameter or a global (Loc::Const: none of them).
inline Value* counterOf(const Instr* pc, ForStmt& s, Frame& f) {
    Value* c = nullptr;
    switch (pc->dst.loc) {
    case Loc::Local:
        c = localOf(pc->dst, f);
        break;
    case Loc::Param:
        c = paramOf(pc->dst, f);
        break;
    case Loc::Global:
        if (pc->dst.cell->isVariable)
            c = &pc->dst.cell->value;
        break;
    case Loc::Const:
        break;
    }
    if (!c)
        c = s.counter->reference(f, nullptr);
    if (!c)
        raiseError(err::IllegalAssignment);
    return c;
}

// True while the loop goes on.
inline bool forGoesOn(const Value& c, const Value& end, const Value& step) {
    if (isWhole(end.type()) && isWhole(step.type()) && isWhole(c.type())) {
        const int64_t v = wholeOf(c);
        return wholeOf(step) >= 0 ? v <= wholeOf(end) : v >= wholeOf(end);
    }
    const bool up = ops::compareValues(step, Value::integer(0)) >= 0;
    const int cmp = ops::compareValues(c, end);
    return up ? cmp <= 0 : cmp >= 0;
}

// The end and the step live in two temporaries from a.index on.
const Instr* forPrepStep(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    auto& s = *static_cast<ForStmt*>(pc->node);
    Value* state = localOf(pc->a, f);
    Value start = loopNumber(f, *s.from);
    Value end = loopNumber(f, *s.to);
    Value step = s.step ? loopNumber(f, *s.step) : Value::integer(1);
    s.counter->assign(f, start, false);
    state[0] = std::move(end);
    state[1] = std::move(step);
    return forGoesOn(*counterOf(pc, s, f), state[0], state[1]) ? pc + 1 : pc->jump;
}

// A pass of any loop: the counter looked up through the tree when it is no plain variable,
// any numbers.
[[gnu::noinline]] const Instr* forLoopGeneral(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    auto& s = *static_cast<ForStmt*>(pc->node);
    const Value* state = localOf(pc->a, f);
    Value* c = counterOf(pc, s, f);
    const Value& end = state[0];
    const Value& step = state[1];
    if (isWhole(end.type()) && isWhole(step.type()) && isWhole(c->type())) {
        const int64_t next = wholeOf(*c) + wholeOf(step);
        c->setPlain(wholeResult(next, ops::detail::longRank(*c, step)));
        const int64_t e = wholeOf(end);
        const bool goesOn = wholeOf(step) >= 0 ? next <= e : next >= e;
        return onward(goesOn ? pc->jump : pc + 1, pc, f, m);
    }
    *c = ops::add(*c, step);
    return onward(forGoesOn(*c, end, step) ? pc->jump : pc + 1, pc, f, m);
}

// A pass of a loop whose counter is a local, a parameter or a global variable, counting in
// whole numbers (anything else takes the general pass).

// The counter of a For loop whose counter is a local, a parameter or a global (C); nullptr
// when it is none of them now, for the general pass.
template <Loc C> [[gnu::always_inline]] inline Value* counterIn(const Instr* pc, Frame& f) {
    if constexpr (C == Loc::Local)
        return localOf(pc->dst, f);
    else if constexpr (C == Loc::Param)
        return paramOf(pc->dst, f);
    else if constexpr (C == Loc::Global)
        return pc->dst.cell->isVariable ? &pc->dst.cell->value : nullptr;
    else
        return nullptr;
}

template <Loc C> const Instr* forLoopStep(const Instr* pc, Frame& f, Machine& m) {
    passDone(pc, f, m);
    Value* c = counterIn<C>(pc, f);
    if (!c) [[unlikely]]
        return forLoopGeneral(pc, f, m);
    const Value* state = localOf(pc->a, f);
    const Value& end = state[0];
    const Value& step = state[1];
    const VarType tc = c->type();
    const VarType ts = step.type();
    if (!ops::detail::bothWhole(tc, ts) || !isWhole(end.type())) [[unlikely]]
        return forLoopGeneral(pc, f, m);
    const int64_t by = step.whole();
    const int64_t next = c->whole() + by;
    c->overwritePlain(wholeResult(next, ops::detail::longRank(tc, ts))); // c held a number
    const int64_t e = wholeOf(end);
    return nextPass(by >= 0 ? next <= e : next >= e, pc, f, m);
}

// The same for a step written as a whole number, or left out (1): it is in offset, its rank
// in KLong, and it counts up, so the step needs no look.
template <Loc C, bool KLong> const Instr* forLoopConstStep(const Instr* pc, Frame& f, Machine& m) {
    passDone(pc, f, m);
    Value* c = counterIn<C>(pc, f);
    if (!c) [[unlikely]]
        return forLoopGeneral(pc, f, m);
    const Value& end = *localOf(pc->a, f);
    const VarType tc = c->type();
    if (!isWhole(tc) || !isWhole(end.type())) [[unlikely]]
        return forLoopGeneral(pc, f, m);
    const int64_t next = c->whole() + pc->offset;
    c->overwritePlain(wholeResult(next, KLong || tc == VarType::Long)); // c held a number
    return nextPass(next <= end.whole(), pc, f, m);
}

// The step of a For loop when it is a whole number written in the code (1 when left out)
// and not below 0; false otherwise.
bool constantStep(const ForStmt& s, int32_t& step, bool& isLong) {
    static const Value one = Value::integer(1);
    const Value* k = &one;
    if (s.step) {
        const auto* literal = dynamic_cast<const LiteralExpr*>(s.step.get());
        if (!literal)
            return false;
        k = &literal->value;
    }
    if (!isWhole(k->type()) || k->whole() < 0)
        return false;
    step = static_cast<int32_t>(k->whole());
    isLong = k->type() == VarType::Long;
    return true;
}

Handler forLoopHandler(Instr& in) {
    bool isLong = false;
    if (in.dst.loc != Loc::Const &&
        constantStep(*static_cast<const ForStmt*>(in.node), in.offset, isLong)) {
        return byPlace(in.dst.loc, [&]<Loc C>() {
            return isLong ? Handler(&forLoopConstStep<C, true>)
                          : Handler(&forLoopConstStep<C, false>);
        });
    }
    return byPlace(in.dst.loc, [&]<Loc C>() { return Handler(&forLoopStep<C>); });
}

// ---- calls ----

const Instr* guardCallStep(const Instr* pc, Frame& f, Machine& m) {
    m.held = pc->a.cell->proc;
    return onwardForward(m.held ? pc + 1 : pc->jump, f, m);
}

// The machine's loop over code in a frame (the stack already checked).
[[gnu::always_inline]] inline Flow runCode(const RegisterCode& rc, Frame& f) {
    Machine m;
    const Instr* pc = rc.code.data();
    try {
        do {
            m.at = pc;
            pc = pc->run(pc, f, m);
        } while (pc);
    } catch (ScriptError& e) {
        // Places the error at its statement; code with On Error is never compiled, so
        // nothing here resumes.
        f.in.resumesAfter(e, *m.at->stmt, f);
        throw;
    }
    return m.flow;
}

// Slots of a compiled callee on the C++ stack: the arguments moved in, the rest Empty; all
// ended when the call ends. Sizes known when the code is compiled (Fixed > 0) make the
// loops a few stores.
template <size_t Fixed> class CalleeSlots {
public:
    CalleeSlots(Value* memory, size_t count, Value* args, size_t argCount)
        : m_slots(memory), m_count(Fixed ? Fixed : count) {
        for (size_t i = 0; i < argCount; ++i)
            new (&m_slots[i]) Value(std::move(args[i]));
        std::memset(static_cast<void*>(m_slots + argCount), 0,
                    (m_count - argCount) * sizeof(Value));
    }
    ~CalleeSlots() {
        // Most calls leave only numbers behind: one look at all the slots finds that out.
        if (Value::mayHoldShared(m_slots, m_count)) [[unlikely]]
            for (size_t i = 0; i < m_count; ++i)
                m_slots[i].~Value();
    }
    CalleeSlots(const CalleeSlots&) = delete;
    CalleeSlots& operator=(const CalleeSlots&) = delete;
    Value* data() const { return m_slots; }

private:
    Value* m_slots;
    size_t m_count;
};

// Runs a compiled procedure in the callee's slots: the arguments are temporaries nobody else
// sees, so each has moved into the callee's own slot whether it is passed ByRef or ByVal.
// Its result stays in its slot.
[[gnu::always_inline]] inline void runCallee(Procedure& p, Frame& f, Value* locals, size_t count) {
    Value* params[kMaxCallArgs];
    for (size_t i = 0; i < count; ++i)
        params[i] = locals + i;
    Frame callee{f.in, &p, locals, params, nullptr, nullptr, false};
    MeScope scope(f.in, nullptr);
    runCode(*p.code, callee);
}

// A compiled procedure called from compiled code, any size; its result is returned. A
// function of its own: the callee's slots make its frame one the compiler cannot leave by a
// jump, and the handler after the call should not run inside it.
[[gnu::noinline]] Value callCompiled(Procedure& p, Frame& f, Value* args) {
    checkStack();
    f.in.tick();
    const auto n = static_cast<size_t>(p.code->frameSlots);
    const size_t count = p.code->paramCount;
    CalleeSlots<0> slots(static_cast<Value*>(alloca(n * sizeof(Value))), n, args, count);
    runCallee(p, f, slots.data(), count);
    return p.resultSlot >= 0 ? std::move(slots.data()[p.resultSlot]) : Value();
}

// The Call instruction for a small procedure, its sizes known (see callStep): the slots are
// set up and looked over in a few straight stores and loads, and the result goes straight
// into the temporary dst, which holds nothing to release. The callee's slots have ended when
// the next instruction runs, so that it does not run inside this frame.
template <size_t Slots, size_t Params>
const Instr* callSmall(const Instr* pc, Frame& f, Machine& m) {
    {
        Procedure& p = *m.held;
        checkStack();
        f.in.tick();
        alignas(Value) unsigned char memory[Slots * sizeof(Value)];
        CalleeSlots<Slots> slots(reinterpret_cast<Value*>(memory), Slots, localOf(pc->a, f),
                                 Params);
        runCallee(p, f, slots.data(), Params);
        Value& t = *localOf(pc->dst, f);
        if (p.resultSlot >= 0)
            t.takeOverPlain(slots.data()[p.resultSlot]);
        else
            t.overwritePlain(Value());
    }
    return onward(pc + 1, pc, f, m);
}

inline constexpr size_t kSmallSlots = 8;
inline constexpr size_t kSmallParams = 3;

template <size_t Params, size_t... Slots>
Handler smallEntry(size_t slots, std::index_sequence<Slots...>) {
    Handler entry = nullptr;
    ((Slots + 1 == slots && Slots + 1 >= Params ? (entry = &callSmall<Slots + 1, Params>, 0) : 0),
     ...);
    return entry;
}

// The Call handler made for the callee's sizes, or nullptr when it has too many.
Handler entryFor(const RegisterCode& code) {
    const auto slots = static_cast<size_t>(code.frameSlots);
    if (slots > kSmallSlots)
        return nullptr;
    using Sizes = std::make_index_sequence<kSmallSlots>;
    static_assert(kSmallParams == 3);
    switch (code.paramCount) {
    case 0:
        return smallEntry<0>(slots, Sizes{});
    case 1:
        return smallEntry<1>(slots, Sizes{});
    case 2:
        return smallEntry<2>(slots, Sizes{});
    case 3:
        return smallEntry<3>(slots, Sizes{});
    default:
        return nullptr;
    }
}

// A compiled callee of any size, or a result going where something is to be released.
[[gnu::noinline]] const Instr* callCompiledGeneral(const Instr* pc, Frame& f, Machine& m) {
    write(pc->dst, f, callCompiled(*m.held, f, localOf(pc->a, f)));
    return onward(pc + 1, pc, f, m);
}

// A procedure that is not compiled, or takes another number of arguments: the tree calls it.
[[gnu::noinline]] const Instr* callByTree(const Instr* pc, Frame& f, Machine& m) {
    Value* first = localOf(pc->a, f);
    Value* args[kMaxCallArgs];
    for (uint8_t i = 0; i < pc->count; ++i)
        args[i] = first + i;
    Value r = f.in.callProcedure(m.held, nullptr, args, pc->count);
    for (uint8_t i = 0; i < pc->count; ++i)
        first[i] = Value();
    write(pc->dst, f, std::move(r));
    return pc + 1;
}

const Instr* callStep(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    const RegisterCode* code = m.held->code.get();
    if (code && code->paramCount == pc->count) [[likely]] {
        if (code->entry && pc->dst.loc == Loc::Local && !localOf(pc->dst, f)->isShared()) [[likely]]
            return code->entry(pc, f, m);
        return callCompiledGeneral(pc, f, m);
    }
    return callByTree(pc, f, m);
}

// ---- array elements ----

// The index of an element instruction when its parts are whole numbers read in place: b, or
// b + c / b - c (Sum 1 / 2), or b + a whole constant decided when the code was linked (Sum 3,
// the constant in offset). Whole numbers are within 32 bits: the sum cannot overflow.
template <Loc B, Loc C, int Sum>
[[gnu::always_inline]] inline bool elementIndex(const Instr* pc, const Frame& f, int64_t& index) {
    const Value* x = peek<B>(pc->b, f);
    if constexpr (B == Loc::Global)
        if (!x)
            return false;
    if (!isWhole(x->type()))
        return false;
    int64_t v = x->whole();
    if constexpr (Sum == 3) {
        v += pc->offset;
    } else if constexpr (Sum != 0) {
        const Value* y = peek<C>(pc->c, f);
        if constexpr (C == Loc::Global)
            if (!y)
                return false;
        if (!isWhole(y->type()))
            return false;
        v = Sum == 1 ? v + y->whole() : v - y->whole();
    }
    index = v;
    return true;
}

// The element, found in place; false when the tree has to look (not an array, another rank,
// out of range, an index to convert): it then raises or converts as it does.
template <Loc B, Loc C, int Sum>
[[gnu::always_inline]] inline bool elementAt(Value* array, const Instr* pc, const Frame& f,
                                             bool forWrite, Value*& element) {
    int64_t index;
    if (!array || !array->isArray() || !elementIndex<B, C, Sum>(pc, f, index))
        return false;
    ArrayData& d = forWrite ? array->mutableArray() : *array->asArray();
    if (d.bounds.size() != 1)
        return false;
    // Below the lower bound wraps round to a large number: one test for both ends.
    const auto i = static_cast<uint64_t>(index - d.bounds[0].lower);
    if (i >= static_cast<uint64_t>(d.bounds[0].count))
        return false;
    element = d.items.data() + i;
    return true;
}

// The element `e` found in place, or read by the tree (nullptr), into dst. A variable takes
// it as an assignment does: an object gives its default value.
[[gnu::noinline]] const Instr* elementGeneral(const Instr* pc, Frame& f, Machine& m,
                                              const Value* e) {
    m.at = pc;
    {
        Value v = e ? *e : static_cast<Expr*>(pc->node)->eval(f);
        if (!pc->dst.temp && v.isObject())
            v = dereference(v);
        write(pc->dst, f, std::move(v));
    }
    return onward(pc + 1, pc, f, m);
}

// The shortcut does not apply: the general path, or for an element read of a speculated
// operator (one with a jump) the operator's careful version.
[[gnu::always_inline]] inline const Instr* elementSlow(const Instr* pc, Frame& f, Machine& m,
                                                       const Value* e) {
    if (pc->jump) [[unlikely]]
        return onward(pc->jump, pc, f, m);
    return elementGeneral(pc, f, m, e);
}

// dst = a(index); dst is a temporary or a variable.
template <Loc A, Loc B, Loc C, int Sum, bool ToLocal>
const Instr* elementStep(const Instr* pc, Frame& f, Machine& m) {
    auto* array = const_cast<Value*>(peek<A>(pc->a, f));
    Value* e;
    if (!elementAt<B, C, Sum>(array, pc, f, false, e)) [[unlikely]]
        return elementSlow(pc, f, m, nullptr);
    if (e->isShared()) [[unlikely]]
        return elementSlow(pc, f, m, e);
    Value* t;
    if constexpr (ToLocal) {
        t = localOf(pc->dst, f);
    } else {
        t = slotAny(pc->dst, f);
        if (!t) [[unlikely]]
            return elementSlow(pc, f, m, e);
    }
    if (t->isShared()) [[unlikely]]
        return elementSlow(pc, f, m, e);
    t->overwritePlain(*e);
    return onward(pc + 1, pc, f, m);
}

// dst(index) = a, as an assignment: the value first, then the element.
template <Loc A, Loc B, Loc C, int Sum>
[[gnu::noinline]] const Instr* storeElementGeneral(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    {
        Value v = pc->a.temp ? std::move(*localOf(pc->a, f)) : valueOf(pc->a, f);
        if (v.isObject())
            v = dereference(v);
        auto* array = const_cast<Value*>(peek<A>(pc->dst, f));
        if (Value * e; elementAt<B, C, Sum>(array, pc, f, true, e)) [[likely]]
            *e = std::move(v);
        else
            static_cast<Expr*>(pc->node)->assign(f, std::move(v), false);
    }
    return onward(pc + 1, pc, f, m);
}

// dst(index) = a, as an assignment. A number goes in place; anything else takes the general
// path, which takes the value first, then the element.
template <Loc A, Loc B, Loc C, int Sum, bool FromLocal>
const Instr* storeElementStep(const Instr* pc, Frame& f, Machine& m) {
    const Value* v = FromLocal ? localOf(pc->a, f) : peekAny(pc->a, f);
    if (!v || v->isShared()) [[unlikely]]
        return storeElementGeneral<A, B, C, Sum>(pc, f, m);
    auto* array = const_cast<Value*>(peek<A>(pc->dst, f));
    Value* e;
    if (!elementAt<B, C, Sum>(array, pc, f, true, e) || e->isShared()) [[unlikely]]
        return storeElementGeneral<A, B, C, Sum>(pc, f, m);
    e->overwritePlain(*v);
    return onward(pc + 1, pc, f, m);
}

template <bool Store, Loc A, Loc B, Loc C, int Sum> Handler elementHandler(const Instr& in) {
    if constexpr (Store)
        return in.a.loc == Loc::Local ? &storeElementStep<A, B, C, Sum, true>
                                      : &storeElementStep<A, B, C, Sum, false>;
    else if (in.dst.loc == Loc::Local)
        return &elementStep<A, B, C, Sum, true>;
    else
        return &elementStep<A, B, C, Sum, false>;
}

// b + k or b - k with k a whole constant: the index's second part, known now.
bool constantOffset(const Instr& in, int32_t& offset) {
    if (in.count != 2 || in.c.loc != Loc::Const || !isWhole(in.c.constant->type()))
        return false;
    const int64_t k = in.c.constant->whole();
    const int64_t v = in.binary == BinaryOp::Add ? k : -k;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    offset = static_cast<int32_t>(v);
    return true;
}

template <bool Store> Handler elementFor(Instr& in) {
    const Loc array = Store ? in.dst.loc : in.a.loc;
    const int sum = in.count == 1                   ? 0
                    : constantOffset(in, in.offset) ? 3
                    : in.binary == BinaryOp::Add    ? 1
                                                    : 2;
    return byPlace(array, [&]<Loc A>() {
        return byPlace(in.b.loc, [&]<Loc B>() {
            if (sum == 0)
                return elementHandler<Store, A, B, Loc::Const, 0>(in);
            if (sum == 3)
                return elementHandler<Store, A, B, Loc::Const, 3>(in);
            return byPlace(in.c.loc, [&]<Loc C>() {
                return sum == 1 ? elementHandler<Store, A, B, C, 1>(in)
                                : elementHandler<Store, A, B, C, 2>(in);
            });
        });
    });
}

// ---- text ----

// The append statement's own first case, where the variable holds text and the tail is read
// in place; the statement itself decides everything else.
const Instr* appendStep(const Instr* pc, Frame& f, Machine& m) {
    m.at = pc;
    const Value* tail = peekAny(pc->a, f);
    if (tail && !tail->isObject()) {
        auto* text = const_cast<Value*>(peekAny(pc->dst, f));
        if (text && text->isString()) {
            ops::concatInPlace(*text, *tail);
            return onward(pc + 1, pc, f, m);
        }
    }
    return execStep(pc, f, m);
}

// ---- choosing handlers ----

// The right side is a whole constant a shortcut can take (for Mod neither 0 nor -1): its
// number goes in offset.
bool wholeConstant(Instr& in) {
    if (in.b.loc != Loc::Const || !isWhole(in.b.constant->type()))
        return false;
    const int64_t k = in.b.constant->whole();
    if (in.op == OpCode::Binary && in.binary == BinaryOp::Mod && (k == 0 || k == -1))
        return false;
    in.offset = static_cast<int32_t>(k);
    return true;
}

template <BinaryOp Op> Handler binaryFor(Instr& in) {
    if (wholeConstant(in)) {
        const bool kLong = in.b.constant->type() == VarType::Long;
        return byPlace(in.a.loc, [&]<Loc A>() {
            switch (in.dst.loc) {
            case Loc::Local:
                return kLong ? Handler(&binaryConstStep<Op, A, Loc::Local, true>)
                             : Handler(&binaryConstStep<Op, A, Loc::Local, false>);
            case Loc::Param:
                return kLong ? Handler(&binaryConstStep<Op, A, Loc::Param, true>)
                             : Handler(&binaryConstStep<Op, A, Loc::Param, false>);
            default:
                return kLong ? Handler(&binaryConstStep<Op, A, Loc::Global, true>)
                             : Handler(&binaryConstStep<Op, A, Loc::Global, false>);
            }
        });
    }
    return byPlace(in.a.loc, [&]<Loc A>() {
        return byPlace(in.b.loc, [&]<Loc B>() {
            switch (in.dst.loc) {
            case Loc::Local:
                return Handler(&binaryStep<Op, A, B, Loc::Local>);
            case Loc::Param:
                return Handler(&binaryStep<Op, A, B, Loc::Param>);
            default:
                return Handler(&binaryStep<Op, A, B, Loc::Global>);
            }
        });
    });
}

template <BinaryOp Op> Handler compareFor(Instr& in) {
    if (wholeConstant(in))
        return byPlace(in.a.loc, [&]<Loc A>() { return Handler(&compareConstJump<Op, A>); });
    return byPlace(in.a.loc, [&]<Loc A>() {
        return byPlace(in.b.loc, [&]<Loc B>() { return Handler(&compareJump<Op, A, B>); });
    });
}

Handler binaryHandler(Instr& in) {
    switch (in.binary) {
    case BinaryOp::Add:
        return binaryFor<BinaryOp::Add>(in);
    case BinaryOp::Sub:
        return binaryFor<BinaryOp::Sub>(in);
    case BinaryOp::Mul:
        return binaryFor<BinaryOp::Mul>(in);
    case BinaryOp::Mod:
        return binaryFor<BinaryOp::Mod>(in);
    default:
        return &binaryGeneral;
    }
}

Handler compareHandler(Instr& in) {
    switch (in.binary) {
    case BinaryOp::Eq:
        return compareFor<BinaryOp::Eq>(in);
    case BinaryOp::Ne:
        return compareFor<BinaryOp::Ne>(in);
    case BinaryOp::Lt:
        return compareFor<BinaryOp::Lt>(in);
    case BinaryOp::Gt:
        return compareFor<BinaryOp::Gt>(in);
    case BinaryOp::Le:
        return compareFor<BinaryOp::Le>(in);
    default:
        return compareFor<BinaryOp::Ge>(in);
    }
}

Handler copyHandler(Loc a) {
    return byPlace(a, [&]<Loc A>() { return Handler(&copyStep<A>); });
}

} // namespace

void linkRegisterCode(RegisterCode& rc) {
    rc.entry = entryFor(rc);
    Instr* base = rc.code.data();
    // A jump to the end is the end.
    for (Instr& in : rc.code)
        if (in.op == OpCode::Jump && base[in.target].op == OpCode::Return)
            in.op = OpCode::Return;
    for (Instr& in : rc.code) {
        for (Operand* o : {&in.dst, &in.a, &in.b, &in.c})
            o->bytes = o->loc == Loc::Param ? o->index * int64_t{sizeof(Value*)}
                                            : o->index * int64_t{sizeof(Value)};
        // Conditions and guards only ever jump forward (their handlers count on it).
        assert(in.target < 0 || in.target > &in - base ||
               (in.op != OpCode::CompareJump && in.op != OpCode::GuardCall));
        if (in.target >= 0)
            in.jump = base + in.target;
        if (in.exitFor >= 0)
            in.forExit = base + in.exitFor;
        if (in.exitDo >= 0)
            in.doExit = base + in.exitDo;
        switch (in.op) {
        case OpCode::Binary:
            in.run = binaryHandler(in);
            break;
        case OpCode::Copy:
            in.run = copyHandler(in.a.loc);
            break;
        case OpCode::Store:
            in.run = byPlace(in.a.loc, [&]<Loc A>() {
                switch (in.dst.loc) {
                case Loc::Local:
                    return Handler(&storeStep<A, Loc::Local>);
                case Loc::Param:
                    return Handler(&storeStep<A, Loc::Param>);
                default:
                    return Handler(&storeStep<A, Loc::Global>);
                }
            });
            break;
        case OpCode::Eval:
            in.run = &evalStep;
            break;
        case OpCode::Exec:
            in.run = &execStep;
            break;
        case OpCode::Jump:
            in.run = &jumpStep;
            break;
        case OpCode::JumpIf:
            in.run = &jumpIfStep;
            break;
        case OpCode::CompareJump:
            in.run = compareHandler(in);
            break;
        case OpCode::ForPrep:
            in.run = &forPrepStep;
            break;
        case OpCode::ForLoop:
            in.run = forLoopHandler(in);
            break;
        case OpCode::GuardCall:
            in.run = &guardCallStep;
            break;
        case OpCode::Call:
            in.run = &callStep;
            break;
        case OpCode::Element:
            in.run = elementFor<false>(in);
            break;
        case OpCode::StoreElement:
            in.run = elementFor<true>(in);
            break;
        case OpCode::Append:
            in.run = &appendStep;
            break;
        case OpCode::Return:
            in.run = &returnStep;
            break;
        }
    }
}

Flow runRegisterCode(const RegisterCode& rc, Frame& f) {
    checkStack();
    return runCode(rc, f);
}

} // namespace vbscript
