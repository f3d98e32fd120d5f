#pragma once

#include "memo/MemoFile.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace memo {

// Files one line into the first memo of a memo file (the memo a window shows after it starts)
// without reading the rest of the file as text: the first memo's bytes are replaced, the rest of a
// file grown over years is copied as it is, and the whole file is still replaced atomically. The
// result is what reading the file, appending the line and saving every memo would give.
enum class FirstMemoAppend {
    Filed,
    Failed,        // reading or writing failed: `error` says why, the file is as it was
    NotApplicable, // a missing or empty file, one without CR LF, a first memo that does not read
                   // back exactly, text the encoding cannot hold, a file changed meanwhile: the
                   // caller reads the whole file instead
};
FirstMemoAppend appendToFirstMemo(const QString& fileName, const QString& line,
                                  const QDateTime& now, const QString& dateFormat,
                                  std::optional<MemoFileError>& error);

} // namespace memo
