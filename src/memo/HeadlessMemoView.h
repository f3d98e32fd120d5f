#pragma once

#include "memo/IMemoView.h"

#include <QStringList>

namespace memo {

// A memo view without widgets: it simply holds what the memo list shows. Used where memos are
// edited without a window (the console companion) and by tests.
class HeadlessMemoView : public IMemoView {
public:
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    int caretPosition() const override { return m_caret; }
    void setCaretPosition(int position) override { m_caret = position; }

    QString titleText() const override { return m_titleText; }
    void setTitleText(const QString& title) override { m_titleText = title; }
    void clearTitleSelection() override {}

    void clearTitles() override;
    void appendTitle(const QString& title) override { m_titles.append(title); }
    void removeTitle(int row) override;
    QString titleAt(int row) const override { return m_titles.value(row); }
    void setTitleAt(int row, const QString& title) override;
    int selectedTitleRow() const override { return m_selectedRow; }
    void selectTitleRow(int row) override { m_selectedRow = row; }

    void showPosition(const QString& counter, bool previousEnabled, bool nextEnabled) override;
    void setWritable(bool writable, const QString& reason) override {
        m_writable = writable;
        m_notWritableReason = reason;
    }

    const QStringList& titles() const { return m_titles; }
    QString counter() const { return m_counter; }
    bool previousEnabled() const { return m_previousEnabled; }
    bool nextEnabled() const { return m_nextEnabled; }
    bool writable() const { return m_writable; }
    QString notWritableReason() const { return m_notWritableReason; }

private:
    QString m_text;
    int m_caret = 0;
    QString m_titleText;
    QStringList m_titles;
    int m_selectedRow = -1;
    QString m_counter = QStringLiteral("0/0");
    bool m_previousEnabled = false;
    bool m_nextEnabled = false;
    bool m_writable = true;
    QString m_notWritableReason;
};

} // namespace memo
