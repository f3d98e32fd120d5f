#include "vbscript/objects/FileErrors.h"

#include "vbscript/ScriptError.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vbscript {

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

void raiseFileError(int errnoValue) {
    int number = err::DeviceIO;
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        number = err::DiskFull;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        number = err::PermissionDenied;
        break;
    case ENOENT:
    case ENOTDIR:
        number = err::PathNotFound;
        break;
    case EEXIST:
        number = err::FileExists;
        break;
    default:
        break;
    }
    raiseError(number);
}

void replaceFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        raiseFileError(errno);
    // Keep the old file's permissions where there is one.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        ::fchmod(fd, info.st_mode & 07777);
    else
        ::fchmod(fd, 0644);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        raiseFileError(error);
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        raiseFileError(error);
    }
}

void appendToFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        raiseFileError(errno);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        raiseFileError(error);
    }
    ::close(fd);
}

std::string readWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT)
            raiseError(err::FileNotFound);
        raiseFileError(errno);
    }
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed)
        raiseError(err::DeviceIO);
    return bytes;
}

} // namespace vbscript
