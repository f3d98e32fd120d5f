#include "script/VbsScriptEngine.h"

#include "vbscript/Conversions.h"
#include "vbscript/Engine.h"
#include "vbscript/ScriptError.h"

namespace script {

namespace {

std::u16string_view view(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())};
}

} // namespace

VbsScriptEngine::VbsScriptEngine() : m_engine(std::make_unique<vbscript::Engine>()) {}

VbsScriptEngine::~VbsScriptEngine() = default;

bool VbsScriptEngine::setLanguage(const QString& language) {
    m_conversionError.reset();
    return m_engine->setLanguage(view(language));
}

void VbsScriptEngine::reset() {
    m_conversionError.reset();
    m_engine->reset();
}

bool VbsScriptEngine::addCode(const QString& code) {
    m_conversionError.reset();
    return m_engine->addCode(view(code));
}

bool VbsScriptEngine::addObject(const QString& name, vbscript::Ref<vbscript::Object> object) {
    m_conversionError.reset();
    return m_engine->addObject(view(name), std::move(object), false);
}

std::optional<QString> VbsScriptEngine::evalToText(const QString& expression) {
    m_conversionError.reset();
    const std::optional<vbscript::Value> value = m_engine->eval(view(expression));
    if (!value) {
        return std::nullopt;
    }
    try {
        return QString::fromStdU16String(vbscript::toString(*value));
    } catch (const vbscript::ScriptError& e) {
        // An array, Null or an object without a default value has no text.
        m_conversionError = ScriptErrorInfo{e.number, QString::fromStdU16String(e.description), 0,
                                            0, QString::fromStdU16String(e.source)};
        return std::nullopt;
    }
}

bool VbsScriptEngine::executeStatement(const QString& statement) {
    m_conversionError.reset();
    return m_engine->executeStatement(view(statement));
}

ScriptErrorInfo VbsScriptEngine::lastError() const {
    if (m_conversionError) {
        return *m_conversionError;
    }
    const vbscript::ErrorInfo& e = m_engine->lastError();
    return {e.number, QString::fromStdU16String(e.description), e.line, e.column,
            QString::fromStdU16String(e.source)};
}

void VbsScriptEngine::setInterruptCheck(std::function<bool()> check) {
    m_engine->setInterruptCheck(std::move(check));
}

} // namespace script
