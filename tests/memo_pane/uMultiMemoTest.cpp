#include "memo/pane/uMultiMemo.h"

#include "TestEnvironment.h"
#include "controls/uHoverButton.h"
#include "memo/MemoFiler.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MemoPane : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::freshFolder(QStringLiteral("pane"));
        window.resize(300, 200);
        pane = new memo::uMultiMemo(memos.list(), &window);
        pane->setGeometry(0, 0, 300, 200);
        outside = new QLineEdit(&window);
        outside->setGeometry(0, 190, 10, 10);
        window.show();
        QApplication::setActiveWindow(&window);
        pane->setShellOpener([this](const QString& target) {
            opened << target;
            return target.trimmed() == QStringLiteral("prog");
        });
    }

    // Loads a memo file made of the given memo texts (CR LF line ends).
    void loadMemos(const QStringList& texts) {
        QByteArray bytes;
        for (int i = 0; i < texts.size(); ++i) {
            if (i > 0)
                bytes += "\r\n.\r\n";
            bytes += QStringLiteral("Title:t%1\r\nLast-Modified:\r\nCursorPos:0\r\n\r\n%2")
                         .arg(i + 1)
                         .arg(texts[i])
                         .toUtf8();
        }
        const QString file = folder + QStringLiteral("/memo.txt");
        testsupport::writeFile(file, bytes);
        ASSERT_FALSE(memos.list().setFileName(file).has_value());
        ASSERT_FALSE(memos.list().Load().has_value());
    }

    void setCaret(int position) {
        QTextCursor cursor = pane->memoText()->textCursor();
        cursor.setPosition(position);
        pane->memoText()->setTextCursor(cursor);
    }

    QString folder;
    memo::MemoFiler memos; // outlives the pane, which views its list
    QWidget window;
    memo::uMultiMemo* pane = nullptr;
    QLineEdit* outside = nullptr;
    QStringList opened;
};

TEST_F(MemoPane, ExecuteMemoLineOpensTheLineUnderTheCaret) {
    loadMemos({QStringLiteral("first\r\n  prog\r\nlast")});
    const QString view = pane->memoText()->toPlainText();
    struct Row {
        int caret;
        QString target;
        bool opens;
    };
    const Row rows[] = {
        {6, QStringLiteral("prog"), true},   // start of the line, before the blanks
        {9, QStringLiteral("prog"), true},   // inside the name
        {12, QStringLiteral("prog"), true},  // right after its last character
        {5, QStringLiteral("first"), false}, // end of the line before: that line, not the next
        {13, QStringLiteral("last"), false}, // start of the following line
    };
    for (const Row& row : rows) {
        opened.clear();
        setCaret(row.caret);
        QSignalSpy after(pane, &memo::uMultiMemo::AfterExecuteFile);
        EXPECT_EQ(pane->ExecuteMemoLine(), row.opens) << row.caret;
        EXPECT_EQ(opened, QStringList{row.target}) << row.caret;
        EXPECT_EQ(after.count(), row.opens ? 1 : 0);
        const QTextCursor cursor = pane->memoText()->textCursor();
        if (row.opens) {
            // The name is selected, the two blanks before it are not.
            EXPECT_EQ(cursor.selectedText(), QStringLiteral("prog"));
            EXPECT_EQ(cursor.selectionStart(), 8);
        } else {
            EXPECT_FALSE(cursor.hasSelection());
            EXPECT_EQ(cursor.position(), row.caret);
        }
    }
    EXPECT_EQ(pane->memoText()->toPlainText(), view);
}

TEST_F(MemoPane, ExecuteMemoLineOnEmptyTextDoesNothing) {
    loadMemos({QString()});
    EXPECT_FALSE(pane->ExecuteMemoLine());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MemoPane, DoubleClickRunsTheLine) {
    loadMemos({QStringLiteral("prog")});
    QSignalSpy after(pane, &memo::uMultiMemo::AfterExecuteFile);
    QTest::mouseDClick(pane->memoText()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened.value(0), QStringLiteral("prog"));
    EXPECT_EQ(after.count(), 1);
}

TEST_F(MemoPane, CounterAndArrowsFollowTheCurrentMemo) {
    loadMemos({QStringLiteral("one")});
    EXPECT_EQ(pane->counter()->text(), QStringLiteral("1/1"));
    EXPECT_FALSE(pane->prevButton()->isEnabled());
    EXPECT_FALSE(pane->nextButton()->isEnabled());

    loadMemos({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    pane->setMemoIndex(2);
    EXPECT_EQ(pane->counter()->text(), QStringLiteral("2/3"));
    EXPECT_TRUE(pane->prevButton()->isEnabled());
    EXPECT_TRUE(pane->nextButton()->isEnabled());
    EXPECT_EQ(pane->memoText()->toPlainText(), QStringLiteral("two"));
    EXPECT_EQ(pane->titleList()->currentIndex(), 1);
    EXPECT_EQ(pane->titleList()->currentText(), QStringLiteral("t2"));

    pane->setMemoIndex(3);
    EXPECT_TRUE(pane->prevButton()->isEnabled());
    EXPECT_FALSE(pane->nextButton()->isEnabled());
}

// Through the mouse, as the window system delivers it: a double click on "new memo" (press,
// release, double click, release) makes one memo, and a click on the top pixel row counts.
TEST_F(MemoPane, MouseOnTheNewMemoButton) {
    loadMemos({QStringLiteral("one")});
    controls::uHoverButton* button = pane->newButton();
    const QPoint middle(button->width() / 2, 5);
    QTest::mousePress(button, Qt::LeftButton, {}, middle);
    QTest::mouseRelease(button, Qt::LeftButton, {}, middle);
    QTest::mouseDClick(button, Qt::LeftButton, {}, middle);
    QTest::mouseRelease(button, Qt::LeftButton, {}, middle);
    EXPECT_EQ(pane->MemoCount(), 2);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() / 2, 0));
    EXPECT_EQ(pane->MemoCount(), 3);
}

TEST_F(MemoPane, ButtonsRunTheirOperations) {
    loadMemos({QStringLiteral("one"), QStringLiteral("two")});
    emit pane->nextButton()->Click();
    EXPECT_EQ(pane->MemoIndex(), 2);
    emit pane->prevButton()->Click();
    EXPECT_EQ(pane->MemoIndex(), 1);
    emit pane->newButton()->Click();
    EXPECT_EQ(pane->MemoCount(), 3);
    EXPECT_EQ(pane->counter()->text(), QStringLiteral("3/3"));

    int asked = 0;
    QObject::connect(pane, &memo::uMultiMemo::BeforeDelete, pane, [&](int& index, bool& cancel) {
        asked = index;
        cancel = true;
    });
    emit pane->deleteButton()->Click();
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(pane->MemoCount(), 3);
}

TEST_F(MemoPane, ChoosingATitleMakesItsMemoCurrent) {
    loadMemos({QStringLiteral("one"), QStringLiteral("two")});
    emit pane->titleList()->activated(1);
    EXPECT_EQ(pane->MemoIndex(), 2);
    EXPECT_EQ(pane->memoText()->toPlainText(), QStringLiteral("two"));
}

TEST_F(MemoPane, TypedTitleReachesTheListAtOnceAndTheRecordAtTheNextSwitch) {
    loadMemos({QStringLiteral("one"), QStringLiteral("two")});
    QComboBox* title = pane->titleList();
    title->setFocus();
    title->lineEdit()->selectAll();
    QTest::keyClicks(title, QStringLiteral("Shop"));
    EXPECT_EQ(title->itemText(0), QStringLiteral("Shop"));
    EXPECT_EQ(title->lineEdit()->text(), QStringLiteral("Shop"));
    EXPECT_EQ(title->lineEdit()->cursorPosition(), 4);
    EXPECT_EQ(pane->memoList().memos()[0].Title, QStringLiteral("t1"));

    pane->setMemoIndex(2);
    EXPECT_EQ(pane->memoList().memos()[0].Title, QStringLiteral("Shop"));
    EXPECT_EQ(title->itemText(1), QStringLiteral("t2"));
}

TEST_F(MemoPane, EnterInTheTitleFieldMovesToTheTextOnlyWhileTheListIsClosed) {
    loadMemos({QStringLiteral("one"), QStringLiteral("two")});
    QComboBox* title = pane->titleList();
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_TRUE(pane->memoText()->hasFocus());

    EXPECT_TRUE(pane->DropdownTitle());
    EXPECT_TRUE(title->view()->isVisible());
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_FALSE(pane->memoText()->hasFocus());
    title->hidePopup();
}

TEST_F(MemoPane, KeysReachTheOwnerFirstAndCanBeSwallowed) {
    loadMemos({QString()});
    QList<int> downs;
    QObject::connect(pane, &memo::uMultiMemo::KeyDown, pane, [&](int& keyCode, int& shift) {
        downs << keyCode << shift;
        if (keyCode == 'Q' && shift == 2)
            keyCode = 0;
    });
    QObject::connect(pane, &memo::uMultiMemo::KeyPress, pane, [&](int& keyAscii) {
        if (keyAscii == 'x')
            keyAscii = 0;
    });
    pane->memoText()->setFocus();
    QTest::keyClick(pane->memoText(), Qt::Key_A);
    QTest::keyClick(pane->memoText(), Qt::Key_X);
    QTest::keyClick(pane->memoText(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(pane->memoText()->toPlainText(), QStringLiteral("a"));
    // The Ctrl key itself arrives as a key-down too (virtual key 17).
    EXPECT_EQ(downs, (QList<int>{'A', 0, 'X', 0, 17, 2, 'Q', 2}));
}

TEST_F(MemoPane, FocusEnteringAndLeavingIsReported) {
    loadMemos({QString()});
    outside->setFocus();
    QSignalSpy got(pane, &memo::uMultiMemo::GotFocus);
    QSignalSpy lost(pane, &memo::uMultiMemo::LostFocus);
    pane->memoText()->setFocus();
    pane->titleList()->setFocus(); // moving inside the pane is no change
    outside->setFocus();
    EXPECT_EQ(got.count(), 1);
    EXPECT_EQ(lost.count(), 1);
}

TEST_F(MemoPane, FileNameInAMissingFolderFailsAndKeepsTheOldName) {
    const QString good = folder + QStringLiteral("/memo.txt");
    ASSERT_FALSE(memos.list().setFileName(good).has_value());
    const auto error = memos.list().setFileName(folder + QStringLiteral("/missing/memo.txt"));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 53);
    EXPECT_EQ(memos.list().FileName(), good);
    // A bare name has no folder part and is taken as it is.
    EXPECT_FALSE(memos.list().setFileName(QStringLiteral("memo.txt")).has_value());
}

TEST_F(MemoPane, TextAndCaretSurviveASaveAndLoad) {
    loadMemos({QStringLiteral("one")});
    pane->memoText()->setPlainText(QStringLiteral("line 1\nline 2"));
    setCaret(9);
    ASSERT_FALSE(memos.list().Save().has_value());
    const QByteArray file = testsupport::readFile(folder + QStringLiteral("/memo.txt"));
    EXPECT_TRUE(file.contains("CursorPos:10\r\n"));
    EXPECT_TRUE(file.endsWith("line 1\r\nline 2"));
    pane->memoText()->clear();
    ASSERT_FALSE(memos.list().Load().has_value());
    EXPECT_EQ(pane->memoText()->toPlainText(), QStringLiteral("line 1\nline 2"));
    EXPECT_EQ(pane->memoText()->textCursor().position(), 9);
}

TEST_F(MemoPane, LayoutFollowsTheSize) {
    pane->resize(400, 300);
    const int bar = pane->newButton()->parentWidget()->width();
    const int barHeight = pane->newButton()->parentWidget()->height();
    const int counter = pane->counter()->parentWidget()->width();
    EXPECT_EQ(pane->titleList()->geometry(), QRect(bar, 0, 400 - bar - counter, barHeight));
    EXPECT_EQ(pane->counter()->parentWidget()->x(), 400 - counter);
    EXPECT_EQ(pane->memoText()->geometry(), QRect(0, barHeight, 400, 300 - barHeight));
    pane->resize(10, 10); // smaller than the strip: no failure, nothing negative
    EXPECT_GE(pane->titleList()->width(), 0);
    EXPECT_GE(pane->memoText()->height(), 0);
}

} // namespace

namespace {
struct PaneState {
    QStringList titles;
    int selectedRow;
    QString title, text, counter;
    int caret;
    bool previous, next;
    QByteArray file;
};

// Loads a file of three memos, moves to the second, adds a log line and saves; `buildFirst` builds
// the controls before anything happens, otherwise only afterwards.
PaneState runMemos(const QString& folder, bool buildFirst) {
    memo::MemoFiler memos;
    QWidget window;
    auto* pane = new memo::uMultiMemo(memos.list(), &window);
    if (buildFirst)
        pane->ensureControls();
    const QString file =
        folder + (buildFirst ? QStringLiteral("/a.txt") : QStringLiteral("/b.txt"));
    testsupport::writeFile(
        file, QStringLiteral(
                  "Title:予定\r\nLast-Modified:\r\nCursorPos:0\r\n\r\n買い物：牛乳、卵\r\n."
                  "\r\nTitle:ｶﾀｶﾅ★\r\nLast-Modified:\r\nCursorPos:7\r\n\r\n「一行目」\n二行目…"
                  "\r\n〜−한국어 😀\r\n.\r\nTitle:third\r\nLast-Modified:\r\nCursorPos:0\r\n\r\nx")
                  .toUtf8());
    EXPECT_FALSE(memos.list().setFileName(file).has_value());
    EXPECT_FALSE(memos.list().Load().has_value());
    pane->setMemoIndex(2);
    if (!buildFirst) {
        EXPECT_EQ(pane->findChild<QPlainTextEdit*>(), nullptr) << "controls built before use";
    }
    memos.list().AddMessage(QStringLiteral("メモ→追記"));
    EXPECT_FALSE(memos.list().Save().has_value());

    PaneState state;
    for (int row = 0; row < pane->titleList()->count(); ++row)
        state.titles << pane->titleList()->itemText(row);
    state.selectedRow = pane->titleList()->currentIndex();
    state.title = pane->titleList()->lineEdit()->text();
    state.text = pane->memoText()->toPlainText();
    state.caret = pane->memoText()->textCursor().position();
    state.counter = pane->counter()->text();
    state.previous = pane->prevButton()->isEnabled();
    state.next = pane->nextButton()->isEnabled();
    state.file = testsupport::readFile(file);
    return state;
}
} // namespace

TEST(MemoPaneControls, BuiltOnFirstUseShowAndSaveWhatControlsBuiltAtOnceWould) {
    const QString folder = testsupport::freshFolder(QStringLiteral("lazy"));
    const PaneState early = runMemos(folder, true);
    const PaneState late = runMemos(folder, false);
    EXPECT_EQ(late.titles, early.titles);
    EXPECT_EQ(late.titles, (QStringList{QStringLiteral("予定"), QStringLiteral("ｶﾀｶﾅ★"),
                                        QStringLiteral("third")}));
    EXPECT_EQ(late.selectedRow, early.selectedRow);
    EXPECT_EQ(late.title, early.title);
    EXPECT_EQ(late.text, early.text);
    EXPECT_TRUE(late.text.contains(QStringLiteral("メモ→追記"))) << late.text.toStdString();
    EXPECT_EQ(late.caret, early.caret);
    EXPECT_EQ(late.counter, QStringLiteral("2/3"));
    EXPECT_EQ(late.counter, early.counter);
    EXPECT_EQ(late.previous, early.previous);
    EXPECT_EQ(late.next, early.next);
    EXPECT_EQ(late.file, early.file);
}

TEST_F(MemoPane, TabIntoThePaneBeforeItsControlsExistReachesTheTitleField) {
    loadMemos({QStringLiteral("one")});
    QSignalSpy got(pane, &memo::uMultiMemo::GotFocus);
    outside->setFocus();
    QTest::keyClick(outside, Qt::Key_Tab);
    const QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == pane->titleList() || focus == pane->titleList()->lineEdit())
        << (focus ? focus->metaObject()->className() : "null");
    EXPECT_EQ(got.count(), 1);
}
