#pragma once

#include "engine/DispatcherPorts.h"
#include "script/ScriptEngine.h"

#include <QObject>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace script {

// The program's one script evaluator: evaluates a line's expression to text or runs a
// statement, loads the user's script file and offers the host objects to scripts under fixed
// names. Script errors go to the one error handler (the dispatcher's pEval_Error).
class CEval : public QObject, public engine::IEvaluator {
    Q_OBJECT

public:
    // With our VBScript engine and the language "VBScript".
    explicit CEval(QObject* parent = nullptr);
    // With the given engine; a null engine is an evaluator that cannot run anything.
    explicit CEval(std::unique_ptr<ScriptEngine> engine, QObject* parent = nullptr);
    ~CEval() override;

    bool Executable() const;
    QString Language() const { return m_languageName; }
    void setLanguage(const QString& newLanguage);
    QString AddCodeFile() const { return m_codeFilePath; }
    // Sets the path and reloads; the path reads back empty when loading failed.
    void setAddCodeFile(const QString& newAddCodeFile);
    QString Result() const override { return m_lastResult; }
    bool RunCode(const QString& commandString, bool isRaiseError) override;
    // Registers a host object under a name (duplicates allowed) and reloads.
    bool Add(const QString& name, vbscript::Ref<vbscript::Object> obj);

    void setErrorHandler(ErrorHandler handler) override { m_errorHandler = std::move(handler); }
    bool IsScriptWord(const QString& word) const override;
    bool UsesUnknownNameBeyondAscii(const QString& code) const override;
    bool IsCalculation(const QString& code) const override;
    bool IsWordBeforeComment(const QString& code) const override;
    // Lets the host stop runs that take too long (null for none).
    void setRunWatcher(RunWatcher* watcher);

private:
    bool Reload();
    bool LoadCodeFile(const QString& path);
    void raiseError(const ScriptErrorInfo& error);

    std::unique_ptr<ScriptEngine> m_scriptEngine;
    QString m_languageName;
    QString m_codeFilePath;
    std::vector<std::pair<QString, vbscript::Ref<vbscript::Object>>> m_namedObjects;
    QString m_lastResult;
    ErrorHandler m_errorHandler;
};

} // namespace script
