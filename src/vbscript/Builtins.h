#pragma once

// The table of built-in functions, constants and creatable classes. Each source file of
// builtins/ and objects/ adds its entries in one registration function:
//
//   // src/vbscript/builtins/Strings.cpp
//   #include "vbscript/Builtins.h"
//   namespace vbscript {
//   namespace {
//   Value len(Context&, Args args) { ... }
//   const BuiltinFunction kFunctions[] = {
//       {u"Len", 1, 1, &len},
//   };
//   } // namespace
//   } // namespace vbscript
//   SCRIVLET_VBS_MODULE(Strings) { registry.addFunctions(vbscript::kFunctions); }
//
// The module's name is the file's base name; ModuleIndex.cpp lists every module, in the order
// they register.

#include "Context.h"
#include "Object.h"
#include "Value.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vbscript {

using BuiltinFn = Value (*)(Context& context, Args args);

struct BuiltinFunction {
    std::u16string_view name;
    uint8_t minArgs = 0;
    uint8_t maxArgs = 0; // kVariadic: any number from minArgs
    BuiltinFn fn = nullptr;
};
inline constexpr uint8_t kVariadic = 255;

// Creates a new instance of a registered class (New RegExp, CreateObject("...")).
using ClassFactory = Ref<Object> (*)(Context& context);

class Registry {
public:
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Names are case-insensitive; a later entry of the same name replaces an earlier one.
    void addFunction(const BuiltinFunction& function);
    void addFunctions(std::span<const BuiltinFunction> functions);
    void addConstant(std::u16string_view name, Value value);
    // `name` is what New and CreateObject look for ("RegExp", "Scripting.Dictionary").
    void addClass(std::u16string_view name, ClassFactory factory);

    const BuiltinFunction* findFunction(std::u16string_view name) const;
    const Value* findConstant(std::u16string_view name) const;
    ClassFactory findClass(std::u16string_view name) const;

private:
    struct Tables;
    std::unique_ptr<Tables> m_tables;
};

// The registry with every module's entries, built on first use.
const Registry& builtinRegistry();

} // namespace vbscript

#define SCRIVLET_VBS_MODULE(name) void scrivlet_vbs_module_##name(::vbscript::Registry& registry)
