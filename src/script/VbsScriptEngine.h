#pragma once

#include "script/ScriptEngine.h"

#include <functional>
#include <memory>

namespace vbscript {
class Engine;
}

namespace script {

// Our VBScript engine behind the evaluator's interface.
class VbsScriptEngine final : public ScriptEngine {
public:
    VbsScriptEngine();
    ~VbsScriptEngine() override;

    bool setLanguage(const QString& language) override;
    void reset() override;
    bool addCode(const QString& code) override;
    bool addObject(const QString& name, vbscript::Ref<vbscript::Object> object) override;
    std::optional<QString> evalToText(const QString& expression) override;
    bool executeStatement(const QString& statement) override;
    ScriptErrorInfo lastError() const override;
    bool definesName(const QString& name) const override;
    std::optional<QStringList> unknownNames(const QString& code) const override;
    bool isCalculation(const QString& code) const override;
    bool isNameOrNothingBeforeComment(const QString& code) const override;

    // Asked now and then while a script runs; true stops it with error 18.
    void setInterruptCheck(std::function<bool()> check);
    void setRunWatcher(RunWatcher* watcher) override;

private:
    class WatchedRun;
    std::unique_ptr<vbscript::Engine> m_engine;
    std::optional<ScriptErrorInfo> m_conversionError; // an error of CStr after a good eval
    RunWatcher* m_watcher = nullptr;
    int m_runDepth = 0; // a script's own boxes may start runs inside a run
};

} // namespace script
