#include "cli/ConsoleMemoStore.h"

#include "app/instance/CPrevInstance.h"
#include "app/instance/InstanceChannel.h"
#include "memo/FirstMemoAppend.h"

#include <QtGlobal>

namespace cli {

ConsoleMemoStore::ConsoleMemoStore(QString memoFile, QString settingsFile, QTextStream& err,
                                   memo::MemoClock clock)
    : m_memoFile(std::move(memoFile)), m_settingsFile(std::move(settingsFile)), m_err(err),
      m_clock(clock), m_filer(std::move(clock)), m_serverPath(instance::defaultServerPath()),
      m_replyTimeout(instance::kReplyTimeout) {
    m_filer.setHandOff([this](const QString& line, const QString& memoTitle,
                              const std::function<bool()>& fileHere) {
        return handOff(line, memoTitle, fileHere);
    });
    m_filer.setFailureReporter([this](memo::MemoFiler::Failure, const memo::MemoFileError& error,
                                      const QString& fileName) {
        m_err << "scrivlet-cli: cannot file the memo line in " << fileName << ": error "
              << error.number << ": " << error.description << Qt::endl;
    });
}

void ConsoleMemoStore::setChannel(QString serverPath, std::chrono::milliseconds replyTimeout) {
    m_serverPath = std::move(serverPath);
    m_replyTimeout = replyTimeout;
}

bool ConsoleMemoStore::handOff(const QString& line, const QString& memoTitle,
                               const std::function<bool()>& fileHere) {
    // A MemoFileName pointing at the settings file would turn the user's settings into a memo.
    if (CPrevInstance::isSameFile(m_memoFile, m_settingsFile))
        return lose(QStringLiteral("the memo file is the settings file %1").arg(m_memoFile), line);

    // Read only now, under the start-up lock: a window starting meanwhile loads the file after
    // the line is in it.
    const auto readAndFile = [&] {
        // A file grown over years: only its first memo is read and rewritten where that is sure.
        std::optional<memo::MemoFileError> quickError;
        switch (memoTitle.isEmpty()
                    ? memo::appendToFirstMemo(m_memoFile, line, m_clock(),
                                              m_filer.list().DateFormat(), quickError)
                    : memo::FirstMemoAppend::NotApplicable) {
        case memo::FirstMemoAppend::Filed:
            return true;
        case memo::FirstMemoAppend::Failed:
            m_err << "scrivlet-cli: cannot file the memo line in " << m_memoFile << ": error "
                  << quickError->number << ": " << quickError->description << Qt::endl;
            return false;
        case memo::FirstMemoAppend::NotApplicable:
            break;
        }
        if (const std::optional<memo::MemoFileError> error = m_filer.open(m_memoFile)) {
            m_err << "scrivlet-cli: cannot file the memo line in " << m_memoFile << ": error "
                  << error->number << ": " << error->description << Qt::endl;
            return false;
        }
        return fileHere();
    };
    using Delivery = CPrevInstance::MemoLineDelivery;
    QString failure;
    switch (CPrevInstance::deliverMemoLine(m_memoFile, line, readAndFile, m_serverPath,
                                           m_replyTimeout, &failure, memoTitle)) {
    case Delivery::HandedOver:
    case Delivery::WrittenHere:
        return true;
    case Delivery::WriteFailed:
        return lose(QString(), line); // the filer has said why
    case Delivery::NoAnswer:
        return lose(QStringLiteral("the running Scrivlet window did not take the line"), line);
    case Delivery::Failed:
        return lose(QStringLiteral("the running Scrivlet window could not file the line: ") +
                        QString(failure).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                    line);
    case Delivery::MaybeFiled:
        ++m_lost;
        m_err << "scrivlet-cli: the Scrivlet window got the line but did not confirm it; it may "
                 "have been filed. Look at the memo before sending it again."
              << "\nscrivlet-cli: not confirmed: " << line << Qt::endl;
        return false;
    }
    return false;
}

bool ConsoleMemoStore::lose(const QString& why, const QString& text) {
    ++m_lost;
    if (!why.isEmpty())
        m_err << "scrivlet-cli: " << why << '\n';
    m_err << "scrivlet-cli: not filed: " << text << Qt::endl;
    return false;
}

} // namespace cli
