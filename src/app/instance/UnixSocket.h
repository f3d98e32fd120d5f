#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// The few Unix-socket operations the channel needs, on plain file descriptors (close-on-exec,
// non-blocking). Paths are in the file system's encoding.
namespace instance {

enum class ConnectOutcome {
    Connected,
    Busy,            // a listener is there but its queue of pending connections stays full
    NobodyListening, // no socket file, or a socket nobody listens on any more
    Foreign,         // the listener runs as another user
};

// Connects to the socket at `path`, retrying a full queue until `timeout`. Returns the connected
// descriptor, or -1. Only a socket file itself (never a link to one) and only a listener of the
// user's own: anything else is refused before a byte is sent.
int connectTo(const QByteArray& path, std::chrono::milliseconds timeout, ConnectOutcome& outcome);

// Whether the process at the other end of a connected socket runs as the user (SO_PEERCRED).
bool peerIsOwnUser(int fd);

// Removes what is at `path`, binds a new socket there with access for the user only, and
// listens. Returns the listening descriptor, or -1 with `error` set.
int listenAt(const QByteArray& path, QString& error);

// Writes all of `bytes` within `timeout`; false when the peer went away or the time ran out.
bool sendAll(int fd, const QByteArray& bytes, std::chrono::milliseconds timeout);

// Waits until `fd` can be read (or has hung up) for at most `timeoutMs`; false on time-out.
bool waitReadable(int fd, int timeoutMs);

} // namespace instance
