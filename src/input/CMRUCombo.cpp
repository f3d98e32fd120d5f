#include "input/CMRUCombo.h"

namespace input {

namespace {

constexpr int kTab = 9;

// The typed text, then what all entries that begin with it share after it; a null string when
// none begins with it. `sensitivity` applies to both tests.
QString completionOf(const QString& typed, const QStringList& entries,
                     Qt::CaseSensitivity sensitivity = Qt::CaseSensitive) {
    QString common;
    bool found = false;
    for (const QString& entry : entries) {
        if (!entry.startsWith(typed, sensitivity))
            continue;
        const QString candidate = typed + entry.mid(typed.size());
        if (!found) {
            common = candidate;
            found = true;
            continue;
        }
        qsizetype same = typed.size();
        const qsizetype limit = std::min(common.size(), candidate.size());
        while (same < limit && QStringView(common).mid(same, 1).compare(
                                   QStringView(candidate).mid(same, 1), sensitivity) == 0)
            ++same;
        common.truncate(same);
    }
    return found ? common : QString();
}

} // namespace

void CMRUCombo::setComboBox(IHistoryComboBox* comboBox) {
    m_combo = comboBox;
    m_history.clear();
    m_max = 0;
}

void CMRUCombo::setMax(short max) {
    m_max = max;
    TrimMRU();
}

void CMRUCombo::TrimMRU() {
    if (m_max < 0)
        return;
    while (m_history.size() > m_max)
        m_history.removeLast();
}

void CMRUCombo::AddMRU(const QString& text, bool addFirst) {
    const QString line = text.isEmpty() && m_combo ? m_combo->text() : text;
    if (line.isEmpty())
        return; // an empty line is no history
    for (qsizetype i = 0; i < m_history.size(); ++i) {
        if (m_history[i].compare(line, Qt::CaseInsensitive) == 0) {
            m_history.removeAt(i);
            break;
        }
    }
    if (addFirst && !m_history.isEmpty())
        m_history.prepend(line);
    else
        m_history.append(line);
    TrimMRU();
    AddMRUTemp(line, addFirst);
}

void CMRUCombo::ClearMRU() {
    m_history.clear();
    if (!m_combo)
        return;
    const QString text = m_combo->text();
    for (qsizetype i = m_combo->items().size() - 1; i >= 0; --i)
        m_combo->removeItem(int(i));
    m_combo->setText(text);
}

void CMRUCombo::AddMRUTemp(const QString& text, bool addFirst) {
    if (!m_combo)
        return;
    const QString remembered = m_combo->text();
    const QString line = text.isEmpty() ? remembered : text;
    if (line.isEmpty())
        return;
    // Changing the list can rewrite the edit text of some combo boxes; none of this is typing.
    m_busy = true;
    const QStringList entries = m_combo->items();
    const qsizetype existing = entries.indexOf(line);
    if (existing >= 0)
        m_combo->removeItem(int(existing));
    m_combo->insertItem(addFirst ? 0 : int(entries.size() - (existing >= 0 ? 1 : 0)), line);
    TrimMRU();
    m_combo->setText(remembered);
    m_busy = false;
}

void CMRUCombo::comboChanged() {
    if (m_busy || !m_combo)
        return;
    const QString text = m_combo->text();
    if (text == m_lastText)
        return;
    const int caret = m_combo->selectionStart();
    if (caret <= m_caretAtKeyDown) {
        m_caretAtKeyDown = caret; // deleting or moving: never complete
        return;
    }
    QString completed = completionOf(text, m_combo->items());
    if (completed.isNull())
        completed = fallbackCompletionOf(text);
    if (completed.isNull()) {
        m_lastText = text;
        return;
    }
    const int typed = int(text.size());
    m_caretAtKeyDown = typed;
    m_busy = true;
    m_combo->setText(completed);
    m_busy = false;
    m_combo->setSelection(typed, int(completed.size()) - typed);
    m_lastText = m_combo->text();
}

// Completion from the fallback names, which letter case does not decide.
QString CMRUCombo::fallbackCompletionOf(const QString& typed) {
    if (!m_fallbackSource || typed.isEmpty())
        return QString();
    if (!m_fallback)
        m_fallback = m_fallbackSource();
    return completionOf(typed, *m_fallback, Qt::CaseInsensitive);
}

void CMRUCombo::comboKeyDown() {
    if (m_combo)
        m_caretAtKeyDown = m_combo->selectionStart();
}

bool CMRUCombo::comboKeyPress(int& keyAscii) {
    if (keyAscii != kTab || !m_combo)
        return false;
    const int length = m_combo->selectionLength();
    if (length <= 0)
        return false;
    m_combo->setSelection(m_combo->selectionStart() + length, 0);
    return true;
}

} // namespace input
