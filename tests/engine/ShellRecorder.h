#pragma once

// Replaces the platform shell and the open-with chooser for one test: records every request and
// accepts only the files it was told to.

#include "platform/MemoryRegistry.h"
#include "platform/ShellExecute.h"

#include <QSet>
#include <QStringList>

#include <memory>

namespace enginetest {

class ShellRecorder {
public:
    QStringList requests; // "verb|file|parameters"
    QStringList openWith; // files offered in the chooser
    QSet<QString> acceptedFiles;
    bool chooserWorks = true;
    bool userDeclines = false; // the chooser comes up and the user cancels it
    std::shared_ptr<platform::MemoryRegistry> registry =
        std::make_shared<platform::MemoryRegistry>();

    ShellRecorder() {
        m_oldShell = platform::setShellHandler([this](const platform::ShellRequest& r) {
            requests.append(r.verb + QLatin1Char('|') + r.file + QLatin1Char('|') + r.parameters);
            return acceptedFiles.contains(r.file);
        });
        m_oldOpenWith = platform::setOpenWithHandler([this](const QString& file) {
            openWith.append(file);
            if (!chooserWorks)
                return platform::OpenWithResult::Unavailable;
            return userDeclines ? platform::OpenWithResult::Declined
                                : platform::OpenWithResult::Started;
        });
        m_oldRegistry = platform::setRegistryView(registry);
    }
    ~ShellRecorder() {
        platform::setShellHandler(std::move(m_oldShell));
        platform::setOpenWithHandler(std::move(m_oldOpenWith));
        platform::setRegistryView(std::move(m_oldRegistry));
    }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

private:
    platform::ShellHandler m_oldShell;
    platform::OpenWithHandler m_oldOpenWith;
    std::shared_ptr<const platform::RegistryView> m_oldRegistry;
};

} // namespace enginetest
