#pragma once

#include "script/ScriptEngine.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>

namespace cli {

// The console's stop box: a script run (the top level of scrivlet.vbs, a piece of the line) that
// stays busy longer than the limit is stopped, and so is one the user interrupts with Ctrl+C.
// A stopped run ends as script error 18 and the rest of the line goes on. Waiting (an InputBox
// reading the terminal) does not count, as in the window.
//
// While alive, Ctrl+C during a run stops the run; Ctrl+C at any other moment ends the program as
// usual.
class ScriptTimeLimit final : public script::RunWatcher {
public:
    explicit ScriptTimeLimit(std::chrono::milliseconds limit); // zero: no limit, Ctrl+C only
    ~ScriptTimeLimit() override;
    ScriptTimeLimit(const ScriptTimeLimit&) = delete;
    ScriptTimeLimit& operator=(const ScriptTimeLimit&) = delete;

    void runStarted() override;
    bool stopRequested() override;
    void runEnded() override;

    // Why the last stopped run was stopped, as a sentence for standard error; empty when no run
    // has been stopped.
    QString stopReason() const { return m_reason; }

private:
    std::chrono::milliseconds m_limit;
    QElapsedTimer m_clock;
    qint64 m_busySince = 0;
    qint64 m_lastCheck = 0;
    QString m_reason;
};

} // namespace cli
