#include "script/ProgramEvaluator.h"

#include "script/ClipboardObject.h"
#include "script/VBLike.h"

namespace script {

std::unique_ptr<CEval> createProgramEvaluator(const QString& scriptFilePath,
                                              ClipboardAccess& clipboard, QObject* parent) {
    auto eval = std::make_unique<CEval>(parent);
    eval->setAddCodeFile(scriptFilePath);
    // A failing registration still leaves the evaluator usable for what did register.
    eval->Add(QStringLiteral("Clipboard"), vbscript::makeRef<ClipboardObject>(clipboard));
    eval->Add(QStringLiteral("VBA"), vbscript::makeRef<VBLike>());
    return eval;
}

} // namespace script
