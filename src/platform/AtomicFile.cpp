#include "AtomicFile.h"
#include "platform/Log.h"

#include "FileFaults.h"
#include "FileRead.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QString kTemporaryMark = QStringLiteral(".tmp-");

WriteResult failure(int errorNumber, const QString& what) {
    qCWarning(lcFile).noquote() << "cannot write:" << what << std::strerror(errorNumber);
    return {false, errorNumber,
            what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errorNumber))};
}

bool writeAll(int fd, QByteArrayView bytes) {
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Whether a leftover temporary file's writer is gone. Names are "<file>.tmp-<pid>-XXXXXX"; older
// versions wrote "<file>.tmp-XXXXXX" without the process.
bool isAbandoned(const QString& rest, const struct stat& st) {
    const time_t age = std::time(nullptr) - st.st_mtim.tv_sec;
    const qsizetype dash = rest.indexOf(u'-');
    if (dash < 0)
        return rest.size() == 6 && age > 60;
    bool numeric = false;
    const qint64 pid = rest.left(dash).toLongLong(&numeric);
    if (!numeric || rest.size() - dash - 1 != 6 || pid <= 0)
        return false;
    if (pid == ::getpid())
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    return age > 3600; // the number now belongs to another process; no write takes an hour
}

} // namespace

QString resolveLinks(const QString& path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QByteArray name = QFile::encodeName(current);
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        QByteArray target(4096, '\0');
        const ssize_t n = ::readlink(name.constData(), target.data(), size_t(target.size()));
        if (n <= 0)
            return current;
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        current = QDir::isAbsolutePath(next)
                      ? QDir::cleanPath(next)
                      : QDir::cleanPath(QFileInfo(current).absolutePath() + u'/' + next);
    }
    return current;
}

void removeLeftoverTemporaries(const QString& path) {
    const QFileInfo target(resolveLinks(path));
    const QString prefix = target.fileName() + kTemporaryMark;
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!name.startsWith(prefix))
            continue;
        const QByteArray full = folder + '/' + entry->d_name;
        struct stat st {};
        if (::lstat(full.constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (isAbandoned(name.mid(prefix.size()), st))
            ::unlink(full.constData());
    }
    ::closedir(dir);
}

WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes) {
    const QString target = resolveLinks(path);
    const QByteArray targetName = QFile::encodeName(target);
    const QFileInfo info(target);
    const QByteArray dir = QFile::encodeName(info.absolutePath());

    struct stat old {};
    const bool hadOld = ::stat(targetName.constData(), &old) == 0;
    if (hadOld) {
        if (S_ISDIR(old.st_mode))
            return failure(EISDIR, QStringLiteral("cannot write ") + path);
        // A FIFO or a device is no file to keep text in; replacing it would break whatever uses it.
        if (!S_ISREG(old.st_mode))
            return {false, kNotARegularFile,
                    QStringLiteral("%1 is not a regular file but %2")
                        .arg(path, specialFileKind(unsigned(old.st_mode)))};
        if ((old.st_mode & 0222) == 0 || ::access(targetName.constData(), W_OK) != 0) {
            const int error = (old.st_mode & 0222) == 0 ? EACCES : errno;
            return {false, error,
                    QCoreApplication::translate("AtomicFile",
                                                "書き込みが禁止されたファイルです (%1): %2")
                        .arg(path, QString::fromLocal8Bit(std::strerror(error)))};
        }
    }

    removeLeftoverTemporaries(target);

    QByteArray tmpl =
        targetName + kTemporaryMark.toLatin1() + QByteArray::number(::getpid()) + "-XXXXXX";
    const int createFault = injectedFileFault(target, FileStep::CreateTemporary);
    const int fd = createFault ? (errno = createFault, -1) : ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(errno,
                       QStringLiteral("cannot create a temporary file in ") + info.absolutePath());

    ::fchmod(fd, hadOld ? (old.st_mode & 07777) : 0644);
    if (hadOld && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)!::fchown(fd, old.st_uid, old.st_gid); // only root may; others keep their own

    const auto abandon = [&](const QString& what, int error) {
        ::unlink(tmpl.constData());
        return failure(error, what);
    };
    if (const int fault = injectedFileFault(target, FileStep::Write)) {
        ::close(fd);
        return abandon(QStringLiteral("cannot write ") + path, fault);
    }
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return abandon(QStringLiteral("cannot write ") + path, error);
    }
    if (::close(fd) != 0)
        return abandon(QStringLiteral("cannot write ") + path, errno);
    if (const int fault = injectedFileFault(target, FileStep::Rename))
        return abandon(QStringLiteral("cannot replace ") + path, fault);
    if (::rename(tmpl.constData(), targetName.constData()) != 0)
        return abandon(QStringLiteral("cannot replace ") + path, errno);
    // Make the rename itself durable.
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {true, 0, {}};
}

QString keepCopyBeside(const QString& path, QByteArrayView bytes, const QString& tag,
                       const QDateTime& when, WriteResult* result) {
    const QFileInfo info(resolveLinks(path));
    const QString stem = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString base = info.absolutePath() + u'/' + stem + u'.' + tag + u'-' +
                         when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = base + suffix;
    for (int n = 2; QFileInfo::exists(copy) || QFileInfo(copy).isSymLink(); ++n)
        copy = base + u'-' + QString::number(n) + suffix;
    WriteResult written = writeFileAtomically(copy, bytes);
    const bool ok = written.ok;
    if (result)
        *result = std::move(written);
    return ok ? copy : QString();
}

} // namespace platform
