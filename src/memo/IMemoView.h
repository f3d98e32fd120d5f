#pragma once

#include <QString>

namespace memo {

// What the memo list needs of the memo pane's controls. The pane widget implements it; tests and
// the console companion use HeadlessMemoView.
//
// Texts cross this interface with CR LF line ends and caret positions count characters of that
// text (a line end counts 2). A widget that keeps "\n" internally converts both ways.
// Rows of the title list count from 0: memo k is row k - 1.
class IMemoView {
public:
    virtual ~IMemoView() = default;

    // The text field of the current memo.
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual int caretPosition() const = 0;
    virtual void setCaretPosition(int position) = 0;

    // The title field (the editable part of the title combo box).
    virtual QString titleText() const = 0;
    virtual void setTitleText(const QString& title) = 0;
    virtual void clearTitleSelection() = 0;

    // The title list (the drop-down of the title combo box), one entry per memo.
    virtual void clearTitles() = 0;
    virtual void appendTitle(const QString& title) = 0;
    virtual void removeTitle(int row) = 0;
    virtual QString titleAt(int row) const = 0;
    virtual void setTitleAt(int row, const QString& title) = 0;
    virtual int selectedTitleRow() const = 0; // -1 when no entry is selected
    virtual void selectTitleRow(int row) = 0;

    // The counter caption ("2/5") and whether the previous and next buttons are enabled.
    virtual void showPosition(const QString& counter, bool previousEnabled, bool nextEnabled) = 0;

    // Whether the user may edit memos; when not, `reason` says why (the memo file cannot be read,
    // so nothing typed could be saved).
    virtual void setWritable(bool writable, const QString& reason) = 0;
};

} // namespace memo
