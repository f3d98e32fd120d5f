#include "memo/SearchFold.h"

#include <unicode/utrans.h>

#include <QStringList>

namespace memo {

struct SearchFold::Transliterator {
    UTransliterator* handle = nullptr;
    ~Transliterator() {
        if (handle)
            utrans_close(handle);
    }
};

SearchFold::SearchFold()
    : m_kana(std::make_unique<Transliterator>()), m_bmp(0x10000), m_bmpKnown(0x10000, false) {
    UErrorCode status = U_ZERO_ERROR;
    static const char16_t kId[] = u"Hiragana-Katakana";
    m_kana->handle = utrans_openU(kId, -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status);
    if (U_FAILURE(status)) {
        // ICU without its transform data: kana still match themselves.
        qWarning("find: ICU has no Hiragana-Katakana transform (%s)", u_errorName(status));
        m_kana->handle = nullptr;
    }
}

SearchFold::~SearchFold() = default;

QString SearchFold::toKatakana(const QString& text) const {
    if (!m_kana->handle)
        return text;
    // The transform never lengthens kana by more than a few characters per character.
    const int32_t capacity = int32_t(text.size()) * 4 + 8;
    std::vector<char16_t> buffer(size_t(capacity), 0);
    std::copy(text.utf16(), text.utf16() + text.size(), buffer.begin());
    int32_t length = int32_t(text.size());
    int32_t limit = length;
    UErrorCode status = U_ZERO_ERROR;
    utrans_transUChars(m_kana->handle, buffer.data(), &length, capacity, 0, &limit, &status);
    if (U_FAILURE(status))
        return text;
    return QString::fromUtf16(buffer.data(), length);
}

SearchFold::Folded SearchFold::foldSlow(const QString& text) const {
    Folded result;
    result.text = toKatakana(text.normalized(QString::NormalizationForm_KC).toCaseFolded())
                      .normalized(QString::NormalizationForm_KC);
    result.startsWithMark = !result.text.isEmpty() && result.text.at(0).isMark();
    return result;
}

const SearchFold::Folded& SearchFold::foldCodePoint(char32_t codePoint) {
    if (codePoint < 0x10000) {
        if (!m_bmpKnown[codePoint]) {
            m_bmp[codePoint] = foldSlow(QString(QChar(char16_t(codePoint))));
            m_bmpKnown[codePoint] = true;
        }
        return m_bmp[codePoint];
    }
    auto it = m_astral.find(codePoint);
    if (it == m_astral.end())
        it = m_astral.insert(codePoint, foldSlow(QString::fromUcs4(&codePoint, 1)));
    return *it;
}

QString SearchFold::fold(QStringView text) {
    QString out;
    foldInto(text, out);
    return out;
}

void SearchFold::foldInto(QStringView text, QString& out, QList<std::pair<int, int>>* origins) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // One character, with the marks that follow it (ｶ and ﾞ, か and U+3099).
        const qsizetype start = i;
        const auto next = [&](qsizetype at, qsizetype& after) {
            char32_t c = text[at].unicode();
            after = at + 1;
            if (QChar::isHighSurrogate(c) && after < n && text[after].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[after++].unicode());
            return c;
        };
        qsizetype after = 0;
        const Folded* single = &foldCodePoint(next(i, after));
        i = after;
        bool cluster = false;
        while (i < n) {
            const Folded& mark = foldCodePoint(next(i, after));
            if (!mark.startsWithMark)
                break;
            cluster = true;
            i = after;
        }
        if (!cluster && single->text.size() == 1 && !origins) {
            out += single->text.front();
            continue;
        }
        const QString folded =
            cluster ? foldSlow(text.mid(start, i - start).toString()).text : single->text;
        out += folded;
        if (origins)
            for (qsizetype k = 0; k < folded.size(); ++k)
                origins->append({int(start), int(i)});
    }
}

bool isFindableQuery(QStringView query) {
    for (QChar c : query)
        if (!c.isSpace())
            return true;
    return false;
}

QList<std::pair<int, int>> matchRanges(SearchFold& fold, QStringView line, QStringView query) {
    QList<std::pair<int, int>> ranges;
    const QString needle = fold.fold(query);
    if (needle.isEmpty())
        return ranges;
    QString folded;
    QList<std::pair<int, int>> origins;
    fold.foldInto(line, folded, &origins);
    qsizetype from = 0;
    while ((from = folded.indexOf(needle, from)) >= 0) {
        const qsizetype last = from + needle.size() - 1;
        ranges.append({origins[from].first, origins[last].second});
        from += needle.size();
    }
    return ranges;
}

} // namespace memo
