// The string functions. A Null string gives Null where the language says so; positions are
// 1-based; character codes of Asc and Chr follow code page 932, the B functions work on the
// bytes of the UTF-16 form the language keeps strings in.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/Cp932.h"
#include "vbscript/builtins/LibraryArgs.h"
#include "vbscript/builtins/TextOps.h"

#include <algorithm>

namespace vbscript {
namespace {

using lib::CompareMode;

Value str(std::u16string text) {
    return Value::string(std::move(text));
}

Value len(Context&, Args args) {
    if (args[0].isNull())
        return Value::null();
    return Value::longValue(static_cast<int32_t>(toString(args[0]).size()));
}

Value lenB(Context&, Args args) {
    if (args[0].isNull())
        return Value::null();
    return Value::longValue(static_cast<int32_t>(toString(args[0]).size() * 2));
}

// Left, Right, Mid and their B forms read their numbers first: a Null or negative length is
// an error (94, 5) even when the text is Null, which otherwise gives Null.
Value left(Context&, Args args) {
    const size_t n = static_cast<size_t>(lib::nonNegativeArg(args, 1));
    if (args[0].isNull())
        return Value::null();
    const std::u16string s = toString(args[0]);
    return str(s.substr(0, n));
}

Value right(Context&, Args args) {
    const auto length = static_cast<size_t>(lib::nonNegativeArg(args, 1));
    if (args[0].isNull())
        return Value::null();
    const std::u16string s = toString(args[0]);
    const size_t n = std::min(length, s.size());
    return str(s.substr(s.size() - n));
}

Value mid(Context&, Args args) {
    const size_t start = static_cast<size_t>(lib::positionArg(args, 1)) - 1;
    size_t count = std::u16string::npos;
    if (!args.isMissing(2))
        count = static_cast<size_t>(lib::nonNegativeArg(args, 2));
    if (args[0].isNull())
        return Value::null();
    const std::u16string s = toString(args[0]);
    if (start >= s.size())
        return str(u"");
    return str(s.substr(start, count));
}

Value leftB(Context&, Args args) {
    const auto n = static_cast<size_t>(lib::nonNegativeArg(args, 1));
    if (args[0].isNull())
        return Value::null();
    const std::string bytes = lib::toBytes(toString(args[0]));
    return str(lib::fromBytes(std::string_view(bytes).substr(0, n)));
}

Value rightB(Context&, Args args) {
    const auto length = static_cast<size_t>(lib::nonNegativeArg(args, 1));
    if (args[0].isNull())
        return Value::null();
    const std::string bytes = lib::toBytes(toString(args[0]));
    const size_t n = std::min(length, bytes.size());
    return str(lib::fromBytes(std::string_view(bytes).substr(bytes.size() - n)));
}

Value midB(Context&, Args args) {
    const size_t start = static_cast<size_t>(lib::positionArg(args, 1)) - 1;
    size_t count = std::string::npos;
    if (!args.isMissing(2))
        count = static_cast<size_t>(lib::nonNegativeArg(args, 2));
    if (args[0].isNull())
        return Value::null();
    const std::string bytes = lib::toBytes(toString(args[0]));
    if (start >= bytes.size())
        return str(u"");
    return str(lib::fromBytes(std::string_view(bytes).substr(start, count)));
}

Value caseOf(Args args, bool upper) {
    if (args[0].isNull())
        return Value::null();
    const std::u16string s = toString(args[0]);
    return str(upper ? lib::toUpper(s) : lib::toLower(s));
}
Value lcase(Context&, Args args) {
    return caseOf(args, false);
}
Value ucase(Context&, Args args) {
    return caseOf(args, true);
}

Value trimmed(Args args, bool leftSide, bool rightSide) {
    if (args[0].isNull())
        return Value::null();
    const std::u16string s = toString(args[0]);
    std::u16string_view view = s;
    if (leftSide)
        view = lib::trimLeft(view);
    if (rightSide)
        view = lib::trimRight(view);
    return str(std::u16string(view));
}
Value ltrim(Context&, Args args) {
    return trimmed(args, true, false);
}
Value rtrim(Context&, Args args) {
    return trimmed(args, false, true);
}
Value trim(Context&, Args args) {
    return trimmed(args, true, true);
}

Value space(Context&, Args args) {
    return str(std::u16string(lib::builtLengthArg(args, 0), u' '));
}

char16_t charFromCode(int32_t code) {
    if (code < -32768 || code > 65535)
        raiseError(err::InvalidCall);
    const auto unsignedCode = static_cast<uint16_t>(code);
    const auto ch = lib::charFromCp932(unsignedCode);
    if (!ch)
        raiseError(err::InvalidCall);
    return *ch;
}

Value stringFn(Context&, Args args) {
    const size_t count = lib::builtLengthArg(args, 0);
    if (args[1].isNull())
        return Value::null();
    char16_t ch;
    if (dereference(args[1]).isString()) {
        const std::u16string s = toString(args[1]);
        if (s.empty())
            raiseError(err::InvalidCall);
        ch = s[0];
    } else {
        ch = charFromCode(((toLong(args[1]) % 256) + 256) % 256);
    }
    return str(std::u16string(count, ch));
}

Value strReverse(Context&, Args args) {
    std::u16string s = toString(args[0]);
    std::reverse(s.begin(), s.end());
    return str(std::move(s));
}

std::u16string firstCharOf(Args args) {
    std::u16string s = toString(args[0]);
    if (s.empty())
        raiseError(err::InvalidCall);
    return s;
}

Value asc(Context&, Args args) {
    const char16_t ch = firstCharOf(args)[0];
    const uint16_t code = lib::cp932CodeOf(ch).value_or(u'?');
    return Value::integer(static_cast<int16_t>(code));
}

Value ascW(Context&, Args args) {
    return Value::integer(static_cast<int16_t>(firstCharOf(args)[0]));
}

Value ascB(Context&, Args args) {
    return Value::integer(static_cast<int16_t>(firstCharOf(args)[0] & 0xFF));
}

Value chr(Context&, Args args) {
    return str(std::u16string(1, charFromCode(toLong(args[0]))));
}

Value chrW(Context&, Args args) {
    const int32_t code = toLong(args[0]);
    if (code < -32768 || code > 65535)
        raiseError(err::InvalidCall);
    return str(std::u16string(1, static_cast<char16_t>(code & 0xFFFF)));
}

Value chrB(Context&, Args args) {
    const int32_t code = toLong(args[0]);
    if (code < 0 || code > 255)
        raiseError(err::InvalidCall);
    return str(std::u16string(1, static_cast<char16_t>(code)));
}

// InStr([start, ]string1, string2[, compare]) and InStrB.
Value inStrCommon(Args args, bool bytes) {
    size_t first = 0;
    int32_t start = 1;
    if (args.size() >= 3) {
        start = lib::positionArg(args, 0);
        first = 1;
    }
    const CompareMode mode = args.size() >= 4 ? lib::compareArg(args, 3) : CompareMode::Binary;
    if (args[first].isNull() || args[first + 1].isNull())
        return Value::null();
    std::u16string haystack = toString(args[first]);
    std::u16string needle = toString(args[first + 1]);
    if (bytes) {
        const std::string h = lib::toBytes(haystack);
        const std::string n = lib::toBytes(needle);
        if (size_t(start) > h.size())
            return Value::longValue(0);
        if (n.empty())
            return Value::longValue(start);
        const size_t hit = h.find(n, size_t(start) - 1);
        return Value::longValue(hit == std::string::npos ? 0 : int32_t(hit) + 1);
    }
    if (size_t(start) > haystack.size())
        return Value::longValue(0);
    if (needle.empty())
        return Value::longValue(start);
    const size_t hit = lib::findText(haystack, needle, size_t(start) - 1, mode);
    return Value::longValue(hit == lib::kNotFound ? 0 : int32_t(hit) + 1);
}
Value inStr(Context&, Args args) {
    return inStrCommon(args, false);
}
Value inStrB(Context&, Args args) {
    return inStrCommon(args, true);
}

Value inStrRev(Context&, Args args) {
    const int32_t start = lib::longArg(args, 2, -1);
    if (start == 0 || start < -1)
        raiseError(err::InvalidCall);
    const CompareMode mode = lib::compareArg(args, 3);
    if (args[0].isNull() || args[1].isNull())
        return Value::null();
    const std::u16string haystack = toString(args[0]);
    const std::u16string needle = toString(args[1]);
    const size_t end = start == -1 ? haystack.size() : size_t(start);
    if (end > haystack.size())
        return Value::longValue(0);
    if (needle.empty())
        return Value::longValue(int32_t(end));
    const size_t hit = lib::findTextReverse(haystack, needle, end, mode);
    return Value::longValue(hit == lib::kNotFound ? 0 : int32_t(hit) + 1);
}

Value strComp(Context&, Args args) {
    const CompareMode mode = lib::compareArg(args, 2);
    if (args[0].isNull() || args[1].isNull())
        return Value::null();
    return Value::integer(
        static_cast<int16_t>(lib::compareText(toString(args[0]), toString(args[1]), mode)));
}

Value replace(Context&, Args args) {
    const std::u16string expression = toString(args[0]);
    const std::u16string find = toString(args[1]);
    const std::u16string with = toString(args[2]);
    const int32_t start = args.isMissing(3) ? 1 : lib::positionArg(args, 3);
    const int32_t count = lib::longArg(args, 4, -1);
    if (count < -1)
        raiseError(err::InvalidCall);
    const CompareMode mode = lib::compareArg(args, 5);
    return str(lib::replaceText(expression, find, with, size_t(start) - 1, count, mode));
}

Value split(Context&, Args args) {
    const std::u16string expression = toString(args[0]);
    const std::u16string delimiter = lib::stringArg(args, 1, u" ");
    const int32_t limit = lib::longArg(args, 2, -1);
    if (limit < -1)
        raiseError(err::InvalidCall);
    const CompareMode mode = lib::compareArg(args, 3);
    std::vector<Value> items;
    for (auto& part : lib::splitText(expression, delimiter, limit, mode))
        items.push_back(Value::string(std::move(part)));
    return Value::array(ArrayData::fromValues(std::move(items)));
}

const ArrayData& oneDimensionalArray(const Value& v) {
    const Value value = dereference(v);
    if (!value.isArray() || value.asArray() == nullptr)
        raiseError(err::TypeMismatch);
    if (value.asArray()->rank() > 1)
        raiseError(err::TypeMismatch); // a matrix is no list
    if (value.asArray()->rank() != 1)
        raiseError(err::SubscriptOutOfRange);
    return *value.asArray();
}

// Join(Null) is the Null rule of the library (94); a Null inside the list is an item that
// does not convert to text (13), as any other non-text item would.
Value join(Context&, Args args) {
    const Value holder = dereference(args[0]);
    if (holder.isNull())
        raiseError(err::InvalidNull);
    const ArrayData& array = oneDimensionalArray(holder);
    const std::u16string delimiter = lib::stringArg(args, 1, u" ");
    std::u16string out;
    for (size_t i = 0; i < array.items.size(); ++i) {
        if (i > 0)
            out += delimiter;
        if (dereference(array.items[i]).isNull())
            raiseError(err::TypeMismatch);
        out += toString(array.items[i]);
    }
    return str(std::move(out));
}

Value filter(Context&, Args args) {
    const Value holder = dereference(args[0]);
    const ArrayData& array = oneDimensionalArray(holder);
    if (args[1].isNull())
        raiseError(err::InvalidNull);
    const std::u16string match = toString(args[1]);
    const bool include = lib::boolArg(args, 2, true);
    const CompareMode mode = lib::compareArg(args, 3);
    std::vector<Value> kept;
    for (const Value& item : array.items) {
        std::u16string text = toString(item);
        const bool found = lib::findText(text, match, 0, mode) != lib::kNotFound;
        if (found == include)
            kept.push_back(Value::string(std::move(text)));
    }
    return Value::array(ArrayData::fromValues(std::move(kept)));
}

Value escape(Context&, Args args) {
    if (args[0].isNull())
        return Value::null();
    return str(lib::escapeText(toString(args[0])));
}

Value unescape(Context&, Args args) {
    if (args[0].isNull())
        return Value::null();
    return str(lib::unescapeText(toString(args[0])));
}

const BuiltinFunction kFunctions[] = {
    {u"Asc", 1, 1, &asc},
    {u"AscB", 1, 1, &ascB},
    {u"AscW", 1, 1, &ascW},
    {u"Chr", 1, 1, &chr},
    {u"ChrB", 1, 1, &chrB},
    {u"ChrW", 1, 1, &chrW},
    {u"Escape", 1, 1, &escape},
    {u"Filter", 2, 4, &filter},
    {u"InStr", 2, 4, &inStr},
    {u"InStrB", 2, 4, &inStrB},
    {u"InStrRev", 2, 4, &inStrRev},
    {u"Join", 1, 2, &join},
    {u"LCase", 1, 1, &lcase},
    {u"Left", 2, 2, &left},
    {u"LeftB", 2, 2, &leftB},
    {u"Len", 1, 1, &len},
    {u"LenB", 1, 1, &lenB},
    {u"LTrim", 1, 1, &ltrim},
    {u"Mid", 2, 3, &mid},
    {u"MidB", 2, 3, &midB},
    {u"Replace", 3, 6, &replace},
    {u"Right", 2, 2, &right},
    {u"RightB", 2, 2, &rightB},
    {u"RTrim", 1, 1, &rtrim},
    {u"Space", 1, 1, &space},
    {u"Split", 1, 4, &split},
    {u"StrComp", 2, 3, &strComp},
    {u"String", 2, 2, &stringFn},
    {u"StrReverse", 1, 1, &strReverse},
    {u"Trim", 1, 1, &trim},
    {u"UCase", 1, 1, &ucase},
    {u"Unescape", 1, 1, &unescape},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(StringFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
