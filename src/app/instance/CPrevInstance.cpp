#include "CPrevInstance.h"

#include "ChannelServer.h"
#include "InstanceChannel.h"
#include "InstanceMessage.h"
#include "platform/ActivationToken.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QWidget>

namespace {
constexpr int kAttempts = 3;
// A sender asks again within seconds; ids are kept far longer, and only so many of them.
constexpr size_t kRememberedRequests = 256;
constexpr qint64 kRememberRequestsMs = 10 * 60 * 1000;

QString noAnswerText() {
    return QCoreApplication::translate("CPrevInstance",
                                       "起動中の%1が応答しません。\n"
                                       "終了していることを確かめてから、もう一度起動して"
                                       "ください。");
}
void reportNoAnswer() {
    platform::showMessageBox(noAnswerText().arg(instance::applicationTitle()),
                             int(platform::mb::OKOnly) | int(platform::mb::Exclamation));
}
} // namespace

CPrevInstance::CPrevInstance(QObject* parent)
    : CPrevInstance(instance::defaultServerPath(), parent) {}

CPrevInstance::CPrevInstance(const QString& serverPath, QObject* parent)
    : QObject(parent), m_serverPath(serverPath), m_replyTimeout(instance::kReplyTimeout) {}

CPrevInstance::~CPrevInstance() = default;

bool CPrevInstance::CheckPrevInstance(QWidget* parentForm) {
    // The launcher's token belongs to whichever window is shown: the running one, or this one.
    const QString activationToken = platform::takeActivationToken();
    if (m_serverPath.isEmpty()) {
        qWarning("single instance: no runtime folder private to this user; running without the "
                 "channel (later starts will not find this one)");
        platform::useActivationToken(activationToken);
        return false;
    }
    // A retry covers an instance that ends between the probe and the message.
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        instance::StartupLock lock(m_serverPath);
        const instance::Reach reach = instance::probe(m_serverPath);
        if (reach == instance::Reach::NobodyListening) {
            listen(); // still under the lock, so no other start can listen in between
            platform::useActivationToken(activationToken);
            return false;
        }
        if (reach == instance::Reach::Foreign) {
            qWarning("single instance: %s is another user's; running without the channel",
                     qPrintable(m_serverPath));
            platform::useActivationToken(activationToken);
            return false;
        }
        lock.unlock();

        const quint32 windowId = parentForm ? quint32(parentForm->winId()) : 0;
        bool connected = false;
        const std::optional<QString> reply = instance::exchange(
            m_serverPath, instance::prevInstanceMessage(windowId, activationToken), connected,
            m_replyTimeout);
        if (reply)
            return true;
        if (connected) {
            reportNoAnswer();
            return true;
        }
    }
    // Something keeps answering the probe but never takes a message: not an instance of ours.
    reportNoAnswer();
    return true;
}

bool CPrevInstance::isListening() const {
    return m_server && m_server->isListening();
}

void CPrevInstance::listen() {
    m_server =
        new instance::ChannelServer([this](const QString& text) { return handle(text); }, this);
    QString error;
    if (!m_server->listen(m_serverPath, error)) {
        // Unreachable for later starts, but this instance still works; a later start will find no
        // listener and run beside it.
        qWarning("single instance: cannot listen at %s: %s", qPrintable(m_serverPath),
                 qPrintable(error));
    }
}

QString CPrevInstance::handle(const QString& text) {
    if (const std::optional<qint32> windowHandle = instance::parsePrevInstanceMessage(text)) {
        // Spent by the window's activation request as it shows itself.
        platform::useActivationToken(instance::activationTokenOf(text));
        emit RunAnotherInstance(*windowHandle);
        return instance::kReplyDone;
    }
    if (const auto memo = instance::parseMemoLineMessage(text))
        return handleMemoLine(*memo);
    // Anything else is dropped; the sender's message was still delivered.
    return instance::kReplyDone;
}

QString CPrevInstance::handleMemoLine(const instance::MemoLineMessage& message) {
    const QString& requestId = message.requestId;
    if (!isSignalConnected(QMetaMethod::fromSignal(&CPrevInstance::MemoLineArrived)))
        return instance::kReplyRefused;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    while (!m_filedRequests.empty() &&
           (m_filedRequests.size() > kRememberedRequests ||
            now - m_filedRequests.front().filedAtMs > kRememberRequestsMs))
        m_filedRequests.pop_front();
    if (!requestId.isEmpty()) {
        if (m_requestsInProgress.contains(requestId))
            return instance::kReplyPending;
        for (const FiledRequest& filed : m_filedRequests)
            if (filed.id == requestId)
                return instance::kReplyDone; // a repeat after a lost reply: filed once already
        m_requestsInProgress.insert(requestId);
    }
    bool appended = false;
    QString failure;
    emit MemoLineArrived(message.memoFile, message.line, appended, failure, message.memoTitle);
    if (!requestId.isEmpty()) {
        m_requestsInProgress.remove(requestId);
        if (appended)
            m_filedRequests.push_back({requestId, now});
    }
    if (appended)
        return instance::kReplyDone;
    return failure.isEmpty() ? QString(instance::kReplyOtherMemoFile)
                             : instance::kReplyFailedPrefix + failure;
}

CPrevInstance::MemoLineDelivery
CPrevInstance::deliverMemoLine(const QString& memoFile, const QString& line,
                               const std::function<bool()>& writeHere) {
    return deliverMemoLine(memoFile, line, writeHere, instance::defaultServerPath(),
                           instance::kReplyTimeout);
}

CPrevInstance::MemoLineDelivery
CPrevInstance::deliverMemoLine(const QString& memoFile, const QString& line,
                               const std::function<bool()>& writeHere, const QString& serverPath,
                               std::chrono::milliseconds replyTimeout, QString* failure,
                               const QString& memoTitle) {
    const auto writeLocally = [&] {
        return writeHere() ? MemoLineDelivery::WrittenHere : MemoLineDelivery::WriteFailed;
    };
    if (serverPath.isEmpty())
        return writeLocally(); // no channel: no window can be reached, and none listens
    const QString message = instance::memoLineMessage(
        {QFileInfo(memoFile).absoluteFilePath(), line, instance::newRequestId(), memoTitle});
    // Once a window may have the line, it is never written here: that could file it twice.
    bool sent = false;
    int unanswered = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        instance::StartupLock lock(serverPath);
        // Under the lock: a window starting now loads the file after us. A listener of another
        // user is never told the line.
        if (instance::probe(serverPath) != instance::Reach::Listening)
            return sent ? MemoLineDelivery::MaybeFiled : writeLocally();
        lock.unlock();

        bool connected = false;
        const std::optional<QString> reply =
            instance::exchange(serverPath, message, connected, replyTimeout);
        if (!reply) {
            // The window got the line (or part of it) and ended, or is still busy: ask again with
            // the same request id, which it files only once.
            sent = sent || connected;
            if (connected && ++unanswered >= 2)
                break;
            continue;
        }
        if (reply == instance::kReplyDone)
            return MemoLineDelivery::HandedOver;
        if (reply == instance::kReplyPending)
            return MemoLineDelivery::MaybeFiled;
        if (reply->startsWith(instance::kReplyFailedPrefix)) {
            if (failure)
                *failure = reply->mid(instance::kReplyFailedPrefix.size());
            return sent ? MemoLineDelivery::MaybeFiled : MemoLineDelivery::Failed;
        }
        if (reply == instance::kReplyOtherMemoFile)
            return sent ? MemoLineDelivery::MaybeFiled : writeLocally();
        return sent ? MemoLineDelivery::MaybeFiled : MemoLineDelivery::NoAnswer; // refused
    }
    return sent ? MemoLineDelivery::MaybeFiled : MemoLineDelivery::NoAnswer;
}

bool CPrevInstance::isSameFile(const QString& a, const QString& b) {
    const auto normal = [](const QString& path) {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
    return normal(a) == normal(b);
}
