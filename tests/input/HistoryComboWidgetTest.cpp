#include "input/CMRUCombo.h"
#include "input/widgets/HistoryComboAdapter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct HistoryWidget : testing::Test {
    QWidget window;
    QComboBox* combo = new QComboBox(&window);
    QPushButton* next = new QPushButton("next", &window);
    input::CMRUCombo history;
    input::HistoryComboAdapter adapter{*combo, history};

    HistoryWidget() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(combo);
        layout->addWidget(next);
        history.setMax(10);
        history.AddMRU("notepad", false);
        history.AddMRU("notes", false);
        combo->setEditText(QString());
        window.show();
        combo->setFocus();
        QApplication::processEvents();
    }
    QLineEdit* edit() const { return combo->lineEdit(); }
};

} // namespace

TEST_F(HistoryWidget, TypingCompletesAndSelectsTheTail) {
    QTest::keyClicks(edit(), "no");
    EXPECT_EQ(combo->currentText(), QStringLiteral("note"));
    EXPECT_EQ(edit()->selectedText(), QStringLiteral("te"));
}

TEST_F(HistoryWidget, TabAcceptsTheCompletionAndKeepsTheFocus) {
    QTest::keyClicks(edit(), "no");
    QTest::keyClick(edit(), Qt::Key_Tab);
    EXPECT_EQ(combo->currentText(), QStringLiteral("note"));
    EXPECT_FALSE(edit()->hasSelectedText());
    EXPECT_EQ(edit()->cursorPosition(), 4);
    EXPECT_TRUE(edit()->hasFocus());
    QTest::keyClicks(edit(), "p");
    EXPECT_EQ(combo->currentText(), QStringLiteral("notepad"));
    EXPECT_EQ(edit()->selectedText(), QStringLiteral("ad"));
}

// In the running program the keys reach the combo box itself, which hands them on to its line
// edit without the line edit's filters seeing them.
TEST_F(HistoryWidget, KeysSentToTheComboBoxCompleteAndTabAccepts) {
    QTest::keyClicks(combo, "no");
    EXPECT_EQ(combo->currentText(), QStringLiteral("note"));
    EXPECT_EQ(edit()->selectedText(), QStringLiteral("te"));
    QTest::keyClick(combo, Qt::Key_Tab);
    EXPECT_EQ(combo->currentText(), QStringLiteral("note"));
    EXPECT_FALSE(edit()->hasSelectedText());
    EXPECT_FALSE(next->hasFocus());
    QTest::keyClick(combo, Qt::Key_Backspace);
    EXPECT_EQ(combo->currentText(), QStringLiteral("not"));
    EXPECT_FALSE(edit()->hasSelectedText());
}

TEST_F(HistoryWidget, BackspaceOverACompletionDoesNotCompleteAgain) {
    QTest::keyClicks(edit(), "no");
    QTest::keyClick(edit(), Qt::Key_Backspace);
    EXPECT_EQ(combo->currentText(), QStringLiteral("no"));
    EXPECT_FALSE(edit()->hasSelectedText());
}

TEST_F(HistoryWidget, QtsOwnCompletionIsOffAndEnterInsertsNothing) {
    QTest::keyClicks(edit(), "No");
    EXPECT_EQ(combo->currentText(), QStringLiteral("No"));
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(combo->count(), 2);
}

TEST_F(HistoryWidget, TextSetByTheProgramDoesNotComplete) {
    combo->setEditText("no");
    EXPECT_EQ(combo->currentText(), QStringLiteral("no"));
}

TEST_F(HistoryWidget, AddingLinesKeepsTheTypedText) {
    QTest::keyClicks(edit(), "calc");
    history.AddMRU("", true);
    EXPECT_EQ(combo->currentText(), QStringLiteral("calc"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("calc"));
    EXPECT_EQ(history.MRUList().first(), QStringLiteral("calc"));
    EXPECT_EQ(combo->count(), 3);
}
