#pragma once

#include "script/widgets/WindowHostServices.h"

#include <QString>

#include <memory>

namespace engine {
class IEvaluator;
}
namespace script {
class RunWatcher;
}

namespace app {

// The program's script evaluator: the user's script file loaded, the system clipboard offered as
// "Clipboard" and the text functions as "VBA". `scriptFileLoaded` tells whether the file loaded.
// `watcher` watches every run, the script file's load included.
std::unique_ptr<engine::IEvaluator> createProgramEvaluator(const QString& scriptFile,
                                                           bool& scriptFileLoaded,
                                                           script::RunWatcher* watcher);

// MsgBox, InputBox and WScript.Shell for scripts run from the window: boxes titled with the
// program's title unless the script gives one, each run inside `boxGuard`.
std::unique_ptr<script::WindowHostServices>
createWindowHostServices(script::WindowHostServices::BoxGuard boxGuard);

} // namespace app
