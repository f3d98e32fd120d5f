#include "vbscript/objects/Regex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>

namespace vbscript {

namespace {

constexpr int kSyntaxError = 5017;
constexpr int kUnexpectedQuantifier = 5018;
constexpr int kMissingBracket = 5019;
constexpr int kMissingParenthesis = 5020;
constexpr int kInvalidRange = 5021;
constexpr int kTooComplex = 28; // out of stack space: backtracking hit the engine's limits

int languageError(int pcreError) {
    switch (pcreError) {
    case PCRE2_ERROR_QUANTIFIER_INVALID:
    case PCRE2_ERROR_QUANTIFIER_OUT_OF_ORDER:
        return kUnexpectedQuantifier;
    case PCRE2_ERROR_MISSING_SQUARE_BRACKET:
        return kMissingBracket;
    case PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS:
    case PCRE2_ERROR_UNMATCHED_CLOSING_PARENTHESIS:
        return kMissingParenthesis;
    case PCRE2_ERROR_CLASS_RANGE_ORDER:
        return kInvalidRange;
    default:
        return kSyntaxError;
    }
}

struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

Regex::~Regex() {
    if (m_code)
        pcre2_code_free(m_code);
}

int Regex::compile(std::u16string_view pattern, bool ignoreCase, bool multiline) {
    if (m_code) {
        pcre2_code_free(m_code);
        m_code = nullptr;
    }
    uint32_t options = PCRE2_ALT_BSUX;
    if (ignoreCase)
        options |= PCRE2_CASELESS;
    options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    m_code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                           &errorCode, &errorOffset, context);
    pcre2_compile_context_free(context);
    if (!m_code)
        return languageError(errorCode);
    pcre2_jit_compile(m_code, PCRE2_JIT_COMPLETE); // without JIT the interpreter runs instead
    pcre2_pattern_info(m_code, PCRE2_INFO_CAPTURECOUNT, &m_groupCount);
    return 0;
}

int Regex::forEachMatch(std::u16string_view subject, bool global,
                        const std::function<bool(const RegexMatch&)>& onMatch) const {
    if (!m_code)
        return kSyntaxError;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern(m_code, nullptr));
    const auto* text = reinterpret_cast<PCRE2_SPTR>(subject.data());
    size_t offset = 0;
    RegexMatch match;
    while (offset <= subject.size()) {
        const int rc = pcre2_match(m_code, text, subject.size(), offset, 0, data.get(), nullptr);
        if (rc == PCRE2_ERROR_NOMATCH)
            return 0;
        if (rc < 0)
            return kTooComplex;
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
        match.start = ovector[0];
        match.length = ovector[1] - ovector[0];
        match.groups.assign(m_groupCount, std::nullopt);
        for (uint32_t g = 1; g <= m_groupCount && int(g) < rc; ++g) {
            if (ovector[2 * g] != PCRE2_UNSET)
                match.groups[g - 1] =
                    std::pair{size_t(ovector[2 * g]), size_t(ovector[2 * g + 1] - ovector[2 * g])};
        }
        if (!onMatch(match) || !global)
            return 0;
        // An empty match moves on by one character, so the search always advances.
        offset = match.length == 0 ? match.start + 1 : match.start + match.length;
    }
    return 0;
}

std::u16string Regex::replace(std::u16string_view subject, std::u16string_view replacement,
                              bool global, int& error) const {
    std::u16string out;
    out.reserve(subject.size());
    size_t copied = 0;
    error = forEachMatch(subject, global, [&](const RegexMatch& m) {
        out.append(subject.substr(copied, m.start - copied));
        for (size_t i = 0; i < replacement.size(); ++i) {
            const char16_t c = replacement[i];
            if (c != u'$' || i + 1 >= replacement.size()) {
                out.push_back(c);
                continue;
            }
            const char16_t next = replacement[i + 1];
            if (next == u'$') {
                out.push_back(u'$');
                ++i;
            } else if (next == u'&') {
                out.append(subject.substr(m.start, m.length));
                ++i;
            } else if (next == u'`') {
                out.append(subject.substr(0, m.start));
                ++i;
            } else if (next == u'\'') {
                out.append(subject.substr(m.start + m.length));
                ++i;
            } else if (isDigit(next)) {
                // Two digits when they name a group, else one; a number naming no group stays
                // as written.
                size_t group = size_t(next - u'0');
                size_t used = 1;
                if (i + 2 < replacement.size() && isDigit(replacement[i + 2])) {
                    const size_t two = group * 10 + size_t(replacement[i + 2] - u'0');
                    if (two >= 1 && two <= m.groups.size()) {
                        group = two;
                        used = 2;
                    }
                }
                if (group >= 1 && group <= m.groups.size()) {
                    if (const auto& span = m.groups[group - 1])
                        out.append(subject.substr(span->first, span->second));
                    i += used;
                } else {
                    out.push_back(c);
                }
            } else {
                out.push_back(c);
            }
        }
        copied = m.start + m.length;
        return true;
    });
    out.append(subject.substr(copied));
    return out;
}

} // namespace vbscript
