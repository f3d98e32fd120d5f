#include "uMultiMemo.h"

#include "MemoFindView.h"
#include "MemoPictures.h"
#include "MemoViewText.h"
#include "controls/uHoverButton.h"
#include "memo/MemoList.h"
#include "platform/gui/KeyStroke.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace memo {

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

uMultiMemo::uMultiMemo(MemoList& list, QWidget* parent) : QWidget(parent), m_list(list) {
    // Until its controls exist, a focus that arrives here (Tab from the input line, or the owner
    // opening the pane) builds them and passes on.
    setFocusPolicy(Qt::TabFocus);
    connect(qApp, &QApplication::focusChanged, this, &uMultiMemo::onFocusChanged);

    m_list.setView(static_cast<IMemoView&>(*this));
    connect(&m_list, &MemoList::BeforeDelete, this,
            [this](int& index, bool& cancel) { emit BeforeDelete(index, cancel); });
}

// The controls are built the first time the pane is used: most starts never open it, and the
// window comes up faster without them. The memo list works on m_detached until then.
void uMultiMemo::ensureControls() const {
    if (!m_txtMemo)
        const_cast<uMultiMemo*>(this)->buildControls();
}

void uMultiMemo::buildControls() {
    m_picBar = new QWidget(this);
    m_cmdNew = new controls::uHoverButton(m_picBar);
    m_cmdDelete = new controls::uHoverButton(m_picBar);
    m_cmdPrev = new controls::uHoverButton(m_picBar);
    m_cmdNext = new controls::uHoverButton(m_picBar);
    m_cmdNew->setToolTip(QCoreApplication::translate("uMultiMemo", "新しいメモ"));
    m_cmdDelete->setToolTip(QCoreApplication::translate("uMultiMemo", "メモを削除"));
    m_cmdPrev->setToolTip(QCoreApplication::translate("uMultiMemo", "前のメモ"));
    m_cmdNext->setToolTip(QCoreApplication::translate("uMultiMemo", "次のメモ"));
    const QColor ink = palette().color(QPalette::ButtonText);
    const qreal ratio = devicePixelRatioF();
    m_cmdNew->setPicture(memopane::newMemoPicture(ink, ratio));
    m_cmdDelete->setPicture(memopane::deleteMemoPicture(ink, ratio));
    m_cmdPrev->setCaption(QStringLiteral("▲"));
    m_cmdNext->setCaption(QStringLiteral("▼"));
    for (controls::uHoverButton* arrow : {m_cmdPrev, m_cmdNext}) {
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
    setFocusProxy(m_txtMemo);

    // Designed sizes: the bar of buttons is as high as the title field, each button a little
    // wider than its picture; the counter holds "99/99". The title field gets the rest.
    const int barHeight = m_cmbMemoList->sizeHint().height();
    const int buttonWidth = 18;
    int x = 0;
    for (controls::uHoverButton* button : {m_cmdNew, m_cmdDelete, m_cmdPrev, m_cmdNext}) {
        button->setGeometry(x, 0, buttonWidth, barHeight);
        x += buttonWidth;
    }
    m_picBar->resize(x, barHeight);
    const int counterWidth =
        m_lblCounter->fontMetrics().horizontalAdvance(QStringLiteral("99/99")) + 8;
    m_picCounter->resize(counterWidth, barHeight);
    m_lblCounter->setGeometry(m_picCounter->rect());

    // An editable combo box takes the keys itself and hands them to its line edit directly.
    m_txtMemo->installEventFilter(this);
    m_cmbMemoList->installEventFilter(this);
    connect(m_cmbMemoList->lineEdit(), &QLineEdit::textEdited, this,
            [this] { m_titleEdited = true; });
    connect(m_cmbMemoList, &QComboBox::activated, this,
            [this](int row) { m_list.setMemoIndex(row + 1); });
    connect(m_cmdNew, &controls::uHoverButton::Click, this, [this] { CreateNewMemo(); });
    connect(m_cmdDelete, &controls::uHoverButton::Click, this, [this] { DeleteActiveMemo(); });
    connect(m_cmdPrev, &controls::uHoverButton::Click, this, [this] { MovePrevMemo(); });
    connect(m_cmdNext, &controls::uHoverButton::Click, this, [this] { MoveNextMemo(); });

    // What the memo list has shown so far moves into the controls.
    for (const QString& title : m_detached.titles())
        appendTitle(title);
    selectTitleRow(m_detached.selectedTitleRow());
    setTitleText(m_detached.titleText());
    setText(m_detached.text());
    setCaretPosition(m_detached.caretPosition());
    showPosition(m_detached.counter(), m_detached.previousEnabled(), m_detached.nextEnabled());
    m_detached = HeadlessMemoView();

    // The pane itself is never a tab stop; Qt hands a policy on to the focus proxy, so the text
    // gets a click's focus back, or a click would move the caret but leave the keys elsewhere.
    // Tab still enters the pane at the title field.
    setFocusPolicy(Qt::NoFocus);
    m_txtMemo->setFocusPolicy(Qt::ClickFocus);
    layoutControls();
    for (QWidget* control : {m_picBar, static_cast<QWidget*>(m_cmbMemoList),
                             static_cast<QWidget*>(m_picCounter), static_cast<QWidget*>(m_txtMemo)})
        control->show();
}

uMultiMemo::~uMultiMemo() {
    // The application's focus signal outlives us: as our children go, the focus leaves them and
    // the signal would reach a half-destroyed pane.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void uMultiMemo::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    ensureControls();
    // Tab enters at the title field, as it would with the controls built; anything else at the
    // text.
    if (event->reason() == Qt::TabFocusReason)
        m_cmbMemoList->setFocus(Qt::TabFocusReason);
    else
        m_txtMemo->setFocus(event->reason());
}

int uMultiMemo::MemoCount() const {
    return m_list.MemoCount();
}
int uMultiMemo::MemoIndex() const {
    return m_list.MemoIndex();
}
void uMultiMemo::setMemoIndex(int index) {
    m_list.setMemoIndex(index);
}
bool uMultiMemo::CreateNewMemo() {
    return m_list.CreateNewMemo();
}
bool uMultiMemo::DeleteActiveMemo() {
    return m_list.DeleteActiveMemo();
}
void uMultiMemo::DeleteMemo(int index) {
    m_list.DeleteMemo(index);
}
bool uMultiMemo::MovePrevMemo() {
    return m_list.MovePrevMemo();
}
bool uMultiMemo::MoveNextMemo() {
    return m_list.MoveNextMemo();
}

// ---- the view the memo list drives ----------------------------------------------------------

QString uMultiMemo::text() const {
    if (!m_txtMemo)
        return m_detached.text();
    return memopane::toStoredText(m_txtMemo->toPlainText());
}
void uMultiMemo::setText(const QString& text) {
    // Kept as the text field would give it back: line ends as CR LF.
    if (!m_txtMemo)
        return m_detached.setText(memopane::toStoredText(memopane::toViewText(text)));
    m_txtMemo->setPlainText(memopane::toViewText(text));
}
int uMultiMemo::caretPosition() const {
    if (!m_txtMemo)
        return m_detached.caretPosition();
    return memopane::viewToStoredPosition(m_txtMemo->toPlainText(),
                                          m_txtMemo->textCursor().position());
}
void uMultiMemo::setCaretPosition(int position) {
    if (!m_txtMemo) {
        // Never inside a line end, as in the text field.
        const QString stored = m_detached.text();
        const int view = memopane::storedToViewPosition(stored, position);
        return m_detached.setCaretPosition(
            memopane::viewToStoredPosition(memopane::toViewText(stored), view));
    }
    QTextCursor cursor = m_txtMemo->textCursor();
    cursor.setPosition(memopane::storedToViewPosition(text(), position));
    m_txtMemo->setTextCursor(cursor);
}
QString uMultiMemo::titleText() const {
    if (!m_txtMemo)
        return m_detached.titleText();
    return m_cmbMemoList->lineEdit()->text();
}
void uMultiMemo::setTitleText(const QString& title) {
    if (!m_txtMemo)
        return m_detached.setTitleText(title);
    m_cmbMemoList->lineEdit()->setText(title);
}
void uMultiMemo::clearTitleSelection() {
    if (!m_txtMemo)
        return;
    m_cmbMemoList->lineEdit()->deselect();
}
void uMultiMemo::clearTitles() {
    if (!m_txtMemo)
        return m_detached.clearTitles();
    m_cmbMemoList->clear();
}
void uMultiMemo::appendTitle(const QString& title) {
    if (!m_txtMemo)
        return m_detached.appendTitle(title);
    // Adding the first entry makes it current, which would overwrite the title field.
    const QString field = titleText();
    m_cmbMemoList->addItem(title);
    setTitleText(field);
}
void uMultiMemo::removeTitle(int row) {
    if (!m_txtMemo)
        return m_detached.removeTitle(row);
    const QString field = titleText();
    m_cmbMemoList->removeItem(row);
    setTitleText(field);
}
QString uMultiMemo::titleAt(int row) const {
    if (!m_txtMemo)
        return m_detached.titleAt(row);
    return m_cmbMemoList->itemText(row);
}
void uMultiMemo::setTitleAt(int row, const QString& title) {
    if (!m_txtMemo)
        return m_detached.setTitleAt(row, title);
    // Changing the current entry rewrites the title field; the field keeps its own text.
    const QString field = titleText();
    m_cmbMemoList->setItemText(row, title);
    if (row != m_cmbMemoList->currentIndex())
        return;
    setTitleText(field);
}
int uMultiMemo::selectedTitleRow() const {
    if (!m_txtMemo)
        return m_detached.selectedTitleRow();
    return m_cmbMemoList->currentIndex();
}
void uMultiMemo::selectTitleRow(int row) {
    if (!m_txtMemo)
        return m_detached.selectTitleRow(row);
    const QString field = titleText();
    m_cmbMemoList->setCurrentIndex(row);
    setTitleText(field);
}
void uMultiMemo::showPosition(const QString& counter, bool previousEnabled, bool nextEnabled) {
    if (!m_txtMemo)
        return m_detached.showPosition(counter, previousEnabled, nextEnabled);
    m_lblCounter->setText(counter);
    m_cmdPrev->setEnabled(previousEnabled);
    m_cmdNext->setEnabled(nextEnabled);
}

// Without a readable memo file nothing typed here could be saved: the pane says why instead.
void uMultiMemo::setWritable(bool writable, const QString& reason) {
    // Controls not built yet are writable when they are; only a refusal needs them now.
    if (!m_txtMemo && writable)
        return;
    ensureControls();
    m_txtMemo->setReadOnly(!writable);
    m_txtMemo->setPlaceholderText(writable ? QString() : reason);
    m_cmbMemoList->setEnabled(writable);
    m_cmdNew->setEnabled(writable);
    m_cmdDelete->setEnabled(writable);
}

bool uMultiMemo::DropdownTitle() {
    ensureControls();
    m_cmbMemoList->setFocus(Qt::OtherFocusReason);
    m_cmbMemoList->showPopup();
    return true;
}

bool uMultiMemo::ExecuteMemoLine() {
    ensureControls();
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
    if (!m_txtMemo)
        return;
    const int barWidth = m_picBar->width();
    const int barHeight = m_picBar->height();
    const int counterWidth = m_picCounter->width();
    m_picBar->move(0, 0);
    const int titleWidth = qMax(0, width() - barWidth - counterWidth);
    m_cmbMemoList->setGeometry(barWidth, 0, titleWidth, barHeight);
    m_picCounter->move(barWidth + titleWidth, 0);
    m_txtMemo->setGeometry(0, barHeight, width(), qMax(0, height() - barHeight));
    if (m_findView)
        m_findView->setGeometry(m_txtMemo->geometry());
}

bool uMultiMemo::openFind(const QString& query) {
    if (!isFindableQuery(query))
        return false;
    ensureControls();
    if (!m_findView) {
        m_findView = new MemoFindView(this);
        connect(m_findView, &MemoFindView::hitClicked, this, &uMultiMemo::findHitClicked);
    }
    m_findView->setMemos(m_list.memosAsShown());
    m_findView->setQuery(query);
    m_findView->setGeometry(m_txtMemo->geometry());
    m_findView->show();
    m_findView->raise();
    m_txtMemo->hide();
    return true;
}

void uMultiMemo::setFindQuery(const QString& query) {
    if (isFindOpen())
        m_findView->setQuery(query);
}

bool uMultiMemo::isFindOpen() const {
    return m_findView && !m_findView->isHidden();
}

void uMultiMemo::moveFindSelection(int rows) {
    if (isFindOpen())
        m_findView->moveSelection(rows);
}

bool uMultiMemo::jumpToFoundLine() {
    if (!isFindOpen())
        return false;
    const std::optional<FindHit> hit = m_findView->selectedHit();
    if (!hit)
        return false;
    closeFind();
    m_list.setMemoIndex(hit->memo);
    // The memo as shown now; it may have grown at its end since the view opened.
    const QString stored = text();
    const int start = std::clamp(hit->start, 0, int(stored.size()));
    const int end = std::clamp(hit->start + hit->length, start, int(stored.size()));
    QTextCursor cursor = m_txtMemo->textCursor();
    cursor.setPosition(memopane::storedToViewPosition(stored, start));
    cursor.setPosition(memopane::storedToViewPosition(stored, end), QTextCursor::KeepAnchor);
    m_txtMemo->setTextCursor(cursor);
    m_txtMemo->ensureCursorVisible();
    return true;
}

void uMultiMemo::closeFind() {
    if (!isFindOpen())
        return;
    m_findView->hide();
    m_findView->setMemos({}); // the copy of the memos goes with the view
    m_txtMemo->show();
}

bool uMultiMemo::isTitleListOpen() const {
    return m_cmbMemoList && m_cmbMemoList->view() && m_cmbMemoList->view()->isVisible();
}

bool uMultiMemo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return routeKey(watched, static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool uMultiMemo::routeKey(QObject* watched, QKeyEvent* event) {
    const bool inTitle = watched == m_cmbMemoList;
    const platform::KeyStroke stroke = platform::keyStrokeFromEvent(*event);
    int keyCode = stroke.keyCode;
    int shift = stroke.shift;
    if (event->type() == QEvent::KeyRelease) {
        emit KeyUp(keyCode, shift);
        if (keyCode == 0 && stroke.keyCode != 0)
            return true;
        if (inTitle)
            onTitleKeyReleased();
        return false;
    }
    // The owner sees every key first; a code set to 0 swallows it.
    emit KeyDown(keyCode, shift);
    if (keyCode == 0 && stroke.keyCode != 0)
        return true;
    if (int character = platform::typedCharacter(*event); character != 0) {
        emit KeyPress(character);
        if (character == 0)
            return true;
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

} // namespace memo
