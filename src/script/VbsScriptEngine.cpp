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

// The outermost run of the engine, reported to the watcher.
class VbsScriptEngine::WatchedRun {
public:
    explicit WatchedRun(VbsScriptEngine& engine) : m_engine(engine) {
        if (m_engine.m_watcher && m_engine.m_runDepth++ == 0)
            m_engine.m_watcher->runStarted();
    }
    ~WatchedRun() {
        if (m_engine.m_watcher && --m_engine.m_runDepth == 0)
            m_engine.m_watcher->runEnded();
    }
    WatchedRun(const WatchedRun&) = delete;
    WatchedRun& operator=(const WatchedRun&) = delete;

private:
    VbsScriptEngine& m_engine;
};

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
    const WatchedRun run(*this);
    return m_engine->addCode(view(code));
}

bool VbsScriptEngine::addObject(const QString& name, vbscript::Ref<vbscript::Object> object) {
    m_conversionError.reset();
    return m_engine->addObject(view(name), std::move(object), false);
}

std::optional<QString> VbsScriptEngine::evalToText(const QString& expression) {
    m_conversionError.reset();
    const WatchedRun run(*this);
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
    const WatchedRun run(*this);
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

bool VbsScriptEngine::definesName(const QString& name) const {
    return m_engine->definesName(view(name));
}

std::optional<QStringList> VbsScriptEngine::unknownNames(const QString& code) const {
    const auto names = m_engine->unknownNames(view(code));
    if (!names)
        return std::nullopt;
    QStringList list;
    for (const std::u16string& name : *names)
        list.append(QString::fromStdU16String(name));
    return list;
}

bool VbsScriptEngine::isCalculation(const QString& code) const {
    return m_engine->isCalculation(view(code));
}

bool VbsScriptEngine::isNameOrNothingBeforeComment(const QString& code) const {
    return vbscript::Engine::isNameOrNothingBeforeComment(view(code));
}

void VbsScriptEngine::setInterruptCheck(std::function<bool()> check) {
    m_engine->setInterruptCheck(std::move(check));
}

void VbsScriptEngine::setRunWatcher(RunWatcher* watcher) {
    m_watcher = watcher;
    m_runDepth = 0;
    if (watcher)
        m_engine->setInterruptCheck([watcher] { return watcher->stopRequested(); });
    else
        m_engine->setInterruptCheck({});
}

} // namespace script
