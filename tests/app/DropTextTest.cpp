#include "app/DropText.h"

#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

TEST(DropText, AppendsWithOneBlankAndQuotesTextWithBlanks) {
    struct Row {
        const char* control;
        const char* dropped;
        const char* expected;
    };
    const Row rows[] = {
        {"", "word", "word"},
        {"open", "/tmp/a b.txt", "open \"/tmp/a b.txt\""},
        {"open ", "/tmp/a.txt", "open /tmp/a.txt"},
        {"x", "", "x "},
        {"", "two words", "\"two words\""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(
            app::appendDroppedText(QString::fromUtf8(row.control), QString::fromUtf8(row.dropped)),
            QString::fromUtf8(row.expected))
            << row.control << " + " << row.dropped;
}

TEST(DropText, TakesTheTextOrTheFirstFile) {
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    EXPECT_EQ(app::droppedText(&text), QStringLiteral("hello"));

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/first file")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/second"))});
    EXPECT_EQ(app::droppedText(&files), QStringLiteral("/tmp/first file"));

    // File managers add the list as text too; the files are what was dragged.
    files.setText(QStringLiteral("file:///tmp/first%20file\nfile:///tmp/second"));
    EXPECT_EQ(app::droppedText(&files), QStringLiteral("/tmp/first file"));

    // A web link is no file: its text is taken.
    QMimeData link;
    link.setUrls({QUrl(QStringLiteral("https://example.org/"))});
    link.setText(QStringLiteral("https://example.org/"));
    EXPECT_EQ(app::droppedText(&link), QStringLiteral("https://example.org/"));

    QMimeData nothing;
    EXPECT_EQ(app::droppedText(&nothing), QString());
    EXPECT_FALSE(app::canAcceptDrop(&nothing));
    EXPECT_TRUE(app::canAcceptDrop(&files));
}
