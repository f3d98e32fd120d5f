#pragma once

#include "engine/DispatcherPorts.h"

class CMRUCombo;
class QComboBox;
class frmMemo;
class uMultiMemo;

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

class MemoPanePort final : public engine::IMemoPane {
public:
    explicit MemoPanePort(frmMemo& window) : m_window(window) {}
    bool AddMessage(const QString& text) override;
    void focusMemoPane() override;
    bool isActiveControl() const override;

private:
    frmMemo& m_window;
};

class HistoryPort final : public engine::IHistory {
public:
    explicit HistoryPort(CMRUCombo& history) : m_history(history) {}
    void AddMRU(bool addFirst) override;
    void AddMRUTemp(bool addFirst) override;

private:
    CMRUCombo& m_history;
};

class SystemClipboardPort final : public engine::IClipboard {
public:
    void setText(const QString& text) override;
};

class WindowPort final : public engine::IMainWindow {
public:
    explicit WindowPort(frmMemo& window) : m_window(window) {}
    void HideForm() override;
    void SetTopMost(bool on) override;
    QString AppTitleWithVersion() const override;

private:
    frmMemo& m_window;
};

} // namespace app
