#include "input/CKeyMapping.h"

#include "config/CIniFile.h"

#include <QMetaMethod>
#include <QVariant>

namespace input {

namespace {

constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

QString keyPart(int keyCode) {
    if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9') || keyCode == '@')
        return QString(QChar(keyCode));
    if (keyCode >= 96 && keyCode <= 105)
        return QStringLiteral("Num") + QString::number(keyCode - 96);
    if (keyCode >= 112 && keyCode <= 135)
        return QStringLiteral("F") + QString::number(keyCode - 111);
    switch (keyCode) {
    case 8:
        return QStringLiteral("BackSpace");
    case 9:
        return QStringLiteral("Tab");
    case 13:
        return QStringLiteral("Enter");
    case 27:
        return QStringLiteral("Esc");
    case 32:
        return QStringLiteral("Space");
    case 33:
        return QStringLiteral("PageUp");
    case 34:
        return QStringLiteral("PageDown");
    case 35:
        return QStringLiteral("End");
    case 36:
        return QStringLiteral("Home");
    case 37:
        return QStringLiteral("Left");
    case 38:
        return QStringLiteral("Up");
    case 39:
        return QStringLiteral("Right");
    case 40:
        return QStringLiteral("Down");
    case 45:
        return QStringLiteral("Insert");
    case 46:
        return QStringLiteral("Delete");
    default:
        return QString();
    }
}

// The callable method of that name (any letter case) taking no arguments, or an invalid one.
QMetaMethod findFunction(const QObject& object, const QString& name) {
    const QMetaObject* meta = object.metaObject();
    const QByteArray latin = name.toLatin1();
    // QObject's own slots (deleteLater) are not functions of the window.
    for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal || method.access() != QMetaMethod::Public ||
            method.parameterCount() != 0)
            continue;
        if (method.name().compare(latin, Qt::CaseInsensitive) == 0)
            return method;
    }
    return QMetaMethod();
}

} // namespace

CKeyMapping::CKeyMapping(QObject* parent) : QObject(parent) {}

void CKeyMapping::Initialize(QObject* execObject, config::CIniFile* store) {
    m_execObject = execObject;
    if (!store)
        return;
    const QStringList functions = store->Keys();
    for (const QString& function : functions) {
        const QStringList keys = store->Data(function).split(QLatin1Char(','));
        for (const QString& key : keys)
            Add(function, key);
    }
}

void CKeyMapping::SaveMapping(config::CIniFile& store) const {
    store.Clear();
    for (const Binding& binding : m_bindings) {
        const QString value = store.Data(binding.functionName);
        store.setData(binding.functionName, value.isEmpty()
                                                ? binding.keyName
                                                : value + QLatin1Char(',') + binding.keyName);
    }
    store.Save(store.NowSection());
}

int CKeyMapping::indexOfKey(const QString& keyName) const {
    for (int i = 0; i < m_bindings.size(); ++i)
        if (m_bindings[i].keyName.compare(keyName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void CKeyMapping::Add(const QString& functionName, const QString& keyMapping) {
    // An empty name is what every unnamed key without modifiers produces (Caps Lock, Shift, ...):
    // binding it would fire on all of them.
    if (keyMapping.isEmpty() || functionName.isEmpty() || indexOfKey(keyMapping) >= 0)
        return;
    m_bindings.append({keyMapping, functionName});
}

void CKeyMapping::AddDefault(const QString& functionName, const QStringList& keyMappings) {
    if (IsMappingFunction(functionName))
        return;
    for (const QString& key : keyMappings)
        Add(functionName, key);
}

const QList<CKeyMapping::DefaultBinding>& CKeyMapping::defaultBindings() {
    static const QList<DefaultBinding> table{
        {QStringLiteral("Execute"), {QStringLiteral("Enter")}},
        {QStringLiteral("AddMemo"), {QStringLiteral("Shift+Enter")}},
        {QStringLiteral("ShowProperty"), {QStringLiteral("Ctrl+O")}},
        {QStringLiteral("ShowToggleMemo"), {QStringLiteral("Ctrl+L")}},
        {QStringLiteral("ShowMenu"), {QStringLiteral("Alt+Space")}},
        {QStringLiteral("ShowHelp"), {QStringLiteral("F1")}},
        {QStringLiteral("ExitApp"), {QStringLiteral("Alt+F4")}},
        {QStringLiteral("HideForm"), {QStringLiteral("Esc")}},
        {QStringLiteral("CreateNewMemo"), {QStringLiteral("Ctrl+N")}},
        {QStringLiteral("DeleteActiveMemo"), {QStringLiteral("Ctrl+D")}},
        {QStringLiteral("MovePrevMemo"), {QStringLiteral("Ctrl+Up"), QStringLiteral("Ctrl+K")}},
        {QStringLiteral("MoveNextMemo"), {QStringLiteral("Ctrl+Down"), QStringLiteral("Ctrl+J")}},
        {QStringLiteral("DropdownTitle"), {QStringLiteral("F4")}},
        {QStringLiteral("ExecuteMemoLine"), {QStringLiteral("F9")}},
        {QStringLiteral("FindMemo"), {QStringLiteral("Ctrl+F")}},
    };
    return table;
}

void CKeyMapping::AddDefaultBindings() {
    for (const DefaultBinding& binding : defaultBindings())
        AddDefault(binding.functionName, binding.keyNames);
}

bool CKeyMapping::callFunction(const QString& functionName, bool& handled) const {
    if (!m_execObject)
        return false;
    const QMetaMethod method = findFunction(*m_execObject, functionName);
    if (!method.isValid())
        return false;
    try {
        if (method.returnMetaType().id() == QMetaType::Void) {
            handled = false;
            return method.invoke(m_execObject, Qt::DirectConnection);
        }
        QVariant result(method.returnMetaType(), nullptr);
        if (!method.invoke(m_execObject, Qt::DirectConnection,
                           QGenericReturnArgument(method.typeName(), result.data())))
            return false;
        handled = result.isValid() && !result.isNull() && result.toBool();
        return true;
    } catch (...) {
        return false;
    }
}

void CKeyMapping::Exec(int& keyCode, int& shift) {
    emit BeforeExec(keyCode, shift);
    const QString function = GetFunctionName(GetKeyName(keyCode, shift));
    bool handled = false;
    if (function.isEmpty() || !callFunction(function, handled)) {
        emit NotExist(keyCode, shift);
        return;
    }
    if (handled)
        keyCode = 0;
    emit AfterExec(keyCode, shift);
}

QString CKeyMapping::GetFunctionName(const QString& keyMapping) const {
    const int index = indexOfKey(keyMapping);
    return index < 0 ? QString() : m_bindings[index].functionName;
}

QString CKeyMapping::GetKeyMapping(const QString& functionName) const {
    for (const Binding& binding : m_bindings)
        if (binding.functionName == functionName)
            return binding.keyName;
    return QString();
}

bool CKeyMapping::IsKeyMapping(int keyCode, int shift) const {
    const QString name = GetKeyName(keyCode, shift);
    return !name.isEmpty() && indexOfKey(name) >= 0;
}

bool CKeyMapping::IsKeyMappingAscii(int character) const {
    if (character >= 'A' && character <= 'Z')
        return IsKeyMapping(character, IsCapsLock() ? 0 : kShift);
    if (character >= 'a' && character <= 'z')
        return IsKeyMapping(character - 32, IsCapsLock() ? kShift : 0);
    if (character >= 1 && character <= 24)
        return IsKeyMapping(character + 64, kCtrl);
    return false;
}

bool CKeyMapping::IsMappingFunction(const QString& functionName) const {
    return !GetKeyMapping(functionName).isEmpty();
}

QString CKeyMapping::GetKeyName(int keyCode, int shift) {
    QString name;
    if (shift & kCtrl)
        name += QStringLiteral("Ctrl+");
    if (shift & kShift)
        name += QStringLiteral("Shift+");
    if (shift & kAlt)
        name += QStringLiteral("Alt+");
    return name + keyPart(keyCode);
}

} // namespace input
