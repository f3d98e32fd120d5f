#include "config/CommandEntry.h"

namespace config {

std::optional<CommandEntry> parseCommandEntry(const QString& value) {
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    return CommandEntry{value.left(comma), value.mid(comma + 1)};
}

QString formatCommandEntry(const CommandEntry& entry) {
    return entry.name + QLatin1Char(',') + entry.templateText;
}

} // namespace config
