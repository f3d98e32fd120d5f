#include "script/ProgramEvaluator.h"

#include "script/ClipboardObject.h"
#include "script/VBLike.h"

namespace script {

std::unique_ptr<CEval> createProgramEvaluator(const QString& scriptFilePath,
                                              ClipboardAccess& clipboard, QObject* parent,
                                              RunWatcher* watcher) {
    auto eval = std::make_unique<CEval>(parent);
    eval->setRunWatcher(watcher);
    // A failing registration still leaves the evaluator usable for what did register.
    eval->Add(QStringLiteral("Clipboard"), vbscript::makeRef<ClipboardObject>(clipboard));
    eval->Add(QStringLiteral("VBA"), vbscript::makeRef<VBLike>());
    eval->setAddCodeFile(scriptFilePath);
    return eval;
}

} // namespace script
