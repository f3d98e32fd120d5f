#include "cli/ScriptTimeLimit.h"

#include <atomic>
#include <csignal>

namespace cli {

namespace {

// Longer than this between two checks, and the run was waiting for the user, not busy.
constexpr qint64 kWaitGapMs = 250;

std::atomic<bool> g_running{false};
std::atomic<bool> g_interrupted{false};
struct sigaction g_previous {};

extern "C" void onInterrupt(int signal) {
    if (!g_running.load()) {
        // Not inside a script: Ctrl+C ends the program as it would without us.
        ::sigaction(signal, &g_previous, nullptr);
        ::raise(signal);
        return;
    }
    g_interrupted.store(true);
}

} // namespace

ScriptTimeLimit::ScriptTimeLimit(std::chrono::milliseconds limit) : m_limit(limit) {
    g_interrupted = false;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &g_previous);
}

ScriptTimeLimit::~ScriptTimeLimit() {
    g_running = false;
    ::sigaction(SIGINT, &g_previous, nullptr);
}

void ScriptTimeLimit::runStarted() {
    m_clock.start();
    m_busySince = m_lastCheck = 0;
    g_interrupted = false;
    g_running = true;
}

bool ScriptTimeLimit::stopRequested() {
    if (!m_clock.isValid())
        return false;
    if (g_interrupted.load()) {
        m_reason = QStringLiteral("the script was stopped (Ctrl+C)");
        return true;
    }
    const qint64 now = m_clock.elapsed();
    if (now - m_lastCheck > kWaitGapMs)
        m_busySince = now;
    m_lastCheck = now;
    if (m_limit.count() > 0 && now - m_busySince >= m_limit.count()) {
        m_reason = QStringLiteral("the script was stopped after running for %1 s (--time-limit)")
                       .arg(double(m_limit.count()) / 1000.0);
        return true;
    }
    return false;
}

void ScriptTimeLimit::runEnded() {
    g_running = false;
    m_clock.invalidate();
}

} // namespace cli
