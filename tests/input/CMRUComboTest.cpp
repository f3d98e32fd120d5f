#include "input/CMRUCombo.h"

#include <gtest/gtest.h>

namespace {

// A combo box as the history sees it, with typing simulated the way an edit control does it.
class FakeCombo : public input::IHistoryComboBox {
public:
    input::CMRUCombo* history = nullptr;
    QString value;
    int start = 0;
    int length = 0;
    QStringList list;
    int changes = 0;

    QString text() const override { return value; }
    void setText(const QString& text) override {
        value = text;
        start = int(text.size());
        length = 0;
        ++changes;
        if (history)
            history->comboChanged();
    }
    int selectionStart() const override { return start; }
    int selectionLength() const override { return length; }
    void setSelection(int s, int l) override {
        start = s;
        length = l;
    }
    QStringList items() const override { return list; }
    void insertItem(int index, const QString& text) override { list.insert(index, text); }
    void removeItem(int index) override { list.removeAt(index); }

    // A key-down, then the edit: the typed text replaces the selection.
    void type(const QString& typed) {
        for (QChar c : typed) {
            history->comboKeyDown();
            value = value.left(start) + c + value.mid(start + length);
            start += 1;
            length = 0;
            history->comboChanged();
        }
    }
    void backspace() {
        history->comboKeyDown();
        if (length > 0) {
            value.remove(start, length);
        } else if (start > 0) {
            value.remove(--start, 1);
        }
        length = 0;
        history->comboChanged();
    }
    void tab() {
        history->comboKeyDown();
        int key = 9;
        history->comboKeyPress(key);
    }
    QString selected() const { return value.mid(start, length); }
};

struct Fixture : testing::Test {
    input::CMRUCombo history;
    FakeCombo combo;
    Fixture() {
        combo.history = &history;
        history.setComboBox(&combo);
    }
};

} // namespace

TEST_F(Fixture, CompletesToTheCommonPrefixAndSelectsTheTail) {
    combo.list = {"notepad", "notes", "calc"};
    combo.type("no");
    EXPECT_EQ(combo.value, QStringLiteral("note"));
    EXPECT_EQ(combo.selected(), QStringLiteral("te"));
    combo.tab();
    EXPECT_EQ(combo.start, 4);
    EXPECT_EQ(combo.length, 0);
    combo.type("p");
    EXPECT_EQ(combo.value, QStringLiteral("notepad"));
    EXPECT_EQ(combo.selected(), QStringLiteral("ad"));
}

// Application names complete only where the history has nothing, ignoring letter case and
// keeping what was typed; the names are asked for once.
TEST_F(Fixture, ApplicationNamesCompleteWhenTheHistoryHasNone) {
    int asked = 0;
    history.setFallbackCompletions([&] {
        ++asked;
        return QStringList{"Files", "Firefox ESR", "ImageMagick", "GIMP"};
    });
    struct Row {
        const char* history;
        const char* typed;
        const char* result;
        const char* selected;
    };
    const Row rows[] = {
        {"", "im", "imageMagick", "ageMagick"}, // typed letters stay as typed
        {"", "Fi", "Fi", ""},                   // Files and Firefox ESR share only "Fi"
        {"", "fil", "files", "es"},
        {"", "gimp", "gimp", ""}, // nothing left to add
        {"", "メモ", "メモ", ""},
        {"image.png", "im", "image.png", "age.png"}, // the history wins
    };
    for (const Row& row : rows) {
        combo.list = row.history[0] ? QStringList{QString::fromUtf8(row.history)} : QStringList();
        combo.value.clear();
        combo.start = combo.length = 0;
        history.comboKeyDown();
        combo.type(QString::fromUtf8(row.typed));
        EXPECT_EQ(combo.value.toStdString(), row.result) << row.typed;
        EXPECT_EQ(combo.selected().toStdString(), row.selected) << row.typed;
    }
    EXPECT_EQ(asked, 1);
}

TEST_F(Fixture, TypingOverTheSelectedTailReplacesIt) {
    combo.list = {"notepad", "notes"};
    combo.type("nop");
    EXPECT_EQ(combo.value, QStringLiteral("nop"));
    EXPECT_EQ(combo.length, 0);
}

TEST_F(Fixture, BackspaceOverACompletionDoesNotCompleteAgain) {
    combo.list = {"notepad", "notes"};
    combo.type("no");
    combo.backspace();
    EXPECT_EQ(combo.value, QStringLiteral("no"));
    EXPECT_EQ(combo.length, 0);
    combo.backspace();
    EXPECT_EQ(combo.value, QStringLiteral("n"));
}

TEST_F(Fixture, CompletionIsAPlainCaseSensitivePrefixTest) {
    struct Row {
        const char* typed;
        const char* result;
    };
    const Row rows[] = {{"No", "No"}, {"a*", "a*c"}, {"a?", "a?"}, {"[x", "[x]"}, {"#", "#1"}};
    for (const Row& row : rows) {
        combo.list = {"notepad", "abc", "a*c", "[x]", "#1"};
        combo.value.clear();
        combo.start = combo.length = 0;
        history.comboKeyDown();
        combo.type(QString::fromUtf8(row.typed));
        EXPECT_EQ(combo.value.toStdString(), row.result) << row.typed;
    }
}

TEST_F(Fixture, TabWithoutSelectionChangesNothing) {
    combo.value = "abc";
    combo.start = 1;
    int key = 9;
    EXPECT_FALSE(history.comboKeyPress(key));
    EXPECT_EQ(combo.start, 1);
    key = 'x';
    combo.length = 2;
    EXPECT_FALSE(history.comboKeyPress(key));
    EXPECT_EQ(key, 'x');
}

TEST_F(Fixture, AddMRUMovesTextToTheTopAndKeepsOneDropDownEntry) {
    history.setMax(-1);
    history.AddMRU("a", true);
    history.AddMRU("b", true);
    history.AddMRU("A", true);
    EXPECT_EQ(history.MRUList(), QStringList({"A", "b"}));
    EXPECT_EQ(combo.list, QStringList({"A", "b", "a"})); // case differs: two drop-down entries
    history.AddMRU("b", true);
    EXPECT_EQ(history.MRUList(), QStringList({"b", "A"}));
    EXPECT_EQ(combo.list, QStringList({"b", "A", "a"}));
}

TEST_F(Fixture, AddWithoutTextTakesTheComboTextAndPutsItBack) {
    history.setMax(5);
    combo.value = "typed line";
    history.AddMRU("", true);
    history.AddMRUTemp("other", false);
    EXPECT_EQ(history.MRUList(), QStringList({"typed line"}));
    EXPECT_EQ(combo.list, QStringList({"typed line", "other"}));
    EXPECT_EQ(combo.value, QStringLiteral("typed line"));
    combo.value.clear();
    history.AddMRU("", true); // nothing typed: nothing added
    EXPECT_EQ(history.MRUList().size(), 1);
}

TEST_F(Fixture, MaxLimitsTheHistoryButNotTheDropDown) {
    EXPECT_EQ(history.Max(), 0); // attaching resets it
    history.AddMRU("x", true);
    EXPECT_TRUE(history.MRUList().isEmpty());
    EXPECT_EQ(combo.list, QStringList({"x"}));
    history.setMax(3);
    for (const char* line : {"1", "2", "3", "4"})
        history.AddMRU(line, false);
    EXPECT_EQ(history.MRUList(), QStringList({"1", "2", "3"}));
    history.setMax(1);
    EXPECT_EQ(history.MRUList(), QStringList({"1"}));
    EXPECT_EQ(combo.list.size(), 5);
}

TEST(CMRUCombo, NewObjectKeepsTen) {
    input::CMRUCombo history;
    EXPECT_EQ(history.Max(), 10);
}
