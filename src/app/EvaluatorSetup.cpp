#include "EvaluatorSetup.h"

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
    eval->setAddCodeFile(scriptFile);
    eval->Add(QStringLiteral("Clipboard"),
              vbscript::makeRef<script::ClipboardObject>(systemClipboard));
    eval->Add(QStringLiteral("VBA"), vbscript::makeRef<script::VBLike>());
    scriptFileLoaded = !eval->AddCodeFile().isEmpty();
    return eval;
}

} // namespace app
