#pragma once

#include <QObject>
#include <QSet>
#include <QString>

#include <chrono>
#include <deque>
#include <functional>

class QWidget;

namespace instance {
class ChannelServer;
struct MemoLineMessage;
} // namespace instance

// The single-instance guard. One per process, held by the main window as pPI.
//
// In the first instance CheckPrevInstance starts listening on a local socket in the user's runtime
// folder; a later start finds it there and sends "PREVINSTANCE:" + its window id in hex, upon which
// the running instance raises RunAnotherInstance on its UI thread and replies. A lock file makes
// "connect, else remove the stale socket and listen" one step, so of two quick starts exactly one
// stays resident.
//
// Use in the main window:
//     pPI = new CPrevInstance(this);
//     connect(pPI, &CPrevInstance::RunAnotherInstance, this, [this](qint32) { ShowForm(); });
//     connect(pPI, &CPrevInstance::MemoLineArrived, this,
//             [this](const QString& file, const QString& line, bool& appended) { ... });
//     if (pPI->CheckPrevInstance(this)) { /* handed off (or reported): end without saving */ }
//
// The same channel carries a second kind of message: scrivlet-cli hands a prose line to the running
// window (deliverMemoLine) instead of writing the memo file behind the window's back.
class CPrevInstance : public QObject {
    Q_OBJECT

public:
    explicit CPrevInstance(QObject* parent = nullptr);
    // A channel at another path (tests; several guards in one process).
    CPrevInstance(const QString& serverPath, QObject* parent);
    ~CPrevInstance() override;

    // True when another instance runs: it has been sent the show request with parentForm's window
    // id, or, when it did not answer, the user has been told so in a box; either way this start
    // should end. False when this is the first instance, which now receives messages. Creates
    // parentForm's native window (unmapped) to learn its id; parentForm may be null (id 0).
    bool CheckPrevInstance(QWidget* parentForm);

    // Whether this instance receives messages (CheckPrevInstance returned false and could listen).
    bool isListening() const;
    QString serverPath() const { return m_serverPath; }

    // How long a later start waits for the running instance's reply before reporting it as not
    // answering.
    void setReplyTimeout(std::chrono::milliseconds timeout) { m_replyTimeout = timeout; }

    // What happened to a memo line handed over by scrivlet-cli.
    enum class MemoLineDelivery {
        HandedOver,  // the running window appended it to its memo
        WrittenHere, // no window runs, or it shows another memo file: writeHere wrote it
        WriteFailed, // writeHere was called and returned false
        NoAnswer,    // a window runs but did not take the line: nothing was written
        MaybeFiled,  // a window got the line but did not confirm it (it ended, or is still busy):
                     // it may be in the file, so it is not written here
        Failed,      // the window holds the file but could not file the line; nothing was written
    };
    // Hands `line` to the running window when one runs with `memoFile` open, for the memo titled
    // `memoTitle` ("" for the current memo); otherwise calls
    // writeHere, with the start-up lock held so that a window starting meanwhile loads the file
    // only after the line is in it. Never writes when a window runs that may hold the same file.
    static MemoLineDelivery deliverMemoLine(const QString& memoFile, const QString& line,
                                            const std::function<bool()>& writeHere);
    static MemoLineDelivery deliverMemoLine(const QString& memoFile, const QString& line,
                                            const std::function<bool()>& writeHere,
                                            const QString& serverPath,
                                            std::chrono::milliseconds replyTimeout,
                                            QString* failure = nullptr, // why, for Failed
                                            const QString& memoTitle = QString());

    // Whether two memo file names name the same file (absolute, cleaned, symbolic links resolved
    // where the file exists). For MemoLineArrived handlers.
    static bool isSameFile(const QString& a, const QString& b);

signals:
    // A later start asked this instance to show itself; windowHandle is the later start's window
    // id, or 0 when the message carried no valid hex number.
    void RunAnotherInstance(qint32 windowHandle);

    // scrivlet-cli hands over a prose line meant for memoFile. A handler that appends it to the
    // current memo (and saves, so the line is on disk when the cli returns) sets appended to true;
    // one whose memo pane shows another file leaves it false, and the cli writes that file itself.
    // Without any handler the cli is told that the line was not taken and writes nothing. A
    // handler that holds the file but cannot file the line sets `failure` to the reason, which the
    // cli prints; such a handler must not open boxes (the cli waits for the reply): it shows them
    // after it has returned. `memoTitle` names the memo the line is for (MemoFiler::fileLineInto);
    // "" for the current memo.
    void MemoLineArrived(const QString& memoFile, const QString& line, bool& appended,
                         QString& failure, const QString& memoTitle = QString());

private:
    void listen();
    QString handle(const QString& text);
    QString handleMemoLine(const instance::MemoLineMessage& message);

    // Request ids of memo lines filed lately, so that a sender asking again after a lost reply
    // gets the answer without the line being filed twice; and those being filed right now.
    struct FiledRequest {
        QString id;
        qint64 filedAtMs;
    };
    std::deque<FiledRequest> m_filedRequests;
    QSet<QString> m_requestsInProgress;

    QString m_serverPath;
    std::chrono::milliseconds m_replyTimeout;
    instance::ChannelServer* m_server = nullptr;
};
