#include "FileRead.h"
#include "platform/Log.h"

#include "FileFaults.h"

#include <QFile>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileBytes failed(int errorNumber, bool exists) {
    qCWarning(lcFile) << "cannot read:" << std::strerror(errorNumber);
    FileBytes r;
    r.exists = exists;
    r.errorNumber = errorNumber;
    r.error = QString::fromLocal8Bit(std::strerror(errorNumber));
    return r;
}

} // namespace

QString specialFileKind(unsigned mode) {
    switch (mode & S_IFMT) {
    case S_IFREG:
        return {};
    case S_IFDIR:
        return QStringLiteral("a folder");
    case S_IFIFO:
        return QStringLiteral("a FIFO");
    case S_IFCHR:
        return QStringLiteral("a character device");
    case S_IFBLK:
        return QStringLiteral("a block device");
    case S_IFSOCK:
        return QStringLiteral("a socket");
    default:
        return QStringLiteral("not a regular file");
    }
}

FileBytes readWholeFile(const QString& path) {
    if (path.isEmpty())
        return failed(ENOENT, false);
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking: opening a FIFO nobody writes to would otherwise wait for good.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        return failed(errno, true);
    }
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    FileBytes r;
    r.exists = true;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return failed(errno, true);
    if (S_ISDIR(st.st_mode))
        return failed(EISDIR, true);
    if (!S_ISREG(st.st_mode)) {
        FileBytes refused = failed(kNotARegularFile, true);
        refused.error = QStringLiteral("%1 is not a regular file but %2")
                            .arg(path, specialFileKind(unsigned(st.st_mode)));
        return refused;
    }
    const auto tooLarge = [&] {
        FileBytes refused = failed(kFileTooLarge, true);
        refused.error = QStringLiteral("%1 is larger than %2 MB, more than is read into memory")
                            .arg(path)
                            .arg(kMaxReadBytes >> 20);
        return refused;
    };
    if (st.st_size > kMaxReadBytes)
        return tooLarge();
    if (const int fault = injectedFileFault(path, FileStep::Read))
        return failed(fault, true);
    if (st.st_size > 0)
        r.bytes.reserve(qsizetype(st.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failed(errno, true);
        }
        if (n == 0)
            break;
        if (r.bytes.size() + n > kMaxReadBytes) // grew while being read
            return tooLarge();
        r.bytes.append(buffer, n);
    }
    return r;
}

} // namespace platform
