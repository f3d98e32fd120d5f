// Execution of statement nodes.
#include "Conversions.h"
#include "Interpreter.h"
#include "Nodes.h"
#include "Operand.h"
#include "ScriptObject.h"

namespace vbscript {

namespace {

bool isWhole(const Value& v) {
    return v.type() == VarType::Integer || v.type() == VarType::Long;
}

void positionAndRecord(Frame& f, ScriptError& e, const Node& at) {
    if (!e.line) {
        e.line = at.line;
        e.column = at.column;
    }
    f.in.recordError(e);
}

// Runs a statement's own expression (a condition, a bound, a Case value). Under On Error
// Resume Next a failure is recorded and false returned, and the statement goes on where the
// language resumes: into an If's branch, a loop's body, the Case that failed.
template <class Part> bool resumable(Frame& f, const Node& at, Part&& part) {
    try {
        part();
        return true;
    } catch (ScriptError& e) {
        if (!f.resumeNext || f.in.interrupted())
            throw;
        positionAndRecord(f, e, at);
        return false;
    }
}

// A loop condition; a failure resumes into the body when the test comes first and after the
// loop when it comes last.
bool loopContinues(Frame& f, const DoStmt& loop, bool resumeValue) {
    bool holds = resumeValue;
    resumable(f, *loop.condition, [&] { holds = loop.condition->condition(f) != loop.isUntil; });
    return holds;
}

// The body run once after a For or For Each could not start, then the loop's own error.
Flow runOnceAndFail(Frame& f, Block& body, const Node& at, int32_t error) {
    const Flow flow = f.in.runBlock(body, f);
    if (flow == Flow::ExitFor)
        return Flow::Normal;
    if (flow != Flow::Normal)
        return flow;
    ScriptError e(error, errorDescription(error), std::u16string(kRuntimeSource));
    positionAndRecord(f, e, at);
    return Flow::Normal;
}

// One pass of a For Each body. False ends the loop, with the statement's result in `flow`.
bool forEachPass(Frame& f, ForEachStmt& loop, const Value& item, Flow& flow) {
    loop.element->assign(f, item, item.isObject());
    const Flow pass = f.in.runBlock(loop.body, f);
    if (pass != Flow::Normal) {
        flow = pass == Flow::ExitFor ? Flow::Normal : pass;
        return false;
    }
    f.in.tick();
    return true;
}

} // namespace

Value loopNumber(Frame& f, Expr& e) {
    Value v = e.eval(f);
    if (v.isObject())
        v = dereference(v);
    if (v.isNull())
        raiseError(err::InvalidNull);
    return toNumeric(v);
}

Flow ExprStmt::exec(Frame& f) {
    expr->callStatement(f);
    return Flow::Normal;
}

Flow AssignStmt::exec(Frame& f) {
    Value v = value->eval(f);
    if (isSet) {
        if (!v.isObject())
            raiseError(err::ObjectRequired);
    } else if (v.isObject()) {
        v = dereference(v);
    }
    if (name) { // a variable (or the function's result) is stored straight into its slot
        if (name->binding == Binding::Local) {
            f.locals[name->slot] = std::move(v);
            return Flow::Normal;
        }
        if (Value* slot = plainVariable(*name, f);
            slot && !(name->cell && name->cell->isConst && slot == &name->cell->value)) {
            *slot = std::move(v);
            return Flow::Normal;
        }
    }
    target->assign(f, std::move(v), isSet);
    return Flow::Normal;
}

Flow AppendStmt::exec(Frame& f) {
    // A literal or a variable as the tail runs no code: the text is appended where it is.
    if (const Value* t = peekOperand(*tail, f); t && !t->isObject()) {
        if (Value* slot = target->reference(f, nullptr); slot && slot->isString()) {
            ops::concatInPlace(*slot, *t);
            return Flow::Normal;
        }
    }
    Value* slot = target->reference(f, nullptr);
    if (!slot || !slot->isString()) {
        const Value head = target->eval(f);
        Value t = tail->eval(f);
        target->assign(f,
                       ops::concat(head.isObject() ? dereference(head) : head,
                                   t.isObject() ? dereference(t) : t),
                       false);
        return Flow::Normal;
    }
    Value head = *slot; // shares the text; dropped again before appending
    Value t = tail->eval(f);
    if (t.isObject())
        t = dereference(t);
    slot = target->reference(f, nullptr);
    if (slot && slot->isString() && &slot->asString() == &head.asString() &&
        !head.asString().empty()) {
        head = Value();
        ops::concatInPlace(*slot, t);
        return Flow::Normal;
    }
    // The tail changed the variable (or it held ""): the language's order reads it first.
    target->assign(f, ops::concat(head, t), false);
    return Flow::Normal;
}

Flow IfStmt::exec(Frame& f) {
    for (auto& b : branches) {
        bool taken = true;
        resumable(f, *b.condition, [&] { taken = b.condition->condition(f); });
        if (taken)
            return f.in.runBlock(b.body, f);
    }
    return f.in.runBlock(elseBody, f);
}

Flow ForStmt::exec(Frame& f) {
    Value start, end, stepValue = Value::integer(1);
    if (!resumable(f, *this, [&] {
            start = loopNumber(f, *from);
            end = loopNumber(f, *to);
            if (step)
                stepValue = loopNumber(f, *step);
        }))
        return runOnceAndFail(f, body, *this, err::ForNotInitialized);
    counter->assign(f, start, false);
    const bool up = ops::compareValues(stepValue, Value::integer(0)) >= 0;
    const bool whole = isWhole(end) && isWhole(stepValue);
    const int64_t endWhole = whole ? end.whole() : 0;
    const int64_t stepWhole = whole ? stepValue.whole() : 0;
    const bool longStep = stepValue.type() == VarType::Long;
    // The counter's storage is looked up again after the body, which may have run any code;
    // the test that follows the step uses the same lookup.
    Value* c = counter->reference(f, nullptr);
    for (;;) {
        if (!c)
            raiseError(err::IllegalAssignment);
        if (whole && isWhole(*c)) {
            const int64_t v = c->whole();
            if (up ? v > endWhole : v < endWhole)
                break;
        } else {
            const int cmp = ops::compareValues(*c, end);
            if (up ? cmp > 0 : cmp < 0)
                break;
        }
        const Flow flow = f.in.runBlock(body, f);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
        f.in.tick();
        c = counter->reference(f, nullptr);
        if (!c)
            raiseError(err::IllegalAssignment);
        if (whole && isWhole(*c)) {
            const int64_t next = c->whole() + stepWhole;
            *c = ops::detail::wholeResult(next, longStep || c->type() == VarType::Long);
        } else {
            *c = ops::add(*c, stepValue);
        }
    }
    return Flow::Normal;
}

Flow ForEachStmt::exec(Frame& f) {
    Value source;
    if (!resumable(f, *collection, [&] { source = collection->eval(f); }))
        return runOnceAndFail(f, body, *this, err::NotACollection);
    if (source.isArray()) {
        const Value snapshot = source;
        const ArrayData& a = *snapshot.asArray();
        Flow flow = Flow::Normal;
        for (size_t i = 0; i < a.items.size(); ++i)
            if (!forEachPass(f, *this, a.items[i], flow))
                break;
        return flow;
    }
    if (!source.isObject() || source.isNothing())
        raiseError(err::NotACollection);
    Ref<Object> keep(source.asObject());
    Ref<Enumerator> items = keep->enumerate(f.in);
    Value item;
    Flow flow = Flow::Normal;
    while (items->next(item))
        if (!forEachPass(f, *this, item, flow))
            break;
    return flow;
}

Flow DoStmt::exec(Frame& f) {
    for (;;) {
        if (condition && testFirst && !loopContinues(f, *this, true))
            break;
        const Flow flow = f.in.runBlock(body, f);
        if (flow == Flow::ExitDo && !isWhileWend)
            break;
        if (flow != Flow::Normal)
            return flow;
        if (condition && !testFirst && !loopContinues(f, *this, false))
            break;
        f.in.tick();
    }
    return Flow::Normal;
}

Flow SelectStmt::exec(Frame& f) {
    Value v;
    // A failing subject takes no case at all; a failing Case is the case taken.
    if (!resumable(f, *subject, [&] {
            v = subject->eval(f);
            v = v.isObject() ? dereference(v) : v;
        }))
        return Flow::Normal;
    for (auto& c : cases) {
        for (auto& test : c.tests) {
            bool taken = true;
            resumable(f, *test, [&] {
                const Value t = test->eval(f);
                taken = !v.isNull() && ops::isTrue(ops::compare(v, t, ops::Compare::Eq));
            });
            if (taken)
                return f.in.runBlock(c.body, f);
        }
    }
    return f.in.runBlock(elseBody, f);
}

Flow WithStmt::exec(Frame& f) {
    // The object is not checked here: With Nothing is allowed, its members raise 424. A failing
    // object expression still runs the body, on Empty.
    resumable(f, *object, [&] { f.locals[slot] = object->eval(f); });
    Flow flow;
    try {
        flow = f.in.runBlock(body, f);
    } catch (...) {
        f.locals[slot] = Value();
        throw;
    }
    f.locals[slot] = Value();
    return flow;
}

Flow DimStmt::exec(Frame& f) {
    for (auto& item : items) {
        if (isReDim) {
            // A fixed array refuses before its new bounds are even read.
            if (Value* old = item.target->reference(f, nullptr);
                old && old->isArray() && old->asArray()->fixedSize)
                raiseError(err::ArrayLocked);
        }
        std::vector<ArrayBound> bounds;
        for (auto& b : item.bounds) {
            const int32_t upper = toLong(b->eval(f));
            if (upper < -1)
                raiseError(err::SubscriptOutOfRange);
            bounds.push_back(ArrayBound{0, upper + 1});
        }
        Value* slot = item.target->reference(f, nullptr);
        if (isReDim && slot && slot->isArray()) {
            const ArrayData& old = *slot->asArray();
            if (old.fixedSize || old.locks > 0)
                raiseError(err::ArrayLocked);
        }
        auto fresh = makeRef<ArrayData>(bounds);
        fresh->fixedSize = !isReDim && !bounds.empty(); // Dim a() stays dynamic
        if (isReDim && preserve && slot && slot->isArray() && slot->asArray()->rank() > 0) {
            const ArrayData& old = *slot->asArray();
            // Only the last dimension may change size.
            if (old.rank() != fresh->rank())
                raiseError(err::SubscriptOutOfRange);
            for (int d = 0; d + 1 < old.rank(); ++d)
                if (old.bounds[d].count != fresh->bounds[d].count)
                    raiseError(err::SubscriptOutOfRange);
            const size_t n = std::min(old.items.size(), fresh->items.size());
            for (size_t i = 0; i < n; ++i)
                fresh->items[i] = old.items[i];
        }
        if (slot)
            *slot = Value::array(std::move(fresh));
        else
            item.target->assign(f, Value::array(std::move(fresh)), false);
    }
    return Flow::Normal;
}

Flow EraseStmt::exec(Frame& f) {
    Value* slot = target->reference(f, nullptr);
    if (!slot || !slot->isArray())
        raiseError(err::TypeMismatch);
    if (slot->asArray()->locks > 0)
        raiseError(err::ArrayLocked);
    if (slot->asArray()->fixedSize) {
        for (auto& v : slot->mutableArray().items)
            v = Value();
    } else {
        *slot = Value::array(makeRef<ArrayData>());
    }
    return Flow::Normal;
}

Flow OnErrorStmt::exec(Frame& f) {
    f.resumeNext = resumeNext;
    f.in.errObject().clear();
    return Flow::Normal;
}

} // namespace vbscript
