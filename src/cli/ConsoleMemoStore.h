#pragma once

#include "memo/MemoDateFormat.h"
#include "memo/MemoFiler.h"

#include <QString>
#include <QTextStream>

#include <chrono>

namespace cli {

// Files prose lines for the console through the memo filer. When a Scrivlet window runs with the
// same memo file open, the line is handed to it, so the window's next save cannot undo the entry;
// otherwise the filer reads the memo file, appends the line to its first memo (or the memo of the
// filer's target title) and saves. A line
// that could not be filed is reported on `err` and counted.
class ConsoleMemoStore {
public:
    ConsoleMemoStore(QString memoFile, QString settingsFile, QTextStream& err,
                     memo::MemoClock clock = memo::systemMemoClock());

    // Where the running window listens, and how long it may take to answer (tests).
    void setChannel(QString serverPath, std::chrono::milliseconds replyTimeout);

    // The dispatcher's memo port.
    memo::MemoFiler& filer() { return m_filer; }

    // Lines that reached neither the window nor the file.
    int lostLines() const { return m_lost; }

private:
    bool handOff(const QString& line, const QString& memoTitle,
                 const std::function<bool()>& fileHere);
    bool lose(const QString& why, const QString& text);

    QString m_memoFile;
    QString m_settingsFile;
    QTextStream& m_err;
    memo::MemoClock m_clock;
    memo::MemoFiler m_filer;
    QString m_serverPath;
    std::chrono::milliseconds m_replyTimeout;
    int m_lost = 0;
};

} // namespace cli
