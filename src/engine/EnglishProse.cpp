#include "engine/EnglishProse.h"

#include <QStringList>

namespace engine {

namespace {

bool isLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Punctuation of ordinary sentences. The script language's other operators (+ * ^ \ = < >) and
// its brackets and underscore mark a line as code.
bool isSentencePunctuation(QChar c) {
    return QStringView(u".,!?'\":;-()/&%$#@").contains(c);
}

// Operators that, between two numbers, make the line a calculation.
bool isOperatorChar(QChar c) {
    return QStringView(u"+-*/\\^=<>&").contains(c);
}

bool isOperatorWord(const QString& word) {
    static const QStringList words{QStringLiteral("mod"), QStringLiteral("xor"),
                                   QStringLiteral("eqv"), QStringLiteral("imp")};
    return words.contains(word.toLower());
}

bool isNumber(QStringView word) {
    bool digit = false;
    for (QChar c : word) {
        if (isDigit(c))
            digit = true;
        else if (c != QLatin1Char('.') && c != QLatin1Char(','))
            return false;
    }
    return digit;
}

// "2+3", "2 * 3", "7 -2": a number, blanks, an operator character, blanks, a number.
bool hasOperatorBetweenNumbers(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            continue;
        qsizetype j = i + 1;
        while (j < text.size() && (isDigit(text[j]) || text[j] == QLatin1Char('.')))
            ++j;
        while (j < text.size() && text[j] == QLatin1Char(' '))
            ++j;
        if (j >= text.size() || !isOperatorChar(text[j]))
            continue;
        ++j;
        while (j < text.size() && (isOperatorChar(text[j]) || text[j] == QLatin1Char(' ')))
            ++j;
        if (j < text.size() && (isDigit(text[j]) || text[j] == QLatin1Char('(')))
            return true;
    }
    return false;
}

} // namespace

bool IsEnglishProse(const QString& text) {
    for (QChar c : text) {
        if (!(isLetter(c) || isDigit(c) || c == QLatin1Char(' ') || isSentencePunctuation(c)))
            return false;
    }
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return false;
    bool hasRealWord = false;
    for (qsizetype w = 0; w < words.size(); ++w) {
        const QString& word = words[w];
        qsizetype letters = 0;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (isLetter(word[i]))
                ++letters;
            // A name or number directly followed by "(" is a call or an index.
            if (word[i] == QLatin1Char('(') && i > 0 &&
                (isLetter(word[i - 1]) || isDigit(word[i - 1])))
                return false;
        }
        hasRealWord = hasRealWord || letters >= 2;
        // "10 mod 3", "10 mod": a number beside an operator word is a calculation.
        const bool numberBefore = w > 0 && isNumber(words[w - 1]);
        const bool numberAfter = w + 1 < words.size() && isNumber(words[w + 1]);
        if (isOperatorWord(word) && (numberBefore || numberAfter))
            return false;
    }
    return hasRealWord && !hasOperatorBetweenNumbers(text);
}

} // namespace engine
