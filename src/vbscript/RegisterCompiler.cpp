// The bound tree of a procedure body compiled to register code (see RegisterCode.h).
#include "BinaryOps.h"
#include "Nodes.h"
#include "RegisterCode.h"

#include <algorithm>
#include <atomic>

namespace vbscript {

int Procedure::frameSlots() const {
    return code ? code->frameSlots : localCount();
}

namespace {

// Deeper nesting than a person writes stays with the tree, which has its own stack checks.
constexpr int kMaxNesting = 64;

bool containsOnError(const Block& block, int depth);

bool containsOnError(const Stmt& s, int depth) {
    if (dynamic_cast<const OnErrorStmt*>(&s) || depth > kMaxNesting)
        return true;
    ++depth;
    if (const auto* x = dynamic_cast<const IfStmt*>(&s)) {
        for (const auto& b : x->branches)
            if (containsOnError(b.body, depth))
                return true;
        return containsOnError(x->elseBody, depth);
    }
    if (const auto* x = dynamic_cast<const ForStmt*>(&s))
        return containsOnError(x->body, depth);
    if (const auto* x = dynamic_cast<const ForEachStmt*>(&s))
        return containsOnError(x->body, depth);
    if (const auto* x = dynamic_cast<const DoStmt*>(&s))
        return containsOnError(x->body, depth);
    if (const auto* x = dynamic_cast<const WithStmt*>(&s))
        return containsOnError(x->body, depth);
    if (const auto* x = dynamic_cast<const SelectStmt*>(&s)) {
        for (const auto& c : x->cases)
            if (containsOnError(c.body, depth))
                return true;
        return containsOnError(x->elseBody, depth);
    }
    return false;
}

bool containsOnError(const Block& block, int depth) {
    return std::any_of(block.begin(), block.end(),
                       [depth](const StmtPtr& s) { return containsOnError(*s, depth); });
}

// Operators with an instruction of their own; the rest run as tree nodes.
bool isCompiledOperator(BinaryOp op) {
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Sub:
    case BinaryOp::Mul:
    case BinaryOp::Mod:
    case BinaryOp::Concat:
    case BinaryOp::Eq:
    case BinaryOp::Ne:
    case BinaryOp::Lt:
    case BinaryOp::Gt:
    case BinaryOp::Le:
    case BinaryOp::Ge:
        return true;
    default:
        return false;
    }
}

const BinaryExpr* compiledOperator(const Expr& e) {
    const auto* b = dynamic_cast<const BinaryExpr*>(&e);
    return b && isCompiledOperator(b->op) ? b : nullptr;
}

// A literal, a constant or a variable: read where it is stored, running no code of its own
// (a global that turns out to be a function is the one exception; see Operand).
bool isPlainOperand(const Expr& e) {
    if (dynamic_cast<const LiteralExpr*>(&e))
        return true;
    if (const auto* name = dynamic_cast<const NameExpr*>(&e)) {
        const Binding b = name->ref->binding;
        return b == Binding::Constant || b == Binding::Local || b == Binding::Param ||
               b == Binding::Global || b == Binding::Dynamic;
    }
    if (const auto* paren = dynamic_cast<const ParenExpr*>(&e))
        return isPlainOperand(*paren->inner);
    return false;
}

// Arguments that run no script code: literals, locals, parameters and the compiled operators
// over them (passed by value: a bare variable would be passed by reference).
bool runsNoCode(const Expr& e) {
    if (dynamic_cast<const LiteralExpr*>(&e))
        return true;
    if (const auto* name = dynamic_cast<const NameExpr*>(&e)) {
        const Binding b = name->ref->binding;
        return b == Binding::Constant || b == Binding::Local || b == Binding::Param;
    }
    if (const auto* paren = dynamic_cast<const ParenExpr*>(&e))
        return runsNoCode(*paren->inner);
    if (const auto* b = compiledOperator(e))
        return runsNoCode(*b->left) && runsNoCode(*b->right);
    return false;
}

class Compiler {
public:
    explicit Compiler(Procedure& proc) : m_proc(proc) {}

    std::shared_ptr<RegisterCode> compile() {
        block(m_proc.body);
        emit(OpCode::Return);
        for (const Fallback& fb : m_fallbacks) {
            m_stmt = fb.stmt;
            patch(fb.guard);
            Instr& other = emit(OpCode::Eval);
            other.dst = fb.dst;
            other.node = fb.node;
            emit(OpCode::Jump).target = static_cast<int32_t>(fb.resume);
        }
        // The careful versions of speculated operators, out of the common path.
        for (const Speculation& sp : m_speculations) {
            for (size_t i = sp.first; i < sp.end; ++i)
                m_out->code[i].target = static_cast<int32_t>(here());
            m_stmt = sp.stmt;
            m_temps = sp.temps;
            m_depth = sp.depth;
            binaryInOrder(*sp.node, sp.dst);
            emit(OpCode::Jump).target = static_cast<int32_t>(sp.end);
        }
        m_out->frameSlots = m_proc.localCount() + m_maxTemps;
        m_out->paramCount = m_proc.params.size();
        linkRegisterCode(*m_out);
        return std::move(m_out);
    }

private:
    struct Loop {
        bool isFor;
        bool isWhileWend;
        std::vector<std::pair<size_t, int>> exits; // instruction, field (0 target, 1 For, 2 Do)
    };

    Instr& emit(OpCode op) {
        Instr in;
        in.op = op;
        in.stmt = m_stmt;
        m_out->code.push_back(in);
        return m_out->code.back();
    }
    size_t here() const { return m_out->code.size(); }
    void patch(size_t at) { m_out->code[at].target = static_cast<int32_t>(here()); }

    Operand temp() {
        Operand t;
        t.loc = Loc::Local;
        t.temp = true;
        t.index = m_proc.localCount() + m_temps++;
        m_maxTemps = std::max(m_maxTemps, m_temps);
        return t;
    }
    Operand constant(const Value& v) {
        Operand c;
        c.loc = Loc::Const;
        m_out->constants.push_back(v);
        c.constant = &m_out->constants.back();
        return c;
    }

    // The operand for e's value; literals, constants and variables are read in place.
    Operand operand(Expr& e) {
        if (auto* paren = dynamic_cast<ParenExpr*>(&e); paren && isPlainOperand(e))
            return operand(*paren->inner);
        if (auto* literal = dynamic_cast<LiteralExpr*>(&e))
            return constant(literal->value);
        if (auto* name = dynamic_cast<NameExpr*>(&e)) {
            const NameRef& r = *name->ref;
            Operand o;
            o.node = &e;
            switch (r.binding) {
            case Binding::Constant:
                return constant(r.constant);
            case Binding::Local:
                o.index = r.slot;
                return o;
            case Binding::Param:
                o.loc = Loc::Param;
                o.index = r.slot;
                return o;
            case Binding::Global:
            case Binding::Dynamic:
                o.loc = Loc::Global;
                o.cell = r.cell;
                return o;
            default:
                break;
            }
        }
        Operand t = temp();
        value(e, t);
        return t;
    }

    // Evaluates e into dst.
    void value(Expr& e, const Operand& dst) {
        if (m_speculating) {
            speculatedValue(e, dst);
            return;
        }
        if (m_depth > kMaxNesting) {
            Instr& in = emit(OpCode::Eval);
            in.dst = dst;
            in.node = &e;
            return;
        }
        const DepthScope nested(m_depth);
        if (auto* paren = dynamic_cast<ParenExpr*>(&e)) {
            value(*paren->inner, dst);
            return;
        }
        if (const BinaryExpr* b = compiledOperator(e)) {
            binary(*const_cast<BinaryExpr*>(b), dst);
            return;
        }
        if (auto* call = dynamic_cast<CallExpr*>(&e)) {
            if (elementRead(*call, dst) || procedureCall(*call, dst))
                return;
        }
        Instr& in = emit(OpCode::Eval);
        in.dst = dst;
        in.node = &e;
    }

    // A part of a speculated operator: shortcut operators and element reads, nothing else.
    void speculatedValue(Expr& e, const Operand& dst) {
        const DepthScope nested(m_depth);
        if (m_depth > kMaxNesting) {
            m_speculationFailed = true;
        } else if (auto* paren = dynamic_cast<ParenExpr*>(&e)) {
            speculatedValue(*paren->inner, dst);
        } else if (const BinaryExpr* b = compiledOperator(e)) {
            binary(*const_cast<BinaryExpr*>(b), dst);
        } else if (auto* call = dynamic_cast<CallExpr*>(&e); call && dst.temp) {
            if (!elementRead(*call, dst))
                m_speculationFailed = true;
        } else {
            m_speculationFailed = true;
        }
    }

    // Both operands of a binary operator, left first: a variable on the left is read before
    // the right side runs, as the tree reads it, unless the right side is plain too.
    void operands(Expr& left, Expr& right, Operand& a, Operand& b) {
        if (!m_speculating && isPlainOperand(left) && !isPlainOperand(right)) {
            const Operand stored = operand(left);
            if (stored.loc == Loc::Const) {
                a = stored;
            } else {
                a = temp();
                Instr& in = emit(OpCode::Copy);
                in.dst = a;
                in.a = stored;
            }
        } else {
            a = operand(left);
        }
        b = operand(right);
    }

    // Operators with a shortcut that runs no code and raises nothing: a speculated operator
    // (see speculate) consists of these and of element reads.
    static bool hasShortcut(BinaryOp op) {
        return op == BinaryOp::Add || op == BinaryOp::Sub || op == BinaryOp::Mul ||
               op == BinaryOp::Mod;
    }

    void binary(BinaryExpr& e, const Operand& dst) {
        if (m_speculating) {
            if (!hasShortcut(e.op)) {
                m_speculationFailed = true;
                return;
            }
        } else if (isPlainOperand(*e.left) && !isPlainOperand(*e.right) && speculate(e, dst)) {
            return;
        }
        binaryInOrder(e, dst);
    }

    // x op (right side): the variable x must be read before the right side runs, which could
    // change it (an object's default member, a call). When the right side is operators and
    // element reads only, their shortcuts run no code, so x is read in place after them; each
    // instruction whose shortcut does not apply leaves for a careful version of the whole
    // operator, compiled after the code, which reads x first and takes the general paths.
    bool speculate(BinaryExpr& e, const Operand& dst) {
        if (!hasShortcut(e.op) || m_depth > kMaxNesting / 2)
            return false;
        const size_t first = here();
        const int mark = m_temps;
        m_speculating = true;
        m_speculationFailed = false;
        binaryInOrder(e, dst);
        m_speculating = false;
        if (m_speculationFailed) {
            m_out->code.resize(first);
            m_temps = mark;
            return false;
        }
        m_speculations.push_back(Speculation{first, here(), &e, dst, mark, m_depth, m_stmt});
        m_temps = mark;
        return true;
    }

    void binaryInOrder(BinaryExpr& e, const Operand& dst) {
        const int mark = m_temps;
        Operand a, b;
        operands(*e.left, *e.right, a, b);
        Instr& in = emit(OpCode::Binary);
        in.binary = e.op;
        in.dst = dst;
        in.a = a;
        in.b = b;
        in.node = &e;
        m_temps = mark;
    }

    // a(i), a(i + j) or a(i - j) of an array variable, its index read in place: the array in
    // `a` (or `dst` for a store, set by the caller), the index in b and c.
    bool elementParts(CallExpr& e, Instr& in) {
        const NameRef& r = *e.ref;
        if (e.args.size() != 1 || !e.args[0])
            return false;
        if (r.binding != Binding::Local && r.binding != Binding::Param &&
            r.binding != Binding::Global && r.binding != Binding::Dynamic)
            return false;
        if (r.cell && (r.cell->proc || r.cell->builtin))
            return false;
        Expr& index = *e.args[0];
        if (isPlainOperand(index)) {
            in.b = operand(index);
            in.count = 1;
        } else if (auto* sum = dynamic_cast<BinaryExpr*>(&index);
                   sum && (sum->op == BinaryOp::Add || sum->op == BinaryOp::Sub) &&
                   isPlainOperand(*sum->left) && isPlainOperand(*sum->right)) {
            in.b = operand(*sum->left);
            in.c = operand(*sum->right);
            in.binary = sum->op;
            in.count = 2;
        } else {
            return false;
        }
        Operand array;
        array.node = &e;
        switch (r.binding) {
        case Binding::Local:
            array.index = r.slot;
            break;
        case Binding::Param:
            array.loc = Loc::Param;
            array.index = r.slot;
            break;
        default:
            array.loc = Loc::Global;
            array.cell = r.cell;
            break;
        }
        in.a = array;
        return true;
    }

    // dst = a(i) as an instruction, when the element's parts allow it.
    bool elementRead(CallExpr& e, const Operand& dst) {
        Instr el;
        if (!elementParts(e, el))
            return false;
        el.op = OpCode::Element;
        el.stmt = m_stmt;
        el.dst = dst;
        el.node = &e;
        m_out->code.push_back(el);
        return true;
    }

    // name(args) of a script procedure, with arguments passed by value anyway.
    bool procedureCall(CallExpr& e, const Operand& dst) {
        const NameRef& r = *e.ref;
        if (r.binding != Binding::Global || !r.cell->proc || e.args.size() > kMaxCallArgs ||
            e.args.size() != r.cell->proc->params.size())
            return false;
        for (const auto& arg : e.args)
            if (!arg || arg->mayReference || !runsNoCode(*arg))
                return false;
        const int mark = m_temps;
        const size_t guard = here();
        emit(OpCode::GuardCall).a.cell = r.cell;
        // The arguments' slots are consecutive; their own temporaries come after them.
        // A result going to the newest temporary takes the first argument's slot: the
        // arguments are spent by the time the result arrives.
        std::vector<Operand> slots;
        if (!e.args.empty() && dst.temp && dst.index == m_proc.localCount() + m_temps - 1)
            slots.push_back(dst);
        while (slots.size() < e.args.size())
            slots.push_back(temp());
        for (size_t i = 0; i < e.args.size(); ++i)
            value(*e.args[i], slots[i]);
        Instr& in = emit(OpCode::Call);
        in.dst = dst;
        if (!slots.empty())
            in.a = slots[0];
        in.count = static_cast<uint8_t>(e.args.size());
        in.node = &e;
        // The name is no procedure any more: the tree calls it, out of the way of the
        // common path, then the code goes on after the call.
        m_fallbacks.push_back(Fallback{guard, here(), dst, &e, m_stmt});
        m_temps = mark;
        return true;
    }

    // Jumps to `target` (patched later: the instruction's index is returned) when the
    // condition's truth equals `sense`.
    size_t jumpWhen(Expr& cond, bool sense) {
        const int mark = m_temps;
        size_t at;
        if (auto* b = dynamic_cast<BinaryExpr*>(&cond); b && isComparison(b->op)) {
            Operand x, y;
            operands(*b->left, *b->right, x, y);
            at = here();
            Instr& in = emit(OpCode::CompareJump);
            in.binary = b->op;
            in.a = x;
            in.b = y;
            in.sense = sense;
            in.node = &cond;
        } else {
            at = here();
            Instr& in = emit(OpCode::JumpIf);
            in.node = &cond;
            in.sense = sense;
        }
        m_temps = mark;
        return at;
    }

    void block(Block& b) {
        for (auto& s : b)
            statement(*s);
    }

    void statement(Stmt& s) {
        const DepthScope nested(m_depth);
        const Stmt* outer = m_stmt;
        m_stmt = &s;
        const int mark = m_temps;
        if (auto* x = dynamic_cast<AssignStmt*>(&s); x && assign(*x)) {
        } else if (auto* x = dynamic_cast<AppendStmt*>(&s); x && append(*x)) {
        } else if (auto* x = dynamic_cast<IfStmt*>(&s)) {
            ifStatement(*x);
        } else if (auto* x = dynamic_cast<ForStmt*>(&s)) {
            forStatement(*x);
        } else if (auto* x = dynamic_cast<DoStmt*>(&s)) {
            doStatement(*x);
        } else if (auto* x = dynamic_cast<ExitStmt*>(&s)) {
            exitStatement(x->kind);
        } else {
            const size_t at = here();
            emit(OpCode::Exec).node = &s;
            exitsOf(at, 1, true);
            exitsOf(at, 2, false);
        }
        m_temps = mark;
        m_stmt = outer;
    }

    bool assign(AssignStmt& s) {
        if (s.isSet)
            return false;
        if (auto* target = dynamic_cast<CallExpr*>(s.target.get()); target && !s.name) {
            // The index is read in place when the store runs: after the value, as the tree
            // assigns. (Finding the parts emits no code.)
            Instr el;
            if (!elementParts(*target, el))
                return false;
            const Operand v = operand(*s.value);
            el.op = OpCode::StoreElement;
            el.stmt = m_stmt;
            el.dst = el.a;
            el.a = v;
            el.node = target;
            m_out->code.push_back(el);
            return true;
        }
        if (!s.name)
            return false;
        Operand dst;
        dst.node = s.target.get();
        switch (s.name->binding) {
        case Binding::Local:
            dst.index = s.name->slot;
            break;
        case Binding::Param:
            dst.loc = Loc::Param;
            dst.index = s.name->slot;
            break;
        case Binding::Global:
        case Binding::Dynamic:
            dst.loc = Loc::Global;
            dst.cell = s.name->cell;
            break;
        default:
            return false;
        }
        // An operator's result is never an object: it goes straight to the variable. So does
        // an element, which the instruction assigns as Store would.
        if (compiledOperator(*s.value)) {
            value(*s.value, dst);
            return true;
        }
        if (auto* call = dynamic_cast<CallExpr*>(s.value.get()); call && elementRead(*call, dst))
            return true;
        const Operand v = operand(*s.value);
        Instr& in = emit(OpCode::Store);
        in.dst = dst;
        in.a = v;
        return true;
    }

    // s = s & x with a variable and a tail read in place: appended where the text is.
    bool append(AppendStmt& s) {
        auto* target = dynamic_cast<NameExpr*>(s.target.get());
        if (!target || !isPlainOperand(*s.tail))
            return false;
        Operand dst = operand(*target);
        if (dst.loc == Loc::Const)
            return false;
        Instr& in = emit(OpCode::Append);
        in.dst = dst;
        in.a = operand(*s.tail);
        in.node = &s;
        return true;
    }

    void ifStatement(IfStmt& s) {
        std::vector<size_t> ends;
        for (auto& branch : s.branches) {
            const size_t skip = jumpWhen(*branch.condition, false);
            block(branch.body);
            ends.push_back(here());
            emit(OpCode::Jump);
            patch(skip);
        }
        block(s.elseBody);
        for (size_t at : ends)
            patch(at);
    }

    void forStatement(ForStmt& s) {
        const Operand state = temp(); // the end, and the step in the next slot
        temp();
        // The counter's place when it is a local, a parameter or a global; anything else is
        // found through the tree each time (Loc::Const stands for that).
        Operand counter;
        counter.loc = Loc::Const;
        if (auto* name = dynamic_cast<NameExpr*>(s.counter.get())) {
            const NameRef& r = *name->ref;
            if (r.binding == Binding::Local || r.binding == Binding::Param) {
                counter.loc = r.binding == Binding::Local ? Loc::Local : Loc::Param;
                counter.index = r.slot;
            } else if (r.binding == Binding::Global || r.binding == Binding::Dynamic) {
                counter.loc = Loc::Global;
                counter.cell = r.cell;
            }
        }
        const size_t prep = here();
        Instr& in = emit(OpCode::ForPrep);
        in.node = &s;
        in.a = state;
        in.dst = counter;
        const size_t body = here();
        m_loops.push_back(Loop{true, false, {}});
        block(s.body);
        Instr& step = emit(OpCode::ForLoop);
        step.node = &s;
        step.a = state;
        step.dst = counter;
        step.target = static_cast<int32_t>(body);
        patch(prep);
        closeLoop();
    }

    void doStatement(DoStmt& s) {
        const size_t top = here();
        std::vector<size_t> leave;
        if (s.condition && s.testFirst)
            leave.push_back(jumpWhen(*s.condition, s.isUntil));
        m_loops.push_back(Loop{false, s.isWhileWend, {}});
        block(s.body);
        // Exit Do of a While...Wend belongs to the Do around it.
        if (s.condition && !s.testFirst)
            leave.push_back(jumpWhen(*s.condition, s.isUntil));
        Instr& back = emit(OpCode::Jump);
        back.target = static_cast<int32_t>(top);
        back.sense = true; // a pass of the loop
        for (size_t at : leave)
            patch(at);
        closeLoop();
    }

    void closeLoop() {
        for (const auto& [at, field] : m_loops.back().exits) {
            Instr& in = m_out->code[at];
            const auto to = static_cast<int32_t>(here());
            (field == 0 ? in.target : field == 1 ? in.exitFor : in.exitDo) = to;
        }
        m_loops.pop_back();
    }

    // The loop an Exit For (or Exit Do) leaves; nullptr: it leaves the procedure.
    Loop* exitTarget(bool isFor) {
        for (auto it = m_loops.rbegin(); it != m_loops.rend(); ++it)
            if (isFor ? it->isFor : (!it->isFor && !it->isWhileWend))
                return &*it;
        return nullptr;
    }

    void exitsOf(size_t at, int field, bool isFor) {
        if (Loop* loop = exitTarget(isFor))
            loop->exits.emplace_back(at, field);
    }

    void exitStatement(Flow kind) {
        if (kind == Flow::ExitFor || kind == Flow::ExitDo) {
            if (Loop* loop = exitTarget(kind == Flow::ExitFor)) {
                loop->exits.emplace_back(here(), 0);
                emit(OpCode::Jump);
                return;
            }
        }
        emit(OpCode::Return);
    }

    Procedure& m_proc;
    std::shared_ptr<RegisterCode> m_out = std::make_shared<RegisterCode>();
    struct Fallback {
        size_t guard;
        size_t resume;
        Operand dst;
        Expr* node;
        const Stmt* stmt;
    };
    std::vector<Loop> m_loops;
    std::vector<Fallback> m_fallbacks;
    struct Speculation {
        size_t first; // the speculated instructions: first..end-1
        size_t end;
        BinaryExpr* node;
        Operand dst;
        int temps;
        int depth;
        const Stmt* stmt;
    };
    std::vector<Speculation> m_speculations;
    bool m_speculating = false;
    bool m_speculationFailed = false;
    const Stmt* m_stmt = nullptr;
    struct DepthScope {
        explicit DepthScope(int& d) : depth(d) { ++depth; }
        ~DepthScope() { --depth; }
        int& depth;
    };
    int m_depth = 0;
    int m_temps = 0;
    int m_maxTemps = 0;
};

} // namespace

namespace {
std::atomic<bool> g_enabled{true};
} // namespace

void setRegisterCodeEnabled(bool enabled) {
    g_enabled = enabled;
}

void compileRegisterCode(Procedure& proc) {
    if (!g_enabled || proc.code || containsOnError(proc.body, 0))
        return;
    proc.code = Compiler(proc).compile();
}

} // namespace vbscript
