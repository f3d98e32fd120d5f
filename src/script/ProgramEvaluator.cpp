#include "script/ProgramEvaluator.h"

#include "script/ClipboardObject.h"
#include "script/VBLike.h"

namespace script {

std::unique_ptr<CEval> createProgramEvaluator(const QString& scriptFilePath,
                                              ClipboardAccess& clipboard, QObject* parent) {
    auto eval = std::make_unique<CEval>(parent);
    // A failing registration still leaves the evaluator usable for what did register.
    eval->Add(QStringLiteral("Clipboard"), vbscript::makeRef<ClipboardObject>(clipboard));
    eval->Add(QStringLiteral("VBA"), vbscript::makeRef<VBLike>());
    eval->setAddCodeFile(scriptFilePath);
    if (eval->AddCodeFile().isEmpty() && !scriptFilePath.isEmpty())
        eval->setAddCodeFile(QString()); // a failed load stopped before the objects came back
    return eval;
}

} // namespace script
