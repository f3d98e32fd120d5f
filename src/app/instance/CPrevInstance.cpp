#include "CPrevInstance.h"

#include "ChannelServer.h"
#include "InstanceChannel.h"
#include "InstanceMessage.h"
#include "platform/ActivationToken.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QWidget>

namespace {
constexpr int kAttempts = 3;

const QString kNoAnswerText = QStringLiteral("起動中の%1が応答しません。\n"
                                             "終了していることを確かめてから、もう一度起動して"
                                             "ください。");
void reportNoAnswer() {
    platform::showMessageBox(kNoAnswerText.arg(instance::applicationTitle()),
                             int(platform::mb::OKOnly) | int(platform::mb::Exclamation),
                             instance::applicationTitle());
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
    // A retry covers an instance that ends between the probe and the message.
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        instance::StartupLock lock(m_serverPath);
        if (instance::probe(m_serverPath) == instance::Reach::NobodyListening) {
            listen(); // still under the lock, so no other start can listen in between
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
    if (const auto memo = instance::parseMemoLineMessage(text)) {
        if (!isSignalConnected(QMetaMethod::fromSignal(&CPrevInstance::MemoLineArrived)))
            return instance::kReplyRefused;
        bool appended = false;
        emit MemoLineArrived(memo->memoFile, memo->line, appended);
        return appended ? QString(instance::kReplyDone) : QString(instance::kReplyOtherMemoFile);
    }
    // Anything else is dropped; the sender's message was still delivered.
    return instance::kReplyDone;
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
                               std::chrono::milliseconds replyTimeout) {
    const auto writeLocally = [&] {
        return writeHere() ? MemoLineDelivery::WrittenHere : MemoLineDelivery::WriteFailed;
    };
    const QString message =
        instance::memoLineMessage({QFileInfo(memoFile).absoluteFilePath(), line});
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        instance::StartupLock lock(serverPath);
        if (instance::probe(serverPath) == instance::Reach::NobodyListening)
            return writeLocally(); // under the lock: a window starting now loads the file after us
        lock.unlock();

        bool connected = false;
        const std::optional<QString> reply =
            instance::exchange(serverPath, message, connected, replyTimeout);
        if (!reply && connected)
            return MemoLineDelivery::NoAnswer;
        if (reply == instance::kReplyDone)
            return MemoLineDelivery::HandedOver;
        if (reply == instance::kReplyOtherMemoFile)
            return writeLocally();
        if (reply)
            return MemoLineDelivery::NoAnswer; // refused
        // The window ended in between; start over so the lock covers a local write.
    }
    return MemoLineDelivery::NoAnswer;
}

bool CPrevInstance::isSameFile(const QString& a, const QString& b) {
    const auto normal = [](const QString& path) {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
    return normal(a) == normal(b);
}
