#include "platform/MemoryRegistry.h"

namespace platform {

namespace {

QString joinPath(const QString& root, const QString& subKey) {
    return subKey.isEmpty() ? root : root + QLatin1Char('\\') + subKey;
}

} // namespace

const MemoryRegistry::Key* MemoryRegistry::find(const QString& path) const {
    for (const Key& key : m_keys) {
        if (key.path.compare(path, Qt::CaseInsensitive) == 0)
            return &key;
    }
    return nullptr;
}

MemoryRegistry::Key& MemoryRegistry::ensure(const QString& path) {
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    if (cut > 0)
        ensure(path.left(cut));
    for (Key& key : m_keys) {
        if (key.path.compare(path, Qt::CaseInsensitive) == 0)
            return key;
    }
    m_keys.append(Key{path, {}});
    return m_keys.last();
}

void MemoryRegistry::addKey(const QString& root, const QString& subKey) {
    ensure(joinPath(root, subKey));
}

void MemoryRegistry::setValue(const QString& root, const QString& subKey, const QString& valueName,
                              std::optional<QString> text) {
    Key& key = ensure(joinPath(root, subKey));
    for (Value& value : key.values) {
        if (value.name.compare(valueName, Qt::CaseInsensitive) == 0) {
            value.text = std::move(text);
            return;
        }
    }
    key.values.append(Value{valueName, std::move(text)});
}

void MemoryRegistry::setString(const QString& root, const QString& subKey, const QString& valueName,
                               const QString& value) {
    setValue(root, subKey, valueName, value);
}

void MemoryRegistry::setBinary(const QString& root, const QString& subKey,
                               const QString& valueName) {
    setValue(root, subKey, valueName, std::nullopt);
}

bool MemoryRegistry::keyExists(const QString& root, const QString& subKey) const {
    if (subKey.isEmpty())
        return true;
    return find(joinPath(root, subKey)) != nullptr;
}

std::optional<QString> MemoryRegistry::stringValue(const QString& root, const QString& subKey,
                                                   const QString& valueName) const {
    const Key* key = find(joinPath(root, subKey));
    if (!key)
        return std::nullopt;
    for (const Value& value : key->values) {
        if (value.name.compare(valueName, Qt::CaseInsensitive) == 0)
            return value.text;
    }
    return std::nullopt;
}

QStringList MemoryRegistry::subKeys(const QString& root, const QString& subKey) const {
    QStringList names;
    const QString parent = joinPath(root, subKey);
    for (const Key& key : m_keys) {
        if (key.path.size() <= parent.size() + 1)
            continue;
        if (!key.path.startsWith(parent, Qt::CaseInsensitive) ||
            key.path.at(parent.size()) != QLatin1Char('\\'))
            continue;
        const QString rest = key.path.mid(parent.size() + 1);
        if (!rest.contains(QLatin1Char('\\')))
            names.append(rest);
    }
    return names;
}

} // namespace platform
