#pragma once

#include "memo/MemoRecord.h"
#include "platform/FileStamp.h"
#include "platform/TextCodec.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace memo {

// Why reading or writing the memo file failed: the language's file error number (53 file not
// found, 61 disk full, 70 permission denied, 75 path/file access error) and the system's reason.
struct MemoFileError {
    int number = 0;
    QString description;
};

struct MemoFileContent {
    QList<MemoRecord> memos;
    // The file is written back the way it was read; a missing or empty file counts as new (CP932).
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
    // The file as read: its state on disk and its bytes. `exact` is false when the bytes were
    // neither valid UTF-8 nor valid CP932: writing the memos back would change them.
    platform::FileStamp stamp;
    QByteArray bytes;
    bool exact = true;
    std::optional<MemoFileError> error;
    bool ok() const { return !error.has_value(); }
};

// Reads every memo of the file. A missing or empty file gives an empty list; an empty name fails
// with 53; any other failure to read is reported.
MemoFileContent ReadMemoFile(const QString& fileName);

// Replaces the file with the memos. Titles left empty are filled in (in the records themselves)
// from the first non-empty line of the text. The old file stays untouched when the write fails.
// A CP932 file whose new text the code page cannot hold is written as UTF-8 instead, and
// `encoding` says so afterwards.
std::optional<MemoFileError> WriteMemoFile(const QString& fileName, QList<MemoRecord>& memos,
                                           platform::TextEncoding& encoding,
                                           QByteArray* written = nullptr);
std::optional<MemoFileError> WriteMemoFile(const QString& fileName, QList<MemoRecord>& memos);

// The file error of a failed read or write (errno) with its reason.
MemoFileError memoFileError(int errorNumber, const QString& description);

// One memo as found between two separator lines, and back.
MemoRecord ParseMemo(const QString& piece);
QString FormatMemo(MemoRecord& record);
// Appends "[yyyy/mm/dd hh:mm:ss] message" as a line to the memo, moves its caret to the end and
// stamps its Last-Modified with `dateFormat`.
void AppendLogLine(MemoRecord& memo, const QDateTime& now, const QString& message,
                   const QString& dateFormat);

// The whole file's text from the memos, and the memos from the file's text (no codec involved).
QString FormatMemoFileText(QList<MemoRecord>& memos);
QList<MemoRecord> ParseMemoFileText(const QString& text);

// The first line (lines end with CR LF) that is not the empty string; "" when there is none.
QString FirstNonEmptyLine(const QString& text);

} // namespace memo
