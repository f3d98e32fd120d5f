#include "UnixSocket.h"

#include "RuntimeFolder.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace instance {

namespace {

bool toAddress(const QByteArray& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    // A leading NUL would name an abstract socket, which any local user could take first.
    if (path.isEmpty() || path.front() == '\0' || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

int newSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

int remainingMs(const QDeadlineTimer& deadline) {
    return int(qMax<qint64>(0, deadline.remainingTime()));
}

} // namespace

int connectTo(const QByteArray& path, std::chrono::milliseconds timeout, ConnectOutcome& outcome) {
    outcome = ConnectOutcome::NobodyListening;
    sockaddr_un address;
    if (!toAddress(path, address))
        return -1;
    // connect() follows links: what is not a socket itself counts as no listener (and is removed
    // by the next listenAt).
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISSOCK(st.st_mode))
        return -1;
    const int fd = newSocket();
    if (fd < 0)
        return -1;
    const QDeadlineTimer deadline(timeout);
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            if (!peerIsOwnUser(fd)) {
                ::close(fd);
                outcome = ConnectOutcome::Foreign;
                return -1;
            }
            outcome = ConnectOutcome::Connected;
            return fd;
        }
        if (errno == EINTR)
            continue;
        // A Unix socket connects at once or, with the listener's queue full, not yet.
        if (errno != EAGAIN) {
            ::close(fd);
            return -1;
        }
        outcome = ConnectOutcome::Busy;
        if (deadline.hasExpired()) {
            ::close(fd);
            return -1;
        }
        ::usleep(2000);
    }
}

bool peerIsOwnUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
           peer.uid == ownUserId();
}

int listenAt(const QByteArray& path, QString& error) {
    sockaddr_un address;
    if (!toAddress(path, address)) {
        error = QStringLiteral("unusable socket path");
        return -1;
    }
    const int fd = newSocket();
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    ::unlink(path.constData());
    // Nobody can connect before listen(), so the mode is set before anyone could.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 16) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const QByteArray& bytes, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            sent += n;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        pollfd wanted{fd, POLLOUT, 0};
        if (deadline.hasExpired() || ::poll(&wanted, 1, remainingMs(deadline)) == 0)
            return false;
    }
    return true;
}

bool waitReadable(int fd, int timeoutMs) {
    pollfd wanted{fd, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&wanted, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0;
    }
}

} // namespace instance
