#include "vbscript/builtins/Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace vbscript::lib {

namespace {

// glibc's "CP932" converter carries Microsoft's table; "SHIFT_JIS" differs in a few places
// (backslash, tilde, the NEC and IBM extensions).
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input; returns the number of output bytes, or -1 on failure.
    int convert(const char* in, size_t inLength, char* out, size_t outCapacity) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return -1;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        size_t inLeft = inLength;
        size_t outLeft = outCapacity;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return -1;
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return -1;
        if (inLeft != 0)
            return -1;
        return static_cast<int>(outCapacity - outLeft);
    }

private:
    iconv_t m_cd;
};

Converter& encoder() {
    thread_local Converter converter("CP932", "UTF-16LE");
    return converter;
}

Converter& decoder() {
    thread_local Converter converter("UTF-16LE", "CP932");
    return converter;
}

// The single bytes Windows decodes although the code page assigns them nothing; a Japanese
// system's Chr and Asc answer with these, where the iconv table has no entry.
struct SingleByteExtra {
    std::uint8_t code;
    char16_t ch;
};
constexpr SingleByteExtra kSingleByteExtras[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'},
};

} // namespace

std::optional<std::uint16_t> cp932CodeOf(char16_t ch) {
    if (ch < 0x80)
        return ch;
    for (const SingleByteExtra& extra : kSingleByteExtras)
        if (extra.ch == ch)
            return extra.code;
    if (ch >= 0xD800 && ch <= 0xDFFF)
        return std::nullopt;
    const char in[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
    unsigned char out[8];
    const int n = encoder().convert(in, 2, reinterpret_cast<char*>(out), sizeof out);
    if (n == 1)
        return out[0];
    if (n == 2)
        return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    return std::nullopt;
}

std::optional<char16_t> charFromCp932(std::uint16_t code) {
    if (code < 0x80)
        return static_cast<char16_t>(code);
    for (const SingleByteExtra& extra : kSingleByteExtras)
        if (extra.code == code)
            return extra.ch;
    char in[2];
    size_t length;
    if (code < 0x100) {
        in[0] = static_cast<char>(code);
        length = 1;
    } else {
        in[0] = static_cast<char>(code >> 8);
        in[1] = static_cast<char>(code & 0xFF);
        length = 2;
    }
    unsigned char out[8];
    const int n = decoder().convert(in, length, reinterpret_cast<char*>(out), sizeof out);
    if (n != 2)
        return std::nullopt;
    return static_cast<char16_t>(out[0] | out[1] << 8);
}

} // namespace vbscript::lib
