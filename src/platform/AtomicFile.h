#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace platform {

struct WriteResult {
    bool ok = false;
    int errorNumber = 0; // errno of the failure (EACCES for a write-protected file, ENOSPC, ...)
    QString error;       // why it failed, for the caller's own message; empty on success
    explicit operator bool() const { return ok; }
};

// Replaces the file's content in one step: the bytes go to a temporary file in the same folder,
// are flushed to disk and renamed over the old file. A crash or a full disk leaves either the old
// file or the new one, never a torn one.
// - A symbolic link stays a link: the file it leads to is replaced.
// - The file keeps its permission bits (and, where the writer may set them, its owner).
// - A file the user may not write is refused, and so is a file whose permission bits allow
//   nobody to write (a file marked read-only stays read-only, for root too).
// - Temporary files that earlier writers left behind when they were killed are removed first.
WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes);

// The file a path stands for once symbolic links are followed (relative links count from their
// own folder); the path itself, made absolute, when it is no link. A dangling link gives the file
// it would create.
QString resolveLinks(const QString& path);

// Removes temporary files of writeFileAtomically beside `path` whose writer is gone (killed
// during a write). Files of writers that still run are left alone.
void removeLeftoverTemporaries(const QString& path);

// Keeps `bytes` in a new file beside `path`, named "<name>.<tag>-<yyyyMMdd-hhmmss>.<suffix>"
// ("scrivlet.txt" -> "scrivlet.original-20260301-140509.txt"), with a number added when that name
// is taken. Gives the copy's path, or "" and the reason in `result`.
QString keepCopyBeside(const QString& path, QByteArrayView bytes, const QString& tag,
                       const QDateTime& when, WriteResult* result = nullptr);

} // namespace platform
