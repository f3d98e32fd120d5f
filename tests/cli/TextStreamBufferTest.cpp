#include "cli/TextStreamBuffer.h"

#include <gtest/gtest.h>

namespace {

TEST(TextStreamBuffer, CharactersCutBetweenWritesArriveWhole) {
    QString text;
    QTextStream target(&text);
    cli::TextStreamOStream stream(target);
    const std::string utf8 = "a日本\xF0\x9F\x98\x80z"; // a, two CJK, an emoji, z
    // Every way of cutting the bytes into two flushed writes.
    for (std::size_t cut = 0; cut <= utf8.size(); ++cut) {
        text.clear();
        stream << utf8.substr(0, cut) << std::flush;
        stream << utf8.substr(cut) << std::flush;
        EXPECT_EQ(text, QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))) << cut;
    }
    // Output reaches the target at each flush, not only at the end.
    text.clear();
    stream << "line" << std::endl;
    EXPECT_EQ(text, QStringLiteral("line\n"));
}

} // namespace
