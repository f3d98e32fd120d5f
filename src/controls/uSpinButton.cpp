#include "uSpinButton.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace controls {

namespace {

// The arrow bar's positions: a click on the upper arrow moves it to 0, on the lower one to 2,
// and it rests at 1.
constexpr int kArrowUp = 0;
constexpr int kArrowDown = 2;

bool isAllowedCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
           c.unicode() == 8;
}

bool hasModifier(const QKeyEvent* key) {
    return key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

} // namespace

uSpinButton::uSpinButton(QWidget* parent) : QWidget(parent) {
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Text"));
    m_text->setText(QStringLiteral("0"));
    m_text->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    for (QToolButton* arrow : {m_up, m_down}) {
        arrow->setArrowType(arrow == m_up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        // The arrow bar passes the focus on to the text box.
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    }
    m_up->setObjectName(QStringLiteral("SpinUp"));
    m_down->setObjectName(QStringLiteral("SpinDown"));
    const int arrowWidth = m_text->sizeHint().height() * 2 / 3;
    m_up->setFixedWidth(arrowWidth);
    m_down->setFixedWidth(arrowWidth);

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_text, 1);
    row->addLayout(arrows);
    setFocusProxy(m_text);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(m_up, &QToolButton::clicked, this, [this] { arrowMoved(kArrowUp); });
    connect(m_down, &QToolButton::clicked, this, [this] { arrowMoved(kArrowDown); });
    connect(m_text, &QLineEdit::textChanged, this, [this] { textChanged(); });
    m_text->installEventFilter(this);
}

void uSpinButton::setValue(int value) {
    if (value < m_min || value > m_max)
        return;
    m_value = value;
    const bool wasBusy = m_busy;
    m_busy = true;
    m_text->setText(QString::number(value));
    m_busy = wasBusy;
}

bool uSpinButton::Locked() const {
    return m_text->isReadOnly();
}

void uSpinButton::setLocked(bool locked) {
    m_text->setReadOnly(locked);
    m_up->setEnabled(!locked && isEnabled());
    m_down->setEnabled(!locked && isEnabled());
}

void uSpinButton::changeEvent(QEvent* event) {
    // The arrows follow the control's enabled state, but stay off while the box is locked.
    if (event->type() == QEvent::EnabledChange)
        setLocked(Locked());
    QWidget::changeEvent(event);
}

void uSpinButton::arrowMoved(int position) {
    if (position == kArrowUp)
        setValue(m_value + 1);
    else if (position == kArrowDown)
        setValue(m_value - 1);
    if (!m_busy)
        selectAll();
    emit Change();
}

void uSpinButton::selectAll() {
    m_text->selectAll();
}

void uSpinButton::putTextBack(int caret) {
    m_text->setText(QString::number(m_value));
    m_text->setCursorPosition(qMin(caret, int(m_text->text().size())));
}

void uSpinButton::textChanged() {
    if (m_busy)
        return;
    m_busy = true;
    const QString text = m_text->text();
    const int caret = m_text->cursorPosition();
    bool onlyDigitsAndMinus = true;
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('-'))
            onlyDigitsAndMinus = false;
    }
    const int before = m_value;
    if (text.isEmpty()) {
        m_text->setText(QString::number(m_min));
        selectAll();
    } else if (text == QLatin1String("-") || !onlyDigitsAndMinus) {
        putTextBack(caret);
    } else {
        // "1-2" and numbers beyond 32 bits do not convert; they are put back like any other
        // text that is not a number in range.
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok || number < m_min || number > m_max)
            putTextBack(caret);
        else
            setValue(number);
    }
    m_busy = false;
    if (m_value != before)
        emit valueEdited();
}

bool uSpinButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_text)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        // After the line edit's own focus handling, which may move the caret.
        QMetaObject::invokeMethod(m_text, &QLineEdit::selectAll, Qt::QueuedConnection);
        return false;
    case QEvent::KeyPress: {
        if (Locked())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && !hasModifier(key)) {
            const int before = m_value;
            setValue(key->key() == Qt::Key_Up ? m_value + 1 : m_value - 1);
            selectAll();
            // A step by key is the user's edit, as typing is.
            if (m_value != before)
                emit valueEdited();
            return true;
        }
        const QString typed = key->text();
        if (typed.isEmpty() || key->key() == Qt::Key_Backspace ||
            (key->modifiers() & Qt::ControlModifier))
            return false; // editing keys and shortcuts (paste is checked by the text rule)
        int code = typed.at(0).unicode();
        emit KeyPress(code);
        if (code == 0 || !isAllowedCharacter(QChar(code)))
            return true;
        if (code != typed.at(0).unicode()) {
            m_text->insert(QString(QChar(code)));
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!Locked() && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
            !hasModifier(key)) {
            selectAll();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace controls
