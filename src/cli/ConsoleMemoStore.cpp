#include "cli/ConsoleMemoStore.h"

#include "app/instance/CPrevInstance.h"
#include "app/instance/InstanceChannel.h"
#include "memo/MemoFileAppender.h"

#include <QtGlobal>

namespace cli {

namespace {

QString channelPath() {
    return instance::defaultServerPath();
}

} // namespace

ConsoleMemoStore::ConsoleMemoStore(QString memoFile, QString settingsFile, QTextStream& err,
                                   MemoClock clock)
    : m_memoFile(std::move(memoFile)), m_settingsFile(std::move(settingsFile)), m_err(err),
      m_clock(std::move(clock)), m_serverPath(channelPath()),
      m_replyTimeout(instance::kReplyTimeout) {}

void ConsoleMemoStore::setChannel(QString serverPath, std::chrono::milliseconds replyTimeout) {
    m_serverPath = std::move(serverPath);
    m_replyTimeout = replyTimeout;
}

bool ConsoleMemoStore::AddMessage(const QString& text) {
    if (text.isEmpty())
        return false;
    // A MemoFileName pointing at the settings file would turn the user's settings into a memo.
    if (CPrevInstance::isSameFile(m_memoFile, m_settingsFile))
        return lose(QStringLiteral("the memo file is the settings file %1").arg(m_memoFile), text);

    using Delivery = CPrevInstance::MemoLineDelivery;
    QString failure;
    switch (CPrevInstance::deliverMemoLine(
        m_memoFile, text, [&] { return writeHere(text); }, m_serverPath, m_replyTimeout,
        &failure)) {
    case Delivery::HandedOver:
    case Delivery::WrittenHere:
        return true;
    case Delivery::WriteFailed:
        ++m_lost; // writeHere has said why
        return false;
    case Delivery::NoAnswer:
        return lose(QStringLiteral("the running Scrivlet window did not take the line"), text);
    case Delivery::Failed:
        return lose(QStringLiteral("the running Scrivlet window could not file the line: ") +
                        QString(failure).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                    text);
    case Delivery::MaybeFiled:
        ++m_lost;
        m_err << "scrivlet-cli: the Scrivlet window got the line but did not confirm it; it may "
                 "have been filed. Look at the memo before sending it again."
              << "\nscrivlet-cli: not confirmed: " << text << Qt::endl;
        return false;
    }
    return false;
}

bool ConsoleMemoStore::writeHere(const QString& text) {
    MemoFileAppender appender(m_memoFile, m_clock);
    if (const std::optional<MemoFileError> error = appender.append(text)) {
        m_err << "scrivlet-cli: cannot file the memo line in " << m_memoFile << ": error "
              << error->number << ": " << error->description
              << "\nscrivlet-cli: not filed: " << text << Qt::endl;
        return false;
    }
    return true;
}

bool ConsoleMemoStore::lose(const QString& why, const QString& text) {
    ++m_lost;
    m_err << "scrivlet-cli: " << why << "\nscrivlet-cli: not filed: " << text << Qt::endl;
    return false;
}

} // namespace cli
