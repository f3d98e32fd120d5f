#include "memo/MemoFileAppender.h"

#include "memo/HeadlessMemoView.h"
#include "memo/MemoList.h"

MemoFileAppender::MemoFileAppender(QString fileName, MemoClock clock)
    : m_fileName(std::move(fileName)), m_clock(std::move(clock)) {}

std::optional<MemoFileError> MemoFileAppender::append(const QString& message) {
    if (message.isEmpty())
        return std::nullopt;
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
