#include "input/widgets/HistoryComboAdapter.h"

#include "input/CMRUCombo.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace input {

HistoryComboAdapter::HistoryComboAdapter(QComboBox& comboBox, CMRUCombo& history, QObject* parent)
    : QObject(parent), m_combo(&comboBox), m_history(history) {
    comboBox.setEditable(true);
    comboBox.setCompleter(nullptr);
    comboBox.setInsertPolicy(QComboBox::NoInsert);
    comboBox.setDuplicatesEnabled(true);

    // Keys reach an editable combo box first (it forwards them to its line edit without the line
    // edit's filters seeing them), but code and tests may send them to the line edit directly.
    QLineEdit* edit = comboBox.lineEdit();
    comboBox.installEventFilter(this);
    edit->installEventFilter(this);
    // Only the user's edits complete; text set by the program is no typing.
    connect(edit, &QLineEdit::textEdited, this, [this] { m_history.comboChanged(); });

    const auto invalidate = [this] { m_itemsValid = false; };
    QAbstractItemModel* model = comboBox.model();
    connect(model, &QAbstractItemModel::rowsInserted, this, invalidate);
    connect(model, &QAbstractItemModel::rowsRemoved, this, invalidate);
    connect(model, &QAbstractItemModel::rowsMoved, this, invalidate);
    connect(model, &QAbstractItemModel::dataChanged, this, invalidate);
    connect(model, &QAbstractItemModel::modelReset, this, invalidate);
    connect(model, &QAbstractItemModel::layoutChanged, this, invalidate);

    history.setComboBox(this);
}

HistoryComboAdapter::~HistoryComboAdapter() {
    if (m_history.comboBox() == this)
        m_history.setComboBox(nullptr);
}

QString HistoryComboAdapter::text() const {
    return m_combo ? m_combo->currentText() : QString();
}

void HistoryComboAdapter::setText(const QString& text) {
    if (m_combo)
        m_combo->setEditText(text);
}

int HistoryComboAdapter::selectionStart() const {
    if (!m_combo)
        return 0;
    const QLineEdit* edit = m_combo->lineEdit();
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int HistoryComboAdapter::selectionLength() const {
    return m_combo ? int(m_combo->lineEdit()->selectedText().size()) : 0;
}

void HistoryComboAdapter::setSelection(int start, int length) {
    if (!m_combo)
        return;
    QLineEdit* edit = m_combo->lineEdit();
    if (length > 0)
        edit->setSelection(start, length);
    else
        edit->setCursorPosition(start);
}

QStringList HistoryComboAdapter::items() const {
    if (!m_combo)
        return {};
    if (!m_itemsValid) {
        m_items.clear();
        m_items.reserve(m_combo->count());
        for (int i = 0; i < m_combo->count(); ++i)
            m_items.append(m_combo->itemText(i));
        m_itemsValid = true;
    }
    return m_items;
}

void HistoryComboAdapter::insertItem(int index, const QString& text) {
    if (m_combo)
        m_combo->insertItem(index, text);
}

void HistoryComboAdapter::removeItem(int index) {
    if (m_combo)
        m_combo->removeItem(index);
}

bool HistoryComboAdapter::eventFilter(QObject* watched, QEvent* event) {
    const bool ours = m_combo && (watched == m_combo || watched == m_combo->lineEdit());
    if (ours && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        m_history.comboKeyDown();
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            int character = '\t';
            if (m_history.comboKeyPress(character))
                return true; // the completion was accepted; the focus stays
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace input
