#pragma once

#include "platform/RegistryView.h"

namespace platform {

// The freedesktop associations (shared MIME database, desktop entries, mimeapps.list, read
// through GIO) shown in the shape association lookups expect:
//   HKEY_CLASSES_ROOT\.ext           default value: the MIME type of the extension
//   HKEY_CLASSES_ROOT\<type>\Shell   default value "open" when the type has a default application;
//                                    subkeys "open", the default application's desktop actions,
//                                    and "edit" for text types (served by the text editor)
// Every other root exists and is empty. Nothing is cached: each read asks GIO.
class AssociationRegistry final : public RegistryView {
public:
    bool keyExists(const QString& root, const QString& subKey) const override;
    std::optional<QString> stringValue(const QString& root, const QString& subKey,
                                       const QString& valueName) const override;
    QStringList subKeys(const QString& root, const QString& subKey) const override;
};

// The MIME type the shared database gives a file name by its extension alone; empty when unknown.
QString mimeTypeForExtension(const QString& extension);

// True when `root` is one of the predefined root key names (compared exactly).
bool isRegistryRootName(const QString& root);

} // namespace platform
