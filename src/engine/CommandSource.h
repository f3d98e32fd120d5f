#pragma once

#include <QString>

namespace engine {

// Where registered commands are looked up.
enum class CommandSource {
    IniCommands = 0, // section "Command" of the settings store
    EditorList = 1,  // the settings dialog's command list with its unsaved edits
};

// The settings dialog's command list, for its command test.
class ICommandList {
public:
    virtual ~ICommandList() = default;
    // The template (content column) of the entry whose key is `name`; empty when the list holds
    // no such entry.
    virtual QString templateOf(const QString& name) const = 0;
};

} // namespace engine
