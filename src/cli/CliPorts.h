#pragma once

// The console's stand-ins for the window's parts: the input line is a string, the history, the
// clipboard and hiding do nothing (the console never rewrites the user's files), and prose has
// no memo store until one is plugged in.

#include "engine/DispatcherPorts.h"

#include <QTextStream>

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

// Refuses every entry: nothing is filed, and standard error says why.
class NoMemoStore final : public engine::IMemoPane {
public:
    explicit NoMemoStore(QTextStream& err) : m_err(err) {}
    bool AddMessage(const QString& text) override;
    void focusMemoPane() override {}
    bool isActiveControl() const override { return false; }

private:
    QTextStream& m_err;
};

} // namespace cli
