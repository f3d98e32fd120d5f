#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

WriteResult failure(const QString& what) {
    return {false, what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno))};
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

} // namespace

WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes) {
    const QFileInfo info(path);
    const QByteArray dir = QFile::encodeName(info.absolutePath());
    QByteArray tmpl = QFile::encodeName(info.absoluteFilePath()) + ".tmp-XXXXXX";

    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return failure(QStringLiteral("cannot create a temporary file in ") + info.absolutePath());

    struct stat old {};
    const bool hadOld = ::stat(QFile::encodeName(info.absoluteFilePath()).constData(), &old) == 0;
    ::fchmod(fd, hadOld ? (old.st_mode & 07777) : 0644);

    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        WriteResult r = failure(QStringLiteral("cannot write ") + path);
        ::close(fd);
        ::unlink(tmpl.constData());
        return r;
    }
    if (::close(fd) != 0) {
        WriteResult r = failure(QStringLiteral("cannot write ") + path);
        ::unlink(tmpl.constData());
        return r;
    }
    if (::rename(tmpl.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0) {
        WriteResult r = failure(QStringLiteral("cannot replace ") + path);
        ::unlink(tmpl.constData());
        return r;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {true, {}};
}

} // namespace platform
