#include "memo/MemoList.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
constexpr int kFileNotFound = 53;
constexpr int kPathFileAccessError = 75;
} // namespace

MemoList::MemoList(IMemoView& view, MemoClock clock, QObject* parent)
    : QObject(parent), m_view(view), m_clock(std::move(clock)) {}

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
        m_memos[m_index - 1] = CollectMemo();
    m_index = index;
    if (isMemo(m_index))
        ShowMemo(m_index);
}

std::optional<MemoFileError> MemoList::Load() {
    MemoFileContent content = ReadMemoFile(m_fileName);
    if (!content.ok())
        return content.error;
    const int previous = m_index;
    // Nothing of the old list is saved back into the new one.
    m_index = -1;
    m_memos = std::move(content.memos);
    m_encoding = content.encoding;
    m_loadedFrom = m_fileName;
    if (m_memos.isEmpty())
        m_memos.append(MemoRecord{});
    m_view.clearTitles();
    for (const MemoRecord& memo : std::as_const(m_memos))
        m_view.appendTitle(memo.Title);
    setMemoIndex(previous < 0 ? 1 : previous);
    return std::nullopt;
}

std::optional<MemoFileError> MemoList::Save() {
    if (!isMemo(m_index))
        return std::nullopt; // nothing loaded yet: an empty list must never replace the file
    if (m_loadedFrom != m_fileName)
        return MemoFileError{kPathFileAccessError,
                             QStringLiteral("%1 has not been read").arg(m_fileName)};
    m_memos[m_index - 1] = CollectMemo();
    return WriteMemoFile(m_fileName, m_memos, m_encoding);
}

bool MemoList::CreateNewMemo() {
    m_memos.append(MemoRecord{});
    m_view.appendTitle(QString());
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
    m_view.removeTitle(index - 1);
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

void MemoList::AddMessage(const QString& message, int index) {
    if (index < 0)
        index = m_index;
    if (!isMemo(index))
        return;
    const QDateTime now = m_clock();
    MemoRecord& memo = m_memos[index - 1];
    memo.Text += QLatin1Char('[') + FormatMemoDate(now, kLogStampFormat) + QStringLiteral("] ") +
                 message + QStringLiteral("\r\n");
    memo.CursorPos = qint32(std::min<qsizetype>(memo.Text.size(), INT32_MAX));
    memo.LastModified = FormatMemoDate(now, m_dateFormat);
    // The view shows the current memo only; showing another one there would let the next
    // save-back write it over the current memo.
    if (index == m_index)
        ShowMemo(index);
}

void MemoList::ShowMemo(int index) {
    const MemoRecord& memo = m_memos[index - 1];
    m_view.setText(memo.Text);
    m_view.setCaretPosition(std::clamp<int>(memo.CursorPos, 0, int(memo.Text.size())));
    m_view.setTitleText(memo.Title);
    m_view.setTitleAt(index - 1, memo.Title);
    m_view.selectTitleRow(index - 1);
    m_view.clearTitleSelection();
    showPosition();
}

void MemoList::showPosition() {
    m_view.showPosition(QStringLiteral("%1/%2").arg(m_index).arg(MemoCount()), m_index > 1,
                        m_index < MemoCount());
}

MemoRecord MemoList::CollectMemo() const {
    MemoRecord memo;
    memo.Text = m_view.text();
    memo.CursorPos = m_view.caretPosition();
    memo.LastModified = FormatMemoDate(m_clock(), m_dateFormat);
    if (m_view.selectedTitleRow() == m_index - 1) {
        memo.Title = m_view.titleText();
        if (memo.Title.isEmpty())
            memo.Title = FirstNonEmptyLine(memo.Text);
    } else {
        memo.Title = m_view.titleAt(m_index - 1);
    }
    return memo;
}
