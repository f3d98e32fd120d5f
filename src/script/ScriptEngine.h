#pragma once

#include "vbscript/Object.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace script {

// The last error a script engine reported. Number 0 means none.
struct ScriptErrorInfo {
    long number = 0;
    QString description;
    int line = 0;   // 1-based; 0 when unknown
    int column = 0; // 1-based; 0 when unknown
    QString source;
};

// Watches the runs of a script engine for its host: told when a run (an evaluation, a statement,
// the script file) begins and ends, asked now and then in between whether the user wants it
// stopped. A stopped run ends with error 18.
class RunWatcher {
public:
    virtual ~RunWatcher() = default;
    virtual void runStarted() = 0;
    virtual bool stopRequested() = 0;
    virtual void runEnded() = 0;
};

// What CEval asks of a script engine. VbsScriptEngine puts our VBScript engine behind it; tests
// use a scripted fake.
class ScriptEngine {
public:
    virtual ~ScriptEngine() = default;

    // False when the language was not accepted; lastError() then tells why (380 for a language
    // the engine does not know).
    virtual bool setLanguage(const QString& language) = 0;
    // Drops all code, globals and named objects.
    virtual void reset() = 0;
    virtual bool addCode(const QString& code) = 0;
    // The object's members are reached through its name only (VBA.Format, Clipboard.SetText).
    virtual bool addObject(const QString& name, vbscript::Ref<vbscript::Object> object) = 0;
    // Evaluates an expression and converts its value to text as CStr does. Nullopt on an error,
    // including one of the conversion (an array, Null).
    virtual std::optional<QString> evalToText(const QString& expression) = 0;
    virtual bool executeStatement(const QString& statement) = 0;
    virtual ScriptErrorInfo lastError() const = 0;
    // Whether scripts know the name: keyword, built-in, host object or a global of the code.
    virtual bool definesName(const QString& name) const = 0;
    // The names the code refers to that definesName does not know (members after a dot aside);
    // nullopt when the code is not made of valid tokens.
    virtual std::optional<QStringList> unknownNames(const QString& code) const = 0;
    // Whether the code is a calculation: numbers, operators and calls of built-in functions only.
    virtual bool isCalculation(const QString& code) const {
        (void)code;
        return false;
    }
    // Whether the code is a comment with nothing or one name alone before it ("Don't forget").
    virtual bool isNameOrNothingBeforeComment(const QString& code) const {
        (void)code;
        return false;
    }
    // The watcher of every later run (null for none); it must outlive the engine or be unset.
    virtual void setRunWatcher(RunWatcher* watcher) { (void)watcher; }
};

} // namespace script
