#include "memo/MemoList.h"

#include "memo/MemoFileSplice.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFileInfo>

#include <QCoreApplication>
#include <algorithm>

namespace memo {

namespace {
constexpr int kFileNotFound = 53;
constexpr int kPathFileAccessError = 75;
} // namespace

QString memoNotWritableText(const QString& why) {
    return QCoreApplication::translate("MemoList",
                                       "メモファイルを読み込めないため、メモを保存できません。\n%1")
        .arg(why);
}

MemoList::MemoList(IMemoView& view, MemoClock clock, QObject* parent)
    : QObject(parent), m_view(&view), m_clock(std::move(clock)) {}

void MemoList::setView(IMemoView& view) {
    // What the old view holds that the list has not collected yet comes along.
    const bool shown = isMemo(m_index);
    if (shown)
        collectCurrentMemo();
    const bool writable = !m_loadError;
    m_view = &view;
    m_view->clearTitles();
    for (const MemoRecord& memo : std::as_const(m_memos))
        m_view->appendTitle(memo.Title);
    m_view->setWritable(writable,
                        writable ? QString() : memoNotWritableText(m_loadError->description));
    if (shown)
        ShowMemo(m_index);
    else
        showPosition();
}

std::optional<MemoFileError> MemoList::setFileName(const QString& fileName) {
    const qsizetype slash = fileName.lastIndexOf(u'/');
    if (slash >= 0) {
        const QString folder = fileName.left(slash + 1);
        if (!QFileInfo(folder).isDir())
            return MemoFileError{kFileNotFound, QStringLiteral("%1 does not exist").arg(folder)};
    }
    m_fileName = fileName;
    return std::nullopt;
}

void MemoList::setMemoIndex(int index) {
    if (m_memos.isEmpty())
        index = 0;
    else if (index <= 0)
        index = 1;
    else if (index > MemoCount())
        index = MemoCount();
    if (index == m_index)
        return;
    if (isMemo(m_index))
        collectCurrentMemo();
    m_index = index;
    if (isMemo(m_index))
        ShowMemo(m_index);
}

std::optional<MemoFileError> MemoList::Load() {
    MemoFileContent content = ReadMemoFile(m_fileName);
    if (!content.ok()) {
        // Nothing of the old list may be filed into this name, nor anything new.
        m_index = -1;
        m_memos.clear();
        m_loadedFrom.reset();
        m_loadError = content.error;
        m_view->clearTitles();
        m_view->setText(QString());
        m_view->setTitleText(QString());
        m_index = 0;
        showPosition();
        m_view->setWritable(false, memoNotWritableText(content.error->description));
        return content.error;
    }
    const int previous = m_index;
    // Nothing of the old list is saved back into the new one.
    m_index = -1;
    m_original = content.exact ? QByteArray() : content.bytes;
    adopt(content, std::move(content.bytes));
    m_loadedFrom = m_fileName;
    m_loadError.reset();
    m_view->setWritable(true, QString());
    setMemoIndex(previous < 0 ? 1 : previous);
    return std::nullopt;
}

void MemoList::adopt(MemoFileContent& content, QByteArray bytes) {
    m_memos = std::move(content.memos);
    m_encoding = content.encoding;
    m_stamp = content.stamp;
    m_bytes = std::move(bytes);
    m_syncedMemos = m_memos; // what m_bytes holds (an empty file holds no memo)
    if (m_memos.isEmpty())
        m_memos.append(MemoRecord{});
    m_syncedContent = m_memos;
    m_view->clearTitles();
    for (const MemoRecord& memo : std::as_const(m_memos))
        m_view->appendTitle(memo.Title);
}

// Whether the memos' titles and texts (the current memo as the view shows it) are those of the
// last read or write. Memo by memo: the copies share their text with the list, so equal memos
// compare at once, and a large file costs no joined copy of everything.
bool MemoList::unchangedSinceSync() const {
    if (m_syncedContent.size() != m_memos.size())
        return false;
    for (qsizetype i = 0; i < m_memos.size(); ++i) {
        const MemoRecord memo = i == m_index - 1 ? CollectMemo() : m_memos[i];
        if (memo.Title != m_syncedContent[i].Title || memo.Text != m_syncedContent[i].Text)
            return false;
    }
    return true;
}

// Before the list goes to the file: when another program changed the file since it was read or
// written here, and nothing changed here since, the list becomes the file's new memos (`reloaded`);
// when both changed, the other version is kept as a dated copy beside the file.
std::optional<MemoFileError> MemoList::takeOutsideChanges(bool& reloaded) {
    reloaded = false;
    const platform::FileStamp now = platform::FileStamp::of(m_fileName);
    if (now == m_stamp || !now.exists)
        return std::nullopt; // a deleted file is simply written again
    platform::FileBytes disk = platform::readWholeFile(m_fileName);
    if (!disk.ok())
        return memoFileError(disk.errorNumber,
                             QStringLiteral("%1: %2").arg(m_fileName, disk.error));
    if (disk.bytes == m_bytes || (!m_original.isEmpty() && disk.bytes == m_original)) {
        m_stamp = now;
        return std::nullopt;
    }
    if (unchangedSinceSync()) {
        const platform::DecodedText decoded = platform::decodeText(disk.bytes);
        MemoFileContent theirs;
        theirs.memos = ParseMemoFileText(decoded.text);
        theirs.encoding = decoded.encoding;
        theirs.stamp = now;
        m_original = decoded.exact ? QByteArray() : disk.bytes;
        const int index = m_index;
        m_index = -1;
        adopt(theirs, std::move(disk.bytes));
        setMemoIndex(index);
        reloaded = true;
        return std::nullopt;
    }
    platform::WriteResult kept;
    const QString copy = platform::keepCopyBeside(m_fileName, disk.bytes, QStringLiteral("outside"),
                                                  m_clock(), &kept);
    if (copy.isEmpty())
        return memoFileError(kept.errorNumber, kept.error);
    m_stamp = now;
    m_bytes = std::move(disk.bytes);
    m_syncedMemos.clear(); // the bytes are the other program's now: the next save writes them all
    tell(QCoreApplication::translate("MemoList",
                                     "メモファイルは他のプログラムにも変更されていました。\n"
                                     "そちらの内容は次のファイルに残しました。\n%1")
             .arg(copy));
    return std::nullopt;
}

void MemoList::tell(const QString& text) const {
    platform::showMessageBox(text, int(platform::mb::OKOnly) | platform::mb::Information);
}

std::optional<MemoFileError> MemoList::Save() {
    if (m_loadError)
        return m_loadError; // the file could not be read: nothing can be saved into it
    if (!isMemo(m_index))
        return std::nullopt; // nothing loaded yet: an empty list must never replace the file
    if (m_loadedFrom != m_fileName)
        return MemoFileError{kPathFileAccessError,
                             QStringLiteral("%1 has not been read").arg(m_fileName)};
    bool reloaded = false;
    if (auto error = takeOutsideChanges(reloaded))
        return error;
    if (reloaded)
        return std::nullopt; // the file already holds everything
    collectCurrentMemo();
    const bool exact = m_original.isEmpty();
    if (!m_original.isEmpty()) {
        platform::WriteResult kept;
        const QString copy = platform::keepCopyBeside(m_fileName, m_original,
                                                      QStringLiteral("original"), m_clock(), &kept);
        if (copy.isEmpty())
            return memoFileError(kept.errorNumber, kept.error);
        m_original.clear();
        tell(QCoreApplication::translate(
                 "MemoList", "メモファイルの文字コードを読み取れない部分がありました。\n"
                             "元のファイルは次の名前で残しました。\n%1")
                 .arg(copy));
    }
    // Years of notes in one file: only the memos changed since the last save are encoded again.
    std::optional<QByteArray> spliced =
        exact ? splice::spliceChangedMemos(m_bytes, m_syncedMemos, m_memos, m_encoding)
              : std::nullopt;
    if (spliced) {
        const platform::WriteResult result = platform::writeFileAtomically(m_fileName, *spliced);
        if (!result)
            return memoFileError(result.errorNumber, result.error);
        m_bytes = std::move(*spliced);
    } else if (auto error = WriteMemoFile(m_fileName, m_memos, m_encoding, &m_bytes)) {
        return error;
    }
    m_syncedMemos = m_memos;
    m_stamp = platform::FileStamp::of(m_fileName);
    m_syncedContent = m_memos;
    return std::nullopt;
}

bool MemoList::CreateNewMemo() {
    m_memos.append(MemoRecord{});
    m_view->appendTitle(QString());
    setMemoIndex(MemoCount());
    return true;
}

bool MemoList::DeleteActiveMemo() {
    int index = m_index;
    bool cancel = false;
    emit BeforeDelete(index, cancel);
    if (!cancel)
        DeleteMemo(m_index);
    return false;
}

void MemoList::DeleteMemo(int index) {
    if (!isMemo(index))
        return;
    const bool wasCurrent = index == m_index;
    if (wasCurrent)
        m_index = -1;
    m_view->removeTitle(index - 1);
    if (MemoCount() == 1) {
        m_memos.clear();
        m_index = -1;
        CreateNewMemo();
        return;
    }
    m_memos.removeAt(index - 1);
    if (wasCurrent) {
        setMemoIndex(std::min(index, MemoCount()));
        return;
    }
    if (index < m_index)
        --m_index;
    showPosition();
}

bool MemoList::MovePrevMemo() {
    if (m_index <= 1)
        return false;
    setMemoIndex(m_index - 1);
    return true;
}

bool MemoList::MoveNextMemo() {
    if (m_index >= MemoCount())
        return false;
    setMemoIndex(m_index + 1);
    return true;
}

// Changes another program made meanwhile come in first, so an entry joins them. False when
// nothing may be filed now (the file was not read, or the changes could not be taken over).
bool MemoList::takeOutsideChangesBeforeEntry() {
    if (m_loadedFrom != m_fileName)
        return false;
    bool reloaded = false;
    return !(isMemo(m_index) && takeOutsideChanges(reloaded));
}

bool MemoList::AddMessage(const QString& message, int index) {
    if (!takeOutsideChangesBeforeEntry())
        return false;
    if (index < 0)
        index = m_index;
    if (!isMemo(index))
        return false;
    appendLogLine(message, index);
    return true;
}

bool MemoList::AddMessageToTitled(const QString& message, const QString& title) {
    if (!takeOutsideChangesBeforeEntry() || !isMemo(m_index))
        return false;
    int index = indexOfTitle(title);
    const MemoRecord first = m_index == 1 ? CollectMemo() : m_memos[0];
    if (index == 0 && MemoCount() == 1 && first.Title.isEmpty() && first.Text.isEmpty()) {
        // A new file's one empty memo becomes the titled memo rather than staying beside it.
        m_memos[0] = first;
        m_memos[0].Title = title;
        m_view->setTitleAt(0, title);
        if (m_index == 1)
            m_view->setTitleText(title);
        index = 1;
    } else if (index == 0) {
        MemoRecord added;
        added.Title = title;
        m_memos.append(added);
        m_view->appendTitle(title);
        index = MemoCount();
        showPosition();
    }
    appendLogLine(message, index);
    return true;
}

QList<MemoRecord> MemoList::memosAsShown() const {
    QList<MemoRecord> memos = m_memos;
    if (isMemo(m_index))
        memos[m_index - 1] = CollectMemo();
    return memos;
}

int MemoList::indexOfTitle(const QString& title) const {
    for (int i = 1; i <= MemoCount(); ++i) {
        const QString shown = i == m_index ? CollectMemo().Title : m_memos[i - 1].Title;
        if (shown == title)
            return i;
    }
    return 0;
}

void MemoList::appendLogLine(const QString& message, int index) {
    // Typing in the view that the list has not collected yet stays: the entry follows it.
    if (index == m_index)
        collectCurrentMemo();
    AppendLogLine(m_memos[index - 1], m_clock(), message, m_dateFormat);
    // The view shows the current memo only; showing another one there would let the next
    // save-back write it over the current memo.
    if (index == m_index)
        ShowMemo(index);
}

void MemoList::ShowMemo(int index) {
    const MemoRecord& memo = m_memos[index - 1];
    m_view->setText(memo.Text);
    m_view->setCaretPosition(std::clamp<int>(memo.CursorPos, 0, int(memo.Text.size())));
    m_view->setTitleText(memo.Title);
    m_view->setTitleAt(index - 1, memo.Title);
    m_view->selectTitleRow(index - 1);
    m_view->clearTitleSelection();
    showPosition();
}

void MemoList::showPosition() {
    m_view->showPosition(QStringLiteral("%1/%2").arg(m_index).arg(MemoCount()), m_index > 1,
                         m_index < MemoCount());
}

void MemoList::collectCurrentMemo() {
    MemoRecord memo = CollectMemo();
    // A memo left untitled is titled by its first line in the file; the view shows that title
    // now, not only after the next start.
    const int row = m_index - 1;
    if (m_view->titleAt(row) != memo.Title)
        m_view->setTitleAt(row, memo.Title);
    if (m_view->selectedTitleRow() == row && m_view->titleText().isEmpty())
        m_view->setTitleText(memo.Title);
    m_memos[row] = std::move(memo);
}

MemoRecord MemoList::CollectMemo() const {
    MemoRecord memo;
    memo.Text = m_view->text();
    memo.CursorPos = m_view->caretPosition();
    memo.LastModified = FormatMemoDate(m_clock(), m_dateFormat);
    if (m_view->selectedTitleRow() == m_index - 1) {
        memo.Title = m_view->titleText();
        if (memo.Title.isEmpty())
            memo.Title = FirstNonEmptyLine(memo.Text);
    } else {
        memo.Title = m_view->titleAt(m_index - 1);
    }
    return memo;
}

} // namespace memo
