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
        const std::optional<config::CommandEntry> entry = config::parseCommandEntry(value);
        ASSERT_EQ(entry.has_value(), row.command) << row.value;
        if (!entry)
            continue;
        EXPECT_EQ(entry->name, QString::fromUtf8(row.name)) << row.value;
        EXPECT_EQ(entry->templateText, QString::fromUtf8(row.templateText)) << row.value;
        EXPECT_EQ(config::formatCommandEntry(*entry), value) << row.value;
    }
}

// Every member of the options has exactly one key, and its value reads back as written.
TEST(OptionSchema, EveryOptionRoundTripsThroughItsText) {
    config::Options written;
    written.TopMost = true;
    written.MemoFileName = QStringLiteral("/home/ユーザー/メモ 〜.txt");
    written.HotKeyMask = 7;
    written.HotKey = 105;
    written.MRU = -1;
    written.ShowErrMsg = false;
    config::Options read;
    read.ShowErrMsg = true;
    QStringList keys;
    for (const config::OptionField& field : config::optionSchema()) {
        keys << field.key;
        config::readOption(read, field, config::optionText(written, field));
        EXPECT_EQ(&config::optionField(field.member), &field) << field.key.toStdString();
    }
    EXPECT_EQ(keys.size(), 13);
    EXPECT_EQ(keys.removeDuplicates(), 0);
    EXPECT_EQ(read.TopMost, true);
    EXPECT_EQ(read.MemoFileName, written.MemoFileName);
    EXPECT_EQ(read.HotKeyMask, 7);
    EXPECT_EQ(read.HotKey, 105);
    EXPECT_EQ(read.MRU, -1);
    EXPECT_EQ(read.ShowErrMsg, false);
    EXPECT_EQ(config::optionText(written, config::optionField(&config::Options::TopMost)),
              QStringLiteral("True"));
}
