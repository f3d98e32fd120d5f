#pragma once

// Instances of classes written in script, and the engine's own small objects (Err, GetRef).

#include "Interpreter.h"
#include "Object.h"

namespace vbscript {

class ScriptObject final : public Object {
public:
    // Creates the instance and runs Class_Initialize.
    static Ref<ScriptObject> create(Interpreter& in, ClassInfo& cls, Ref<Program> program);

    std::u16string typeName() const override { return m_class->name; }
    int findMember(std::u16string_view name) const override { return m_class->findMember(name); }
    Value invoke(Context& context, int memberId, Invoke kind, Args args,
                 const Value* assigned) override;
    const void* memberTableKey() const override { return m_class; }

    Value& field(int index) { return m_fields[static_cast<size_t>(index)]; }
    ClassInfo& classInfo() const { return *m_class; }

protected:
    void lastReleased() noexcept override;

private:
    ScriptObject(Interpreter& in, ClassInfo& cls, Ref<Program> program);
    Interpreter& interpreter() const;

    Ref<InterpreterLink> m_link;
    Ref<Program> m_program;
    ClassInfo* m_class;
    std::vector<Value> m_fields;
    bool m_terminated = false;
};

// The Err object.
class ErrObject final : public HostObject<ErrObject> {
public:
    std::u16string typeName() const override { return u"ErrObject"; }
    std::span<const Member> members() const override;

    void set(const ScriptError& e);
    void clear();
    int32_t number() const { return m_number; }
    const std::u16string& description() const { return m_description; }

private:
    Value getNumber(Context&, Args);
    void setNumber(Context&, Args, const Value& v);
    Value getDescription(Context&, Args);
    void setDescription(Context&, Args, const Value& v);
    Value getSource(Context&, Args);
    void setSource(Context&, Args, const Value& v);
    Value getHelpFile(Context&, Args);
    void setHelpFile(Context&, Args, const Value& v);
    Value getHelpContext(Context&, Args);
    void setHelpContext(Context&, Args, const Value& v);
    Value raise(Context&, Args args);
    Value clearMember(Context&, Args);

    int32_t m_number = 0;
    std::u16string m_description;
    std::u16string m_source;
    std::u16string m_helpFile;
    int32_t m_helpContext = 0;
};

// What GetRef returns: calling its default member calls the procedure.
class ProcedureRef final : public Object {
public:
    ProcedureRef(Interpreter& in, Procedure* proc, Ref<Program> program)
        : m_link(in.link()), m_proc(proc), m_program(std::move(program)) {}
    std::u16string typeName() const override { return u"Object"; }
    int findMember(std::u16string_view) const override { return kNoMember; }
    Value invoke(Context& context, int memberId, Invoke kind, Args args,
                 const Value* assigned) override;

private:
    Ref<InterpreterLink> m_link;
    Procedure* m_proc;
    Ref<Program> m_program;
};

} // namespace vbscript
