#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

namespace memo {

// Folds text for finding in memos, so that what a Japanese user considers the same text matches:
// compatibility forms (full-width ＡＢＣ and half-width ABC, half-width ｶﾞ and ガ) through Unicode
// NFKC, letter case through case folding (both Qt), and hiragana to katakana through ICU's
// "Hiragana-Katakana" transform. A base character and the marks that follow it (ｶ and ﾞ) fold as
// one. Voiced marks, accents and other letters still count: か does not match が, e not é.
//
// The fold of each character is computed once and kept, so folding years of memos costs a table
// look-up per character. One instance per thread.
class SearchFold {
public:
    SearchFold();
    ~SearchFold();
    SearchFold(const SearchFold&) = delete;
    SearchFold& operator=(const SearchFold&) = delete;

    QString fold(QStringView text);
    // Appends the fold of `text` to `out`. With `origins`, also appends for every character
    // appended the range [start, end) of the characters of `text` it came from.
    void foldInto(QStringView text, QString& out, QList<std::pair<int, int>>* origins = nullptr);

private:
    struct Folded {
        QString text;
        bool startsWithMark = false;
    };
    const Folded& foldCodePoint(char32_t codePoint);
    Folded foldSlow(const QString& text) const;
    QString toKatakana(const QString& text) const;

    struct Transliterator;
    std::unique_ptr<Transliterator> m_kana;
    std::vector<Folded> m_bmp; // by code unit; known once m_bmpKnown says so
    std::vector<bool> m_bmpKnown;
    QHash<char32_t, Folded> m_astral;
};

// Whether a query has anything to find: not empty and not only blanks.
bool isFindableQuery(QStringView query);

// The ranges [start, end) of `line` where `query` matches after folding, in order, not
// overlapping.
QList<std::pair<int, int>> matchRanges(SearchFold& fold, QStringView line, QStringView query);

} // namespace memo
