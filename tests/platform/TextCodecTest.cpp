#include "platform/TextCodec.h"

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
    EXPECT_EQ(platform::encodeText(decoded.text, decoded.encoding), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, DecodeTable,
    ::testing::Values(
        DecodeRow{"ascii", "abc\r\n", QStringLiteral("abc\r\n"), TextEncoding::Cp932},
        DecodeRow{"cp932", "\x82\xa0\x88\x9f", QString::fromUtf8("あ亜"), TextEncoding::Cp932},
        DecodeRow{"utf8", "\xe3\x81\x82", QString::fromUtf8("あ"), TextEncoding::Utf8},
        DecodeRow{"utf8bom", "\xef\xbb\xbfx\xe3\x81\x82", QString::fromUtf8("xあ"),
                  TextEncoding::Utf8Bom},
        // CP932-only characters: NEC row 13 and IBM extensions, the wave dash as Windows maps it.
        DecodeRow{"cp932ext", "\x87\x40\x81\x60", QString::fromUtf8("①～"), TextEncoding::Cp932}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Codec, AnsiBytesOfJapanese) {
    EXPECT_EQ(platform::toAnsi(QString::fromUtf8("あa")), QByteArray("\x82\xa0"
                                                                     "a"));
    EXPECT_EQ(platform::toAnsi(QString::fromUtf8("ｱ")), QByteArray("\xb1"));
    // Characters outside the code page become one "?" per UTF-16 unit, the rest stays exact.
    EXPECT_EQ(platform::toAnsi(QString::fromUtf8("a€あ😀b")), QByteArray("a?\x82\xa0??b"));
}
