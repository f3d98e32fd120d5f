#include "memo/MemoLines.h"

#include <gtest/gtest.h>

TEST(MemoLineUnderCaret, Table) {
    struct Row {
        const char* text;
        int caret;
        const char* target; // nullptr: nothing to run
        int start;
    };
    const Row rows[] = {
        {"first\r\n  gedit \r\nthird", 0, "first", 0},
        {"first\r\n  gedit \r\nthird", 5, "first", 0},  // after the last character of a line
        {"first\r\n  gedit \r\nthird", 7, "gedit ", 9}, // start of the next line
        {"first\r\n  gedit \r\nthird", 10, "gedit ", 9},
        {"first\r\n  gedit \r\nthird", 15, "gedit ", 9},
        {"first\r\n  gedit \r\nthird", 17, "third", 17},
        {"first\r\n  gedit \r\nthird", 22, "third", 17},
        {"first\r\n  gedit \r\nthird", 24, nullptr, 0}, // beyond the text
        {"", 0, nullptr, 0},                            // empty memo
        {"a\r\n   \r\nb", 4, nullptr, 0},               // spaces only
        {"a\r\n\r\nb", 3, nullptr, 0},                  // empty line
        {"a\r\n", 3, nullptr, 0}};
    for (const Row& row : rows) {
        const auto target = MemoLineUnderCaret(QString::fromUtf8(row.text), row.caret);
        if (!row.target) {
            EXPECT_FALSE(target.has_value()) << row.text << " @" << row.caret;
            continue;
        }
        ASSERT_TRUE(target.has_value()) << row.text << " @" << row.caret;
        EXPECT_EQ(target->text.toStdString(), row.target) << row.caret;
        EXPECT_EQ(target->start, row.start) << row.caret;
    }
}

TEST(MemoLineEnds, TextAndCaretConvertBothWays) {
    const QString crlf = QStringLiteral("ab\r\ncd\r\n");
    EXPECT_EQ(memoTextToView(crlf), QStringLiteral("ab\ncd\n"));
    EXPECT_EQ(memoTextFromView(QStringLiteral("ab\ncd\n")), crlf);
    const std::pair<int, int> carets[] = {{0, 0}, {2, 2}, {4, 3}, {6, 5}, {8, 6}, {99, 6}};
    for (const auto& [crlfCaret, viewCaret] : carets) {
        EXPECT_EQ(caretToView(crlf, crlfCaret), viewCaret) << crlfCaret;
        if (crlfCaret <= crlf.size()) {
            EXPECT_EQ(caretFromView(memoTextToView(crlf), viewCaret), crlfCaret) << crlfCaret;
        }
    }
    EXPECT_EQ(caretToView(crlf, 3), 2); // between CR and LF
}
