#include "memo/MemoFileAppender.h"

#include "memo/HeadlessMemoView.h"
#include "memo/MemoFileSplice.h"
#include "memo/MemoList.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "platform/FileStamp.h"

MemoFileAppender::MemoFileAppender(QString fileName, MemoClock clock)
    : m_fileName(std::move(fileName)), m_clock(std::move(clock)) {}

bool MemoFileAppender::appendToFirstMemoOnly(const QString& message,
                                             std::optional<MemoFileError>& result) {
    platform::removeLeftoverTemporaries(m_fileName);
    const platform::FileStamp stamp = platform::FileStamp::of(m_fileName);
    const platform::FileBytes file = platform::readWholeFile(m_fileName);
    if (!file.ok() || file.bytes.isEmpty())
        return false;
    const std::optional<memosplice::FirstMemo> first = memosplice::readFirstMemo(file.bytes);
    if (!first)
        return false;
    MemoRecord memo = first->memo;
    AppendLogLine(memo, m_clock(), message, m_dateFormat);
    const std::optional<QByteArray> bytes =
        memosplice::replaceFirstMemo(file.bytes, *first, std::move(memo));
    // Changed by someone else meanwhile: the full way keeps both sides.
    if (!bytes || !(platform::FileStamp::of(m_fileName) == stamp))
        return false;
    const platform::WriteResult written = platform::writeFileAtomically(m_fileName, *bytes);
    if (!written)
        result = memoFileError(written.errorNumber, written.error);
    return true;
}

std::optional<MemoFileError> MemoFileAppender::append(const QString& message) {
    if (message.isEmpty())
        return std::nullopt;
    // The first memo is all that changes: the rest of a file grown over years is copied as bytes,
    // neither decoded nor encoded again.
    std::optional<MemoFileError> quick;
    if (appendToFirstMemoOnly(message, quick))
        return quick;
    HeadlessMemoView view;
    MemoList memos(view, m_clock);
    memos.setDateFormat(m_dateFormat);
    if (auto error = memos.setFileName(m_fileName))
        return error;
    if (auto error = memos.Load())
        return error;
    if (!memos.AddMessage(message))
        return MemoFileError{75, QStringLiteral("%1: the memo could not be added").arg(m_fileName)};
    return memos.Save();
}
