#include "Builtins.h"

#include "Text.h"

#include <unordered_map>

namespace vbscript {

void registerAllModules(Registry& registry); // ModuleIndex.cpp

struct Registry::Tables {
    std::unordered_map<std::u16string, BuiltinFunction> functions;
    std::unordered_map<std::u16string, Value> constants;
    std::unordered_map<std::u16string, ClassFactory> classes;
};

Registry::Registry() : m_tables(std::make_unique<Tables>()) {}
Registry::~Registry() = default;

void Registry::addFunction(const BuiltinFunction& function) {
    m_tables->functions[foldCase(function.name)] = function;
}

void Registry::addFunctions(std::span<const BuiltinFunction> functions) {
    for (const auto& f : functions)
        addFunction(f);
}

void Registry::addConstant(std::u16string_view name, Value value) {
    m_tables->constants[foldCase(name)] = std::move(value);
}

void Registry::addClass(std::u16string_view name, ClassFactory factory) {
    m_tables->classes[foldCase(name)] = factory;
}

const BuiltinFunction* Registry::findFunction(std::u16string_view name) const {
    const auto it = m_tables->functions.find(foldCase(name));
    return it == m_tables->functions.end() ? nullptr : &it->second;
}

const Value* Registry::findConstant(std::u16string_view name) const {
    const auto it = m_tables->constants.find(foldCase(name));
    return it == m_tables->constants.end() ? nullptr : &it->second;
}

ClassFactory Registry::findClass(std::u16string_view name) const {
    const auto it = m_tables->classes.find(foldCase(name));
    return it == m_tables->classes.end() ? nullptr : it->second;
}

const Registry& builtinRegistry() {
    static const Registry* registry = [] {
        auto* r = new Registry;
        registerAllModules(*r);
        return r;
    }();
    return *registry;
}

} // namespace vbscript
