#include "script/vba/VbaStrConv.h"

#include "platform/TextCodec.h"

#include <QHash>

namespace script {

namespace {

// Half-width katakana U+FF61..U+FF9F and their full-width forms.
const char16_t kFullFromHalf[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    u"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
constexpr char16_t kHalfFirst = 0xFF61;
constexpr char16_t kHalfLast = 0xFF9F;
constexpr char16_t kHalfVoiced = 0xFF9E;     // ﾞ
constexpr char16_t kHalfSemiVoiced = 0xFF9F; // ﾟ

// ASCII punctuation whose full-width form is not at the plain offset, and the extra full-width
// forms that narrow to the same character.
struct WideOverride {
    char16_t narrow;
    char16_t wide;
};
const WideOverride kWideForms[] = {
    {u'"', u'”'},
    {u'\'', u'’'},
    {u'`', u'‘'},
    {u'-', u'－'},
};
const WideOverride kExtraNarrowing[] = {
    {u'"', u'“'}, {u'"', u'＂'}, {u'\'', u'＇'}, {u'`', u'｀'}, {u'-', u'‐'}, {u'-', u'−'},
};

const QHash<char16_t, char16_t>& halfFromFull() {
    static const QHash<char16_t, char16_t> table = [] {
        QHash<char16_t, char16_t> t;
        for (char16_t h = kHalfFirst; h <= kHalfLast; ++h) {
            t.insert(kFullFromHalf[h - kHalfFirst], h);
        }
        return t;
    }();
    return table;
}

// The katakana a voiced mark turns a base into, or 0.
char16_t voicedOf(char16_t base, bool semiVoiced) {
    if (semiVoiced) {
        return (base >= u'ハ' && base <= u'ホ' && (base - u'ハ') % 3 == 0) ? base + 2 : 0;
    }
    if (base == u'ウ') {
        return u'ヴ';
    }
    if ((base >= u'カ' && base <= u'チ' && (base - u'カ') % 2 == 0) ||
        (base >= u'ツ' && base <= u'ト' && (base - u'ツ') % 2 == 0) ||
        (base >= u'ハ' && base <= u'ホ' && (base - u'ハ') % 3 == 0)) {
        return base + 1;
    }
    return 0;
}

// Splits a voiced katakana into its base and mark (true for the semi-voiced mark).
bool splitVoiced(char16_t c, char16_t& base, bool& semiVoiced) {
    if (c == u'ヴ') {
        base = u'ウ';
        semiVoiced = false;
        return true;
    }
    for (char16_t b : {u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ',
                       u'タ', u'チ', u'ツ', u'テ', u'ト', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ'}) {
        if (voicedOf(b, false) == c) {
            base = b;
            semiVoiced = false;
            return true;
        }
        if (voicedOf(b, true) == c && c != 0) {
            base = b;
            semiVoiced = true;
            return true;
        }
    }
    return false;
}

QString toWide(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c >= kHalfFirst && c <= kHalfLast) {
            const char16_t full = kFullFromHalf[c - kHalfFirst];
            if (i + 1 < s.size() &&
                (s[i + 1].unicode() == kHalfVoiced || s[i + 1].unicode() == kHalfSemiVoiced)) {
                if (const char16_t joined = voicedOf(full, s[i + 1].unicode() == kHalfSemiVoiced)) {
                    out += QChar(joined);
                    ++i;
                    continue;
                }
            }
            out += QChar(full);
            continue;
        }
        if (c == u' ') {
            out += QChar(u'\u3000');
            continue;
        }
        // The backslash is the yen sign of the code page and keeps its width.
        if (c > 0x20 && c < 0x7F && c != u'\\') {
            char16_t wide = c - 0x21 + 0xFF01;
            for (const WideOverride& o : kWideForms) {
                if (o.narrow == c) {
                    wide = o.wide;
                }
            }
            out += QChar(wide);
            continue;
        }
        out += QChar(c);
    }
    return out;
}

QString toNarrow(const QString& s) {
    QString out;
    out.reserve(s.size());
    const auto& half = halfFromFull();
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        if (c >= 0xFF01 && c <= 0xFF5E) {
            out += QChar(c - 0xFF01 + 0x21);
            continue;
        }
        if (c == 0x3000) {
            out += QChar(u' ');
            continue;
        }
        bool mapped = false;
        for (const WideOverride& o : kWideForms) {
            if (o.wide == c) {
                out += QChar(o.narrow);
                mapped = true;
            }
        }
        for (const WideOverride& o : kExtraNarrowing) {
            if (!mapped && o.wide == c) {
                out += QChar(o.narrow);
                mapped = true;
            }
        }
        if (mapped) {
            continue;
        }
        if (const auto it = half.constFind(c); it != half.constEnd()) {
            out += QChar(*it);
            continue;
        }
        char16_t base = 0;
        bool semiVoiced = false;
        if (splitVoiced(c, base, semiVoiced)) {
            out += QChar(half.value(base));
            out += QChar(semiVoiced ? kHalfSemiVoiced : kHalfVoiced);
            continue;
        }
        out += ch;
    }
    return out;
}

// Hiragana U+3041..U+3096 sit 0x60 below their katakana; so do the iteration marks ゝゞ/ヽヾ.
QString toKatakana(QString s) {
    for (QChar& ch : s) {
        const char16_t c = ch.unicode();
        if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) {
            ch = QChar(c + 0x60);
        }
    }
    return s;
}

// ヴ, ヵ and ヶ stay katakana: their hiragana are missing from the code page the program's files
// are written in.
QString toHiragana(QString s) {
    for (QChar& ch : s) {
        const char16_t c = ch.unicode();
        if ((c >= 0x30A1 && c <= 0x30F3) || c == 0x30FD || c == 0x30FE) {
            ch = QChar(c - 0x60);
        }
    }
    return s;
}

QString mapCase(const QString& s, bool upper) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t cp = s[i].unicode();
        const bool pair = s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate();
        if (pair) {
            cp = QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        }
        // Simple one-to-one mappings only, so the length never changes ("ß" stays).
        const char32_t mapped = upper ? QChar::toUpper(cp) : QChar::toLower(cp);
        if (QChar::requiresSurrogates(mapped)) {
            out += QChar(QChar::highSurrogate(mapped));
            out += QChar(QChar::lowSurrogate(mapped));
        } else {
            out += QChar(static_cast<char16_t>(mapped));
        }
    }
    return out;
}

bool isWordSeparator(QChar c) {
    const char16_t u = c.unicode();
    return u == 0 || (u >= 9 && u <= 13) || u == 32 || u == 0x3000;
}

QString toProperCase(const QString& s) {
    QString lower = mapCase(s, false);
    bool wordStart = true;
    for (qsizetype i = 0; i < lower.size(); ++i) {
        if (isWordSeparator(lower[i])) {
            wordStart = true;
            continue;
        }
        if (wordStart && !lower[i].isSurrogate()) {
            lower[i] = QChar(static_cast<char16_t>(QChar::toUpper(lower[i].unicode())));
        }
        wordStart = false;
    }
    return lower;
}

} // namespace

QString packBytes(const QByteArray& bytes) {
    QString out;
    out.reserve((bytes.size() + 1) / 2);
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        out += QChar(static_cast<char16_t>(low | (high << 8)));
    }
    return out;
}

QByteArray unpackBytes(const QString& packed) {
    QByteArray out;
    out.reserve(packed.size() * 2);
    for (const QChar c : packed) {
        out += static_cast<char>(c.unicode() & 0xFF);
        out += static_cast<char>(c.unicode() >> 8);
    }
    // The odd last byte of packBytes.
    if (!out.isEmpty() && out.back() == '\0' && !packed.isEmpty() && packed.back().unicode() > 0) {
        out.chop(1);
    }
    return out;
}

VbaResult vbaStrConv(const QString& text, int conversion, int localeId) {
    (void)localeId;
    constexpr int known =
        vbProperCase | vbWide | vbNarrow | vbKatakana | vbHiragana | vbUnicode | vbFromUnicode;
    if (conversion < 0 || (conversion & ~known) != 0 ||
        (conversion & (vbWide | vbNarrow)) == (vbWide | vbNarrow) ||
        (conversion & (vbKatakana | vbHiragana)) == (vbKatakana | vbHiragana) ||
        (conversion & (vbUnicode | vbFromUnicode)) == (vbUnicode | vbFromUnicode)) {
        return VbaResult::fail(5);
    }
    QString s = text;
    if (conversion & vbUnicode) {
        s = platform::fromAnsi(unpackBytes(s));
    }
    // Widening first lets vbHiragana + vbWide turn half-width katakana into hiragana; narrowing
    // last lets vbKatakana + vbNarrow do the reverse.
    if (conversion & vbWide) {
        s = toWide(s);
    }
    if (conversion & vbKatakana) {
        s = toKatakana(s);
    } else if (conversion & vbHiragana) {
        s = toHiragana(s);
    }
    if (conversion & vbNarrow) {
        s = toNarrow(s);
    }
    switch (conversion & vbProperCase) {
    case vbUpperCase:
        s = mapCase(s, true);
        break;
    case vbLowerCase:
        s = mapCase(s, false);
        break;
    case vbProperCase:
        s = toProperCase(s);
        break;
    default:
        break;
    }
    if (conversion & vbFromUnicode) {
        s = packBytes(platform::toAnsi(s));
    }
    return VbaResult::ok(s);
}

} // namespace script
