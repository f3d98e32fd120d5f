#include "config/CommandEntry.h"
#include "config/OptionSchema.h"

#include <gtest/gtest.h>

// Only the first comma separates the display name from the template; no comma, no command.
TEST(CommandEntry, FirstCommaSeparatesAndFormatRoundTrips) {
    struct Row {
        const char* value;
        bool command;
        const char* name;
        const char* templateText;
    } rows[] = {
        {"Google,https://www.google.com/search?q=%A", true, "Google",
         "https://www.google.com/search?q=%A"},
        {"Sum,1,2", true, "Sum", "1,2"},
        {",prog %a", true, "", "prog %a"},
        {"検索「★」,https://example.org/?q=%A&x=〜", true, "検索「★」",
         "https://example.org/?q=%A&x=〜"},
        {"Name,", true, "Name", ""},
        {"prog", false, "", ""},
        {"", false, "", ""},
    };
    for (const Row& row : rows) {
        const QString value = QString::fromUtf8(row.value);
        const std::optional<CommandEntry> entry = parseCommandEntry(value);
        ASSERT_EQ(entry.has_value(), row.command) << row.value;
        if (!entry)
            continue;
        EXPECT_EQ(entry->name, QString::fromUtf8(row.name)) << row.value;
        EXPECT_EQ(entry->templateText, QString::fromUtf8(row.templateText)) << row.value;
        EXPECT_EQ(formatCommandEntry(*entry), value) << row.value;
    }
}

// Every member of the options has exactly one key, and its value reads back as written.
TEST(OptionSchema, EveryOptionRoundTripsThroughItsText) {
    Options written;
    written.TopMost = true;
    written.MemoFileName = QStringLiteral("/home/ユーザー/メモ 〜.txt");
    written.HotKeyMask = 7;
    written.HotKey = 105;
    written.MRU = -1;
    written.ShowErrMsg = false;
    Options read;
    read.ShowErrMsg = true;
    QStringList keys;
    for (const OptionField& field : optionSchema()) {
        keys << field.key;
        readOption(read, field, optionText(written, field));
        EXPECT_EQ(&optionField(field.member), &field) << field.key.toStdString();
    }
    EXPECT_EQ(keys.size(), 13);
    EXPECT_EQ(keys.removeDuplicates(), 0);
    EXPECT_EQ(read.TopMost, true);
    EXPECT_EQ(read.MemoFileName, written.MemoFileName);
    EXPECT_EQ(read.HotKeyMask, 7);
    EXPECT_EQ(read.HotKey, 105);
    EXPECT_EQ(read.MRU, -1);
    EXPECT_EQ(read.ShowErrMsg, false);
    EXPECT_EQ(optionText(written, optionField(&Options::TopMost)), QStringLiteral("True"));
}
