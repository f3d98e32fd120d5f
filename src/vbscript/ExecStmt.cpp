// Execution of statement nodes.
#include "Conversions.h"
#include "Interpreter.h"
#include "Nodes.h"
#include "ScriptObject.h"

namespace vbscript {

namespace {

bool isWhole(const Value& v) {
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

void positionAndRecord(Frame& f, ScriptError& e, const Node& at) {
    if (!e.line) {
        e.line = at.line;
        e.column = at.column;
    }
    f.in.recordError(e);
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
    target->assign(f, std::move(v), isSet);
    return Flow::Normal;
}

Flow AppendStmt::exec(Frame& f) {
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
        bool taken;
        try {
            taken = ops::isTrue(b.condition->eval(f));
        } catch (ScriptError& e) {
            // Resume Next continues with the statement after the failing one: the branch.
            if (!f.resumeNext || f.in.interrupted())
                throw;
            positionAndRecord(f, e, *b.condition);
            taken = true;
        }
        if (taken)
            return f.in.runBlock(b.body, f);
    }
    return f.in.runBlock(elseBody, f);
}

Flow ForStmt::exec(Frame& f) {
    const Value start = loopNumber(f, *from);
    const Value end = loopNumber(f, *to);
    const Value stepValue = step ? loopNumber(f, *step) : Value::integer(1);
    counter->assign(f, start, false);
    const bool up = ops::compareValues(stepValue, Value::integer(0)) >= 0;
    const bool whole = isWhole(end) && isWhole(stepValue);
    const int64_t endWhole = whole ? wholeOf(end) : 0;
    const int64_t stepWhole = whole ? wholeOf(stepValue) : 0;
    const bool longStep = stepValue.type() == VarType::Long;
    for (;;) {
        Value* c = counter->reference(f, nullptr);
        if (!c)
            raiseError(err::IllegalAssignment);
        if (whole && isWhole(*c)) {
            const int64_t v = wholeOf(*c);
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
        if (whole && isWhole(*c)) {
            const int64_t next = wholeOf(*c) + stepWhole;
            const bool longRank = longStep || c->type() == VarType::Long;
            if (!longRank && next >= -32768 && next <= 32767)
                *c = Value::integer(static_cast<int16_t>(next));
            else if (next >= INT32_MIN && next <= INT32_MAX)
                *c = Value::longValue(static_cast<int32_t>(next));
            else
                *c = Value::dbl(static_cast<double>(next));
        } else {
            *c = ops::add(*c, stepValue);
        }
    }
    return Flow::Normal;
}

Flow ForEachStmt::exec(Frame& f) {
    const Value source = collection->eval(f);
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
        if (condition && testFirst && ops::isTrue(condition->eval(f)) == isUntil)
            break;
        const Flow flow = f.in.runBlock(body, f);
        if (flow == Flow::ExitDo && !isWhileWend)
            break;
        if (flow != Flow::Normal)
            return flow;
        if (condition && !testFirst && ops::isTrue(condition->eval(f)) == isUntil)
            break;
        f.in.tick();
    }
    return Flow::Normal;
}

Flow SelectStmt::exec(Frame& f) {
    Value v = subject->eval(f);
    if (v.isObject())
        v = dereference(v);
    for (auto& c : cases) {
        for (auto& test : c.tests) {
            const Value t = test->eval(f);
            if (!v.isNull() && ops::isTrue(ops::compare(v, t, ops::Compare::Eq)))
                return f.in.runBlock(c.body, f);
        }
    }
    return f.in.runBlock(elseBody, f);
}

Flow WithStmt::exec(Frame& f) {
    Value target = object->eval(f);
    if (!target.isObject())
        raiseError(err::ObjectRequired);
    if (target.isNothing())
        raiseError(err::ObjectNotSet);
    f.locals[slot] = std::move(target);
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
