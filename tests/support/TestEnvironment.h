#pragma once

#include <QString>

namespace testsupport {

// The private root folder of this test process (HOME, XDG folders and scratch space live below it).
QString sandboxRoot();

// A fresh, empty folder below the sandbox root, unique for each call.
QString freshFolder(const QString& hint = QStringLiteral("dir"));

// Writes bytes to a file, creating parent folders; fails the current test on error.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// While alive, file writes beyond `bytes` fail (EFBIG) for this process, root included: the way
// tests make a write run out of space.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long m_oldSoft = 0;
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace testsupport
