#pragma once

#include <QString>

#include <chrono>
#include <optional>

// Where the running instance listens and how a later start talks to it. A local socket in the
// user's runtime folder stands for the link between two instances; a lock file beside it makes
// "is anyone listening? else listen" one step for concurrent starts.
namespace instance {

// The product name: the application part of the channel's name.
QString applicationTitle();

// $XDG_RUNTIME_DIR/Scrivlet-frmMemo-<user>: named after the application, the main window's name and
// the user, so instances of other users never meet.
QString defaultServerPath();

// Held while a start decides whether it is the first instance (and, for scrivlet-cli, while it
// writes the memo file itself), so that two quick starts never both become resident. An flock on
// "<socket>.lock": the system releases it when its holder dies, so no lock is ever stale.
class StartupLock {
public:
    explicit StartupLock(const QString& serverPath);
    ~StartupLock();
    StartupLock(const StartupLock&) = delete;
    StartupLock& operator=(const StartupLock&) = delete;

    bool isLocked() const;
    void unlock();

private:
    int m_fd = -1;
    bool m_locked = false;
};

// Long enough for a running instance that is busy starting up (settings, scripts, a box of its
// own) to get to its event loop; past it the running instance counts as not answering.
inline constexpr std::chrono::milliseconds kReplyTimeout{8000};

enum class Reach { Listening, NobodyListening };

// Whether an instance listens at `serverPath` (a connect that succeeds).
Reach probe(const QString& serverPath);

// Sends one text and waits for the receiver's reply. Nothing when no instance listens, or when it
// does not reply within `timeout`; `connected` tells the two apart.
std::optional<QString> exchange(const QString& serverPath, const QString& text, bool& connected,
                                std::chrono::milliseconds timeout = kReplyTimeout);

} // namespace instance
