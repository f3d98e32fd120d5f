#include "engine/RegistryAccess.h"

#include "platform/AssociationRegistry.h"
#include "platform/RegistryView.h"

namespace engine {

std::optional<RegKey> OpenRegKey(const QString& keyPath, int access) {
    const qsizetype cut = keyPath.indexOf(QLatin1Char('\\'));
    RegKey key;
    key.root = cut < 0 ? keyPath : keyPath.left(cut);
    key.subKey = cut < 0 ? QString() : keyPath.mid(cut + 1);
    key.access = access;
    if (!platform::isRegistryRootName(key.root))
        return std::nullopt;
    if (!platform::registryView().keyExists(key.root, key.subKey))
        return std::nullopt;
    return key;
}

QString GetRegString(const QString& keyPath, const QString& valueName) {
    const std::optional<RegKey> key = OpenRegKey(keyPath, KEY_QUERY_VALUE);
    if (!key)
        return QString();
    const std::optional<QString> value =
        platform::registryView().stringValue(key->root, key->subKey, valueName);
    if (!value)
        return QString();
    // Text ends at its first NUL, as stored strings do.
    const qsizetype nul = value->indexOf(QChar(u'\0'));
    return nul < 0 ? *value : value->left(nul);
}

QStringList GetRegSubKeys(const QString& keyPath) {
    const std::optional<RegKey> key = OpenRegKey(keyPath, KEY_READ);
    if (!key)
        return {};
    QStringList names = platform::registryView().subKeys(key->root, key->subKey);
    for (QString& name : names) {
        const qsizetype nul = name.indexOf(QChar(u'\0'));
        if (nul >= 0)
            name.truncate(nul);
    }
    return names;
}

} // namespace engine
