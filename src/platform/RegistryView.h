#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace platform {

// A read-only store shaped like the Windows registry: keys under named roots ("HKEY_CLASSES_ROOT"
// …), each with text values and subkeys. Subkey paths use "\" between their parts; an empty
// subkey path is the root itself. Names compare without regard to letter case.
class RegistryView {
public:
    virtual ~RegistryView() = default;
    virtual bool keyExists(const QString& root, const QString& subKey) const = 0;
    // The text value `valueName` of the key ("" is the default value); nullopt when the key or
    // value is missing or the value is no text.
    virtual std::optional<QString> stringValue(const QString& root, const QString& subKey,
                                               const QString& valueName) const = 0;
    // Direct subkeys in enumeration order; empty when none or the key is missing.
    virtual QStringList subKeys(const QString& root, const QString& subKey) const = 0;
};

// The view association lookups read: the freedesktop associations unless replaced.
const RegistryView& registryView();

// Replaces the view (tests); null restores the freedesktop associations. Returns the old one.
std::shared_ptr<const RegistryView> setRegistryView(std::shared_ptr<const RegistryView> view);

} // namespace platform
