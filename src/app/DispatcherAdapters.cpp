#include "DispatcherAdapters.h"

#include "AppInfo.h"
#include "frmMemo.h"
#include "input/CMRUCombo.h"

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

void HistoryPort::AddMRU(const QString& line, bool addFirst) {
    m_history.AddMRU(line, addFirst);
}

void HistoryPort::AddMRUTemp(const QString& line, bool addFirst) {
    m_history.AddMRUTemp(line, addFirst);
}

void SystemClipboardPort::setText(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

void WindowPort::showResult(const QString& text) {
    m_inputLine.setText(text);
    engine::SelectAllText(m_inputLine);
}

void WindowPort::focusMemoPane() {
    m_window.focusMemoPane();
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
