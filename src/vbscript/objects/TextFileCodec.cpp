#include "vbscript/objects/TextFileCodec.h"

#include "vbscript/builtins/Cp932.h"

namespace vbscript {

namespace {

// Decodes strict UTF-8 into UTF-16; false when the bytes are no valid UTF-8.
bool decodeUtf8(std::string_view bytes, std::u16string& out) {
    out.clear();
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        uint32_t cp;
        size_t extra;
        if (b0 < 0x80) {
            cp = b0;
            extra = 0;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            cp = b0 & 0x1F;
            extra = 1;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            cp = b0 & 0x0F;
            extra = 2;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            cp = b0 & 0x07;
            extra = 3;
        } else {
            return false;
        }
        if (i + extra >= bytes.size() && extra > 0)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (b & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += extra + 1;
    }
    return true;
}

std::string encodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | cp >> 6));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | cp >> 12));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | cp >> 18));
            out.push_back(char(0x80 | (cp >> 12 & 0x3F)));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead && i + 1 < bytes.size()) {
            const auto code =
                static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(bytes[i + 1]));
            if (const auto ch = lib::charFromCp932(code)) {
                out.push_back(*ch);
                ++i;
                continue;
            }
        }
        out.push_back(lib::charFromCp932(b).value_or(u'\uFFFD'));
    }
    return out;
}

} // namespace

DecodedText decodeTextFile(std::string_view bytes) {
    DecodedText result;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        result.encoding = TextFileEncoding::Utf16;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            result.text.push_back(char16_t(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8));
        return result;
    }
    std::string_view body = bytes;
    if (body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);
    if (decodeUtf8(body, result.text)) {
        bool ascii = true;
        for (char c : body)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        result.encoding =
            ascii && body.size() == bytes.size() ? TextFileEncoding::Cp932 : TextFileEncoding::Utf8;
        return result;
    }
    result.text = decodeCp932(bytes);
    result.encoding = TextFileEncoding::Cp932;
    return result;
}

TextFileEncoding encodingForNewText(std::u16string_view text) {
    for (char16_t c : text)
        if (c >= 0x80 && !lib::cp932CodeOf(c))
            return TextFileEncoding::Utf8;
    return TextFileEncoding::Cp932;
}

std::string encodeText(std::u16string_view text, TextFileEncoding encoding) {
    std::string out;
    switch (encoding) {
    case TextFileEncoding::Utf8:
        return encodeUtf8(text);
    case TextFileEncoding::Utf16:
        out.reserve(text.size() * 2);
        for (char16_t c : text) {
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>(c >> 8));
        }
        return out;
    case TextFileEncoding::Cp932:
        out.reserve(text.size());
        for (char16_t c : text) {
            const uint16_t code = lib::cp932CodeOf(c).value_or(u'?');
            if (code > 0xFF)
                out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        }
        return out;
    }
    return out;
}

std::string_view byteOrderMark(TextFileEncoding encoding) {
    return encoding == TextFileEncoding::Utf16 ? std::string_view("\xFF\xFE", 2)
                                               : std::string_view();
}

} // namespace vbscript
