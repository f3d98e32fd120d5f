#pragma once

// The console's stand-ins for the window's parts: the results are printed from the run; the
// history, the clipboard and the window's changes do nothing (the console never rewrites the user's
// settings).

#include "engine/DispatcherPorts.h"

namespace cli {

class NoHistory final : public engine::IHistory {
public:
    void AddMRU(const QString&, bool) override {}
    void AddMRUTemp(const QString&, bool) override {}
};

class NoClipboard final : public engine::IClipboard {
public:
    void setText(const QString&) override {}
};

class ConsoleWindow final : public engine::IMainWindow {
public:
    void showResult(const QString&) override {}
    void focusMemoPane() override {}
    void HideForm() override {}
    void SetTopMost(bool) override {}
    QString AppTitleWithVersion() const override;
};

} // namespace cli
