#pragma once

#include "memo/IMemoView.h"
#include "memo/MemoDateFormat.h"
#include "memo/MemoFile.h"

#include <QList>
#include <QObject>

#include <optional>

namespace memo {

// What the user is told when memos cannot be filed because the memo file could not be read.
QString memoNotWritableText(const QString& why);

// The memos of one memo file held in memory, one of them current and shown in the view. Every
// switch of the current memo saves the view back into the list first; Save writes the whole file.
//
// Memos are numbered from 1. MemoIndex is 0 before the first Load and -1 for a moment while a load
// or delete drops the shown memo.
//
// Nothing of the user's is lost on the way to the file: a file that cannot be read leaves the list
// empty and the view closed to typing (nothing could be saved); a file another program changed
// since it was read is taken over when nothing changed here, and kept as a dated copy beside it
// otherwise; a file whose bytes are neither UTF-8 nor CP932 is kept as a copy before the first
// save changes them. The user is told of every copy.
class MemoList : public QObject {
    Q_OBJECT
public:
    explicit MemoList(IMemoView& view, MemoClock clock = systemMemoClock(),
                      QObject* parent = nullptr);

    // Shows the list in another view from now on; it first gets everything the old one showed.
    void setView(IMemoView& view);

    QString FileName() const { return m_fileName; }
    // The folder of the name must exist (error 53 otherwise, the old name stays). Does not load.
    std::optional<MemoFileError> setFileName(const QString& fileName);

    QString DateFormat() const { return m_dateFormat; }
    void setDateFormat(const QString& format) { m_dateFormat = format; }

    int MemoCount() const { return int(m_memos.size()); }
    int MemoIndex() const { return m_index; }
    void setMemoIndex(int index);

    std::optional<MemoFileError> Load();
    std::optional<MemoFileError> Save();

    bool CreateNewMemo();
    bool DeleteActiveMemo();
    void DeleteMemo(int index);
    bool MovePrevMemo();
    bool MoveNextMemo();
    // Appends "[yyyy/mm/dd hh:mm:ss] message" and a line end to memo `index` (the current memo
    // when below 0). False, and nothing added, when there is no such memo (the file could not be
    // read).
    bool AddMessage(const QString& message, int index = -1);
    // The same for the first memo titled exactly `title` (the title field counts for the current
    // memo); a memo of that title is added at the end of the list, as a new memo is, when none has
    // it (a new file's one empty memo takes the title instead). The current memo stays current.
    bool AddMessageToTitled(const QString& message, const QString& title);
    // The number of the first memo titled exactly `title`, or 0.
    int indexOfTitle(const QString& title) const;

    // Why memos cannot be filed now (the memo file could not be read), or nothing.
    const std::optional<MemoFileError>& loadError() const { return m_loadError; }

    // The list's copy of the memos (the current one may be older than the view).
    const QList<MemoRecord>& memos() const { return m_memos; }
    // The memos as the user sees them: the current one as the view shows it. Changes nothing.
    QList<MemoRecord> memosAsShown() const;

signals:
    // Raised before the current memo is deleted; setting cancel keeps it.
    void BeforeDelete(int& memoIndex, bool& cancel);

private:
    void ShowMemo(int index);
    bool takeOutsideChangesBeforeEntry();
    void appendLogLine(const QString& message, int index);
    MemoRecord CollectMemo() const;
    void collectCurrentMemo(); // into the list, the title it gets shown
    void showPosition();
    bool isMemo(int index) const { return index >= 1 && index <= MemoCount(); }
    void adopt(MemoFileContent& content, QByteArray bytes);
    bool unchangedSinceSync() const;
    std::optional<MemoFileError> takeOutsideChanges(bool& reloaded);
    void tell(const QString& text) const;

    IMemoView* m_view;
    MemoClock m_clock;
    QList<MemoRecord> m_memos;
    int m_index = 0;
    QString m_fileName;
    // The file the list came from: Save never writes one list over a file it did not read.
    std::optional<QString> m_loadedFrom;
    platform::TextEncoding m_encoding = platform::TextEncoding::Utf8;
    std::optional<MemoFileError> m_loadError;
    // The file as last read or written: its state on disk, its bytes, and the memos' titles and
    // texts at that moment (to tell whether anything changed here since).
    platform::FileStamp m_stamp;
    QByteArray m_bytes;
    // The memos m_bytes holds, memo by memo (empty when they are not known): a save encodes again
    // only the memos that differ from them.
    QList<MemoRecord> m_syncedMemos;
    QList<MemoRecord> m_syncedContent; // titles and texts as last read or written
    // The bytes of a file that was neither UTF-8 nor CP932, kept beside it before the first save.
    QByteArray m_original;
    QString m_dateFormat = kDefaultMemoDateFormat;
};

} // namespace memo
