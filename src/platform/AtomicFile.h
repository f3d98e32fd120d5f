#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

struct WriteResult {
    bool ok = false;
    QString error; // why it failed, for the caller's own message; empty on success
    explicit operator bool() const { return ok; }
};

// Replaces the file's content in one step: the bytes go to a temporary file in the same folder,
// are flushed to disk and renamed over the old file. A crash or a full disk leaves either the old
// file or the new one, never a torn one. An existing file keeps its permission bits.
WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace platform
