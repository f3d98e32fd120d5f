#pragma once

#include <QString>

namespace platform {

// A seam for tests: makes one step of reading or writing one file fail with a chosen errno, as a
// full disk or a refused permission would, also for root (which ignores permission bits). Nothing
// is injected unless a test asks; the check is one lookup of an empty table.
enum class FileStep { Read, CreateTemporary, Write, Rename };

void injectFileFault(const QString& path, FileStep step, int errorNumber);
void clearFileFaults();

// The errno to fail `step` on `path` with (the path as the caller gives it, or the file a link
// leads to), or 0.
int injectedFileFault(const QString& path, FileStep step);

} // namespace platform
