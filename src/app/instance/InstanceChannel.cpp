#include "InstanceChannel.h"

#include "InstanceMessage.h"
#include "RuntimeFolder.h"
#include "UnixSocket.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace instance {

namespace {
QString userName() {
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(::getuid());
}

// A start that holds the lock only decides and listens, which takes milliseconds; one that waits
// longer than this is facing a lock left by a hung process and goes on without it.
constexpr int kLockWaitMs = 5000;
} // namespace

QString applicationTitle() {
    return QStringLiteral("Scrivlet");
}

QString defaultServerPath() {
    const QString folder =
        chooseRuntimeFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(), userName());
    if (folder.isEmpty())
        return {};
    return folder + QLatin1Char('/') + applicationTitle() + QStringLiteral("-frmMemo-") +
           userName();
}

StartupLock::StartupLock(const QString& serverPath) {
    if (serverPath.isEmpty())
        return; // no channel, nothing to lock
    const QByteArray path = QFile::encodeName(serverPath + QStringLiteral(".lock"));
    // Never through a link, never a special file, never a file of another user: each could make us
    // create a file where someone else chose, or wait on a lock someone else holds.
    m_fd =
        ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK,
               S_IRUSR | S_IWUSR);
    struct stat st {};
    if (m_fd >= 0 &&
        (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ownUserId())) {
        qWarning("single instance: the lock file %s is not the user's own file; going on unlocked",
                 path.constData());
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd < 0)
        return;
    // Short steps: a lock is held for well under a millisecond, unless its holder hangs.
    const QDeadlineTimer deadline(kLockWaitMs);
    while (!(m_locked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0) && !deadline.hasExpired())
        ::usleep(1000);
}

StartupLock::~StartupLock() {
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

bool StartupLock::isLocked() const {
    return m_locked;
}

void StartupLock::unlock() {
    if (m_locked)
        ::flock(m_fd, LOCK_UN);
    m_locked = false;
}

Reach probe(const QString& serverPath) {
    // A full queue of pending connections means a listener too busy to accept: someone is there.
    ConnectOutcome outcome;
    const int fd = connectTo(QFile::encodeName(serverPath), std::chrono::milliseconds(0), outcome);
    if (fd >= 0)
        ::close(fd);
    switch (outcome) {
    case ConnectOutcome::NobodyListening:
        return Reach::NobodyListening;
    case ConnectOutcome::Foreign:
        return Reach::Foreign;
    case ConnectOutcome::Connected:
    case ConnectOutcome::Busy:
        break;
    }
    return Reach::Listening;
}

std::optional<QString> exchange(const QString& serverPath, const QString& text, bool& connected,
                                std::chrono::milliseconds timeout) {
    ConnectOutcome outcome;
    const int fd =
        connectTo(QFile::encodeName(serverPath), std::chrono::milliseconds(1000), outcome);
    connected = fd >= 0;
    if (!connected)
        return std::nullopt;
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });

    const QDeadlineTimer deadline(timeout);
    if (!sendAll(fd, encodeFrame(text), timeout))
        return std::nullopt;
    QByteArray buffer;
    char chunk[4096];
    while (waitReadable(fd, int(qMax<qint64>(0, deadline.remainingTime())))) {
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return std::nullopt; // the receiver went away without a reply
        buffer.append(chunk, got);
        bool broken = false;
        if (std::optional<QString> reply = takeFrame(buffer, broken))
            return reply;
        if (broken)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace instance
