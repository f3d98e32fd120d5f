#pragma once

// Splits script text into tokens: names and keywords (case-insensitive), literals, operators
// and statement ends. Comments and line continuations are dropped here.

#include "Value.h"

#include <string>
#include <string_view>
#include <vector>

namespace vbscript {

enum class Tok : uint8_t {
    End,     // end of text
    Newline, // end of a line
    Colon,   // ':' statement separator
    Name,    // identifier or keyword (see Token::keyword)
    Literal, // number, string, date
    Dot,     // '.' (member access)
    WithDot, // '.' starting a member of the With object (blank or line start before)
    LParen,
    RParen,
    Comma,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Amp,
};

enum class Kw : uint8_t {
    None,
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Default,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Erase,
    Error,
    Exit,
    Explicit,
    False,
    For,
    Function,
    Get,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Let,
    Loop,
    Me,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Preserve,
    Private,
    Property,
    Public,
    ReDim,
    Resume,
    Select,
    Set,
    Step,
    Stop,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor,
};

struct Token {
    Tok type = Tok::End;
    Kw keyword = Kw::None;  // set for names that spell a keyword
    bool bracketed = false; // [name] form: never a keyword
    int line = 1;
    int column = 1;
    std::u16string text; // the name as written
    Value value;         // literals
};

// Throws ScriptError with a compile error number and the position on bad input. When
// `tokensBeforeComment` is given, it receives how many tokens precede the first comment, or
// kNoComment.
inline constexpr size_t kNoComment = static_cast<size_t>(-1);
std::vector<Token> tokenize(std::u16string_view source, size_t* tokensBeforeComment = nullptr);

// Keywords that may not be used as names.
bool isReservedKeyword(Kw keyword);

} // namespace vbscript
