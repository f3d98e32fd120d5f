#pragma once

#include "config/Settings.h"
#include "engine/DispatcherPorts.h"

#include <QString>
#include <QTextStream>

#include <memory>

namespace cli {

// What one run of scrivlet-cli knows about its files.
struct CliSession {
    QString settingsFile; // read only
    QString scriptFile;   // the user's script functions
    QString memoFile;     // where prose is filed
    Options options;
    QTextStream* err = nullptr;
};

// The collaborators of the dispatcher for one run, with everything they own.
class CliCollaborators {
public:
    virtual ~CliCollaborators() = default;
    engine::DispatcherPorts ports;
};

// Builds the evaluator, the memo store and the other ports for a run. This is the one place to
// plug in the real script evaluator and the memo-file appender.
std::unique_ptr<CliCollaborators> makeCollaborators(const CliSession& session);

} // namespace cli
