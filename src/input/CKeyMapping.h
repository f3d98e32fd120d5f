#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace config {
class CIniFile;
}

namespace input {

// The section of the settings file that holds the key bindings.
inline const QString kKeyMappingSection = QStringLiteral("KeyMapping");

// Binds keystrokes, by key name ("Ctrl+O", "Shift+Enter", "F4"), to functions of an exec object
// (the main window) and calls them by name. Key names are compared without regard to letter case;
// the first binding of a key wins. Key codes are virtual-key codes and the modifier state is
// 1 Shift, 2 Ctrl, 4 Alt (platform/VirtualKey.h maps Qt's key events onto them).
//
// Bindable functions are Q_INVOKABLE methods (or public slots) of the exec object that take no
// arguments; their result counts as a Boolean (void counts as false). True swallows the key.
class CKeyMapping : public QObject {
    Q_OBJECT
public:
    struct DefaultBinding {
        QString functionName;
        QStringList keyNames;
    };

    explicit CKeyMapping(QObject* parent = nullptr);

    // Remembers the exec object; with a store, loads the bindings of its current section.
    void Initialize(QObject* execObject, config::CIniFile* store = nullptr);
    // Replaces the keys of the store's current section with the bindings and writes the section.
    void SaveMapping(config::CIniFile& store) const;

    void Add(const QString& functionName, const QString& keyMapping);
    void AddDefault(const QString& functionName, const QStringList& keyMappings);
    // The main window's functions and their default keys, in the order they are added.
    static const QList<DefaultBinding>& defaultBindings();
    void AddDefaultBindings();

    // Runs the function bound to the keystroke; sets keyCode to 0 when it handled the key.
    void Exec(int& keyCode, int& shift);

    QString GetFunctionName(const QString& keyMapping) const;
    QString GetKeyMapping(const QString& functionName) const;
    bool IsKeyMapping(int keyCode, int shift) const;
    // Whether the keystroke that typed this character is bound (its character is then dropped).
    bool IsKeyMappingAscii(int character) const;
    bool IsMappingFunction(const QString& functionName) const;

    // "Ctrl+", "Shift+", "Alt+" in that order, then the key part ("" for keys without a name).
    static QString GetKeyName(int keyCode, int shift);

    // Where Caps Lock is read from (off when not set).
    void setCapsLockProbe(std::function<bool()> probe) { m_capsLock = std::move(probe); }

signals:
    void BeforeExec(int& keyCode, int& shift);
    void AfterExec(int& keyCode, int& shift);
    void NotExist(int& keyCode, int& shift);

private:
    struct Binding {
        QString keyName;
        QString functionName;
    };
    int indexOfKey(const QString& keyName) const;
    bool callFunction(const QString& functionName, bool& handled) const;
    bool IsCapsLock() const { return m_capsLock && m_capsLock(); }

    QObject* m_execObject = nullptr;
    QList<Binding> m_bindings; // in binding order
    std::function<bool()> m_capsLock;
};

} // namespace input
