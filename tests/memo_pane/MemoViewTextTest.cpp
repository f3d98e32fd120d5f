#include "memo/pane/MemoViewText.h"

#include <gtest/gtest.h>

using namespace memopane;

TEST(MemoViewText, LineEndsConvertBothWays) {
    EXPECT_EQ(toViewText(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\nb\n"));
    EXPECT_EQ(toStoredText(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
    // A lone CR or LF of a file written elsewhere becomes one line end in the view.
    EXPECT_EQ(toViewText(QStringLiteral("a\rb\nc")), QStringLiteral("a\nb\nc"));
}

TEST(MemoViewText, CaretPositionsCountLineEndsAsTwoWhenStored) {
    const QString stored = QStringLiteral("ab\r\ncd\r\n");
    const QString view = toViewText(stored);
    struct Row {
        int storedPosition;
        int viewPosition;
    };
    const Row rows[] = {{0, 0}, {2, 2}, {4, 3}, {5, 4}, {8, 6}};
    for (const Row& row : rows) {
        EXPECT_EQ(storedToViewPosition(stored, row.storedPosition), row.viewPosition)
            << row.storedPosition;
        EXPECT_EQ(viewToStoredPosition(view, row.viewPosition), row.storedPosition)
            << row.viewPosition;
    }
    // Positions beyond either end land at the nearest end.
    EXPECT_EQ(storedToViewPosition(stored, -5), 0);
    EXPECT_EQ(storedToViewPosition(stored, 100), 6);
    EXPECT_EQ(viewToStoredPosition(view, 100), 8);
}

TEST(MemoViewText, LineUnderTheCaret) {
    const QString text = QStringLiteral("first\n  second\n\nlast");
    struct Row {
        int caret;
        int start;
        int end;
    };
    const Row rows[] = {
        {0, 0, 5},    // start of the first line
        {5, 0, 5},    // right after its last character
        {6, 6, 14},   // start of the second line
        {14, 6, 14},  // end of the second line
        {15, 15, 15}, // the empty line
        {20, 16, 20}, // end of text
    };
    for (const Row& row : rows) {
        int start = -1, end = -1;
        ASSERT_TRUE(lineAt(text, row.caret, start, end)) << row.caret;
        EXPECT_EQ(start, row.start) << row.caret;
        EXPECT_EQ(end, row.end) << row.caret;
    }
    int start = 0, end = 0;
    EXPECT_FALSE(lineAt(QString(), 0, start, end));
}
