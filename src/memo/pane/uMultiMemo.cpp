#include "uMultiMemo.h"

#include "MemoPictures.h"
#include "MemoViewText.h"
#include "controls/uHoverButton.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// The text field runs the line under the caret on a double click, after its own word selection.
class MemoTextEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void()> onDoubleClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton && onDoubleClick)
            onDoubleClick();
    }
};

} // namespace

uMultiMemo::uMultiMemo(QWidget* parent) : QWidget(parent) {
    m_picBar = new QWidget(this);
    m_cmdNew = new uHoverButton(m_picBar);
    m_cmdDelete = new uHoverButton(m_picBar);
    m_cmdPrev = new uHoverButton(m_picBar);
    m_cmdNext = new uHoverButton(m_picBar);
    m_cmdNew->setToolTip(QStringLiteral("新しいメモ"));
    m_cmdDelete->setToolTip(QStringLiteral("メモを削除"));
    m_cmdPrev->setToolTip(QStringLiteral("前のメモ"));
    m_cmdNext->setToolTip(QStringLiteral("次のメモ"));
    const QColor ink = palette().color(QPalette::ButtonText);
    const qreal ratio = devicePixelRatioF();
    m_cmdNew->setPicture(memopane::newMemoPicture(ink, ratio));
    m_cmdDelete->setPicture(memopane::deleteMemoPicture(ink, ratio));
    m_cmdPrev->setCaption(QStringLiteral("▲"));
    m_cmdNext->setCaption(QStringLiteral("▼"));
    for (uHoverButton* arrow : {m_cmdPrev, m_cmdNext}) {
        QFont small = arrow->font();
        small.setPointSizeF(small.pointSizeF() * 0.7);
        arrow->setFont(small);
    }

    m_cmbMemoList = new QComboBox(this);
    m_cmbMemoList->setEditable(true);
    m_cmbMemoList->setInsertPolicy(QComboBox::NoInsert);
    m_cmbMemoList->setDuplicatesEnabled(true);
    m_cmbMemoList->setCompleter(nullptr);

    m_picCounter = new QFrame(this);
    m_picCounter->setFrameShape(QFrame::StyledPanel);
    m_picCounter->setFrameShadow(QFrame::Sunken);
    m_lblCounter = new QLabel(QStringLiteral("0/0"), m_picCounter);
    m_lblCounter->setAlignment(Qt::AlignCenter);

    auto* text = new MemoTextEdit(this);
    text->onDoubleClick = [this] { ExecuteMemoLine(); };
    m_txtMemo = text;
    m_txtMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtMemo->setTabChangesFocus(false);

    // Designed sizes: the bar of buttons is as high as the title field, each button square.
    const int barHeight = m_cmbMemoList->sizeHint().height();
    const int buttonSize = barHeight;
    int x = 0;
    for (uHoverButton* button : {m_cmdNew, m_cmdDelete, m_cmdPrev, m_cmdNext}) {
        button->setGeometry(x, 0, buttonSize, buttonSize);
        x += buttonSize;
    }
    m_picBar->resize(x, barHeight);
    const int counterWidth =
        m_lblCounter->fontMetrics().horizontalAdvance(QStringLiteral("000/000")) + 8;
    m_picCounter->resize(counterWidth, barHeight);
    m_lblCounter->setGeometry(m_picCounter->rect());

    for (QObject* watched : {static_cast<QObject*>(m_txtMemo), static_cast<QObject*>(m_cmbMemoList),
                             static_cast<QObject*>(m_cmbMemoList->lineEdit())})
        watched->installEventFilter(this);
    connect(m_cmbMemoList->lineEdit(), &QLineEdit::textEdited, this,
            [this] { m_titleEdited = true; });
    connect(qApp, &QApplication::focusChanged, this, &uMultiMemo::onFocusChanged);

    layoutControls();
}

uMultiMemo::~uMultiMemo() = default;

bool uMultiMemo::setFileName(const QString& fileName) {
    const int slash = fileName.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        const QString folder = fileName.left(slash + 1);
        if (!QFileInfo(folder).isDir())
            return false;
    }
    m_fileName = fileName;
    return true;
}

bool uMultiMemo::DropdownTitle() {
    m_cmbMemoList->setFocus(Qt::OtherFocusReason);
    m_cmbMemoList->showPopup();
    return true;
}

bool uMultiMemo::ExecuteMemoLine() {
    const QString text = m_txtMemo->toPlainText();
    int lineStart = 0, lineEnd = 0;
    if (!memopane::lineAt(text, m_txtMemo->textCursor().position(), lineStart, lineEnd))
        return false;
    int targetStart = lineStart;
    while (targetStart < lineEnd && text[targetStart] == QLatin1Char(' '))
        ++targetStart;
    const QString target = text.mid(targetStart, lineEnd - targetStart);
    if (!m_shellOpener || !m_shellOpener(target))
        return false;
    QTextCursor cursor = m_txtMemo->textCursor();
    cursor.setPosition(targetStart);
    cursor.setPosition(lineEnd, QTextCursor::KeepAnchor);
    m_txtMemo->setTextCursor(cursor);
    emit AfterExecuteFile();
    return true;
}

bool uMultiMemo::hasFocusInside() const {
    return containsWidget(QApplication::focusWidget());
}

// Popups (the title list's drop-down) are windows of their own, so walk past window boundaries.
bool uMultiMemo::containsWidget(const QWidget* widget) const {
    for (; widget; widget = widget->parentWidget()) {
        if (widget == this)
            return true;
    }
    return false;
}

void uMultiMemo::onFocusChanged(QWidget* old, QWidget* now) {
    const bool wasInside = containsWidget(old);
    const bool isInside = containsWidget(now);
    if (isInside && !wasInside)
        emit GotFocus();
    else if (wasInside && !isInside)
        emit LostFocus();
}

void uMultiMemo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

void uMultiMemo::layoutControls() {
    const int barWidth = m_picBar->width();
    const int barHeight = m_picBar->height();
    const int counterWidth = m_picCounter->width();
    m_picBar->move(0, 0);
    const int titleWidth = qMax(0, width() - barWidth - counterWidth);
    m_cmbMemoList->setGeometry(barWidth, 0, titleWidth, barHeight);
    m_picCounter->move(barWidth + titleWidth, 0);
    m_txtMemo->setGeometry(0, barHeight, width(), qMax(0, height() - barHeight));
}

bool uMultiMemo::isTitleListOpen() const {
    return m_cmbMemoList->view() && m_cmbMemoList->view()->isVisible();
}

bool uMultiMemo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return routeKey(watched, static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool uMultiMemo::routeKey(QObject* watched, QKeyEvent* event) {
    const bool inTitle = watched == m_cmbMemoList;
    if (event->type() == QEvent::KeyRelease) {
        if (inTitle)
            onTitleKeyReleased();
        return false;
    }
    if (inTitle && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !isTitleListOpen()) {
        m_txtMemo->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

void uMultiMemo::onTitleKeyReleased() {
    if (!m_titleEdited)
        return;
    QLineEdit* field = m_cmbMemoList->lineEdit();
    const int start = field->selectionStart();
    const int length = field->selectedText().size();
    const int cursor = field->cursorPosition();
    const QString title = field->text();
    const int entry = m_cmbMemoList->currentIndex();
    if (entry >= 0)
        m_cmbMemoList->setItemText(entry, title);
    field->setText(title);
    if (isTitleListOpen() && entry >= 0)
        m_cmbMemoList->view()->setCurrentIndex(m_cmbMemoList->model()->index(entry, 0));
    if (start >= 0 && length > 0)
        field->setSelection(start, length);
    else
        field->setCursorPosition(cursor);
    m_titleEdited = false;
}
