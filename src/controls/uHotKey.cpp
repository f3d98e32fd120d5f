#include "uHotKey.h"

#include "platform/gui/KeyStroke.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace controls {

namespace {

// A function, not a constant: the translation is installed after static initialisation.
QString noneText() {
    return QCoreApplication::translate("uHotKey", "(なし)");
}

// The modifier a modifier key itself stands for. X11 reports the state before the event, so a
// press of Ctrl alone arrives without Ctrl and its release with it; the key decides instead.
int maskOfModifierKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Control:
        return uHotKey::kCtrl;
    case Qt::Key_Shift:
        return uHotKey::kShift;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return uHotKey::kAlt;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return uHotKey::kWindows;
    default:
        return 0;
    }
}

int maskOfModifiers(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= uHotKey::kShift;
    if (modifiers & Qt::ControlModifier)
        mask |= uHotKey::kCtrl;
    if (modifiers & Qt::AltModifier)
        mask |= uHotKey::kAlt;
    // Qt reports X11's Mod4, where the Super keys sit, as Meta.
    if (modifiers & Qt::MetaModifier)
        mask |= uHotKey::kWindows;
    return mask;
}

// Tab moves on to the next control; Enter and Esc press the dialog's default and cancel buttons.
bool isDialogKey(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return !(key.modifiers() & Qt::ShiftModifier);
    default:
        return false;
    }
}

} // namespace

uHotKey::uHotKey(QWidget* parent) : QWidget(parent) {
    m_txtCode = new QLineEdit(this);
    m_txtCode->setObjectName(QStringLiteral("txtCode"));
    // Keys are combinations here, never text: no input method, no paste, no drop.
    m_txtCode->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_txtCode->setContextMenuPolicy(Qt::NoContextMenu);
    m_txtCode->setAcceptDrops(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_txtCode);
    setFocusProxy(m_txtCode);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_txtCode->installEventFilter(this);
    showText(QString());
}

QString uHotKey::Text() const {
    return m_txtCode->text();
}

QString uHotKey::keyName(int keyCode) {
    if (keyCode >= 48 && keyCode <= 57)
        return QString(QChar(keyCode));
    if (keyCode >= 65 && keyCode <= 90)
        return QString(QChar(keyCode));
    if (keyCode >= 96 && keyCode <= 105)
        return QStringLiteral("Num") + QString::number(keyCode - 96);
    if (keyCode >= 112 && keyCode <= 135)
        return QStringLiteral("F") + QString::number(keyCode - 111);
    if (keyCode >= 37 && keyCode <= 40)
        return QString(QStringLiteral("←↑→↓").at(keyCode - 37));
    return QString();
}

QString uHotKey::modifierText(int mask) {
    QString text;
    if (mask & kCtrl)
        text += QStringLiteral("Ctrl + ");
    if (mask & kShift)
        text += QStringLiteral("Shift + ");
    if (mask & kAlt)
        text += QStringLiteral("Alt + ");
    if (mask & kWindows)
        text += QStringLiteral("Windows + ");
    return text;
}

QString uHotKey::nameAndStore(int keyCode) {
    const QString name = keyName(keyCode);
    if (!name.isEmpty())
        m_hotKey = keyCode;
    return name;
}

QString uHotKey::modifierTextAndStore(int mask) {
    m_mask = mask;
    return modifierText(mask);
}

void uHotKey::showText(const QString& text) {
    m_txtCode->setText(text.isEmpty() ? noneText() : text);
    m_txtCode->setCursorPosition(int(m_txtCode->text().size()));
    emit Change();
}

void uHotKey::setHotKey(int keyCode) {
    const QString name = nameAndStore(keyCode);
    if (name.isEmpty())
        showText(QString());
    else
        showText(modifierText(m_mask) + name);
}

void uHotKey::setMask(int mask) {
    const QString modifiers = modifierTextAndStore(mask);
    if (modifiers.isEmpty())
        showText(QString());
    else
        showText(modifiers + keyName(m_hotKey));
}

void uHotKey::keyDown(const QKeyEvent& event) {
    m_hotKey = 0;
    m_mask = 0;
    const int mask = maskOfModifiers(event.modifiers()) | maskOfModifierKey(event.key());
    const QString modifiers = modifierTextAndStore(mask);
    const QString name = nameAndStore(platform::keyStrokeFromEvent(event).keyCode);
    showText(name.isEmpty() ? modifiers : modifiers + name);
}

bool uHotKey::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_txtCode)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isDialogKey(*key))
            return false;
        keyDown(*key);
        if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
            showText(QString());
        return true;
    }
    if (event->type() == QEvent::KeyRelease) {
        if (m_hotKey == 0)
            showText(QString());
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride &&
        !isDialogKey(*static_cast<QKeyEvent*>(event))) {
        // Combinations the dialog would take as shortcuts (Alt+letter) belong to the box.
        event->accept();
        return true;
    }
    return false;
}

} // namespace controls
