#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

using platform::TextEncoding;

struct DecodeRow {
    const char* name;
    QByteArray bytes;
    QString text;
    TextEncoding encoding;
};

class DecodeTable : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeTable, DetectsEncodingAndRoundTrips) {
    const DecodeRow& row = GetParam();
    const auto decoded = platform::decodeText(row.bytes);
    EXPECT_EQ(decoded.text, row.text);
    EXPECT_EQ(decoded.encoding, row.encoding);
    EXPECT_TRUE(decoded.exact);
    EXPECT_EQ(platform::encodeTextExactly(decoded.text, decoded.encoding), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, DecodeTable,
    ::testing::Values(
        // ASCII says nothing of a code page: what is added to it goes in as UTF-8.
        DecodeRow{"ascii", "abc\r\n", QStringLiteral("abc\r\n"), TextEncoding::Utf8},
        DecodeRow{"cp932", "\x82\xa0\x88\x9f", QString::fromUtf8("あ亜"), TextEncoding::Cp932},
        DecodeRow{"utf8", "\xe3\x81\x82", QString::fromUtf8("あ"), TextEncoding::Utf8},
        DecodeRow{"utf8bom", "\xef\xbb\xbfx\xe3\x81\x82", QString::fromUtf8("xあ"),
                  TextEncoding::Utf8Bom},
        // CP932-only characters: NEC row 13 and IBM extensions, the wave dash as Windows maps it.
        DecodeRow{"cp932ext", "\x87\x40\x81\x60", QString::fromUtf8("①～"), TextEncoding::Cp932},
        DecodeRow{"halfwidthkana", "\xb1\xb2\xdd", QString::fromUtf8("ｱｲﾝ"), TextEncoding::Cp932}),
    [](const auto& info) { return std::string(info.param.name); });

// What the code page makes of text from input methods and the web: the characters Windows maps
// to its own code points take those bytes; the rest cannot be held.
struct AnsiRow {
    const char* name;
    const char* text; // UTF-8
    QByteArray file;  // toAnsi
    bool fits;        // whether a file may be written in CP932
    QByteArray url;   // toAnsiForUrl
};

class AnsiTable : public ::testing::TestWithParam<AnsiRow> {};

TEST_P(AnsiTable, BestFitBytes) {
    const AnsiRow& row = GetParam();
    const QString text = QString::fromUtf8(row.text);
    bool lossless = false;
    EXPECT_EQ(platform::toAnsi(text, &lossless), row.file);
    EXPECT_EQ(lossless, row.fits);
    EXPECT_EQ(platform::encodeTextExactly(text, TextEncoding::Cp932).has_value(), row.fits);
    EXPECT_EQ(platform::toAnsiForUrl(text), row.url);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, AnsiTable,
    ::testing::Values(
        AnsiRow{"japanese", "メモ。「★→※・…」",
                "\x83\x81\x83\x82\x81\x42\x81\x75\x81\x9a\x81\xa8"
                "\x81\xa6\x81\x45\x81\x63\x81\x76",
                true,
                "\x83\x81\x83\x82\x81\x42\x81\x75\x81\x9a\x81\xa8\x81\xa6\x81\x45\x81\x63"
                "\x81\x76"},
        AnsiRow{"wavedash", "1〜2",
                "1\x81\x60"
                "2",
                true,
                "1\x81\x60"
                "2"},
        AnsiRow{"minus", "−5",
                "\x81\x7c"
                "5",
                true,
                "\x81\x7c"
                "5"},
        AnsiRow{"doublebar", "‖", "\x81\x61", true, "\x81\x61"},
        AnsiRow{"emdash", "a—b",
                "a\x81\x5c"
                "b",
                true,
                "a\x81\x5c"
                "b"},
        AnsiRow{"cent", "¢", "\x81\x91", true, "\x81\x91"},
        AnsiRow{"pound", "£", "\x81\x92", true, "\x81\x92"},
        AnsiRow{"not", "¬", "\x81\xca", true, "\x81\xca"},
        // In a file 0x5C reads back as a backslash here, so the yen sign does not fit there.
        AnsiRow{"yen", "¥100", "?100", false, "\\100"},
        AnsiRow{"latin", "café ü", "caf? ?", false, "caf? ?"},
        AnsiRow{"emoji", "😀", "??", false, "??"}, AnsiRow{"hangul", "한국어", "???", false, "???"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Codec, BestFitCharactersReadBackInTheirCodePageForms) {
    EXPECT_EQ(platform::fromAnsi(platform::toAnsi(QString::fromUtf8("〜−‖—¢£¬"))),
              QString::fromUtf8("～－∥―￠￡￢"));
}

// Bytes that are neither UTF-8 nor CP932 cannot be written back unchanged.
TEST(Codec, Latin1BytesAreNotExact) {
    EXPECT_FALSE(platform::decodeText("caf\xe9\r\nna\xefve").exact);
    EXPECT_FALSE(platform::decodeText("\xef\xbb\xbf\xff").exact);
    EXPECT_TRUE(platform::decodeText("\x82\xa0").exact);
}

// The piecewise UTF-8 check agrees with the decoder, whatever the pieces.
TEST(Codec, Utf8CheckAgreesWithTheDecoderInAnyPieces) {
    const QByteArray samples[] = {
        "",
        "ascii only",
        QStringLiteral("メモ「★」〜 한국어 😀 é").toUtf8(),
        "\xC0\xAF",         // overlong "/"
        "\xE0\x80\xAF",     // overlong, three bytes
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xE3\x81",         // cut short
        "\x82\xA0\x82\xA2", // CP932 あい
        "\xEF\xBF\xBF",     // a noncharacter is still UTF-8
    };
    for (const QByteArray& bytes : samples) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(bytes); // the decoder works only when converted
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            platform::Utf8Check check;
            check.feed(QByteArrayView(bytes).first(cut));
            check.feed(QByteArrayView(bytes).sliced(cut));
            EXPECT_EQ(check.valid(), !decoder.hasError()) << bytes.toHex().toStdString();
        }
    }
}
