#include "DispatcherAdapters.h"

#include "AppInfo.h"
#include "frmMemo.h"
#include "input/CMRUCombo.h"
#include "memo/pane/uMultiMemo.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>

namespace app {

QString InputLinePort::text() const {
    return m_combo.currentText();
}

void InputLinePort::setText(const QString& text) {
    m_combo.setEditText(text);
}

void InputLinePort::setSelection(int start, int length) {
    m_combo.lineEdit()->setSelection(start, length);
}

bool MemoPanePort::AddMessage(const QString& text) {
    return m_window.addMemoMessage(text);
}

void MemoPanePort::focusMemoPane() {
    m_window.focusMemoPane();
}

bool MemoPanePort::isActiveControl() const {
    return m_window.memoPane()->hasFocusInside();
}

void HistoryPort::AddMRU(bool addFirst) {
    m_history.AddMRU(QString(), addFirst);
}

void HistoryPort::AddMRUTemp(bool addFirst) {
    m_history.AddMRUTemp(QString(), addFirst);
}

void SystemClipboardPort::setText(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

void WindowPort::HideForm() {
    m_window.HideForm();
}

void WindowPort::SetTopMost(bool on) {
    m_window.SetTopMost(on);
}

QString WindowPort::AppTitleWithVersion() const {
    return app::AppTitleWithVersion();
}

} // namespace app
