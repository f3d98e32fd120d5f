#pragma once

// Bytes of text files as the file system object reads and writes them. "ASCII" files are the
// system's code page: UTF-8 when the bytes are valid UTF-8, else code page 932; a new file is
// written in code page 932 unless that would lose characters, then in UTF-8. "Unicode" files
// are UTF-16LE with a byte-order mark.

#include <string>
#include <string_view>

namespace vbscript {

enum class TextFileEncoding { Cp932, Utf8, Utf16 };

struct DecodedText {
    std::u16string text;
    TextFileEncoding encoding = TextFileEncoding::Cp932;
};

DecodedText decodeTextFile(std::string_view bytes);
// Chooses code page 932 when every character fits, else UTF-8.
TextFileEncoding encodingForNewText(std::u16string_view text);
std::string encodeText(std::u16string_view text, TextFileEncoding encoding);
// The byte-order mark a new file of this encoding starts with ("" for the ANSI forms).
std::string_view byteOrderMark(TextFileEncoding encoding);

} // namespace vbscript
