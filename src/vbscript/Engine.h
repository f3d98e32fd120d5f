#pragma once

// The script engine as a host sees it: the operations the evaluator needs, plus calling a
// script function by name. No C++ exception ever leaves these functions; failures are reported
// by the return value and lastError().

#include "Object.h"
#include "Value.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vbscript {

struct ErrorInfo {
    int32_t number = 0; // 0: no error
    std::u16string description;
    std::u16string source;
    int line = 0;   // 1-based, 0 when unknown
    int column = 0; // 1-based, 0 when unknown
};

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Only "VBScript" (any case) is accepted; anything else fails with error 380 and leaves
    // the language unchanged.
    bool setLanguage(std::u16string_view language);
    std::u16string language() const;

    // Drops all code, globals and named objects.
    void reset();
    // Compiles the code and runs its top-level statements; its procedures, classes and
    // globals stay for later calls.
    bool addCode(std::u16string_view code);
    // Makes the object reachable under `name`; with membersGlobal its members are also
    // reachable as bare names.
    bool addObject(std::u16string_view name, Ref<Object> object, bool membersGlobal = false);

    // Evaluates one expression; nullopt on error.
    std::optional<Value> eval(std::u16string_view expression);
    // Runs statements (one line or several) at global level.
    bool executeStatement(std::u16string_view statement);
    // Calls a global Function or Sub by name; a Sub gives Empty.
    std::optional<Value> call(std::u16string_view procedure, std::span<const Value> args = {});
    bool hasProcedure(std::u16string_view procedure) const;
    // Whether scripts know `name` (any case): a keyword, a built-in function, constant or class,
    // a named object, or a global, procedure or class of the code added so far.
    bool definesName(std::u16string_view name) const;
    // The names `code` refers to that definesName does not know, in order, without members
    // after a dot; nullopt when the code is not even made of valid tokens.
    std::optional<std::vector<std::u16string>> unknownNames(std::u16string_view code) const;
    // Whether `code` is a calculation: number literals joined by operators and parentheses, and
    // calls of built-in functions; no strings, names of the code, statements or members.
    bool isCalculation(std::u16string_view code) const;
    // Whether `code` has a comment (' or Rem) with nothing or one name alone before it: "Don't
    // forget" reads as the name Don and a comment.
    static bool isNameOrNothingBeforeComment(std::u16string_view code);

    // The error of the last operation (number 0 after a success).
    const ErrorInfo& lastError() const;
    void clearError();

    // Asked now and then during a run; returning true stops the run with error 18.
    void setInterruptCheck(std::function<bool()> check);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace vbscript
