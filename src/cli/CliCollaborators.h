#pragma once

#include "config/Settings.h"
#include "engine/DispatcherPorts.h"
#include "script/ScriptEngine.h"

#include <QString>
#include <QTextStream>

#include <memory>

namespace cli {

// What one run of scrivlet-cli knows about its files.
struct CliSession {
    QString settingsFile; // read only
    QString scriptFile;   // the user's script functions
    QString memoFile;     // where prose is filed
    QString memoTitle;    // the memo prose goes into; "" for the first (current) memo
    config::Options options;
    QTextStream* err = nullptr;
    script::RunWatcher* scriptWatcher = nullptr; // watches every script run, the file's load too
};

// The collaborators of the dispatcher for one run, with everything they own.
class CliCollaborators {
public:
    virtual ~CliCollaborators() = default;
    // Prose lines of this run that were neither handed to a window nor written to the memo file.
    virtual int lostMemoLines() const = 0;
    engine::DispatcherPorts ports;
};

// Builds the evaluator (the user's script file loaded, "Clipboard" on a clipboard of the run's
// own, "VBA"), the memo store on session.memoFile and the other ports for a run. A script file
// that fails to load is reported through the message box, as the window does, and the run goes on
// without it.
std::unique_ptr<CliCollaborators> makeCollaborators(const CliSession& session);

} // namespace cli
