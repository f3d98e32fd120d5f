#pragma once

#include "script/ScriptEngine.h"

#include <QHash>
#include <QStringList>

// A script engine whose answers the test writes down, and which records what it was asked.
class FakeScriptEngine final : public script::ScriptEngine {
public:
    // Expressions with a value (text as CStr gives it); other expressions fail with evalError.
    QHash<QString, QString> values;
    // Statements that run; others fail with statementError.
    QStringList goodStatements;
    // Code that compiles; other code fails with a syntax error.
    QStringList goodCode;
    script::ScriptErrorInfo evalError{1002, QStringLiteral("構文エラーです。")};
    script::ScriptErrorInfo statementError{13, QStringLiteral("型が一致しません。")};
    long languageError = 0; // error of setLanguage; 0 accepts the language
    QString failingObject;  // addObject fails for this name
    QStringList log;        // "reset", "code:<text>", "object:<name>", "eval:..", "exec:.."

    bool setLanguage(const QString&) override {
        m_error = {languageError, QStringLiteral("error")};
        return languageError == 0;
    }
    void reset() override {
        log << QStringLiteral("reset");
        m_error = {};
    }
    bool addCode(const QString& code) override {
        log << QStringLiteral("code:") + code;
        const bool ok = goodCode.contains(code);
        m_error = ok ? script::ScriptErrorInfo{} : evalError;
        return ok;
    }
    bool addObject(const QString& name, vbscript::Ref<vbscript::Object>) override {
        log << QStringLiteral("object:") + name;
        m_error = {};
        return name != failingObject;
    }
    std::optional<QString> evalToText(const QString& expression) override {
        log << QStringLiteral("eval:") + expression;
        if (values.contains(expression)) {
            m_error = {};
            return values.value(expression);
        }
        m_error = evalError;
        return std::nullopt;
    }
    bool executeStatement(const QString& statement) override {
        log << QStringLiteral("exec:") + statement;
        const bool ok = goodStatements.contains(statement);
        m_error = ok ? script::ScriptErrorInfo{} : statementError;
        return ok;
    }
    script::ScriptErrorInfo lastError() const override { return m_error; }
    // Names it knows; it does not tokenize, so it finds no unknown names in code.
    QStringList knownNames;
    bool definesName(const QString& name) const override {
        return knownNames.contains(name, Qt::CaseInsensitive);
    }
    std::optional<QStringList> unknownNames(const QString&) const override { return std::nullopt; }

private:
    script::ScriptErrorInfo m_error;
};
