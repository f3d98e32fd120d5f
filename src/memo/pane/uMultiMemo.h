#pragma once

#include "memo/HeadlessMemoView.h"
#include "memo/IMemoView.h"
#include "memo/MemoFile.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
namespace controls {
class uHoverButton;
}
namespace memo {

class MemoList;
class MemoFindView;

// The memo pane of the main window: four buttons, the editable title list and the counter above
// the text of the current memo. It views a memo list it does not own (the memo filer's): the file
// behind it is read, written and filed into elsewhere.
class uMultiMemo : public QWidget, private IMemoView {
    Q_OBJECT

public:
    explicit uMultiMemo(MemoList& list, QWidget* parent = nullptr);
    ~uMultiMemo() override;

    // The memo list's number and current memo, and the buttons' functions.
    int MemoCount() const;
    int MemoIndex() const;
    void setMemoIndex(int index);
    bool CreateNewMemo();
    bool DeleteActiveMemo();
    void DeleteMemo(int index);
    bool MovePrevMemo();
    bool MoveNextMemo();
    MemoList& memoList() const { return m_list; }

    // Focuses the title field and opens the title list. Always true.
    bool DropdownTitle();
    // Opens the line under the caret through the shell; true when the shell accepted it.
    bool ExecuteMemoLine();

    // How ExecuteMemoLine opens a line (the program's shell execution with an empty verb).
    using ShellOpener = std::function<bool(const QString& target)>;
    void setShellOpener(ShellOpener opener) { m_shellOpener = std::move(opener); }

    // Finding in memos. The find view takes the text field's place and lists the lines of every
    // memo that hold the query (a copy of the memos as shown: nothing is changed); the pane's
    // owner feeds it the query as the user types and moves through it. False, and nothing
    // opened, for a query that is empty or only blanks.
    bool openFind(const QString& query);
    void setFindQuery(const QString& query);
    bool isFindOpen() const;
    void moveFindSelection(int rows);
    // Closes the view and shows the selected line's memo with the line selected. False (the view
    // stays) when no line is selected.
    bool jumpToFoundLine();
    // Closes the view; the memo shown before is there again.
    void closeFind();
    MemoFindView* findView() const { return m_findView; }

    // Whether the keyboard focus is in one of the pane's controls.
    bool hasFocusInside() const;

    // The controls, built on first use (see ensureControls).
    QComboBox* titleList() const { return ensureControls(), m_cmbMemoList; }
    QPlainTextEdit* memoText() const { return ensureControls(), m_txtMemo; }
    QLabel* counter() const { return ensureControls(), m_lblCounter; }
    controls::uHoverButton* newButton() const { return ensureControls(), m_cmdNew; }
    controls::uHoverButton* deleteButton() const { return ensureControls(), m_cmdDelete; }
    controls::uHoverButton* prevButton() const { return ensureControls(), m_cmdPrev; }
    controls::uHoverButton* nextButton() const { return ensureControls(), m_cmdNext; }
    // Builds the controls now, if they are not there yet (the owner does so when it opens the
    // pane).
    void ensureControls() const;

signals:
    // A line of the find view was clicked.
    void findHitClicked();
    // Keys pressed in any control of the pane, before the control sees them. Setting the code to 0
    // swallows the key.
    void KeyDown(int& KeyCode, int& Shift);
    void KeyPress(int& KeyAscii);
    void KeyUp(int& KeyCode, int& Shift);
    void AfterExecuteFile();
    // Raised before the current memo is deleted; setting Cancel keeps it.
    void BeforeDelete(int& MemoIndex, bool& Cancel);
    // The focus entered the pane from outside, or left it.
    void GotFocus();
    void LostFocus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // IMemoView
    QString text() const override;
    void setText(const QString& text) override;
    int caretPosition() const override;
    void setCaretPosition(int position) override;
    QString titleText() const override;
    void setTitleText(const QString& title) override;
    void clearTitleSelection() override;
    void clearTitles() override;
    void appendTitle(const QString& title) override;
    void removeTitle(int row) override;
    QString titleAt(int row) const override;
    void setTitleAt(int row, const QString& title) override;
    int selectedTitleRow() const override;
    void selectTitleRow(int row) override;
    void showPosition(const QString& counter, bool previousEnabled, bool nextEnabled) override;
    void setWritable(bool writable, const QString& reason) override;

    void buildControls();
    void layoutControls();
    void onFocusChanged(QWidget* old, QWidget* now);
    bool containsWidget(const QWidget* widget) const;
    bool routeKey(QObject* watched, QKeyEvent* event);
    void onTitleKeyReleased();
    bool isTitleListOpen() const;

    QWidget* m_picBar = nullptr;
    controls::uHoverButton* m_cmdNew = nullptr;
    controls::uHoverButton* m_cmdDelete = nullptr;
    controls::uHoverButton* m_cmdPrev = nullptr;
    controls::uHoverButton* m_cmdNext = nullptr;
    QComboBox* m_cmbMemoList = nullptr;
    QFrame* m_picCounter = nullptr;
    QLabel* m_lblCounter = nullptr;
    QPlainTextEdit* m_txtMemo = nullptr;
    MemoFindView* m_findView = nullptr;

    // What the memo list shows while the controls are not built.
    HeadlessMemoView m_detached;
    MemoList& m_list;
    bool m_titleEdited = false;
    ShellOpener m_shellOpener;
};

} // namespace memo
