#pragma once

// The pattern engine behind RegExp: PCRE2 on UTF-16 code units, set up to read patterns the
// way the language's regular expressions do (\uXXXX and \xXX escapes, "$" only at the very
// end unless multiline, "." and "^"/"$" aware of CR LF line ends).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct pcre2_real_code_16;

namespace vbscript {

struct RegexMatch {
    size_t start = 0;
    size_t length = 0;
    // Start and length of every capturing group; nullopt when the group took no part.
    std::vector<std::optional<std::pair<size_t, size_t>>> groups;
};

class Regex {
public:
    Regex() = default;
    ~Regex();
    Regex(const Regex&) = delete;
    Regex& operator=(const Regex&) = delete;

    // Compiles the pattern; returns 0 or the language's error number (5017 syntax, 5018
    // quantifier, 5019 missing "]", 5020 missing ")", 5021 bad range).
    int compile(std::u16string_view pattern, bool ignoreCase, bool multiline);
    bool isCompiled() const { return m_code != nullptr; }

    // Calls `onMatch` for the first match, or every match when `global`; stops when it returns
    // false. Returns 0, or an error number when the engine gave up (a pattern too complex).
    int forEachMatch(std::u16string_view subject, bool global,
                     const std::function<bool(const RegexMatch&)>& onMatch) const;

    // Replace with the replacement's $-forms: $1..$99, $& (the match), $` (before), $' (after),
    // $$ (a dollar sign). Sets `error` like forEachMatch.
    std::u16string replace(std::u16string_view subject, std::u16string_view replacement,
                           bool global, int& error) const;

private:
    pcre2_real_code_16* m_code = nullptr;
    uint32_t m_groupCount = 0;
};

} // namespace vbscript
