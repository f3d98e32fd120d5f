#pragma once

#include "engine/DispatcherPorts.h"
#include "engine/TextChecks.h"

namespace input {
class CMRUCombo;
}
class QComboBox;
class frmMemo;

// The main window's controls as the line dispatcher sees them.
namespace app {

class InputLinePort final : public engine::ITextControl {
public:
    explicit InputLinePort(QComboBox& comboBox) : m_combo(comboBox) {}
    QString typeName() const override { return QStringLiteral("ComboBox"); }
    QString text() const override;
    void setText(const QString& text) override;
    void setSelection(int start, int length) override;

private:
    QComboBox& m_combo;
};

class HistoryPort final : public engine::IHistory {
public:
    explicit HistoryPort(input::CMRUCombo& history) : m_history(history) {}
    void AddMRU(const QString& line, bool addFirst) override;
    void AddMRUTemp(const QString& line, bool addFirst) override;

private:
    input::CMRUCombo& m_history;
};

class SystemClipboardPort final : public engine::IClipboard {
public:
    void setText(const QString& text) override;
};

class WindowPort final : public engine::IMainWindow {
public:
    WindowPort(frmMemo& window, QComboBox& inputLine) : m_window(window), m_inputLine(inputLine) {}
    void showResult(const QString& text) override;
    void focusMemoPane() override;
    void HideForm() override;
    void SetTopMost(bool on) override;
    QString AppTitleWithVersion() const override;

private:
    frmMemo& m_window;
    InputLinePort m_inputLine;
};

} // namespace app
