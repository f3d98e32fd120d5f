#include "app/instance/InstanceMessage.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace instance;

TEST(InstanceMessage, ShowRequestCarriesTheWindowIdInUpperCaseHex) {
    EXPECT_EQ(prevInstanceMessage(0x1a2b), QStringLiteral("PREVINSTANCE:1A2B"));
    EXPECT_EQ(prevInstanceMessage(0), QStringLiteral("PREVINSTANCE:0"));
    EXPECT_EQ(prevInstanceMessage(0x0000beef), QStringLiteral("PREVINSTANCE:BEEF"));
    EXPECT_EQ(prevInstanceMessage(0x80000001u), QStringLiteral("PREVINSTANCE:80000001"));
}

struct ReceiveCase {
    const char* name;
    const char* text;
    bool raises;
    qint32 handle;
};

void PrintTo(const ReceiveCase& c, std::ostream* os) {
    *os << c.name;
}

class ShowRequestRule : public ::testing::TestWithParam<ReceiveCase> {};

TEST_P(ShowRequestRule, MatchesThePrefixExactlyAndConvertsTheRest) {
    const ReceiveCase& c = GetParam();
    const std::optional<qint32> got = parsePrevInstanceMessage(QString::fromUtf8(c.text));
    ASSERT_EQ(got.has_value(), c.raises);
    if (c.raises) {
        EXPECT_EQ(*got, c.handle);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShowRequestRule,
    ::testing::Values(ReceiveCase{"hex", "PREVINSTANCE:1A2B", true, 0x1A2B},
                      ReceiveCase{"lowerCaseDigits", "PREVINSTANCE:ff", true, 255},
                      ReceiveCase{"topBitSet", "PREVINSTANCE:FFFFFFFF", true, -1},
                      ReceiveCase{"leadingZerosDoNotCount", "PREVINSTANCE:000000001F", true, 31},
                      ReceiveCase{"nineDigitsOverflow", "PREVINSTANCE:100000000", true, 0},
                      ReceiveCase{"notHex", "PREVINSTANCE:xyz", true, 0},
                      ReceiveCase{"emptyRest", "PREVINSTANCE:", true, 0},
                      ReceiveCase{"secondColonIsPartOfTheRest", "PREVINSTANCE:12:34", true, 0},
                      ReceiveCase{"leadingBlank", "PREVINSTANCE: 12", true, 0},
                      ReceiveCase{"trailingBlanks", "PREVINSTANCE:12  ", true, 0x12},
                      ReceiveCase{"plainWord", "hello", false, 0},
                      ReceiveCase{"lowerCasePrefix", "previnstance:12", false, 0},
                      ReceiveCase{"noColon", "PREVINSTANCE 12", false, 0},
                      ReceiveCase{"empty", "", false, 0},
                      ReceiveCase{"prefixNotAtStart", " PREVINSTANCE:12", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstanceMessage, MemoLineSurvivesTheTripWithAnyCharacters) {
    for (const QString& id : {newRequestId(), QString()}) {
        const MemoLineMessage sent{QStringLiteral("/tmp/a b/メモ.txt"),
                                   QStringLiteral("今日は晴れ | \"quoted\"\nsecond line\t\\"), id,
                                   id.isEmpty() ? QString() : QStringLiteral("会議 ★ \"x\"")};
        const std::optional<MemoLineMessage> got = parseMemoLineMessage(memoLineMessage(sent));
        ASSERT_TRUE(got);
        EXPECT_EQ(got->memoFile, sent.memoFile);
        EXPECT_EQ(got->line, sent.line);
        EXPECT_EQ(got->requestId, id);
        EXPECT_EQ(got->memoTitle, sent.memoTitle);
        EXPECT_FALSE(parsePrevInstanceMessage(memoLineMessage(sent)));
    }
    EXPECT_NE(newRequestId(), newRequestId());
}

TEST(InstanceMessage, MalformedMemoLinesAreNotMemoLines) {
    for (const char* text : {"MEMOLINE:", "MEMOLINE:{", "MEMOLINE:{\"line\":\"x\"}",
                             "MEMOLINE:{\"memoFile\":1,\"line\":\"x\"}",
                             "MEMOLINE:{\"memoFile\":\"f\",\"line\":\"x\",\"requestId\":7}",
                             "memoline:{}", "PREVINSTANCE:1"})
        EXPECT_FALSE(parseMemoLineMessage(QString::fromUtf8(text))) << text;
}

TEST(InstanceFrame, FramesComeOffTheStreamWholeAndInOrder) {
    QByteArray stream = encodeFrame(QStringLiteral("PREVINSTANCE:1")) +
                        encodeFrame(QStringLiteral("二つ目")) + encodeFrame(QString());
    QByteArray buffer;
    QStringList got;
    bool broken = false;
    // Byte by byte, as a slow socket would deliver it.
    for (char byte : stream) {
        buffer.append(byte);
        while (std::optional<QString> text = takeFrame(buffer, broken))
            got << *text;
        ASSERT_FALSE(broken);
    }
    EXPECT_EQ(got,
              (QStringList{QStringLiteral("PREVINSTANCE:1"), QStringLiteral("二つ目"), QString()}));
    EXPECT_TRUE(buffer.isEmpty());
}

TEST(InstanceFrame, OversizedLengthBreaksTheConnection) {
    QByteArray buffer("\x7f\xff\xff\xff"
                      "abc",
                      7);
    bool broken = false;
    EXPECT_FALSE(takeFrame(buffer, broken));
    EXPECT_TRUE(broken);
}

TEST(InstanceMessage, ActivationTokensRoundTripAndBadOnesAreDroppedWithoutHarm) {
    const QString longest(256, QLatin1Char('t'));
    struct Row {
        const char* name;
        QString token;
        QString received; // what the receiver spends
    } rows[] = {
        {"sway", QStringLiteral("a3f09e1c5b7d4e2f8a6c1b3d5e7f9a0b"),
         QStringLiteral("a3f09e1c5b7d4e2f8a6c1b3d5e7f9a0b")},
        {"punctuated", QStringLiteral("kwin-14_x.y:z/42=+"), QStringLiteral("kwin-14_x.y:z/42=+")},
        {"longest allowed", longest, longest},
        {"none", QString(), QString()},
        {"oversized", longest + QLatin1Char('t'), QString()},
        {"space", QStringLiteral("tok en"), QString()},
        {"line feed", QStringLiteral("tok\nPREVINSTANCE:1"), QString()},
        {"non-ASCII", QStringLiteral("トークン★"), QString()},
        {"quote", QStringLiteral("tok\"en"), QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString text = prevInstanceMessage(0x2a, row.token);
        EXPECT_EQ(parsePrevInstanceMessage(text), std::optional<qint32>(0x2a));
        EXPECT_EQ(activationTokenOf(text), row.received);
    }
    // A malformed token from a foreign sender is not spent; the show request still stands.
    for (const char* text :
         {"PREVINSTANCE:2A\nbad token", "PREVINSTANCE:2A\n", "PREVINSTANCE:2A\n\x01"}) {
        EXPECT_EQ(parsePrevInstanceMessage(QString::fromUtf8(text)), std::optional<qint32>(0x2a));
        EXPECT_EQ(activationTokenOf(QString::fromUtf8(text)), QString()) << text;
    }
    EXPECT_EQ(activationTokenOf(QStringLiteral("MEMOLINE:{}\ntoken")), QString());
}
