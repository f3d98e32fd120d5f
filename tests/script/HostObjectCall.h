#pragma once

#include "vbscript/Context.h"
#include "vbscript/Object.h"
#include "vbscript/ScriptError.h"

#include <vector>

// Calls members of host objects the way the engine does, without an engine.
class NoEngineContext final : public vbscript::Context {
public:
    vbscript::Value call(const vbscript::Value&, vbscript::Args) override {
        vbscript::raiseError(vbscript::err::NoSuchMember);
    }
    vbscript::Value createObject(std::u16string_view) override {
        vbscript::raiseError(vbscript::err::CannotCreateObject);
    }
    vbscript::RandomState& random() override { return m_random; }
    void checkInterrupt() override {}

private:
    vbscript::RandomState m_random;
};

inline vbscript::Value callMember(vbscript::Object& object, std::u16string_view name,
                                  std::vector<vbscript::Value> args = {}) {
    NoEngineContext context;
    std::vector<vbscript::Value*> pointers;
    for (auto& a : args) {
        pointers.push_back(&a);
    }
    const int id = object.findMember(name);
    return object.invoke(context, id, vbscript::Invoke::Get,
                         vbscript::Args(pointers.data(), pointers.size()), nullptr);
}

// The error number a call raises, 0 when it raises none.
inline int errorOfCall(vbscript::Object& object, std::u16string_view name,
                       std::vector<vbscript::Value> args = {}) {
    try {
        callMember(object, name, std::move(args));
    } catch (const vbscript::ScriptError& e) {
        return e.number;
    }
    return 0;
}
