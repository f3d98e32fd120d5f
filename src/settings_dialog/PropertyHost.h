#pragma once

#include <QIcon>
#include <QString>

class QMimeData;

namespace engine {
class IEvaluator;
}

namespace settings_dialog {

// What the settings dialog needs of the running program (the main window implements it).
class IPropertyHost {
public:
    virtual ~IPropertyHost() = default;
    // Title of the program's message boxes ("Scrivlet Ver.1.73").
    virtual QString appTitleWithVersion() const = 0;
    // The program's icon, which the dialog takes too.
    virtual QIcon programIcon() const = 0;
    // The program's evaluator, for %{...} in a command test; may be null.
    virtual engine::IEvaluator* evaluator() const = 0;
    // Whether a script engine is there to run anything.
    virtual bool scriptEngineAvailable() const = 0;
    // Loads the user script file again; false when it did not load.
    virtual bool reloadScriptFile(const QString& path) = 0;
    // Empties the drop-down list of the window's input line (the saved history stays).
    virtual void clearHistoryList() = 0;
    // A text box's text after something was dropped on it: the dropped text or the first file's
    // path, quoted when it holds a blank, after one separating blank.
    virtual QString textAfterDrop(const QString& boxText, const QMimeData* dropped) const = 0;
};

} // namespace settings_dialog
