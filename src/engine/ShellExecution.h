#pragma once

#include <QString>

namespace engine {

// The one way the program opens files, folders, programs and URLs. `verb` empty: the verb comes
// from the associations (GetAssociatedVerb) and, when the default open fails, the user is offered
// the open-with chooser. True when something was started. `declined` (when given) is set when
// the user cancelled the chooser: nothing opened, and there is nothing to report either.
bool ExecuteShell(const QString& target, const QString& verb, bool* declined = nullptr);

// The verb the associations give `path`: a verb name; "" when no association was found; or the
// no-lookup marker (one NUL character) when no lookup was possible or needed.
QString GetAssociatedVerb(const QString& path);
QString noLookupMarker();

// The request handed to the platform shell.
struct ShellExecuteInfo {
    QString verb;
    QString file;
    QString parameters;
};
void InitExecuteInfo(ShellExecuteInfo& info);

} // namespace engine
