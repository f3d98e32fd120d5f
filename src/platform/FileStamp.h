#pragma once

#include <QString>

#include <sys/types.h>

namespace platform {

// Identifies one state of a file on disk (folder entry, size and modification time), so that a
// writer notices when another program replaced or edited the file since it was read or written.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long mtimeSec = 0;
    long long mtimeNsec = 0;

    // Of the file a link leads to.
    static FileStamp of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

} // namespace platform
