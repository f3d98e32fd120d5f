#pragma once

// The console's stand-ins for the window's parts: the input line is a string; the history, the
// clipboard and hiding do nothing (the console never rewrites the user's settings).

#include "engine/DispatcherPorts.h"

namespace cli {

class ConsoleInputLine final : public engine::ITextControl {
public:
    QString typeName() const override { return QStringLiteral("ComboBox"); }
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    void setSelection(int, int) override {}

private:
    QString m_text;
};

class NoHistory final : public engine::IHistory {
public:
    void AddMRU(bool) override {}
    void AddMRUTemp(bool) override {}
};

class NoClipboard final : public engine::IClipboard {
public:
    void setText(const QString&) override {}
};

class ConsoleWindow final : public engine::IMainWindow {
public:
    void HideForm() override {}
    void SetTopMost(bool) override {}
    QString AppTitleWithVersion() const override;
};

} // namespace cli
