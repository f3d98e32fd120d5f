#pragma once

#include <QString>

#include <memory>

namespace engine {
class IEvaluator;
}

namespace app {

// The program's script evaluator: the user's script file loaded, the system clipboard offered as
// "Clipboard" and the text functions as "VBA". `scriptFileLoaded` tells whether the file loaded.
std::unique_ptr<engine::IEvaluator> createProgramEvaluator(const QString& scriptFile,
                                                           bool& scriptFileLoaded);

} // namespace app
