// Finding lines in memos: what a Japanese user expects to match, and what must not.

#include "memo/MemoFinder.h"
#include "memo/MemoFile.h"

#include <gtest/gtest.h>

namespace {

// A memo file as the program writes it, in UTF-8 (emoji and Korean are beyond CP932).
const char kMemoFile[] = "Title:買い物\r\nLast-Modified:2026-12-01\r\nCursorPos:0\r\n\r\n"
                         "[2026/12/01 09:00:00] 牛乳、たまご、ﾊﾟﾝ。\r\n"
                         "[2026/12/03 18:30:00] ＡＢＣマートで靴★\r\n"
                         "手書きの行\r\n"
                         ".\r\n"
                         "Title:\r\nLast-Modified:2026-12-02\r\nCursorPos:0\r\n\r\n"
                         "電話番号：090−1234〜5678\r\n"
                         "[2026/12/02 10:00:00] Café au lait 😀 한국어\r\n"
                         "「カタカナ」とひらがな…\r\n"
                         ".\r\n"
                         "Title:Ideas\r\nLast-Modified:2026-12-04\r\nCursorPos:0\r\n\r\n"
                         "[2026/12/04 07:15:00] abc Straße\r\n"
                         "かきくけこ\r\n";

QList<memo::MemoRecord> memos() {
    return memo::ParseMemoFileText(QString::fromUtf8(kMemoFile));
}

// "title<TAB>line" of every hit, in order.
QStringList found(const char* query) {
    memo::MemoFinder finder(memos());
    QStringList lines;
    for (const memo::FindHit& hit : finder.find(QString::fromUtf8(query)))
        lines << finder.title(hit.memo) + QLatin1Char('\t') + finder.lineText(hit).toString();
    return lines;
}

QString row(const char* title, const char* line) {
    return QString::fromUtf8(title) + QLatin1Char('\t') + QString::fromUtf8(line);
}

struct QueryCase {
    const char* name;
    const char* query;
    std::vector<const char*> lines; // the matching lines' texts, newest first
};

class FindQueries : public ::testing::TestWithParam<QueryCase> {};

TEST_P(FindQueries, MatchesAsFolded) {
    memo::MemoFinder finder(memos());
    QStringList lines;
    for (const memo::FindHit& hit : finder.find(QString::fromUtf8(GetParam().query)))
        lines << finder.lineText(hit).toString();
    QStringList expected;
    for (const char* line : GetParam().lines)
        expected << QString::fromUtf8(line);
    EXPECT_EQ(lines, expected) << GetParam().query;
}

const char* const kAbcLine = "[2026/12/04 07:15:00] abc Straße";
const char* const kShoeLine = "[2026/12/03 18:30:00] ＡＢＣマートで靴★";

INSTANTIATE_TEST_SUITE_P(
    Memos, FindQueries,
    ::testing::Values(
        // Letter case and width, both ways.
        QueryCase{"HalfWidthFindsFullWidth", "abc", {kAbcLine, kShoeLine}},
        QueryCase{"FullWidthFindsHalfWidth", "ａｂｃ", {kAbcLine, kShoeLine}},
        QueryCase{"UpperFindsLower", "ABC", {kAbcLine, kShoeLine}},
        // Half-width katakana with its voiced mark, katakana and hiragana.
        QueryCase{"HiraganaFindsHalfWidthKatakana",
                  "ぱん",
                  {"[2026/12/01 09:00:00] 牛乳、たまご、ﾊﾟﾝ。"}},
        QueryCase{"KatakanaFindsHiragana", "カキクケコ", {"かきくけこ"}},
        QueryCase{"HiraganaFindsKatakana", "かたかな", {"「カタカナ」とひらがな…"}},
        QueryCase{"HalfWidthFindsHiragana", "ﾋﾗｶﾞﾅ", {"「カタカナ」とひらがな…"}},
        QueryCase{"HiraganaFindsFullWidthLatinLine", "まーと", {kShoeLine}},
        // What must not match: a voiced mark, an accent, another kana.
        QueryCase{"UnvoicedIsNotVoiced", "はん", {}},
        QueryCase{"VoicedIsNotUnvoiced", "がきくけこ", {}},
        QueryCase{"PlainIsNotAccented", "cafe", {}},
        QueryCase{"AccentedFindsItself", "CAFÉ", {"[2026/12/02 10:00:00] Café au lait 😀 한국어"}},
        // Symbols, emoji and text beyond the code page, as typed.
        QueryCase{"Emoji", "😀", {"[2026/12/02 10:00:00] Café au lait 😀 한국어"}},
        QueryCase{"Korean", "한국", {"[2026/12/02 10:00:00] Café au lait 😀 한국어"}},
        QueryCase{"WaveDashAndMinus", "090−1234〜", {"電話番号：090−1234〜5678"}},
        QueryCase{"FullWidthColonFindsIt", "番号:", {"電話番号：090−1234〜5678"}},
        QueryCase{"Star", "★", {kShoeLine}},
        // A match never spans two lines, and blanks count as typed.
        QueryCase{"NotAcrossLines", "★手書き", {}}, QueryCase{"BlankInside", "abc s", {kAbcLine}},
        QueryCase{"NothingLikeIt", "存在しない", {}}, QueryCase{"Empty", "", {}},
        QueryCase{"OnlyBlanks", " 　 ", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Newest first by the lines' stamps; a line without one is as old as the stamped line above it;
// the memo without a title is listed under its first line.
TEST(MemoFinder, NewestFirstWithTitles) {
    EXPECT_EQ(
        found("0"),
        (QStringList{row("Ideas", "[2026/12/04 07:15:00] abc Straße"),
                     row("買い物", "[2026/12/03 18:30:00] ＡＢＣマートで靴★"),
                     row("電話番号：090−1234〜5678", "[2026/12/02 10:00:00] Café au lait 😀 한국어"),
                     row("買い物", "[2026/12/01 09:00:00] 牛乳、たまご、ﾊﾟﾝ。"),
                     row("電話番号：090−1234〜5678", "電話番号：090−1234〜5678")}));
    // Unstamped lines below a stamped one share its age and come bottom-up.
    EXPECT_EQ(found("の"), (QStringList{row("買い物", "手書きの行")}));
}

// Highlights cover the typed text in the line as it stands, whatever its width.
TEST(MemoFinder, HighlightsMapBackToTheLine) {
    memo::MemoFinder finder(memos());
    const QString query = QStringLiteral("ぱん");
    const QList<memo::FindHit> hits = finder.find(query);
    ASSERT_EQ(hits.size(), 1);
    const QStringView line = finder.lineText(hits[0]);
    const auto ranges = finder.matchRanges(hits[0], query);
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(line.mid(ranges[0].first, ranges[0].second - ranges[0].first).toString(),
              QStringLiteral("ﾊﾟﾝ"));

    const QString abc = QStringLiteral("abc");
    const QList<memo::FindHit> abcHits = finder.find(abc);
    ASSERT_EQ(abcHits.size(), 2);
    const auto shoe = finder.matchRanges(abcHits[1], abc);
    ASSERT_EQ(shoe.size(), 1);
    EXPECT_EQ(finder.lineText(abcHits[1]).mid(shoe[0].first, shoe[0].second - shoe[0].first),
              QStringLiteral("ＡＢＣ"));
}

// The hit says where its line lies in the memo's stored text, for the pane to select it.
TEST(MemoFinder, HitPointsIntoTheStoredText) {
    const QList<memo::MemoRecord> records = memos();
    memo::MemoFinder finder(records);
    const QList<memo::FindHit> hits = finder.find(QStringLiteral("手書き"));
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0].memo, 1);
    EXPECT_EQ(hits[0].line, 2);
    EXPECT_EQ(records[0].Text.mid(hits[0].start, hits[0].length), QStringLiteral("手書きの行"));
}

} // namespace
