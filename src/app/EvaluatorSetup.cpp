#include "EvaluatorSetup.h"

#include "AppInfo.h"

#include "script/ProgramEvaluator.h"
#include "script/widgets/QtClipboard.h"

namespace app {

std::unique_ptr<engine::IEvaluator> createProgramEvaluator(const QString& scriptFile,
                                                           bool& scriptFileLoaded,
                                                           script::RunWatcher* watcher) {
    // The clipboard object refers to its access object for the evaluator's whole life.
    static script::QtClipboard systemClipboard;
    auto eval = script::createProgramEvaluator(scriptFile, systemClipboard, nullptr, watcher);
    scriptFileLoaded = scriptFile.isEmpty() || !eval->AddCodeFile().isEmpty();
    return eval;
}

std::unique_ptr<script::WindowHostServices>
createWindowHostServices(script::WindowHostServices::BoxGuard boxGuard) {
    auto services = std::make_unique<script::WindowHostServices>(AppTitleWithVersion());
    services->setBoxGuard(std::move(boxGuard));
    return services;
}

} // namespace app
