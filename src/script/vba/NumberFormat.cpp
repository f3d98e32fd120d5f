#include "script/vba/NumberFormat.h"

#include "script/vba/FormatSections.h"
#include "script/vba/VbaFormat.h"

#include <cmath>
#include <vector>

namespace script {

namespace format {

namespace {

// Decimal digits of a Double, rounded the way the language rounds for display

// value = 0.d1d2d3... * 10^pointPos, i.e. pointPos digits stand before the decimal point.
struct Decimal {
    QString digits; // no leading or trailing zeros; empty for zero
    int pointPos = 0;
};

Decimal toDecimal(double value) {
    Decimal d;
    if (value == 0 || !std::isfinite(value)) {
        return d;
    }
    // Fifteen significant digits, as the language converts a Double to text before formatting,
    // so 2.675 rounds to 2.68 and 0.1 + 0.2 prints as 0.3.
    const QString e = QString::number(std::fabs(value), 'e', 14);
    const qsizetype ePos = e.indexOf(u'e');
    QString digits = e.left(ePos);
    digits.remove(u'.');
    const int exponent = e.mid(ePos + 1).toInt();
    while (digits.endsWith(u'0')) {
        digits.chop(1);
    }
    d.digits = digits;
    d.pointPos = exponent + 1;
    return d;
}

// Keeps `keep` leading digits, rounding half away from zero.
void roundDigits(Decimal& d, int keep) {
    if (keep >= d.digits.size()) {
        return;
    }
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= u'5';
    d.digits.truncate(keep);
    if (up) {
        qsizetype i = d.digits.size() - 1;
        while (i >= 0 && d.digits[i] == u'9') {
            d.digits[i] = u'0';
            --i;
        }
        if (i < 0) {
            d.digits.prepend(u'1');
            ++d.pointPos;
        } else {
            d.digits[i] = QChar(d.digits[i].unicode() + 1);
        }
    }
    while (d.digits.endsWith(u'0')) {
        d.digits.chop(1);
    }
}

QChar digitAt(const Decimal& d, int index) { // index 0 is the first digit of d.digits
    return index >= 0 && index < d.digits.size() ? d.digits[index] : QChar(u'0');
}

struct NumberToken {
    enum Type { Zero, Hash, Point, Comma, Percent, Exponent, Literal } type;
    QString text; // Literal: the text; Exponent: "E" or "e"
    bool exponentPlus = false;
};

std::vector<NumberToken> tokenizeNumber(QStringView s) {
    std::vector<NumberToken> tokens;
    bool point = false;
    bool exponent = false;
    bool placeholderSeen = false;
    auto literal = [&](const QString& text) {
        if (!tokens.empty() && tokens.back().type == NumberToken::Literal) {
            tokens.back().text += text;
        } else {
            tokens.push_back({NumberToken::Literal, text});
        }
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            literal(s.mid(i + 1, stop - i - 1).toString());
            i = stop;
        } else if (c == u'\\') {
            if (i + 1 < s.size()) {
                literal(QString(s[++i]));
            }
        } else if (c == u'0' || c == u'#') {
            tokens.push_back({c == u'0' ? NumberToken::Zero : NumberToken::Hash, {}});
            placeholderSeen = true;
        } else if (c == u'.' && !point && !exponent) {
            tokens.push_back({NumberToken::Point, {}});
            point = true;
        } else if (c == u',') {
            tokens.push_back({NumberToken::Comma, {}});
        } else if (c == u'%') {
            tokens.push_back({NumberToken::Percent, {}});
        } else if ((c == u'E' || c == u'e') && !exponent && placeholderSeen && i + 1 < s.size() &&
                   (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            tokens.push_back({NumberToken::Exponent, QString(c), s[i + 1] == u'+'});
            exponent = true;
            ++i;
        } else {
            literal(QString(c));
        }
    }
    return tokens;
}

bool isPlaceholder(const NumberToken& t) {
    return t.type == NumberToken::Zero || t.type == NumberToken::Hash;
}

// Formats a non-negative value with one number section.
QString formatNumberSection(double value, QStringView section) {
    const std::vector<NumberToken> tokens = tokenizeNumber(section);
    const int count = static_cast<int>(tokens.size());
    int exponentAt = count;
    int pointAt = -1;
    for (int i = 0; i < count; ++i) {
        if (tokens[i].type == NumberToken::Exponent) {
            exponentAt = i;
            break;
        }
        if (tokens[i].type == NumberToken::Point && pointAt < 0) {
            pointAt = i;
        }
    }
    const int integerEnd = pointAt >= 0 ? pointAt : exponentAt;

    int firstIntPlaceholder = -1;
    int lastIntPlaceholder = -1;
    int intPlaceholders = 0;
    int fracPlaceholders = 0;
    int percents = 0;
    for (int i = 0; i < count; ++i) {
        if (tokens[i].type == NumberToken::Percent) {
            ++percents;
        }
        if (!isPlaceholder(tokens[i])) {
            continue;
        }
        if (i < integerEnd) {
            ++intPlaceholders;
            if (firstIntPlaceholder < 0) {
                firstIntPlaceholder = i;
            }
            lastIntPlaceholder = i;
        } else if (i < exponentAt) {
            ++fracPlaceholders;
        }
    }
    // Commas between integer placeholders ask for thousands separators; commas right after the
    // last one (before the decimal point or the end) divide by 1000 each.
    bool grouping = false;
    int scaling = 0;
    for (int i = 0; i < integerEnd; ++i) {
        if (tokens[i].type != NumberToken::Comma) {
            continue;
        }
        if (i > firstIntPlaceholder && i < lastIntPlaceholder && firstIntPlaceholder >= 0) {
            grouping = true;
        } else if (lastIntPlaceholder >= 0 && i > lastIntPlaceholder) {
            ++scaling;
        }
    }

    double scaled = value;
    for (int i = 0; i < percents; ++i) {
        scaled *= 100;
    }
    for (int i = 0; i < scaling; ++i) {
        scaled /= 1000;
    }

    Decimal dec = toDecimal(scaled);
    QString integerDigits;
    QString fractionDigits;
    int exponentValue = 0;
    if (exponentAt < count) {
        if (!dec.digits.isEmpty()) {
            roundDigits(dec, intPlaceholders + fracPlaceholders);
            exponentValue = dec.pointPos - intPlaceholders;
        }
        for (int i = 0; i < intPlaceholders; ++i) {
            integerDigits += digitAt(dec, i);
        }
        for (int i = 0; i < fracPlaceholders; ++i) {
            fractionDigits += digitAt(dec, intPlaceholders + i);
        }
    } else {
        roundDigits(dec, dec.pointPos + fracPlaceholders);
        for (int i = 0; i < dec.pointPos; ++i) {
            integerDigits += digitAt(dec, i);
        }
        for (int i = 0; i < fracPlaceholders; ++i) {
            fractionDigits += digitAt(dec, dec.pointPos + i);
        }
    }
    // Leading zeros are the placeholders' business.
    qsizetype lead = 0;
    while (lead < integerDigits.size() && integerDigits[lead] == u'0') {
        ++lead;
    }
    integerDigits = integerDigits.mid(lead);

    // What each integer placeholder shows; the first one takes any surplus digits.
    std::vector<QString> shown(static_cast<size_t>(intPlaceholders));
    const int surplus = static_cast<int>(integerDigits.size()) - intPlaceholders;
    int totalIntDigits = 0;
    for (int j = 0, t = 0; t < integerEnd; ++t) {
        if (!isPlaceholder(tokens[t])) {
            continue;
        }
        const int index = surplus + j;
        QString& out = shown[static_cast<size_t>(j)];
        if (j == 0 && surplus > 0) {
            out = integerDigits.left(surplus + 1);
        } else if (index >= 0) {
            out = integerDigits[index];
        } else if (tokens[t].type == NumberToken::Zero) {
            out = QStringLiteral("0");
        }
        totalIntDigits += static_cast<int>(out.size());
        ++j;
    }
    // A format without integer placeholders still shows the integer digits, before the point.
    const bool orphanDigits = intPlaceholders == 0 && !integerDigits.isEmpty();

    // The last fraction digit that shows: trailing zeros under "#" are dropped.
    int fracShown = 0;
    {
        int j = 0;
        for (int t = integerEnd + 1; t < exponentAt; ++t) {
            if (!isPlaceholder(tokens[t])) {
                continue;
            }
            if (tokens[t].type == NumberToken::Zero || fractionDigits[j] != u'0') {
                fracShown = j + 1;
            }
            ++j;
        }
    }

    QString out;
    int emitted = 0;
    auto emitIntDigits = [&](const QString& digits) {
        for (const QChar d : digits) {
            out += d;
            ++emitted;
            const int remaining = totalIntDigits - emitted;
            if (grouping && remaining > 0 && remaining % 3 == 0) {
                out += u',';
            }
        }
    };
    if (orphanDigits) {
        totalIntDigits = static_cast<int>(integerDigits.size());
    }
    int intIndex = 0;
    int fracIndex = 0;
    int expIndex = 0;
    int expPlaceholders = 0;
    for (int t = exponentAt + 1; t < count; ++t) {
        expPlaceholders += isPlaceholder(tokens[t]) ? 1 : 0;
    }
    const QString expDigits = QString::number(std::abs(exponentValue));
    for (int t = 0; t < count; ++t) {
        const NumberToken& tok = tokens[t];
        if (orphanDigits && t == integerEnd) {
            emitIntDigits(integerDigits);
        }
        switch (tok.type) {
        case NumberToken::Literal:
            out += tok.text;
            break;
        case NumberToken::Percent:
            out += u'%';
            break;
        case NumberToken::Comma:
            break;
        case NumberToken::Point:
            out += u'.';
            break;
        case NumberToken::Exponent:
            out += tok.text;
            if (exponentValue < 0) {
                out += u'-';
            } else if (tok.exponentPlus) {
                out += u'+';
            }
            if (expPlaceholders == 0) {
                out += expDigits;
            }
            break;
        case NumberToken::Zero:
        case NumberToken::Hash:
            if (t < integerEnd) {
                emitIntDigits(shown[static_cast<size_t>(intIndex++)]);
            } else if (t < exponentAt) {
                if (fracIndex < fracShown) {
                    out += fractionDigits[fracIndex];
                }
                ++fracIndex;
            } else {
                // Exponent digits, right-aligned like integer digits.
                const int surplusExp = static_cast<int>(expDigits.size()) - expPlaceholders;
                const int index = surplusExp + expIndex;
                if (expIndex == 0 && surplusExp > 0) {
                    out += expDigits.left(surplusExp + 1);
                } else if (index >= 0) {
                    out += expDigits[index];
                } else if (tok.type == NumberToken::Zero) {
                    out += u'0';
                }
                ++expIndex;
            }
            break;
        }
    }
    if (orphanDigits && integerEnd >= count) {
        emitIntDigits(integerDigits);
    }
    return out;
}

bool showsNonZeroDigit(const QString& text) {
    for (const QChar c : text) {
        if (c >= u'1' && c <= u'9') {
            return true;
        }
    }
    return false;
}

} // namespace

QString formatNumber(double value, QStringView format) {
    const std::vector<QStringView> sections = splitSections(format);
    QStringView section = sections[0];
    bool addMinus = false;
    if (value < 0) {
        if (sections.size() >= 2 && !sections[1].isEmpty()) {
            section = sections[1];
        } else {
            addMinus = true;
        }
    } else if (value == 0 && sections.size() >= 3 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    const QString text = formatNumberSection(std::fabs(value), section);
    // No "-0.00": a negative value that rounds to zero shows no sign.
    return addMinus && showsNonZeroDigit(text) ? QStringLiteral("-") + text : text;
}

QString literalText(QStringView section) {
    QString out;
    for (const NumberToken& t : tokenizeNumber(section)) {
        if (t.type == NumberToken::Literal) {
            out += t.text;
        }
    }
    return out;
}

} // namespace format

QString vbaNumberText(double value) {
    if (value == 0) {
        return QStringLiteral("0");
    }
    if (!std::isfinite(value)) {
        return std::isnan(value)
                   ? QStringLiteral("NaN")
                   : (value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity"));
    }
    const format::Decimal d = format::toDecimal(value);
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const int exponent = d.pointPos - 1;
    if (exponent >= 15 || exponent < -4) {
        QString mantissa = d.digits.left(1);
        if (d.digits.size() > 1) {
            mantissa += u'.' + d.digits.mid(1);
        }
        return sign + mantissa + u'E' + (exponent < 0 ? u'-' : u'+') +
               QString::number(std::abs(exponent)).rightJustified(2, u'0');
    }
    if (d.pointPos <= 0) {
        return sign + QStringLiteral("0.") + QString(-d.pointPos, u'0') + d.digits;
    }
    if (d.pointPos >= d.digits.size()) {
        return sign + d.digits + QString(d.pointPos - d.digits.size(), u'0');
    }
    return sign + d.digits.left(d.pointPos) + u'.' + d.digits.mid(d.pointPos);
}

} // namespace script
