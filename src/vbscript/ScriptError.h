#pragma once

// Errors of the script language: a number and a description. Inside the engine and in builtins
// they travel as the C++ exception ScriptError; the engine catches every one at its boundary.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vbscript {

// Run-time error numbers used by the engine and its builtins.
namespace err {
inline constexpr int32_t InvalidCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t ArrayLocked = 10;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t OutOfStringSpace = 14;
inline constexpr int32_t UserInterrupt = 18;
inline constexpr int32_t OutOfStack = 28;
inline constexpr int32_t SubNotDefined = 35;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t BadFileMode = 54;
inline constexpr int32_t DeviceIO = 57;
inline constexpr int32_t FileExists = 58;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t InputPastEnd = 62;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t ForNotInitialized = 92;
inline constexpr int32_t InvalidNull = 94;
inline constexpr int32_t InvalidPropertyValue = 380;
inline constexpr int32_t ObjectRequired = 424;
inline constexpr int32_t CannotCreateObject = 429;
inline constexpr int32_t NoSuchMember = 438;
inline constexpr int32_t ArgumentNotOptional = 449;
inline constexpr int32_t WrongArgumentCount = 450;
inline constexpr int32_t NotACollection = 451;
inline constexpr int32_t KeyAlreadyExists = 457;
inline constexpr int32_t VariableUndefined = 500;
inline constexpr int32_t InvalidReference = 505;
inline constexpr int32_t IllegalAssignment = 501;
inline constexpr int32_t ClassNotDefined = 506;
inline constexpr int32_t SyntaxError = 1002;
} // namespace err

inline constexpr std::u16string_view kRuntimeSource = u"Microsoft VBScript runtime error";
inline constexpr std::u16string_view kCompileSource = u"Microsoft VBScript compilation error";

class ScriptError : public std::exception {
public:
    ScriptError(int32_t number, std::u16string description, std::u16string source = {})
        : number(number), description(std::move(description)), source(std::move(source)) {}
    const char* what() const noexcept override { return "script error"; }

    int32_t number;
    std::u16string description;
    std::u16string source;
    int line = 0;            // 1-based; 0 when unknown
    int column = 0;          // 1-based; 0 when unknown
    std::u16string helpFile; // as Err.Raise gave them
    int32_t helpContext = 0;
};

// The language of error descriptions, for the whole process: Japanese unless the program's user
// interface speaks another language, then English.
enum class MessageLanguage { Japanese, English };
void setMessageLanguage(MessageLanguage language);
MessageLanguage messageLanguage();

// The description of an error number in the message language (a generic "unknown run-time
// error" text for numbers without one of their own).
std::u16string errorDescription(int32_t number);
// What Err.Raise puts in Description when the script gives none: the number's own text, the
// generic text for other numbers of the language's range (1..65535), nothing for the rest
// (HRESULTs such as vbObjectError + n).
std::u16string raisedErrorDescription(int32_t number);
// True for the numbers that belong to the compiler (1001..1058).
bool isCompileError(int32_t number);

// Throws ScriptError with the number's own description and source.
[[noreturn]] void raiseError(int32_t number);
[[noreturn]] void raiseError(int32_t number, std::u16string description);

} // namespace vbscript
