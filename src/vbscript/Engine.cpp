#include "Engine.h"

#include "Builtins.h"
#include "Interpreter.h"
#include "Lexer.h"
#include "ScriptError.h"
#include "StackGuard.h"
#include "Text.h"
#include "builtins/Regional.h"

#include <new>

namespace vbscript {

struct Engine::Impl {
    std::unique_ptr<Interpreter> interpreter = std::make_unique<Interpreter>();
    std::u16string language;
    ErrorInfo lastError;
    std::function<bool()> interruptCheck;

    // Runs one host operation: no exception leaves, the error lands in lastError.
    template <class Fn> bool run(Fn&& fn) {
        lastError = ErrorInfo();
        StackScope stack;
        ContextScope context(interpreter.get());
        interpreter->clearInterrupt();
        try {
            fn();
            return true;
        } catch (const ScriptError& e) {
            lastError.number = e.number;
            lastError.description = e.description;
            lastError.source = e.source;
            lastError.line = e.line;
            lastError.column = e.column;
        } catch (const std::bad_alloc&) {
            setError(err::OutOfMemory);
        } catch (const std::length_error&) {
            setError(err::OutOfStringSpace);
        } catch (...) {
            setError(51);
        }
        interpreter->clearInterrupt();
        return false;
    }

    void setError(int32_t number) {
        lastError.number = number;
        lastError.description = errorDescription(number);
        lastError.source = std::u16string(kRuntimeSource);
    }
};

// A script's SetLocale lasts only as long as the code that made it: a fresh or reset engine
// starts again from Japan's settings.
Engine::Engine() : m_impl(std::make_unique<Impl>()) {
    lib::setCurrentLocale(lib::kJapanLcid);
}

Engine::~Engine() {
    StackScope stack;
    ContextScope context(m_impl->interpreter.get());
    m_impl->interpreter.reset();
}

bool Engine::setLanguage(std::u16string_view language) {
    m_impl->lastError = ErrorInfo();
    if (!equalsIgnoreCase(language, u"VBScript")) {
        m_impl->setError(err::InvalidPropertyValue);
        return false;
    }
    m_impl->language = u"VBScript";
    return true;
}

std::u16string Engine::language() const {
    return m_impl->language;
}

void Engine::reset() {
    {
        StackScope stack;
        ContextScope context(m_impl->interpreter.get());
        m_impl->interpreter.reset();
    }
    m_impl->interpreter = std::make_unique<Interpreter>();
    m_impl->interpreter->setInterruptCheck(m_impl->interruptCheck);
    m_impl->lastError = ErrorInfo();
    lib::setCurrentLocale(lib::kJapanLcid);
}

bool Engine::addCode(std::u16string_view code) {
    return m_impl->run([&] { m_impl->interpreter->runProgram(code, nullptr); });
}

bool Engine::addObject(std::u16string_view name, Ref<Object> object, bool membersGlobal) {
    return m_impl->run([&] {
        if (name.empty() || !object)
            raiseError(err::InvalidCall);
        m_impl->interpreter->addNamedObject(name, std::move(object), membersGlobal);
    });
}

std::optional<Value> Engine::eval(std::u16string_view expression) {
    Value result;
    if (!m_impl->run([&] { result = m_impl->interpreter->evaluate(expression, nullptr); }))
        return std::nullopt;
    return result;
}

bool Engine::executeStatement(std::u16string_view statement) {
    return m_impl->run([&] { m_impl->interpreter->runProgram(statement, nullptr); });
}

std::optional<Value> Engine::call(std::u16string_view procedure, std::span<const Value> args) {
    Value result;
    const bool ok = m_impl->run([&] {
        Procedure* proc = m_impl->interpreter->findProcedure(procedure);
        if (!proc)
            raiseError(err::SubNotDefined);
        std::vector<Value> copies(args.begin(), args.end());
        std::vector<Value*> ptrs;
        for (auto& v : copies)
            ptrs.push_back(&v);
        result = m_impl->interpreter->callProcedure(proc, nullptr, ptrs.data(), ptrs.size());
    });
    if (!ok)
        return std::nullopt;
    return result;
}

bool Engine::hasProcedure(std::u16string_view procedure) const {
    return m_impl->interpreter->findProcedure(procedure) != nullptr;
}

bool Engine::definesName(std::u16string_view name) const {
    if (name.empty())
        return false;
    if (const GlobalCell* c = m_impl->interpreter->cell(name, false);
        c && (c->declared || c->proc || c->builtin))
        return true;
    if (m_impl->interpreter->findClass(name))
        return true;
    const Registry& registry = builtinRegistry();
    if (registry.findFunction(name) || registry.findConstant(name) || registry.findClass(name))
        return true;
    try {
        const std::vector<Token> tokens = tokenize(name);
        return tokens.size() == 2 && tokens[0].type == Tok::Name && tokens[0].keyword != Kw::None;
    } catch (const ScriptError&) {
        return false;
    }
}

std::optional<std::vector<std::u16string>> Engine::unknownNames(std::u16string_view code) const {
    std::vector<Token> tokens;
    try {
        tokens = tokenize(code);
    } catch (const ScriptError&) {
        return std::nullopt;
    }
    std::vector<std::u16string> unknown;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const bool member =
            i > 0 && (tokens[i - 1].type == Tok::Dot || tokens[i - 1].type == Tok::WithDot);
        if (t.type == Tok::Name && t.keyword == Kw::None && !member && !definesName(t.text))
            unknown.push_back(t.text);
    }
    return unknown;
}

bool Engine::isCalculation(std::u16string_view code) const {
    std::vector<Token> tokens;
    try {
        tokens = tokenize(code);
    } catch (const ScriptError&) {
        return false;
    }
    bool number = false;
    for (const Token& t : tokens) {
        switch (t.type) {
        case Tok::End:
        case Tok::LParen:
        case Tok::RParen:
        case Tok::Comma:
        case Tok::Eq:
        case Tok::Ne:
        case Tok::Lt:
        case Tok::Gt:
        case Tok::Le:
        case Tok::Ge:
        case Tok::Plus:
        case Tok::Minus:
        case Tok::Star:
        case Tok::Slash:
        case Tok::Backslash:
        case Tok::Caret:
        case Tok::Amp:
            break;
        case Tok::Literal:
            if (t.value.isString() || t.value.type() == VarType::Date)
                return false;
            number = true;
            break;
        case Tok::Name:
            switch (t.keyword) {
            case Kw::Mod:
            case Kw::And:
            case Kw::Or:
            case Kw::Xor:
            case Kw::Not:
            case Kw::Eqv:
            case Kw::Imp:
                break;
            case Kw::None:
                if (t.bracketed || !builtinRegistry().findFunction(t.text))
                    return false;
                break;
            default:
                return false;
            }
            break;
        default:
            return false; // statement ends, members
        }
    }
    return number;
}

bool Engine::isNameOrNothingBeforeComment(std::u16string_view code) {
    size_t before = kNoComment;
    std::vector<Token> tokens;
    try {
        tokens = tokenize(code, &before);
    } catch (const ScriptError&) {
        return false;
    }
    return before == 0 || (before == 1 && tokens.front().type == Tok::Name);
}

const ErrorInfo& Engine::lastError() const {
    return m_impl->lastError;
}

void Engine::clearError() {
    m_impl->lastError = ErrorInfo();
}

void Engine::setInterruptCheck(std::function<bool()> check) {
    m_impl->interruptCheck = check;
    m_impl->interpreter->setInterruptCheck(std::move(check));
}

} // namespace vbscript
