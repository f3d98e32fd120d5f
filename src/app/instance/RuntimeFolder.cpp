#include "RuntimeFolder.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace instance {

namespace {
std::optional<uid_t> g_pretendedUid;

// Our own folders beside a squatted shared one, by name; the first private one wins, so starts
// that made one each at the same moment still meet in one.
QString firstOwnFolder(const QString& tempBase, const QString& prefix) {
    const QStringList names = QDir(tempBase).entryList(
        {prefix + QStringLiteral("??????")}, QDir::Dirs | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString path = tempBase + QLatin1Char('/') + name;
        if (isPrivateFolder(path))
            return path;
    }
    return {};
}
} // namespace

uid_t ownUserId() {
    return g_pretendedUid.value_or(::getuid());
}

void setOwnUserIdForTesting(std::optional<uid_t> uid) {
    g_pretendedUid = uid;
}

bool isPrivateFolder(const QString& path) {
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    return !path.isEmpty() && ::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ownUserId() && (st.st_mode & 077) == 0;
}

QString chooseRuntimeFolder(const QString& xdgRuntimeDir, const QString& tempBase,
                            const QString& user) {
    if (isPrivateFolder(xdgRuntimeDir))
        return xdgRuntimeDir;
    if (!xdgRuntimeDir.isEmpty())
        qWarning("single instance: XDG_RUNTIME_DIR %s is not private to this user",
                 qPrintable(xdgRuntimeDir));
    if (tempBase.isEmpty() || user.isEmpty())
        return {};

    const QString shared = tempBase + QStringLiteral("/runtime-") + user;
    ::mkdir(QFile::encodeName(shared).constData(), 0700); // an existing one is checked below
    if (isPrivateFolder(shared))
        return shared;

    // Another user made the shared name first (or it is not private): never use it.
    const QString prefix = QStringLiteral("runtime-") + user + QLatin1Char('-');
    if (QString own = firstOwnFolder(tempBase, prefix); !own.isEmpty())
        return own;
    QByteArray pattern = QFile::encodeName(tempBase + QLatin1Char('/') + prefix) + "XXXXXX";
    if (!::mkdtemp(pattern.data())) // mode 0700
        return {};
    const QString made = QFile::decodeName(pattern);
    const QString chosen = firstOwnFolder(tempBase, prefix);
    if (chosen != made)
        ::rmdir(pattern.constData());
    return chosen;
}

} // namespace instance
