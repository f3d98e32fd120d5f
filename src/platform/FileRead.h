#pragma once

#include <QByteArray>
#include <QString>

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

// Reads the whole file. A missing file (or a missing folder on the way) is no error; a folder, a
// file that may not be read, or a failing read is one.
FileBytes readWholeFile(const QString& path);

} // namespace platform
