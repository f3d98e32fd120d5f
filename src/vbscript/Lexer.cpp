#include "Lexer.h"

#include "Conversions.h"
#include "NameChars.h"
#include "ScriptError.h"
#include "Text.h"

#include <cmath>
#include <unordered_map>

namespace vbscript {

namespace {

const std::unordered_map<std::u16string, Kw>& keywordTable() {
    static const std::unordered_map<std::u16string, Kw> table = {
        {u"and", Kw::And},
        {u"byref", Kw::ByRef},
        {u"byval", Kw::ByVal},
        {u"call", Kw::Call},
        {u"case", Kw::Case},
        {u"class", Kw::Class},
        {u"const", Kw::Const},
        {u"default", Kw::Default},
        {u"dim", Kw::Dim},
        {u"do", Kw::Do},
        {u"each", Kw::Each},
        {u"else", Kw::Else},
        {u"elseif", Kw::ElseIf},
        {u"empty", Kw::Empty},
        {u"end", Kw::End},
        {u"eqv", Kw::Eqv},
        {u"erase", Kw::Erase},
        {u"error", Kw::Error},
        {u"exit", Kw::Exit},
        {u"explicit", Kw::Explicit},
        {u"false", Kw::False},
        {u"for", Kw::For},
        {u"function", Kw::Function},
        {u"get", Kw::Get},
        {u"goto", Kw::GoTo},
        {u"if", Kw::If},
        {u"imp", Kw::Imp},
        {u"in", Kw::In},
        {u"is", Kw::Is},
        {u"let", Kw::Let},
        {u"loop", Kw::Loop},
        {u"me", Kw::Me},
        {u"mod", Kw::Mod},
        {u"new", Kw::New},
        {u"next", Kw::Next},
        {u"not", Kw::Not},
        {u"nothing", Kw::Nothing},
        {u"null", Kw::Null},
        {u"on", Kw::On},
        {u"option", Kw::Option},
        {u"or", Kw::Or},
        {u"preserve", Kw::Preserve},
        {u"private", Kw::Private},
        {u"property", Kw::Property},
        {u"public", Kw::Public},
        {u"redim", Kw::ReDim},
        {u"resume", Kw::Resume},
        {u"select", Kw::Select},
        {u"set", Kw::Set},
        {u"step", Kw::Step},
        {u"stop", Kw::Stop},
        {u"sub", Kw::Sub},
        {u"then", Kw::Then},
        {u"to", Kw::To},
        {u"true", Kw::True},
        {u"until", Kw::Until},
        {u"wend", Kw::Wend},
        {u"while", Kw::While},
        {u"with", Kw::With},
        {u"xor", Kw::Xor},
    };
    return table;
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// How many code units of `s` from `i` form one name character (0: none). Letters of every
// script count, not symbols or punctuation: "今日は晴れ。" is no name followed by garbage but
// an invalid character, so that such a line reads as prose.
size_t nameCharLength(std::u16string_view s, size_t i, bool first) {
    const char16_t c = s[i];
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
        return 1;
    if (c < 0x80)
        return !first && ((c >= u'0' && c <= u'9') || c == u'_') ? 1 : 0;
    if (isHighSurrogate(c) && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
        return isNameCodePointBeyondBmp(cp) ? 2 : 0;
    }
    return (first ? isNameStartBeyondAscii(c) : isNameCharBeyondAscii(c)) ? 1 : 0;
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x3000 || c == u'\v' || c == u'\f';
}

class Lexer {
public:
    explicit Lexer(std::u16string_view s) : m_s(s) {}

    std::vector<Token> run() {
        while (m_i < m_s.size()) {
            const char16_t c = m_s[m_i];
            if (isBlank(c)) {
                ++m_i;
                continue;
            }
            if (c == u'\r' || c == u'\n') {
                newline();
                continue;
            }
            if (c == u'\'') {
                skipComment();
                continue;
            }
            if (c == u'_' && continuation())
                continue;
            const int col = column();
            if (nameCharLength(m_s, m_i, true) > 0) {
                name(col);
                continue;
            }
            if (isDigit(c) ||
                (c == u'.' && m_i + 1 < m_s.size() && isDigit(m_s[m_i + 1]) && !afterOperand())) {
                number(col);
                continue;
            }
            switch (c) {
            case u'"':
                string(col);
                continue;
            case u'#':
                date(col);
                continue;
            case u'[':
                bracketName(col);
                continue;
            case u'&':
                if (startsRadixNumber()) {
                    radixNumber(col);
                    continue;
                }
                simple(Tok::Amp, col, 1);
                continue;
            case u':':
                simple(Tok::Colon, col, 1);
                continue;
            case u'.': {
                const bool withDot = !afterOperand();
                simple(withDot ? Tok::WithDot : Tok::Dot, col, 1);
                continue;
            }
            case u'(':
                simple(Tok::LParen, col, 1);
                continue;
            case u')':
                simple(Tok::RParen, col, 1);
                continue;
            case u',':
                simple(Tok::Comma, col, 1);
                continue;
            case u'=':
                // "=>" and "=<" are the comparisons written the other way round.
                if (peek(1) == u'>')
                    simple(Tok::Ge, col, 2);
                else if (peek(1) == u'<')
                    simple(Tok::Le, col, 2);
                else
                    simple(Tok::Eq, col, 1);
                continue;
            case u'<':
                if (peek(1) == u'>')
                    simple(Tok::Ne, col, 2);
                else if (peek(1) == u'=')
                    simple(Tok::Le, col, 2);
                else
                    simple(Tok::Lt, col, 1);
                continue;
            case u'>':
                if (peek(1) == u'=')
                    simple(Tok::Ge, col, 2);
                else if (peek(1) == u'<')
                    simple(Tok::Ne, col, 2);
                else
                    simple(Tok::Gt, col, 1);
                continue;
            case u'+':
                simple(Tok::Plus, col, 1);
                continue;
            case u'-':
                simple(Tok::Minus, col, 1);
                continue;
            case u'*':
                simple(Tok::Star, col, 1);
                continue;
            case u'/':
                simple(Tok::Slash, col, 1);
                continue;
            case u'\\':
                simple(Tok::Backslash, col, 1);
                continue;
            case u'^':
                simple(Tok::Caret, col, 1);
                continue;
            default:
                fail(err::SyntaxError + 30, col); // 1032 invalid character
            }
        }
        Token end;
        end.type = Tok::End;
        end.line = m_line;
        end.column = column();
        m_out.push_back(std::move(end));
        return std::move(m_out);
    }

    size_t tokensBeforeComment() const { return m_tokensBeforeComment; }

private:
    char16_t peek(size_t ahead) const { return m_i + ahead < m_s.size() ? m_s[m_i + ahead] : 0; }
    int column() const { return static_cast<int>(m_i - m_lineStart) + 1; }

    [[noreturn]] void fail(int number, int col) {
        ScriptError e(number, errorDescription(number), std::u16string(kCompileSource));
        e.line = m_line;
        e.column = col;
        throw e;
    }

    // True when the previous token ends an operand, so '.' is member access and not a With
    // member or a number.
    bool afterOperand() const {
        if (m_out.empty() || m_i == 0)
            return false;
        const char16_t before = m_s[m_i - 1];
        if (isBlank(before))
            return false;
        const Tok t = m_out.back().type;
        return t == Tok::Name || t == Tok::RParen || t == Tok::Literal;
    }

    void simple(Tok type, int col, size_t length) {
        Token t;
        t.type = type;
        t.line = m_line;
        t.column = col;
        m_out.push_back(std::move(t));
        m_i += length;
    }

    void newline() {
        if (m_s[m_i] == u'\r' && peek(1) == u'\n')
            ++m_i;
        Token t;
        t.type = Tok::Newline;
        t.line = m_line;
        t.column = column();
        m_out.push_back(std::move(t));
        ++m_i;
        ++m_line;
        m_lineStart = m_i;
    }

    void skipComment() {
        if (m_tokensBeforeComment == kNoComment)
            m_tokensBeforeComment = m_out.size();
        while (m_i < m_s.size() && m_s[m_i] != u'\r' && m_s[m_i] != u'\n')
            ++m_i;
    }

    // "_" at the end of a line joins it with the next ("x = _", "x =_"). A name never reaches
    // here with its "_", so no blank is needed before it.
    bool continuation() {
        size_t j = m_i + 1;
        while (j < m_s.size() && isBlank(m_s[j]))
            ++j;
        if (j < m_s.size() && m_s[j] != u'\r' && m_s[j] != u'\n')
            return false;
        if (j < m_s.size()) {
            if (m_s[j] == u'\r' && j + 1 < m_s.size() && m_s[j + 1] == u'\n')
                ++j;
            ++j;
        }
        m_i = j;
        ++m_line;
        m_lineStart = m_i;
        return true;
    }

    void name(int col) {
        const size_t start = m_i;
        m_i += nameCharLength(m_s, m_i, true);
        while (m_i < m_s.size()) {
            const size_t length = nameCharLength(m_s, m_i, false);
            if (length == 0)
                break;
            m_i += length;
        }
        Token t;
        t.type = Tok::Name;
        t.line = m_line;
        t.column = col;
        t.text = std::u16string(m_s.substr(start, m_i - start));
        if (t.text.size() > 255)
            fail(1030, col);
        const auto it = keywordTable().find(foldCase(t.text));
        if (it != keywordTable().end())
            t.keyword = it->second;
        // Rem starts a comment anywhere (x = 1 : Rem note) except as a member name (obj.Rem).
        const bool member =
            !m_out.empty() && (m_out.back().type == Tok::Dot || m_out.back().type == Tok::WithDot);
        if (t.keyword == Kw::None && !member && equalsIgnoreCase(t.text, u"rem")) {
            skipComment();
            return;
        }
        m_out.push_back(std::move(t));
    }

    void bracketName(int col) {
        const size_t start = ++m_i;
        while (m_i < m_s.size() && m_s[m_i] != u']' && m_s[m_i] != u'\n' && m_s[m_i] != u'\r')
            ++m_i;
        if (m_i >= m_s.size() || m_s[m_i] != u']')
            fail(1007, col);
        Token t;
        t.type = Tok::Name;
        t.bracketed = true;
        t.line = m_line;
        t.column = col;
        t.text = std::u16string(m_s.substr(start, m_i - start));
        ++m_i;
        m_out.push_back(std::move(t));
    }

    void literal(Value v, int col) {
        Token t;
        t.type = Tok::Literal;
        t.line = m_line;
        t.column = col;
        t.value = std::move(v);
        m_out.push_back(std::move(t));
    }

    void number(int col) {
        const size_t start = m_i;
        bool isFloat = false;
        while (m_i < m_s.size() && isDigit(m_s[m_i]))
            ++m_i;
        if (m_i < m_s.size() && m_s[m_i] == u'.') {
            isFloat = true;
            ++m_i;
            while (m_i < m_s.size() && isDigit(m_s[m_i]))
                ++m_i;
        }
        if (m_i < m_s.size() && (m_s[m_i] == u'e' || m_s[m_i] == u'E')) {
            size_t j = m_i + 1;
            if (j < m_s.size() && (m_s[j] == u'+' || m_s[j] == u'-'))
                ++j;
            if (j < m_s.size() && isDigit(m_s[j])) {
                isFloat = true;
                m_i = j;
                while (m_i < m_s.size() && isDigit(m_s[m_i]))
                    ++m_i;
            } else {
                fail(1031, col);
            }
        }
        if (m_i < m_s.size() && nameCharLength(m_s, m_i, false) > 0)
            fail(1025, column());
        std::string text;
        for (size_t k = start; k < m_i; ++k)
            text.push_back(static_cast<char>(m_s[k]));
        const double v = std::strtod(text.c_str(), nullptr);
        if (!std::isfinite(v))
            fail(1031, col);
        if (!isFloat && v <= 32767)
            literal(Value::integer(static_cast<int16_t>(v)), col);
        else if (!isFloat && v <= 2147483647.0)
            literal(Value::longValue(static_cast<int32_t>(v)), col);
        else
            literal(Value::dbl(v), col);
    }

    // "&H1F" and "&O17": a prefix and at least one digit of its radix. "&" before anything
    // else is the concatenation operator ("1"&1).
    bool startsRadixNumber() const {
        const char16_t p = peek(1);
        const char16_t d = peek(2);
        if (p == u'H' || p == u'h')
            return isDigit(d) || (d >= u'a' && d <= u'f') || (d >= u'A' && d <= u'F');
        if (p == u'O' || p == u'o')
            return d >= u'0' && d <= u'7';
        return false;
    }

    void radixNumber(int col) {
        ++m_i; // '&'
        int radix = 8;
        if (m_s[m_i] == u'H' || m_s[m_i] == u'h') {
            radix = 16;
            ++m_i;
        } else if (m_s[m_i] == u'O' || m_s[m_i] == u'o') {
            ++m_i;
        }
        uint64_t value = 0;
        size_t digits = 0;
        while (m_i < m_s.size()) {
            const char16_t c = m_s[m_i];
            int d = -1;
            if (isDigit(c))
                d = c - u'0';
            else if (c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            if (d < 0 || d >= radix)
                break;
            value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
            if (value > 0xFFFFFFFFull)
                fail(1031, col);
            ++digits;
            ++m_i;
        }
        if (digits == 0)
            fail(1031, col);
        // Without a suffix four hex digits are an Integer (&HFFFF is -1); with "&" only a value
        // an Integer holds as it stands stays one (&HFF& is 255, &HFFFF& the Long 65535).
        bool suffix = false;
        if (m_i < m_s.size() && m_s[m_i] == u'&') {
            suffix = true;
            ++m_i;
        }
        if (suffix ? value <= 0x7FFF : value <= 0xFFFF)
            literal(Value::integer(static_cast<int16_t>(static_cast<uint16_t>(value))), col);
        else
            literal(Value::longValue(static_cast<int32_t>(static_cast<uint32_t>(value))), col);
    }

    void string(int col) {
        ++m_i;
        std::u16string text;
        for (;;) {
            if (m_i >= m_s.size() || m_s[m_i] == u'\r' || m_s[m_i] == u'\n')
                fail(1033, col);
            if (m_s[m_i] == u'"') {
                if (peek(1) == u'"') {
                    text.push_back(u'"');
                    m_i += 2;
                    continue;
                }
                ++m_i;
                break;
            }
            text.push_back(m_s[m_i++]);
        }
        literal(Value::string(std::move(text)), col);
    }

    void date(int col) {
        const size_t start = ++m_i;
        while (m_i < m_s.size() && m_s[m_i] != u'#' && m_s[m_i] != u'\n' && m_s[m_i] != u'\r')
            ++m_i;
        if (m_i >= m_s.size() || m_s[m_i] != u'#')
            fail(1032, col);
        const auto d = parseDate(m_s.substr(start, m_i - start), DateTextOrder::MonthFirst);
        ++m_i;
        if (!d)
            fail(1002, col);
        literal(Value::date(*d), col);
    }

    std::u16string_view m_s;
    size_t m_i = 0;
    size_t m_lineStart = 0;
    int m_line = 1;
    std::vector<Token> m_out;
    size_t m_tokensBeforeComment = kNoComment;
};

} // namespace

std::vector<Token> tokenize(std::u16string_view source, size_t* tokensBeforeComment) {
    Lexer lexer(source);
    std::vector<Token> tokens = lexer.run();
    if (tokensBeforeComment)
        *tokensBeforeComment = lexer.tokensBeforeComment();
    return tokens;
}

bool isReservedKeyword(Kw k) {
    switch (k) {
    case Kw::None:
    case Kw::Default:
    case Kw::Error:
    case Kw::Explicit:
    case Kw::Get:
    case Kw::Let:
    case Kw::Preserve:
    case Kw::Property:
    case Kw::Resume:
    case Kw::Step:
    case Kw::Stop:
        return false;
    default:
        return true;
    }
}

} // namespace vbscript
