#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>

namespace platform {

// A whole file read in one go, or why not.
struct FileBytes {
    QByteArray bytes;
    bool exists = false;
    int errorNumber = 0; // errno of the failure; 0 when read, or when the file is missing
    QString error;       // the system's reason, for the user
    bool ok() const { return exists && errorNumber == 0; }
    bool missing() const { return !exists && errorNumber == 0; }
};

// The most a file read into memory may hold: far above any real memo, settings or script file,
// far below what would exhaust the memory.
inline constexpr qint64 kMaxReadBytes = qint64(128) << 20;

// Error numbers of the two refusals below (their texts say what the file is).
inline constexpr int kNotARegularFile = EINVAL;
inline constexpr int kFileTooLarge = EOVERFLOW;

// Reads the whole file. A missing file (or a missing folder on the way) is no error; a folder, a
// file that may not be read, or a failing read is one. Only regular files are read: a FIFO would
// block for good and a device such as /dev/zero never ends (kNotARegularFile), and a file beyond
// kMaxReadBytes is refused before it is read (kFileTooLarge).
FileBytes readWholeFile(const QString& path);

// "a FIFO", "a character device", ... for messages; empty for a regular file.
QString specialFileKind(unsigned mode);

} // namespace platform
