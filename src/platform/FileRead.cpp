#include "FileRead.h"
#include "platform/Log.h"

#include "FileFaults.h"

#include <QFile>

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

FileBytes readWholeFile(const QString& path) {
    if (path.isEmpty())
        return failed(ENOENT, false);
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        return failed(errno, true);
    }
    FileBytes r;
    r.exists = true;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return failed(EISDIR, true);
    }
    if (const int fault = injectedFileFault(path, FileStep::Read)) {
        ::close(fd);
        return failed(fault, true);
    }
    if (st.st_size > 0)
        r.bytes.reserve(qsizetype(st.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return failed(error, true);
        }
        if (n == 0)
            break;
        r.bytes.append(buffer, n);
    }
    ::close(fd);
    return r;
}

} // namespace platform
