#pragma once

#include "memo/MemoDateFormat.h"
#include "memo/MemoFile.h"

#include <optional>

// Files one line into a memo file without a window: loads the file, appends the line to the memo
// the window shows after it starts (memo 1) exactly as the memo pane's AddMessage does, and saves
// the file. A missing file is created with one memo.
class MemoFileAppender {
public:
    explicit MemoFileAppender(QString fileName, MemoClock clock = systemMemoClock());

    void setDateFormat(const QString& format) { m_dateFormat = format; }

    // Empty text files nothing. Errors of reading or writing come back; the file is then unchanged.
    std::optional<MemoFileError> append(const QString& message);

private:
    // The fast way for a file whose first memo reads back exactly; false when it does not apply.
    bool appendToFirstMemoOnly(const QString& message, std::optional<MemoFileError>& result);

    QString m_fileName;
    MemoClock m_clock;
    QString m_dateFormat = kDefaultMemoDateFormat;
};
