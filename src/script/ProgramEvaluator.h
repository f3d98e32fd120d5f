#pragma once

#include "script/CEval.h"

#include <memory>

namespace script {

class ClipboardAccess;

// The evaluator as the program sets it up at start: "Clipboard" on the given clipboard (which
// must outlive the evaluator) and "VBA" first, then the user script file. Every registration
// reloads the file, so registering the objects first runs the file's own statements (a box it
// shows, a file it writes) once, not three times. Every load adds the objects before the file's
// code, so its top-level statements can use them; when the file fails to load, the objects stay
// usable and AddCodeFile() reads back empty.
// `watcher`, when given, watches every run from the script file's load on.
std::unique_ptr<CEval> createProgramEvaluator(const QString& scriptFilePath,
                                              ClipboardAccess& clipboard, QObject* parent = nullptr,
                                              RunWatcher* watcher = nullptr);

} // namespace script
