#pragma once

#include <QString>

#include <optional>

namespace config {

// A registered command as the settings file keeps it: the key of section "Command" is the command
// word, the value "display name,template". Only the first comma separates, so a template may hold
// commas; a value without a comma is no command.
struct CommandEntry {
    QString name;
    QString templateText;
};

// The section that holds the registered commands.
inline const QString kCommandSection = QStringLiteral("Command");

std::optional<CommandEntry> parseCommandEntry(const QString& value);
QString formatCommandEntry(const CommandEntry& entry);

} // namespace config
