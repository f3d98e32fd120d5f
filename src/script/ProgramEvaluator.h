#pragma once

#include "script/CEval.h"

#include <memory>

namespace script {

class ClipboardAccess;

// The evaluator as the program sets it up at start: the user script file, then "Clipboard" on
// the given clipboard (which must outlive the evaluator), then "VBA". AddCodeFile() reads back
// empty when the script file failed to load.
std::unique_ptr<CEval> createProgramEvaluator(const QString& scriptFilePath,
                                              ClipboardAccess& clipboard,
                                              QObject* parent = nullptr);

} // namespace script
