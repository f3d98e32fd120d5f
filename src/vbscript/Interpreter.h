#pragma once

// Runs compiled programs: global names, calls and frames, the Err object, script classes.

#include "Ast.h"
#include "Context.h"
#include "ScriptError.h"
#include "StackGuard.h"

#include <deque>
#include <functional>
#include <unordered_map>

namespace vbscript {

class Interpreter;
class ErrObject;

// Lets objects that outlive a reset (held by the host) find out that their code is gone.
struct InterpreterLink : RefCounted {
    Interpreter* interpreter = nullptr;
};

struct Frame {
    Interpreter& in;
    Procedure* proc;
    Value* locals;
    Value** params;
    Object* me = nullptr;
    Frame* outer = nullptr; // the caller's frame for Execute and Eval code
    bool resumeNext = false;
};

// Arguments evaluated by the caller: variables by reference, everything else as temporaries.
class ArgBuffer {
public:
    ArgBuffer(Frame& f, const ExprList& exprs, bool byReference = true);
    ~ArgBuffer();
    ArgBuffer(const ArgBuffer&) = delete;
    ArgBuffer& operator=(const ArgBuffer&) = delete;
    Value* const* items() const { return m_ptrs; }
    size_t size() const { return m_count; }
    Args args() const { return Args(m_ptrs, m_count); }
    // Adds one more value (the assigned value of a Property Let).
    void append(Value v);

private:
    static constexpr size_t kInline = 6;
    size_t m_count = 0;
    Value m_inlineTemps[kInline + 1];
    Value* m_inlinePtrs[kInline + 1];
    std::unique_ptr<Value[]> m_heapTemps;
    std::unique_ptr<Value*[]> m_heapPtrs;
    Value* m_temps;
    Value** m_ptrs;
    std::vector<Ref<ArrayData>> m_locked;
};

class Interpreter final : public Context {
public:
    Interpreter();
    ~Interpreter() override;

    // Context
    Value call(const Value& callee, Args args) override;
    Value createObject(std::u16string_view className) override;
    RandomState& random() override { return m_random; }
    void checkInterrupt() override;

    // Compiles, binds and runs a unit at global level (outer: the frame of Execute's caller).
    void runProgram(std::u16string_view source, Frame* outer);
    Value evaluate(std::u16string_view expression, Frame* outer);
    void addNamedObject(std::u16string_view name, Ref<Object> object, bool membersGlobal);
    Procedure* findProcedure(std::u16string_view name) const;

    Value callProcedure(Procedure* proc, Object* me, Value* const* args, size_t count);
    // Evaluates the caller's argument expressions straight into the new frame.
    Value callProcedure(Procedure* proc, Object* me, Frame& caller, const ExprList& args);
    Value callBuiltin(const BuiltinFunction* fn, Value* const* args, size_t count);
    // Reads, writes or calls an object's member by name.
    Value invokeMember(Object* object, std::u16string_view name, Invoke kind, Args args,
                       const Value* assigned);

    // Statement list with On Error Resume Next handling.
    Flow runBlock(Block& block, Frame& f) {
        checkStack();
        for (auto& s : block) {
            try {
                const Flow flow = s->exec(f);
                if (flow != Flow::Normal)
                    return flow;
            } catch (ScriptError& e) {
                if (!resumesAfter(e, *s, f))
                    throw;
            }
        }
        return Flow::Normal;
    }
    // Places the error at the statement; true when On Error Resume Next has taken it.
    bool resumesAfter(ScriptError& e, const Stmt& statement, const Frame& f);
    void recordError(const ScriptError& e);
    ErrObject& errObject() { return *m_err; }

    GlobalCell* cell(std::u16string_view name, bool create);
    const std::vector<Ref<Object>>& globalMemberObjects() const { return m_globalMemberObjects; }
    ClassInfo* findClass(std::u16string_view name) const;
    Ref<InterpreterLink> link() const { return m_link; }
    Object* currentMe() const { return m_currentMe; }

    void setInterruptCheck(std::function<bool()> check) { m_interrupt = std::move(check); }
    bool interrupted() const { return m_interrupted; }
    void clearInterrupt() { m_interrupted = false; }

    inline void tick() {
        if (tickDue())
            tickCheck();
    }
    // tick() in two halves, for a caller that keeps the rare second one out of its way.
    bool tickDue() { return (++m_ticks & 0xFFF) == 0; }
    void tickCheck() {
        if (m_interrupt)
            checkInterrupt();
    }
    // n ticks at once: compiled loops count their passes in batches.
    void tickBy(uint32_t n) {
        const uint32_t before = m_ticks;
        m_ticks += n;
        if (((before ^ m_ticks) & ~0xFFFu) != 0)
            tickCheck();
    }

private:
    void bind(Program& program, Frame* outer);
    void bindProcedure(Program& program, Procedure& proc, Frame* outer);
    void bindName(Program& program, Procedure& proc, NameRef& ref, Frame* outer,
                  size_t declaredLocals);

    std::deque<GlobalCell> m_cells;
    std::unordered_map<std::u16string, GlobalCell*> m_cellIndex;
    std::unordered_map<std::u16string, ClassInfo*> m_classes;
    std::vector<Ref<Program>> m_programs;
    std::vector<Ref<Object>> m_globalMemberObjects;
    Ref<ErrObject> m_err;
    Ref<InterpreterLink> m_link;
    RandomState m_random;
    std::function<bool()> m_interrupt;
    bool m_interrupted = false;
    uint32_t m_ticks = 0;
    Object* m_currentMe = nullptr;
    friend class MeScope;
};

// Makes `me` the current object while a method runs (private members are visible to it).
class MeScope {
public:
    MeScope(Interpreter& in, Object* me) : m_in(in), m_saved(in.m_currentMe) {
        in.m_currentMe = me;
    }
    ~MeScope() { m_in.m_currentMe = m_saved; }

private:
    Interpreter& m_in;
    Object* m_saved;
};

// Sets currentContext() for the duration of a run.
class ContextScope {
public:
    explicit ContextScope(Context* context);
    ~ContextScope();

private:
    Context* m_saved;
};

// A For loop's start, end or step: the expression's number (an object's default value), 94
// for Null.
Value loopNumber(Frame& f, Expr& e);
// Reads through an array index list or an object's default member: v(args).
Value applyArguments(Interpreter& in, const Value& v, Args args);
// Assigns v(args) = value.
void assignWithArguments(Interpreter& in, Value& target, Args args, Value value, bool isSet);
// The element of an array for the index arguments; raises 9 or 13.
Value& arrayElement(ArrayData& array, Args args);

} // namespace vbscript
