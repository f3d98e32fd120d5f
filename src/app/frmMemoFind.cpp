// Finding in memos from the input line: the find view of the memo pane, fed and steered from the
// input line while it is open.
#include "frmMemo.h"

#include "memo/MemoFinder.h"
#include "memo/pane/uMultiMemo.h"
#include "platform/gui/KeyStroke.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
// How far PageUp and PageDown move through the results.
constexpr int kFindPageRows = 10;
} // namespace

bool frmMemo::FindMemo() {
    if (memoPaneIsActive())
        return false;
    const QString query = typedQuery();
    if (m_ctlMemo->isFindOpen()) {
        m_ctlMemo->setFindQuery(query);
        return true;
    }
    if (!memo::isFindableQuery(query))
        return false;
    const QString inputText = m_cmbMemo->currentText();
    const int memoView = m_memoView;
    SetMemoView(1);
    if (!m_ctlMemo->openFind(query)) {
        SetMemoView(memoView);
        return false;
    }
    m_findReturn = FindReturn{inputText, memoView};
    return true;
}

// The text the user typed: an inline completion the history offers (selected at the end of the
// line) is not part of it.
QString frmMemo::typedQuery() const {
    const QLineEdit* edit = m_cmbMemo->lineEdit();
    QString text = edit->text();
    if (edit->hasSelectedText() && edit->selectionStart() > 0 &&
        edit->selectionEnd() == text.size())
        text.truncate(edit->selectionStart());
    return text;
}

void frmMemo::onInputLineEdited() {
    if (m_ctlMemo->isFindOpen())
        m_ctlMemo->setFindQuery(typedQuery());
}

// While the find view is open, the keys that move through it, jump and close it are its own;
// every other key goes its usual way (typing narrows the view).
bool frmMemo::routeFindKey(QKeyEvent* event) {
    if (!m_ctlMemo->isFindOpen() || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
        m_ctlMemo->moveFindSelection(-1);
        return true;
    case Qt::Key_Down:
        m_ctlMemo->moveFindSelection(1);
        return true;
    case Qt::Key_PageUp:
        m_ctlMemo->moveFindSelection(-kFindPageRows);
        return true;
    case Qt::Key_PageDown:
        m_ctlMemo->moveFindSelection(kFindPageRows);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        jumpToFoundLine();
        return true;
    case Qt::Key_Escape:
        endFind(true);
        return true;
    default:
        return false;
    }
}

void frmMemo::jumpToFoundLine() {
    if (!m_ctlMemo->jumpToFoundLine())
        return;
    endFind(false);
    focusMemoPane();
}

void frmMemo::endFind(bool restoreMemoView) {
    m_ctlMemo->closeFind();
    if (!m_findReturn)
        return;
    const FindReturn back = *m_findReturn;
    m_findReturn.reset();
    m_cmbMemo->setEditText(back.inputText);
    if (restoreMemoView) {
        SetMemoView(back.memoView);
        focusInputLine();
    }
}
