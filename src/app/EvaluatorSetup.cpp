#include "EvaluatorSetup.h"

#include "AppInfo.h"

#include "script/CEval.h"
#include "script/ClipboardObject.h"
#include "script/VBLike.h"
#include "script/widgets/QtClipboard.h"

namespace app {

std::unique_ptr<engine::IEvaluator> createProgramEvaluator(const QString& scriptFile,
                                                           bool& scriptFileLoaded) {
    // The clipboard object refers to its access object for the evaluator's whole life.
    static script::QtClipboard systemClipboard;
    auto eval = std::make_unique<script::CEval>();
    // Every registration reloads the script file, so the objects come first: the file's own
    // statements (a box it shows, a file it writes) then run once at start-up, not three times.
    eval->Add(QStringLiteral("Clipboard"),
              vbscript::makeRef<script::ClipboardObject>(systemClipboard));
    eval->Add(QStringLiteral("VBA"), vbscript::makeRef<script::VBLike>());
    eval->setAddCodeFile(scriptFile);
    scriptFileLoaded = !eval->AddCodeFile().isEmpty();
    // A failed load stops before the objects are registered again; reloading without the file
    // gives them back, as the evaluator works without the user's code.
    if (!scriptFileLoaded)
        eval->setAddCodeFile(QString());
    return eval;
}

std::unique_ptr<script::WindowHostServices>
createWindowHostServices(script::WindowHostServices::BoxGuard boxGuard) {
    auto services = std::make_unique<script::WindowHostServices>(AppTitleWithVersion());
    services->setBoxGuard(std::move(boxGuard));
    return services;
}

} // namespace app
