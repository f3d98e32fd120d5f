#include "InstanceChannel.h"

#include "InstanceMessage.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <pwd.h>
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

namespace {
// XDG_RUNTIME_DIR, else the private folder Qt would fall back to (/tmp/runtime-<user>), taken
// without Qt's warning on every look-up; Qt itself checks a folder it did not make.
QString runtimeFolder() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty())
        return xdg;
    const QString own = QDir::tempPath() + QStringLiteral("/runtime-") + userName();
    const QByteArray ownPath = QFile::encodeName(own);
    if (::mkdir(ownPath.constData(), 0700) == 0 || errno == EEXIST) {
        struct stat st {};
        if (::lstat(ownPath.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
            st.st_uid == ::getuid() && (st.st_mode & 077) == 0)
            return own;
    }
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}
} // namespace

QString defaultServerPath() {
    QString folder = runtimeFolder();
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + applicationTitle() + QStringLiteral("-frmMemo-") +
           userName();
}

StartupLock::StartupLock(const QString& serverPath)
    : m_lock(std::make_unique<QLockFile>(serverPath + QStringLiteral(".lock"))) {
    // A lock whose owner has died is taken over at once (QLockFile checks the process id).
    m_lock->setStaleLockTime(std::chrono::milliseconds(kLockWaitMs * 2));
    // Short steps of our own: tryLock's doubling pauses would keep a start waiting for seconds
    // after a lock held for milliseconds.
    const QDeadlineTimer deadline(kLockWaitMs);
    while (!m_lock->tryLock(0) && !deadline.hasExpired())
        QThread::msleep(10);
}

StartupLock::~StartupLock() = default;

bool StartupLock::isLocked() const {
    return m_lock->isLocked();
}

void StartupLock::unlock() {
    m_lock->unlock();
}

Reach probe(const QString& serverPath) {
    QLocalSocket socket;
    socket.connectToServer(serverPath);
    const bool up = socket.waitForConnected(1000);
    // A connect that times out meets a listener too busy to accept: someone is there.
    const bool busy = !up && socket.error() == QLocalSocket::SocketTimeoutError;
    socket.abort();
    return up || busy ? Reach::Listening : Reach::NobodyListening;
}

std::optional<QString> exchange(const QString& serverPath, const QString& text, bool& connected,
                                std::chrono::milliseconds timeout) {
    QLocalSocket socket;
    socket.connectToServer(serverPath);
    connected = socket.waitForConnected(1000);
    if (!connected)
        return std::nullopt;

    const QDeadlineTimer deadline(timeout);
    socket.write(encodeFrame(text));
    QByteArray buffer;
    while (!deadline.hasExpired()) {
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(int(deadline.remainingTime()));
        buffer += socket.readAll();
        bool broken = false;
        if (std::optional<QString> reply = takeFrame(buffer, broken))
            return reply;
        if (broken || socket.state() != QLocalSocket::ConnectedState)
            return std::nullopt;
        socket.waitForReadyRead(int(deadline.remainingTime()));
    }
    return std::nullopt;
}

} // namespace instance
