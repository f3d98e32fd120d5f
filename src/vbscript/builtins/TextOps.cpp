#include "vbscript/builtins/TextOps.h"

#include <algorithm>

namespace vbscript::lib {

namespace {

// Full-width katakana for the half-width forms U+FF61..U+FF9F.
constexpr char16_t kHalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

bool isLatinExtendedAUpper(char16_t c) {
    if (c >= 0x100 && c <= 0x137)
        return c % 2 == 0 && c != 0x130;
    if (c >= 0x139 && c <= 0x148)
        return c % 2 == 1;
    if (c >= 0x14A && c <= 0x177)
        return c % 2 == 0;
    if (c >= 0x179 && c <= 0x17E)
        return c % 2 == 1;
    return false;
}

bool isLatinExtendedALower(char16_t c) {
    return c >= 0x100 && c <= 0x17E && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F &&
           isLatinExtendedAUpper(char16_t(c - 1));
}

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool matchesAt(std::u16string_view haystack, std::u16string_view needle, size_t at,
               CompareMode mode) {
    if (mode == CompareMode::Binary)
        return haystack.compare(at, needle.size(), needle) == 0;
    for (size_t i = 0; i < needle.size(); ++i)
        if (foldForTextCompare(haystack[at + i]) != foldForTextCompare(needle[i]))
            return false;
    return true;
}

} // namespace

char16_t upperChar(char16_t c) {
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return char16_t(c - 32);
    if (c == 0xFF)
        return 0x178;
    if (isLatinExtendedALower(c))
        return char16_t(c - 1);
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return char16_t(c - 32);
    if (c >= 0x430 && c <= 0x44F)
        return char16_t(c - 32);
    if (c >= 0x450 && c <= 0x45F)
        return char16_t(c - 80);
    if (c >= 0xFF41 && c <= 0xFF5A)
        return char16_t(c - 32);
    return c;
}

char16_t lowerChar(char16_t c) {
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return char16_t(c + 32);
    if (c == 0x178)
        return 0xFF;
    if (isLatinExtendedAUpper(c))
        return char16_t(c + 1);
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return char16_t(c + 32);
    if (c >= 0x410 && c <= 0x42F)
        return char16_t(c + 32);
    if (c >= 0x400 && c <= 0x40F)
        return char16_t(c + 80);
    if (c >= 0xFF21 && c <= 0xFF3A)
        return char16_t(c + 32);
    return c;
}

std::u16string toUpper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        c = upperChar(c);
    return out;
}

std::u16string toLower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        c = lowerChar(c);
    return out;
}

char16_t foldForTextCompare(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        c = char16_t(c - 0xFF01 + 0x21);
    else if (c == 0x3000)
        c = u' ';
    else if (c >= 0xFF61 && c <= 0xFF9F)
        c = kHalfWidthKana[c - 0xFF61];
    if (c >= 0x3041 && c <= 0x3096)
        c = char16_t(c + 0x60); // hiragana to katakana
    return upperChar(c);
}

int compareText(std::u16string_view a, std::u16string_view b, CompareMode mode) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = mode == CompareMode::Text ? foldForTextCompare(a[i]) : a[i];
        const char16_t y = mode == CompareMode::Text ? foldForTextCompare(b[i]) : b[i];
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

size_t findText(std::u16string_view haystack, std::u16string_view needle, size_t from,
                CompareMode mode) {
    if (from > haystack.size() || needle.size() > haystack.size() - from)
        return kNotFound;
    if (mode == CompareMode::Binary)
        return haystack.find(needle, from);
    for (size_t at = from; at + needle.size() <= haystack.size(); ++at)
        if (matchesAt(haystack, needle, at, mode))
            return at;
    return kNotFound;
}

size_t findTextReverse(std::u16string_view haystack, std::u16string_view needle, size_t endBefore,
                       CompareMode mode) {
    endBefore = std::min(endBefore, haystack.size());
    if (needle.size() > endBefore)
        return kNotFound;
    for (size_t at = endBefore - needle.size() + 1; at-- > 0;)
        if (matchesAt(haystack, needle, at, mode))
            return at;
    return kNotFound;
}

std::u16string replaceText(std::u16string_view expression, std::u16string_view find,
                           std::u16string_view replacement, size_t from, long long count,
                           CompareMode mode) {
    if (from >= expression.size())
        return {};
    const std::u16string_view rest = expression.substr(from);
    if (find.empty() || count == 0)
        return std::u16string(rest);
    std::u16string out;
    size_t position = 0;
    long long done = 0;
    while (count < 0 || done < count) {
        const size_t hit = findText(rest, find, position, mode);
        if (hit == kNotFound)
            break;
        out.append(rest.substr(position, hit - position));
        out.append(replacement);
        position = hit + find.size();
        ++done;
    }
    out.append(rest.substr(position));
    return out;
}

std::vector<std::u16string> splitText(std::u16string_view expression, std::u16string_view delimiter,
                                      long long limit, CompareMode mode) {
    std::vector<std::u16string> parts;
    if (expression.empty() || limit == 0)
        return parts;
    if (delimiter.empty()) {
        parts.emplace_back(expression);
        return parts;
    }
    size_t position = 0;
    while (limit < 0 || static_cast<long long>(parts.size()) < limit - 1) {
        const size_t hit = findText(expression, delimiter, position, mode);
        if (hit == kNotFound)
            break;
        parts.emplace_back(expression.substr(position, hit - position));
        position = hit + delimiter.size();
    }
    parts.emplace_back(expression.substr(position));
    return parts;
}

std::u16string_view trimLeft(std::u16string_view text) {
    const size_t first = text.find_first_not_of(u' ');
    return first == kNotFound ? std::u16string_view() : text.substr(first);
}

std::u16string_view trimRight(std::u16string_view text) {
    const size_t last = text.find_last_not_of(u' ');
    return last == kNotFound ? std::u16string_view() : text.substr(0, last + 1);
}

std::u16string escapeText(std::u16string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        const bool plain = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                           (c >= u'0' && c <= u'9') ||
                           std::u16string_view(u"@*_+-./").find(c) != kNotFound;
        if (plain) {
            out.push_back(c);
        } else if (c < 0x100) {
            out += u'%';
            out += char16_t(kHex[c >> 4]);
            out += char16_t(kHex[c & 15]);
        } else {
            out += u"%u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += char16_t(kHex[(c >> shift) & 15]);
        }
    }
    return out;
}

std::u16string unescapeText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'%') {
            if (i + 5 < text.size() && (text[i + 1] == u'u' || text[i + 1] == u'U')) {
                int value = 0;
                bool ok = true;
                for (size_t k = 2; k < 6; ++k) {
                    const int h = hexValue(text[i + k]);
                    ok = ok && h >= 0;
                    value = value * 16 + h;
                }
                if (ok) {
                    out.push_back(char16_t(value));
                    i += 5;
                    continue;
                }
            }
            if (i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
                out.push_back(char16_t(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
                i += 2;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

std::string toBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::u16string fromBytes(std::string_view bytes) {
    std::u16string out;
    out.reserve((bytes.size() + 1) / 2);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        out.push_back(char16_t(low | high << 8));
    }
    return out;
}

} // namespace vbscript::lib
