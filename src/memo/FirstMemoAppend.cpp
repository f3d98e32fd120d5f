#include "memo/FirstMemoAppend.h"

#include "memo/MemoFileSplice.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "platform/FileStamp.h"

namespace memo {

FirstMemoAppend appendToFirstMemo(const QString& fileName, const QString& line,
                                  const QDateTime& now, const QString& dateFormat,
                                  std::optional<MemoFileError>& error) {
    platform::removeLeftoverTemporaries(fileName);
    const platform::FileStamp stamp = platform::FileStamp::of(fileName);
    const platform::FileBytes file = platform::readWholeFile(fileName);
    if (!file.ok() || file.bytes.isEmpty())
        return FirstMemoAppend::NotApplicable; // the whole way says what is wrong, or creates it
    const std::optional<splice::FirstMemo> first = splice::readFirstMemo(file.bytes);
    if (!first)
        return FirstMemoAppend::NotApplicable;
    MemoRecord memo = first->memo;
    AppendLogLine(memo, now, line, dateFormat);
    const std::optional<QByteArray> bytes =
        splice::replaceFirstMemo(file.bytes, *first, std::move(memo));
    // Changed by someone else meanwhile: the whole way keeps both sides.
    if (!bytes || !(platform::FileStamp::of(fileName) == stamp))
        return FirstMemoAppend::NotApplicable;
    const platform::WriteResult written = platform::writeFileAtomically(fileName, *bytes);
    if (written)
        return FirstMemoAppend::Filed;
    error = memoFileError(written.errorNumber, written.error);
    return FirstMemoAppend::Failed;
}

} // namespace memo
