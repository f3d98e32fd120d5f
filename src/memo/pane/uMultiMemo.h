#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class uHoverButton;

// The memo pane of the main window: four buttons, the editable title list and the counter above
// the text of the current memo.
class uMultiMemo : public QWidget {
    Q_OBJECT

public:
    explicit uMultiMemo(QWidget* parent = nullptr);
    ~uMultiMemo() override;

    // The memo file. Setting a name whose folder does not exist fails (error 53) and keeps the old
    // name; setting it does not load the file.
    QString FileName() const { return m_fileName; }
    bool setFileName(const QString& fileName);

    // Focuses the title field and opens the title list. Always true.
    bool DropdownTitle();
    // Opens the line under the caret through the shell; true when the shell accepted it.
    bool ExecuteMemoLine();

    // How ExecuteMemoLine opens a line (the program's shell execution with an empty verb).
    using ShellOpener = std::function<bool(const QString& target)>;
    void setShellOpener(ShellOpener opener) { m_shellOpener = std::move(opener); }

    // Whether the keyboard focus is in one of the pane's controls.
    bool hasFocusInside() const;

    QComboBox* titleList() const { return m_cmbMemoList; }
    QPlainTextEdit* memoText() const { return m_txtMemo; }
    QLabel* counter() const { return m_lblCounter; }
    uHoverButton* newButton() const { return m_cmdNew; }
    uHoverButton* deleteButton() const { return m_cmdDelete; }
    uHoverButton* prevButton() const { return m_cmdPrev; }
    uHoverButton* nextButton() const { return m_cmdNext; }

signals:
    // Keys pressed in any control of the pane, before the control sees them. Setting the code to 0
    // swallows the key.
    void KeyDown(int& KeyCode, int& Shift);
    void KeyPress(int& KeyAscii);
    void KeyUp(int& KeyCode, int& Shift);
    void AfterExecuteFile();
    // The focus entered the pane from outside, or left it.
    void GotFocus();
    void LostFocus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutControls();
    void onFocusChanged(QWidget* old, QWidget* now);
    bool containsWidget(const QWidget* widget) const;
    bool routeKey(QObject* watched, QKeyEvent* event);
    void onTitleKeyReleased();
    bool isTitleListOpen() const;

    QWidget* m_picBar = nullptr;
    uHoverButton* m_cmdNew = nullptr;
    uHoverButton* m_cmdDelete = nullptr;
    uHoverButton* m_cmdPrev = nullptr;
    uHoverButton* m_cmdNext = nullptr;
    QComboBox* m_cmbMemoList = nullptr;
    QFrame* m_picCounter = nullptr;
    QLabel* m_lblCounter = nullptr;
    QPlainTextEdit* m_txtMemo = nullptr;

    QString m_fileName;
    bool m_titleEdited = false;
    ShellOpener m_shellOpener;
};
