#pragma once

#include "script/CEval.h"

#include <memory>

namespace script {

class ClipboardAccess;

// The evaluator as the program sets it up at start: "Clipboard" on the given clipboard (which
// must outlive the evaluator) and "VBA" first, then the user script file. Every registration
// reloads the file, so registering the objects first runs the file's own statements (a box it
// shows, a file it writes) once, not three times. When the file fails to load, the evaluator is
// reloaded without it so the objects stay usable, and AddCodeFile() reads back empty.
std::unique_ptr<CEval> createProgramEvaluator(const QString& scriptFilePath,
                                              ClipboardAccess& clipboard,
                                              QObject* parent = nullptr);

} // namespace script
