#pragma once

#include "platform/RegistryView.h"

#include <QList>

namespace platform {

// A registry held in memory, filled by the caller: the stand-in for association lookups in tests.
class MemoryRegistry final : public RegistryView {
public:
    // Creates the key and its parents. Subkeys enumerate in the order they were first created.
    void addKey(const QString& root, const QString& subKey);
    void setString(const QString& root, const QString& subKey, const QString& valueName,
                   const QString& value);
    // A value that is not text (reads as missing through stringValue).
    void setBinary(const QString& root, const QString& subKey, const QString& valueName);

    bool keyExists(const QString& root, const QString& subKey) const override;
    std::optional<QString> stringValue(const QString& root, const QString& subKey,
                                       const QString& valueName) const override;
    QStringList subKeys(const QString& root, const QString& subKey) const override;

private:
    struct Value {
        QString name;
        std::optional<QString> text; // nullopt: a value of another type
    };
    struct Key {
        QString path; // root + "\" + subkey path, as first written
        QList<Value> values;
    };
    const Key* find(const QString& path) const;
    Key& ensure(const QString& path);
    void setValue(const QString& root, const QString& subKey, const QString& valueName,
                  std::optional<QString> text);

    QList<Key> m_keys; // in creation order
};

} // namespace platform
