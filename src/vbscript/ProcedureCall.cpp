// Calls of script procedures: the frame is sized for the procedure's locals, and argument
// expressions are evaluated straight into it.
#include "Interpreter.h"
#include "RegisterCode.h"
#include "StackGuard.h"

#include <memory>
#include <new>

namespace vbscript {

namespace {

// Arrays whose element was passed by reference: they cannot be resized during the call. Most
// calls lock none, so the list is only allocated for the first.
class ArrayLocks {
public:
    ArrayLocks() = default;
    ArrayLocks(const ArrayLocks&) = delete;
    ArrayLocks& operator=(const ArrayLocks&) = delete;
    ~ArrayLocks() {
        if (m_arrays)
            for (auto& a : *m_arrays)
                --a->locks;
    }
    void add(Ref<ArrayData> array) {
        if (!m_arrays)
            m_arrays = std::make_unique<std::vector<Ref<ArrayData>>>();
        ++array->locks;
        m_arrays->push_back(std::move(array));
    }

private:
    std::unique_ptr<std::vector<Ref<ArrayData>>> m_arrays;
};

// Arguments already evaluated (a host call, a method through an object, a callback).
struct EvaluatedArgs {
    Value* const* values;

    void bind(const Procedure& proc, Value* locals, Value** params, ArrayLocks&) const {
        for (size_t i = 0; i < proc.params.size(); ++i) {
            if (proc.params[i].byRef) {
                params[i] = values[i];
            } else {
                locals[i] = *values[i];
                params[i] = &locals[i];
            }
        }
    }
};

// The caller's argument expressions: variables and array elements by reference, everything
// else evaluated into the parameter's own slot.
struct ArgExpressions {
    Frame& caller;
    const ExprList& exprs;

    void bind(const Procedure& proc, Value* locals, Value** params, ArrayLocks& locks) const {
        const size_t count = proc.params.size();
        for (size_t i = 0; i < count; ++i) {
            Expr* e = exprs[i].get();
            if (!e) {
                locals[i] = Value::missing();
                params[i] = &locals[i];
                continue;
            }
            if (e->mayReference) {
                Ref<ArrayData> locked;
                if (Value* ref = e->reference(caller, &locked)) {
                    if (locked)
                        locks.add(std::move(locked));
                    params[i] = ref;
                    continue;
                }
            }
            // The slot is still Empty: the value is built in it, with no move or release.
            new (&locals[i]) Value(e->eval(caller));
            params[i] = &locals[i];
        }
        if (!proc.hasByValParams)
            return;
        // ByVal copies are taken once all arguments are evaluated, as a by-reference pass
        // followed by the callee's copy would see them.
        for (size_t i = 0; i < count; ++i) {
            if (!proc.params[i].byRef && params[i] != &locals[i]) {
                locals[i] = *params[i];
                params[i] = &locals[i];
            }
        }
    }
};

// Inlined into each frame size: a call is one C++ call deep less, which saves the register
// spills of a level on every script call.
template <class Args>
[[gnu::always_inline]] inline Value runFrame(Interpreter& in, Procedure* proc, Object* me,
                                             Value* locals, Value** params, const Args& args) {
    ArrayLocks locks;
    args.bind(*proc, locals, params, locks);
    Frame f{in, proc, locals, params, me, nullptr, false};
    MeScope scope(in, me);
    if (proc->code)
        runRegisterCode(*proc->code, f);
    else
        in.runBlock(proc->body, f);
    if (proc->resultSlot >= 0)
        return std::move(locals[proc->resultSlot]);
    return Value();
}

template <size_t N, class Args>
Value runInlineFrame(Interpreter& in, Procedure* proc, Object* me, const Args& args) {
    Value locals[N];
    Value* params[N];
    return runFrame(in, proc, me, locals, params, args);
}

template <class Args> Value enter(Interpreter& in, Procedure* proc, Object* me, const Args& args) {
    checkStack();
    in.tick();
    const auto n = static_cast<size_t>(proc->frameSlots()); // parameters included
    if (n <= 2)
        return runInlineFrame<2>(in, proc, me, args);
    if (n <= 4)
        return runInlineFrame<4>(in, proc, me, args);
    if (n <= 8)
        return runInlineFrame<8>(in, proc, me, args);
    if (n <= 16)
        return runInlineFrame<16>(in, proc, me, args);
    auto locals = std::make_unique<Value[]>(n);
    auto params = std::make_unique<Value*[]>(n);
    return runFrame(in, proc, me, locals.get(), params.get(), args);
}

} // namespace

Value Interpreter::callProcedure(Procedure* proc, Object* me, Value* const* args, size_t count) {
    if (count != proc->params.size())
        raiseError(err::WrongArgumentCount);
    return enter(*this, proc, me, EvaluatedArgs{args});
}

Value Interpreter::callProcedure(Procedure* proc, Object* me, Frame& caller, const ExprList& args) {
    if (args.size() != proc->params.size()) {
        // The arguments still run first, as they do for a call that fits.
        ArgBuffer evaluated(caller, args);
        return callProcedure(proc, me, evaluated.items(), evaluated.size());
    }
    return enter(*this, proc, me, ArgExpressions{caller, args});
}

} // namespace vbscript
