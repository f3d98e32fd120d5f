#include "ScriptObject.h"

#include "Conversions.h"

namespace vbscript {

// ---- script class instances ----

ScriptObject::ScriptObject(Interpreter& in, ClassInfo& cls, Ref<Program> program)
    : m_link(in.link()), m_program(std::move(program)), m_class(&cls) {
    m_fields.resize(cls.fields.size());
    for (size_t i = 0; i < cls.fields.size(); ++i) {
        const FieldDecl& f = cls.fields[i];
        if (f.isArray) {
            std::vector<ArrayBound> bounds;
            for (int32_t upper : f.dims)
                bounds.push_back(ArrayBound{0, upper + 1});
            auto a = makeRef<ArrayData>(std::move(bounds));
            a->fixedSize = !f.dims.empty();
            m_fields[i] = Value::array(std::move(a));
        }
    }
}

Ref<ScriptObject> ScriptObject::create(Interpreter& in, ClassInfo& cls, Ref<Program> program) {
    Ref<ScriptObject> object(new ScriptObject(in, cls, std::move(program)));
    if (cls.initialize)
        in.callProcedure(cls.initialize, object.get(), nullptr, 0);
    return object;
}

Interpreter& ScriptObject::interpreter() const {
    if (!m_link->interpreter)
        raiseError(err::ObjectRequired);
    return *m_link->interpreter;
}

Value ScriptObject::invoke(Context&, int memberId, Invoke kind, Args args, const Value* assigned) {
    Interpreter& in = interpreter();
    if (memberId == kDefaultMember)
        memberId = m_class->defaultMember;
    if (memberId < 0 || static_cast<size_t>(memberId) >= m_class->members.size())
        raiseError(err::NoSuchMember);
    const ClassMember& m = m_class->members[static_cast<size_t>(memberId)];
    if (!m.isPublic) {
        const Object* me = in.currentMe();
        const auto* caller = dynamic_cast<const ScriptObject*>(me);
        if (!caller || caller->m_class != m_class)
            raiseError(err::NoSuchMember);
    }
    Ref<ScriptObject> keep(this);
    if (m.field >= 0) {
        Value& field = m_fields[static_cast<size_t>(m.field)];
        if (kind == Invoke::Let || kind == Invoke::Set) {
            if (args.empty()) {
                if (kind == Invoke::Set && !assigned->isObject())
                    raiseError(err::ObjectRequired);
                field = kind == Invoke::Let ? dereference(*assigned) : *assigned;
            } else {
                assignWithArguments(in, field, args, *assigned, kind == Invoke::Set);
            }
            return Value();
        }
        return applyArguments(in, field, args);
    }
    if (kind == Invoke::Get || kind == Invoke::Call) {
        if (!m.method)
            raiseError(err::NoSuchMember);
        return in.callProcedure(m.method, this, args.data(), args.size());
    }
    Procedure* setter = kind == Invoke::Set ? m.set : m.let;
    if (!setter)
        raiseError(err::NoSuchMember);
    std::vector<Value*> ptrs(args.size() + 1);
    for (size_t i = 0; i < args.size(); ++i)
        ptrs[i] = &args.ref(i);
    Value value = kind == Invoke::Let ? dereference(*assigned) : *assigned;
    ptrs[args.size()] = &value;
    in.callProcedure(setter, this, ptrs.data(), ptrs.size());
    return Value();
}

void ScriptObject::lastReleased() noexcept {
    Interpreter* in = m_link->interpreter;
    if (!in || !m_class->terminate || m_terminated)
        return;
    m_terminated = true;
    try {
        // The instance is alive again for the terminator; it is deleted afterwards unless
        // the terminator kept a reference.
        addRef();
        in->callProcedure(m_class->terminate, this, nullptr, 0);
        dropRef();
    } catch (...) {
        dropRef();
    }
}

// ---- Err ----

std::span<const ErrObject::Member> ErrObject::members() const {
    static const Member table[] = {
        {u"Number", 0, 0, &ErrObject::getNumber, &ErrObject::setNumber, true},
        {u"Description", 0, 0, &ErrObject::getDescription, &ErrObject::setDescription},
        {u"Source", 0, 0, &ErrObject::getSource, &ErrObject::setSource},
        {u"HelpFile", 0, 0, &ErrObject::getHelpFile, &ErrObject::setHelpFile},
        {u"HelpContext", 0, 0, &ErrObject::getHelpContext, &ErrObject::setHelpContext},
        {u"Raise", 1, 5, &ErrObject::raise, nullptr},
        {u"Clear", 0, 0, &ErrObject::clearMember, nullptr},
    };
    return table;
}

void ErrObject::set(const ScriptError& e) {
    m_number = e.number;
    m_description = e.description;
    m_source = e.source;
    m_helpFile = e.helpFile;
    m_helpContext = e.helpContext;
}

void ErrObject::clear() {
    m_number = 0;
    m_description.clear();
    m_source.clear();
    m_helpFile.clear();
    m_helpContext = 0;
}

Value ErrObject::getNumber(Context&, Args) {
    return Value::longValue(m_number);
}
void ErrObject::setNumber(Context&, Args, const Value& v) {
    m_number = toLong(v);
}
Value ErrObject::getDescription(Context&, Args) {
    return Value::string(m_description);
}
void ErrObject::setDescription(Context&, Args, const Value& v) {
    m_description = toString(v);
}
Value ErrObject::getSource(Context&, Args) {
    return Value::string(m_source);
}
void ErrObject::setSource(Context&, Args, const Value& v) {
    m_source = toString(v);
}
Value ErrObject::getHelpFile(Context&, Args) {
    return Value::string(m_helpFile);
}
void ErrObject::setHelpFile(Context&, Args, const Value& v) {
    m_helpFile = toString(v);
}
Value ErrObject::getHelpContext(Context&, Args) {
    return Value::longValue(m_helpContext);
}
void ErrObject::setHelpContext(Context&, Args, const Value& v) {
    m_helpContext = toLong(v);
}

Value ErrObject::raise(Context&, Args args) {
    const int32_t number = toLong(args[0]);
    if (number == 0)
        raiseError(err::InvalidCall);
    std::u16string source = args.isMissing(1) ? std::u16string(kRuntimeSource) : toString(args[1]);
    std::u16string description =
        args.isMissing(2) ? raisedErrorDescription(number) : toString(args[2]);
    ScriptError e(number, std::move(description), std::move(source));
    if (!args.isMissing(3))
        e.helpFile = toString(args[3]);
    if (!args.isMissing(4))
        e.helpContext = toLong(args[4]);
    throw e;
}

Value ErrObject::clearMember(Context&, Args) {
    clear();
    return Value();
}

// ---- GetRef ----

Value ProcedureRef::invoke(Context&, int memberId, Invoke kind, Args args, const Value*) {
    Interpreter* in = m_link->interpreter;
    if (!in)
        raiseError(err::ObjectRequired);
    if (memberId != kDefaultMember || kind == Invoke::Let || kind == Invoke::Set)
        raiseError(err::NoSuchMember);
    return in->callProcedure(m_proc, nullptr, args.data(), args.size());
}

} // namespace vbscript
