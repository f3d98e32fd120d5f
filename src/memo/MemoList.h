#pragma once

#include "memo/IMemoView.h"
#include "memo/MemoDateFormat.h"
#include "memo/MemoFile.h"

#include <QList>
#include <QObject>

#include <optional>

// The memos of one memo file held in memory, one of them current and shown in the view. Every
// switch of the current memo saves the view back into the list first; Save writes the whole file.
//
// Memos are numbered from 1. MemoIndex is 0 before the first Load and -1 for a moment while a load
// or delete drops the shown memo.
class MemoList : public QObject {
    Q_OBJECT
public:
    explicit MemoList(IMemoView& view, MemoClock clock = systemMemoClock(),
                      QObject* parent = nullptr);

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
    // when below 0).
    void AddMessage(const QString& message, int index = -1);

    // The list's copy of the memos (the current one may be older than the view).
    const QList<MemoRecord>& memos() const { return m_memos; }

signals:
    // Raised before the current memo is deleted; setting cancel keeps it.
    void BeforeDelete(int& memoIndex, bool& cancel);

private:
    void ShowMemo(int index);
    MemoRecord CollectMemo() const;
    void showPosition();
    bool isMemo(int index) const { return index >= 1 && index <= MemoCount(); }

    IMemoView& m_view;
    MemoClock m_clock;
    QList<MemoRecord> m_memos;
    int m_index = 0;
    QString m_fileName;
    // The file the list came from: Save never writes one list over a file it did not read.
    std::optional<QString> m_loadedFrom;
    platform::TextEncoding m_encoding = platform::TextEncoding::Cp932;
    QString m_dateFormat = kDefaultMemoDateFormat;
};
