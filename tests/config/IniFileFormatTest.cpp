// How the store's writes treat the rest of the file: everything outside the written section keeps
// its bytes, whatever its encoding, line ends or oddities.
#include "config/CIniFile.h"

#include "IniTestSupport.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using initest::iniWith;
using testsupport::readFile;

namespace {

struct RewriteCase {
    const char* name;
    QByteArray before;
    const char* section; // rewritten as it was loaded
    QByteArray after;
};

class SectionRewrite : public testing::TestWithParam<RewriteCase> {};

TEST_P(SectionRewrite, ReplacesOnlyThatSection) {
    const auto& c = GetParam();
    const QString path = iniWith(c.before);
    config::CIniFile ini;
    ini.Load(path);
    ASSERT_TRUE(ini.Save(QString::fromLatin1(c.section)));
    EXPECT_EQ(readFile(path), c.after);
}

const QByteArray kCp932Value = "\x83\x81\x83\x82"; // "メモ" in CP932
const QByteArray kInvalid = "\x81\xFF\x00\x85";    // no valid reading in either encoding

INSTANTIATE_TEST_SUITE_P(
    Table, SectionRewrite,
    testing::Values(
        RewriteCase{"preamble_and_comments_elsewhere_kept",
                    "text before any header\r\n; comment\r\n[A]\r\n a = 1 \r\n[B]\r\n; b\r\n"
                    "  odd = spacing  \r\n",
                    "A",
                    "text before any header\r\n; comment\r\n[A]\r\na= 1 \r\n[B]\r\n; b\r\n"
                    "  odd = spacing  \r\n"},
        RewriteCase{"other_sections_keep_foreign_bytes",
                    "[B]\r\nk=" + kCp932Value + "\r\nbad=" + kInvalid + "\r\n[A]\r\na=1\r\n", "A",
                    "[B]\r\nk=" + kCp932Value + "\r\nbad=" + kInvalid + "\r\n[A]\r\na=1\r\n"},
        RewriteCase{"lf_only_lines_elsewhere_untouched", "[A]\na=1\n\n[B]\nb=2\n", "A",
                    "[A]\r\na=1\r\n\n[B]\nb=2\n"},
        RewriteCase{"comments_inside_move_under_header_trailing_stay",
                    "[A]\r\na=1\r\n; inner\r\nb=2\r\n; about B\r\n\r\n[B]\r\n", "A",
                    "[A]\r\n; inner\r\na=1\r\nb=2\r\n; about B\r\n\r\n[B]\r\n"},
        RewriteCase{"header_spelling_kept", "[ options ]  \r\nX=1\r\n", "Options",
                    "[ options ]  \r\nX=1\r\n"},
        RewriteCase{"section_twice_folds_into_the_first",
                    "[A]\r\na=1\r\n; one\r\n[B]\r\nb=1\r\n\r\n[a]\r\n; two\r\na=2\r\nc=3\r\n"
                    "\r\n[C]\r\n",
                    "A", "[A]\r\n; two\r\na=2\r\nc=3\r\n; one\r\n[B]\r\nb=1\r\n\r\n\r\n[C]\r\n"},
        RewriteCase{"last_line_without_line_end", "[A]\r\na=1", "A", "[A]\r\na=1\r\n"},
        RewriteCase{"nameless_section_left_alone", "[ ]\r\nhidden=1\r\n[A]\r\na=1\r\n", "A",
                    "[ ]\r\nhidden=1\r\n[A]\r\na=1\r\n"},
        RewriteCase{"utf8_bom_kept", "\xEF\xBB\xBF[A]\r\na=\xE3\x83\xA1\r\n", "A",
                    "\xEF\xBB\xBF[A]\r\na=\xE3\x83\xA1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileFormat, NewSectionIsAppendedAfterABlankLine) {
    const struct {
        QByteArray before, after;
    } cases[] = {
        {"[A]\r\na=1\r\n", "[A]\r\na=1\r\n\r\n[N]\r\nk=v\r\n"},
        {"[A]\r\na=1", "[A]\r\na=1\r\n\r\n[N]\r\nk=v\r\n"},
        {"[A]\r\na=1\r", "[A]\r\na=1\r\n\r\n[N]\r\nk=v\r\n"},
        {"[A]\r\na=1\r\n\r\n", "[A]\r\na=1\r\n\r\n[N]\r\nk=v\r\n"},
        {"", "[N]\r\nk=v\r\n"},
    };
    for (const auto& c : cases) {
        const QString path = iniWith(c.before);
        config::CIniFile ini;
        ini.Load(path);
        ini.setNowSection("N");
        ini.setData("k", "v");
        ASSERT_TRUE(ini.Save("N"));
        EXPECT_EQ(readFile(path), c.after) << c.before.toStdString();
    }
}

TEST(IniFileFormat, DuplicateSectionReadsAsOneAndWritesWithoutLossOrRepeat) {
    const QString path = iniWith("[A]\r\na=1\r\nb=1\r\n[B]\r\n[a]\r\na=2\r\nc=3\r\n");
    config::CIniFile ini;
    ini.Load(path);
    EXPECT_EQ(ini.Sections(), QStringList({"A", "B"}));
    ini.setNowSection("A");
    EXPECT_EQ(ini.Keys(), QStringList({"b", "a", "c"}));
    EXPECT_EQ(ini.Data("a"), "2");
    ASSERT_TRUE(ini.Save());

    config::CIniFile again;
    again.Load(path);
    again.setNowSection("A");
    EXPECT_EQ(again.Keys(), QStringList({"b", "a", "c"}));
    EXPECT_EQ(again.Data("a"), "2");
    EXPECT_EQ(readFile(path).count("[A]") + readFile(path).count("[a]"), 1);
}

struct EncodingCase {
    const char* name;
    QByteArray before;
    QString value;
    platform::TextEncoding expected;
};

class Encodings : public testing::TestWithParam<EncodingCase> {};

TEST_P(Encodings, ValuesSurviveAWriteAndAReload) {
    const auto& c = GetParam();
    const QString path = c.before.isNull() ? initest::missingIni() : iniWith(c.before);
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("A");
    ini.setData("v", c.value);
    ASSERT_TRUE(ini.Save("A"));
    EXPECT_EQ(platform::decodeText(readFile(path)).encoding, c.expected);

    config::CIniFile again;
    again.Load(path);
    again.setNowSection("A");
    EXPECT_EQ(again.Data("v"), c.value);
    again.setNowSection("B");
    EXPECT_EQ(again.Data("old"), c.before.contains("old=") ? QStringLiteral("メモ") : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Encodings,
    testing::Values(
        // A file the program creates is UTF-8 without a byte-order mark, as Linux tools read it.
        EncodingCase{"new_file_is_utf8", QByteArray(), QStringLiteral("メモ帳"),
                     platform::TextEncoding::Utf8},
        EncodingCase{"ascii_file_takes_utf8", "[B]\r\nx=1\r\n", QStringLiteral("「メモ」★"),
                     platform::TextEncoding::Utf8},
        EncodingCase{"cp932_file_stays_cp932", "[B]\r\nold=\x83\x81\x83\x82\r\n",
                     QStringLiteral("表示"), platform::TextEncoding::Cp932},
        EncodingCase{"utf8_file_stays_utf8", "[B]\r\nold=\xE3\x83\xA1\xE3\x83\xA2\r\n",
                     QStringLiteral("表示"), platform::TextEncoding::Utf8},
        // Characters the code page lacks move the file to UTF-8 instead of becoming "?".
        EncodingCase{"outside_code_page_moves_to_utf8", "[B]\r\nold=\x83\x81\x83\x82\r\n",
                     QStringLiteral("café ☃"), platform::TextEncoding::Utf8},
        // Half-width kana in CP932 happen to be valid UTF-8; the file must still read back.
        EncodingCase{"cp932_bytes_that_look_like_utf8", "[B]\r\nx=1\r\n", QStringLiteral("ﾃｽ"),
                     platform::TextEncoding::Utf8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileFormat, OtherSectionsKeepTheirMeaningWhenAWriteRemovesTheLastNonUtf8Byte) {
    // Read as CP932 only because of the byte in section A; B's bytes are also valid UTF-8.
    const QString path = iniWith("[A]\r\nbad=\xED\r\n[B]\r\nk=\xE3\x83\xA1\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("B");
    const QString before = ini.Data("k");
    ini.setNowSection("A");
    ini.Clear();
    ASSERT_TRUE(ini.Save("A"));

    config::CIniFile again;
    again.Load(path);
    again.setNowSection("B");
    EXPECT_EQ(again.Data("k"), before);
}

TEST(IniFileFormat, LineBreaksAndNulInValuesNeverSplitALine) {
    const QString path = initest::missingIni();
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("A");
    ini.setData("multi", QStringLiteral("one\r\ntwo\nthree\rfour"));
    ini.setData(QStringLiteral("k\ney"), QStringLiteral("nul") + QChar(0) + QStringLiteral("x"));
    ini.setData("[fake]", "x]");
    ini.setData(";c", "1");
    ini.setData("after", "ok");
    EXPECT_EQ(ini.Data("multi"), "one two three four");
    EXPECT_EQ(ini.Data("k ey"), "nulx");
    ASSERT_TRUE(ini.Save("A"));
    EXPECT_EQ(readFile(path),
              QByteArray("[A]\r\nmulti=one two three four\r\nk ey=nulx\r\nafter=ok\r\n"));
}

TEST(IniFileFormat, ChangesAnotherProgramMadeToOtherSectionsSurviveAWrite) {
    const QString path = iniWith("[A]\r\na=1\r\n[B]\r\nb=1\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("A");
    ini.setData("a", "2");
    ASSERT_TRUE(ini.Save("A"));
    testsupport::writeFile(path, "[A]\r\na=9\r\n[B]\r\nb=edited\r\n[X]\r\nx=1\r\n");
    ini.setNowSection("A");
    ini.setData("a", "3");
    ASSERT_TRUE(ini.Save("A"));
    EXPECT_EQ(readFile(path), QByteArray("[A]\r\na=3\r\n[B]\r\nb=edited\r\n[X]\r\nx=1\r\n"));
}

TEST(IniFileFormat, WritesFromMemoryMatchWritesAfterReadingTheFileAgain) {
    const QByteArray files[] = {
        "",
        "[A]\r\na=1",
        "pre\n[B]\nb=1\n; c\n\n[A]\n; in\na=1\nz=2\n\n[b]\nc=3\n",
        "\xEF\xBB\xBF[A]\r\na=\xE3\x83\xA1\r\n",
        "[A]\r\nk=\x83\x81\r\n",
        "[B]\nb=1\n\x82", // a lead byte cut off by the end of the file
        "[B]\nb=1\n[C]\x82",
        "[A]\x82",
        "[C]\r",
    };
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString path = iniWith(file);
        config::CIniFile ini;
        ini.Load(path);
        ini.setNowSection("A");
        ini.setData("new", QStringLiteral("値 ☃"));
        ASSERT_TRUE(ini.Save("A"));
        const QByteArray afterFirst = readFile(path);
        ini.setNowSection("B");
        ini.setData("x", "y");
        ASSERT_TRUE(ini.Save("B"));
        const QByteArray fromMemory = readFile(path);

        // Replace the file (new inode) with the same bytes: the next write must read it again.
        QFile::remove(path);
        testsupport::writeFile(path + QStringLiteral(".x"), afterFirst);
        QFile::rename(path + QStringLiteral(".x"), path);
        ASSERT_TRUE(ini.Save("B"));
        EXPECT_EQ(readFile(path), fromMemory);
    }
}

TEST(IniFileFormat, KeysAreComparedWithoutBlanksAtTheirEnds) {
    const QString path = iniWith("[A]\r\n  key  =v\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("A");
    EXPECT_EQ(ini.Keys(), QStringList({"key"}));
    EXPECT_EQ(ini.Data(" key\t"), "v");
    ini.setData(" other ", "w");
    EXPECT_EQ(ini.Data("other"), "w");
    ASSERT_TRUE(ini.Save("A"));
    EXPECT_EQ(readFile(path), QByteArray("[A]\r\nkey=v\r\nother=w\r\n"));
}

TEST(IniFileFormat, ACarriageReturnInsideALineReadsAsABlank) {
    config::CIniFile ini;
    ini.Load(iniWith("[A]\n\r=x\nk=a\rb\n"));
    ini.setNowSection("A");
    EXPECT_EQ(ini.Keys(), QStringList({"", "k"}));
    EXPECT_EQ(ini.Data(""), "x");
    EXPECT_EQ(ini.Data("k"), "a b");
}

TEST(IniFileFormat, RepeatedWritesStayStable) {
    const QString path = iniWith("; top\r\n[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n");
    config::CIniFile ini;
    ini.Load(path);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ini.Save());
    EXPECT_EQ(readFile(path), QByteArray("; top\r\n[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n"));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(), 1);
}

} // namespace
