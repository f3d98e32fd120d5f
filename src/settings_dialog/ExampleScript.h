#pragma once

#include <QString>

namespace settings_dialog {

// The user's script file as a new user first sees it: comments saying what the file is for and
// one function to call from the input line (Tax(1200) gives 1320).
QString exampleScriptText();

// Creates the script file with that text when there is none; an existing file is never touched.
// Returns whether the file exists afterwards.
bool createExampleScriptIfMissing(const QString& path);

} // namespace settings_dialog
