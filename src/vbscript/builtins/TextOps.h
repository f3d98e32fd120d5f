#pragma once

// String algorithms of the library over UTF-16 text, free of any engine type. Positions are
// 0-based here; the builtins translate the language's 1-based positions.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vbscript::lib {

enum class CompareMode { Binary = 0, Text = 1 };

// Upper and lower case for ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width
// Latin letters.
char16_t upperChar(char16_t c);
char16_t lowerChar(char16_t c);
std::u16string toUpper(std::u16string_view text);
std::u16string toLower(std::u16string_view text);

// Text comparison ignores case, character width and the kana type, as Japanese systems compare
// text. The folding keeps one code unit per code unit, so positions stay valid.
char16_t foldForTextCompare(char16_t c);
int compareText(std::u16string_view a, std::u16string_view b, CompareMode mode); // -1, 0, 1

inline constexpr size_t kNotFound = std::u16string_view::npos;
size_t findText(std::u16string_view haystack, std::u16string_view needle, size_t from,
                CompareMode mode);
// Last occurrence that ends at or before `endBefore` (an index one past the last character).
size_t findTextReverse(std::u16string_view haystack, std::u16string_view needle, size_t endBefore,
                       CompareMode mode);

// Replace: the result starts at `from`; count < 0 replaces every occurrence.
std::u16string replaceText(std::u16string_view expression, std::u16string_view find,
                           std::u16string_view replacement, size_t from, long long count,
                           CompareMode mode);
// Split: limit < 0 means no limit; an empty expression gives no elements.
std::vector<std::u16string> splitText(std::u16string_view expression, std::u16string_view delimiter,
                                      long long limit, CompareMode mode);

// Trims spaces (U+0020) only.
std::u16string_view trimLeft(std::u16string_view text);
std::u16string_view trimRight(std::u16string_view text);

// Escape: letters, digits and @*_+-./ stay; other code units become %XX or %uXXXX.
std::u16string escapeText(std::u16string_view text);
// Unescape: %XX and %uXXXX are decoded; any other percent sign stays as it is.
std::u16string unescapeText(std::u16string_view text);

// The string as the bytes of its UTF-16LE form, for the B functions (LenB, MidB ...). An odd
// number of bytes is padded with a zero byte when turned back into characters.
std::string toBytes(std::u16string_view text);
std::u16string fromBytes(std::string_view bytes);

} // namespace vbscript::lib
