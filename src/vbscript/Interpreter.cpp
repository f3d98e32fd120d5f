#include "Interpreter.h"
#include "RegisterCode.h"

#include "Conversions.h"
#include "Nodes.h"
#include "Operators.h"
#include "Parser.h"
#include "ScriptObject.h"
#include "StackGuard.h"
#include "Text.h"

namespace vbscript {

namespace {
thread_local Context* t_context = nullptr;
} // namespace

Context* currentContext() {
    return t_context;
}

ContextScope::ContextScope(Context* context) : m_saved(t_context) {
    t_context = context;
}

ContextScope::~ContextScope() {
    t_context = m_saved;
}

int ClassInfo::findMember(std::u16string_view name) const {
    const auto it = memberIndex.find(foldCase(name));
    return it == memberIndex.end() ? kNoMember : it->second;
}

void Expr::assign(Frame&, Value, bool) {
    raiseError(err::IllegalAssignment);
}

bool Expr::condition(Frame& f) {
    return ops::isTrue(eval(f));
}

// ---- arguments ----

ArgBuffer::ArgBuffer(Frame& f, const ExprList& exprs, bool byReference) : m_count(exprs.size()) {
    checkStack();
    if (m_count <= kInline) {
        m_temps = m_inlineTemps;
        m_ptrs = m_inlinePtrs;
    } else {
        m_heapTemps = std::make_unique<Value[]>(m_count + 1);
        m_heapPtrs = std::make_unique<Value*[]>(m_count + 1);
        m_temps = m_heapTemps.get();
        m_ptrs = m_heapPtrs.get();
    }
    for (size_t i = 0; i < m_count; ++i) {
        Expr* e = exprs[i].get();
        if (!e) {
            m_temps[i] = Value::missing();
            m_ptrs[i] = &m_temps[i];
            continue;
        }
        if (byReference && e->mayReference) {
            Ref<ArrayData> locked;
            if (Value* ref = e->reference(f, &locked)) {
                if (locked) {
                    ++locked->locks;
                    m_locked.push_back(std::move(locked));
                }
                m_ptrs[i] = ref;
                continue;
            }
        }
        m_temps[i] = e->eval(f);
        m_ptrs[i] = &m_temps[i];
    }
}

ArgBuffer::~ArgBuffer() {
    for (auto& a : m_locked)
        --a->locks;
}

void ArgBuffer::append(Value v) {
    if (m_count < kInline + 1 && m_temps == m_inlineTemps) {
        m_temps[m_count] = std::move(v);
        m_ptrs[m_count] = &m_temps[m_count];
        ++m_count;
        return;
    }
    if (m_heapTemps && m_temps == m_heapTemps.get()) {
        // Allocated with one spare place.
        m_temps[m_count] = std::move(v);
        m_ptrs[m_count] = &m_temps[m_count];
        ++m_count;
        return;
    }
    auto temps = std::make_unique<Value[]>(m_count + 2);
    auto ptrs = std::make_unique<Value*[]>(m_count + 2);
    for (size_t i = 0; i < m_count; ++i) {
        if (m_ptrs[i] == &m_temps[i]) {
            temps[i] = std::move(m_temps[i]);
            ptrs[i] = &temps[i];
        } else {
            ptrs[i] = m_ptrs[i];
        }
    }
    temps[m_count] = std::move(v);
    ptrs[m_count] = &temps[m_count];
    ++m_count;
    m_heapTemps = std::move(temps);
    m_heapPtrs = std::move(ptrs);
    m_temps = m_heapTemps.get();
    m_ptrs = m_heapPtrs.get();
}

Value& arrayElement(ArrayData& array, Args args) {
    int32_t inlineIdx[8];
    std::vector<int32_t> heapIdx;
    int32_t* idx = inlineIdx;
    if (args.size() > 8) {
        heapIdx.resize(args.size());
        idx = heapIdx.data();
    }
    for (size_t i = 0; i < args.size(); ++i) {
        const Value& a = args[i];
        if (a.type() == VarType::Integer)
            idx[i] = a.asInteger();
        else if (a.type() == VarType::Long)
            idx[i] = a.asLong();
        else if (a.isMissing() || a.isNull())
            raiseError(err::TypeMismatch);
        else
            idx[i] = toLong(a);
    }
    return array.at(idx, static_cast<int>(args.size()));
}

Value applyArguments(Interpreter& in, const Value& v, Args args) {
    if (v.isArray()) {
        if (args.empty())
            return v;
        return arrayElement(*v.asArray(), args);
    }
    if (args.empty())
        return v;
    if (v.isObject()) {
        if (v.isNothing())
            raiseError(err::ObjectNotSet);
        return v.asObject()->invoke(in, kDefaultMember, Invoke::Get, args, nullptr);
    }
    raiseError(err::TypeMismatch);
}

void assignWithArguments(Interpreter& in, Value& target, Args args, Value value, bool isSet) {
    if (target.isArray()) {
        ArrayData& a = target.mutableArray();
        arrayElement(a, args) = std::move(value);
        return;
    }
    if (target.isObject() && !target.isNothing()) {
        Ref<Object> keep(target.asObject());
        keep->invoke(in, kDefaultMember, isSet ? Invoke::Set : Invoke::Let, args, &value);
        return;
    }
    if (target.isNothing())
        raiseError(err::ObjectNotSet);
    raiseError(err::TypeMismatch);
}

// ---- interpreter ----

Interpreter::Interpreter() : m_err(makeRef<ErrObject>()), m_link(makeRef<InterpreterLink>()) {
    m_link->interpreter = this;
    GlobalCell* err = cell(u"Err", true);
    err->value = Value::object(m_err);
    err->setDeclared();
    err->setConst();
}

Interpreter::~Interpreter() {
    m_link->interpreter = nullptr;
    // Globals go before the programs their objects' code lives in.
    for (auto& c : m_cells)
        c.value = Value();
}

GlobalCell* Interpreter::cell(std::u16string_view name, bool create) {
    std::u16string key = foldCase(name);
    const auto it = m_cellIndex.find(key);
    if (it != m_cellIndex.end())
        return it->second;
    if (!create)
        return nullptr;
    GlobalCell& c = m_cells.emplace_back();
    c.name = std::u16string(name);
    m_cellIndex.emplace(std::move(key), &c);
    return &c;
}

ClassInfo* Interpreter::findClass(std::u16string_view name) const {
    const auto it = m_classes.find(foldCase(name));
    return it == m_classes.end() ? nullptr : it->second;
}

Procedure* Interpreter::findProcedure(std::u16string_view name) const {
    const auto it = m_cellIndex.find(foldCase(name));
    return it == m_cellIndex.end() ? nullptr : it->second->proc;
}

void Interpreter::addNamedObject(std::u16string_view name, Ref<Object> object, bool membersGlobal) {
    GlobalCell* c = cell(name, true);
    c->value = Value::object(object);
    c->setProcedure(nullptr);
    c->setDeclared();
    c->setConst();
    if (membersGlobal && object)
        m_globalMemberObjects.push_back(object);
}

void Interpreter::checkInterrupt() {
    if (m_interrupt && m_interrupt()) {
        m_interrupted = true;
        raiseError(err::UserInterrupt);
    }
}

void Interpreter::recordError(const ScriptError& e) {
    m_err->set(e);
}

bool Interpreter::resumesAfter(ScriptError& e, const Stmt& statement, const Frame& f) {
    if (!e.line) {
        e.line = statement.line;
        e.column = statement.column;
    }
    if (!f.resumeNext || m_interrupted)
        return false;
    recordError(e);
    return true;
}

Value Interpreter::callBuiltin(const BuiltinFunction* fn, Value* const* args, size_t count) {
    detail::checkArgCount(count, fn->minArgs, fn->maxArgs);
    return fn->fn(*this, Args(args, count));
}

Value Interpreter::invokeMember(Object* object, std::u16string_view name, Invoke kind, Args args,
                                const Value* assigned) {
    const int id = object->findMember(name);
    if (id == kNoMember)
        raiseError(err::NoSuchMember);
    return object->invoke(*this, id, kind, args, assigned);
}

Value Interpreter::call(const Value& callee, Args args) {
    if (callee.isObject()) {
        if (callee.isNothing())
            raiseError(err::ObjectNotSet);
        Ref<Object> keep(callee.asObject());
        return keep->invoke(*this, kDefaultMember, Invoke::Get, args, nullptr);
    }
    return applyArguments(*this, callee, args);
}

Value Interpreter::createObject(std::u16string_view className) {
    if (ClassInfo* cls = findClass(className))
        return Value::object(ScriptObject::create(*this, *cls, Ref<Program>(cls->program)));
    if (ClassFactory factory = builtinRegistry().findClass(className))
        return Value::object(factory(*this));
    raiseError(err::ClassNotDefined);
}

// ---- compiling ----

namespace {

bool isLocalOf(const Procedure& proc, std::u16string_view name) {
    for (const auto& local : proc.localNames)
        if (equalsIgnoreCase(local, name))
            return true;
    return false;
}

} // namespace

void Interpreter::bind(Program& program, Frame* outer) {
    // Checked before anything changes: a failed unit must leave no cell pointing into it.
    for (auto& proc : program.procedures) {
        if (proc->owner)
            continue;
        const GlobalCell* c = cell(proc->name, false);
        if (c && c->isConst)
            raiseError(1041);
        for (const auto& constant : program.topLevel->constants)
            if (equalsIgnoreCase(constant.first, proc->name))
                raiseError(1041);
    }
    for (auto& cls : program.classes) {
        cls->program = &program;
        m_classes[foldCase(cls->name)] = cls.get();
    }
    for (auto& proc : program.procedures) {
        if (proc->owner)
            continue;
        GlobalCell* c = cell(proc->name, true);
        c->setProcedure(proc.get());
        c->value = Value();
        c->setDeclared();
    }
    for (const auto& name : program.globalNames) {
        // Execute inside a procedure: a Dim of one of its own names is that local, not a
        // new global that would hide it from the procedure's code.
        if (outer && outer->proc->kind != ProcKind::TopLevel && isLocalOf(*outer->proc, name))
            continue;
        GlobalCell* c = cell(name, true);
        c->setDeclared();
    }
    for (const auto& [name, value] : program.topLevel->constants) {
        GlobalCell* c = cell(name, true);
        c->value = value;
        c->setDeclared();
        c->setConst();
    }
    bindProcedure(program, *program.topLevel, outer);
    for (auto& proc : program.procedures)
        bindProcedure(program, *proc, nullptr);
    compileRegisterCode(*program.topLevel);
    for (auto& proc : program.procedures)
        compileRegisterCode(*proc);
}

void Interpreter::bindProcedure(Program& program, Procedure& proc, Frame* outer) {
    const auto refs = proc.refs; // binding may add implicit locals, never refs
    // A ReDim of an unknown name declares a local. Any other undeclared name gets a hidden slot
    // too, but every use of it must still look for the global at run time: that slot never
    // counts as a declared local.
    for (NameRef* ref : refs)
        if (ref->declareLocal)
            bindName(program, proc, *ref, outer, proc.localNames.size());
    const size_t declared = proc.localNames.size();
    for (NameRef* ref : refs)
        if (!ref->declareLocal)
            bindName(program, proc, *ref, outer, declared);
}

namespace {

int findLocal(const Procedure& proc, const NameRef& ref, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (static_cast<int>(i) == proc.resultSlot && ref.isCallee)
            continue;
        if (equalsIgnoreCase(proc.localNames[i], ref.name))
            return static_cast<int>(i);
    }
    return -1;
}

const Value* findConstant(const Procedure& proc, std::u16string_view name) {
    for (const auto& [n, v] : proc.constants)
        if (equalsIgnoreCase(n, name))
            return &v;
    return nullptr;
}

} // namespace

void Interpreter::bindName(Program& program, Procedure& proc, NameRef& ref, Frame* outer,
                           size_t declaredLocals) {
    ref.strict = program.optionExplicit;
    const bool inProcedure = proc.kind != ProcKind::TopLevel;
    if (const Value* c = findConstant(proc, ref.name); c && inProcedure) {
        ref.binding = Binding::Constant;
        ref.constant = *c;
        return;
    }
    if (inProcedure) {
        const int slot = findLocal(proc, ref, declaredLocals);
        if (slot >= 0) {
            if (slot < static_cast<int>(proc.params.size())) {
                ref.binding = Binding::Param;
            } else {
                ref.binding = Binding::Local;
            }
            ref.slot = slot;
            return;
        }
    } else {
        // Top-level hidden slots (With) never match a name: they start with a blank.
        if (outer && outer->proc->kind != ProcKind::TopLevel) {
            Procedure& op = *outer->proc;
            if (const Value* c = findConstant(op, ref.name)) {
                ref.binding = Binding::Constant;
                ref.constant = *c;
                return;
            }
            const int slot = findLocal(op, ref, op.localNames.size());
            if (slot >= 0) {
                ref.binding = slot < static_cast<int>(op.params.size()) ? Binding::OuterParam
                                                                        : Binding::Outer;
                ref.slot = slot;
                return;
            }
        }
    }
    const ClassInfo* cls = proc.owner;
    if (!cls && outer && outer->proc)
        cls = outer->proc->owner;
    if (cls) {
        const int m = cls->findMember(ref.name);
        if (m >= 0) {
            const ClassMember& member = cls->members[static_cast<size_t>(m)];
            if (member.field >= 0) {
                ref.binding = Binding::Field;
                ref.slot = member.field;
            } else {
                ref.binding = Binding::Method;
                ref.member = m;
            }
            return;
        }
    }
    if (const Value* c = findConstant(*program.topLevel, ref.name)) {
        ref.binding = Binding::Constant;
        ref.constant = *c;
        return;
    }
    GlobalCell* c = cell(ref.name, false);
    if (!c || (!c->declared && !c->proc && !c->builtin)) {
        const Registry& registry = builtinRegistry();
        if (const BuiltinFunction* fn = registry.findFunction(ref.name)) {
            c = cell(ref.name, true);
            c->setBuiltin(fn);
        } else if (const Value* k = registry.findConstant(ref.name)) {
            ref.binding = Binding::Constant;
            ref.constant = *k;
            return;
        }
    }
    if (c && (c->declared || c->proc || c->builtin)) {
        ref.binding = Binding::Global;
        ref.cell = c;
        return;
    }
    c = cell(ref.name, true);
    ref.cell = c;
    if (inProcedure) {
        ref.binding = ref.declareLocal ? Binding::Local : Binding::Dynamic;
        // One implicit local per name and procedure.
        for (size_t i = proc.params.size(); i < proc.localNames.size(); ++i) {
            if (equalsIgnoreCase(proc.localNames[i], ref.name) &&
                static_cast<int>(i) != proc.resultSlot) {
                ref.slot = static_cast<int>(i);
                return;
            }
        }
        ref.slot = proc.addLocal(ref.name);
        return;
    }
    ref.binding = Binding::Global;
}

void Interpreter::runProgram(std::u16string_view source, Frame* outer) {
    Ref<Program> program = parseProgram(source);
    bind(*program, outer);
    // Code that defines nothing is dropped after its run; procedures and classes stay.
    if (!program->procedures.empty() || !program->classes.empty())
        m_programs.push_back(program);
    Procedure& top = *program->topLevel;
    std::vector<Value> locals(static_cast<size_t>(top.frameSlots()));
    Frame f{*this, &top, locals.data(), nullptr, outer ? outer->me : nullptr, outer, false};
    if (top.code)
        runRegisterCode(*top.code, f);
    else
        runBlock(top.body, f);
}

Value Interpreter::evaluate(std::u16string_view expression, Frame* outer) {
    Ref<Program> program = parseExpression(expression);
    bind(*program, outer);
    Procedure& top = *program->topLevel;
    std::vector<Value> locals(static_cast<size_t>(top.localCount()));
    Frame f{*this, &top, locals.data(), nullptr, outer ? outer->me : nullptr, outer, false};
    return program->expression->eval(f);
}

} // namespace vbscript
