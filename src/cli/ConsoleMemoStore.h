#pragma once

#include "engine/DispatcherPorts.h"
#include "memo/MemoDateFormat.h"

#include <QString>
#include <QTextStream>

#include <chrono>

namespace cli {

// Files prose lines for the console. When a Scrivlet window runs with the same memo file open, the
// line is handed to it, so the window's next save cannot undo the entry; otherwise the memo file
// is loaded, the line appended to its first memo and the file saved. A line that could not be
// filed is reported on `err` and counted, and AddMessage says false.
class ConsoleMemoStore final : public engine::IMemoPane {
public:
    ConsoleMemoStore(QString memoFile, QString settingsFile, QTextStream& err,
                     MemoClock clock = systemMemoClock());

    // Where the running window listens, and how long it may take to answer (tests).
    void setChannel(QString serverPath, std::chrono::milliseconds replyTimeout);

    bool AddMessage(const QString& text) override;
    void focusMemoPane() override {}
    bool isActiveControl() const override { return false; }

    // Lines that reached neither the window nor the file.
    int lostLines() const { return m_lost; }

private:
    bool writeHere(const QString& text);
    bool lose(const QString& why, const QString& text);

    QString m_memoFile;
    QString m_settingsFile;
    QTextStream& m_err;
    MemoClock m_clock;
    QString m_serverPath;
    std::chrono::milliseconds m_replyTimeout;
    int m_lost = 0;
};

} // namespace cli
