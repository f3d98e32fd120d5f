#include "ShortcutTrigger.h"

#include <QHash>
#include <QStringList>

namespace desktop {

namespace {

QString keyName(int virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return QString(QChar(virtualKey));
    if (virtualKey >= 96 && virtualKey <= 105)
        return QStringLiteral("KP_%1").arg(virtualKey - 96);
    if (virtualKey >= 112 && virtualKey <= 135)
        return QStringLiteral("F%1").arg(virtualKey - 111);
    switch (virtualKey) {
    case 8:
        return QStringLiteral("BackSpace");
    case 9:
        return QStringLiteral("Tab");
    case 13:
        return QStringLiteral("Return");
    case 19:
        return QStringLiteral("Pause");
    case 27:
        return QStringLiteral("Escape");
    case 32:
        return QStringLiteral("space");
    case 33:
        return QStringLiteral("Prior");
    case 34:
        return QStringLiteral("Next");
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
    case 44:
        return QStringLiteral("Print");
    case 45:
        return QStringLiteral("Insert");
    case 46:
        return QStringLiteral("Delete");
    default:
        return QString();
    }
}

} // namespace

QString shortcutTrigger(int mask, int virtualKey) {
    const QString key = keyName(virtualKey);
    if (key.isEmpty())
        return QString();
    QStringList parts;
    if (mask & 2)
        parts << QStringLiteral("CTRL");
    if (mask & 1)
        parts << QStringLiteral("ALT");
    if (mask & 4)
        parts << QStringLiteral("SHIFT");
    if (mask & 8)
        parts << QStringLiteral("LOGO");
    parts << key;
    return parts.join(QLatin1Char('+'));
}

int qtKeyCombination(int mask, int virtualKey) {
    int key = 0;
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        key = virtualKey; // Qt's key codes of letters and digits are their ASCII codes
    else if (virtualKey >= 96 && virtualKey <= 105)
        key = (Qt::Key_0 + virtualKey - 96) | Qt::KeypadModifier;
    else if (virtualKey >= 112 && virtualKey <= 135)
        key = Qt::Key_F1 + virtualKey - 112;
    else {
        static const QHash<int, int> named = {
            {8, Qt::Key_Backspace}, {9, Qt::Key_Tab},       {13, Qt::Key_Return},
            {19, Qt::Key_Pause},    {27, Qt::Key_Escape},   {32, Qt::Key_Space},
            {33, Qt::Key_PageUp},   {34, Qt::Key_PageDown}, {35, Qt::Key_End},
            {36, Qt::Key_Home},     {37, Qt::Key_Left},     {38, Qt::Key_Up},
            {39, Qt::Key_Right},    {40, Qt::Key_Down},     {44, Qt::Key_Print},
            {45, Qt::Key_Insert},   {46, Qt::Key_Delete}};
        key = named.value(virtualKey);
    }
    if (!key)
        return 0;
    if (mask & 1)
        key |= Qt::AltModifier;
    if (mask & 2)
        key |= Qt::ControlModifier;
    if (mask & 4)
        key |= Qt::ShiftModifier;
    if (mask & 8)
        key |= Qt::MetaModifier;
    return key;
}

} // namespace desktop
