#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace engine {

// Access rights, as the association lookups ask for them.
constexpr int KEY_QUERY_VALUE = 0x1;
constexpr int KEY_READ = 0x20019;

// An open key of the read-only registry view: the root name and the subkey path below it.
struct RegKey {
    QString root;
    QString subKey;
    int access = 0;
};

// "ROOT\sub\key": opens the key, or nullopt when the root name is unknown or the key is missing.
// A path without a backslash names a root alone.
std::optional<RegKey> OpenRegKey(const QString& keyPath, int access);
// The text value (valueName "" for the default value); empty when missing or not text.
QString GetRegString(const QString& keyPath, const QString& valueName);
// The names of the direct subkeys, in enumeration order; empty when none or not openable.
QStringList GetRegSubKeys(const QString& keyPath);

} // namespace engine
