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
// the user, so instances of other users never meet. In a private folder of the user's own when
// there is no usable XDG_RUNTIME_DIR (see chooseRuntimeFolder); empty when there is none at all,
// and the program then runs without the channel.
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

enum class Reach {
    Listening,
    NobodyListening,
    Foreign, // something of another user listens there: nothing may be sent or taken over
};

// Whether an instance listens at `serverPath` (a connect that succeeds) and is the user's own.
Reach probe(const QString& serverPath);

// Sends one text and waits for the receiver's reply. Nothing when no instance listens, or when it
// does not reply within `timeout`; `connected` tells the two apart. Nothing is sent to a listener
// of another user (`connected` stays false).
std::optional<QString> exchange(const QString& serverPath, const QString& text, bool& connected,
                                std::chrono::milliseconds timeout = kReplyTimeout);

} // namespace instance
