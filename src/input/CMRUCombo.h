#pragma once

#include "input/IHistoryComboBox.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace input {

// The history of the input line and its completion while typing. Two lists: the history (lines
// of AddMRU, unique without regard to case, limited by Max, written to the section "MRU") and the
// combo box's drop-down list (every line added in this run, never trimmed). Typing extends the
// text to the longest text all matching drop-down entries share and selects the added tail.
class CMRUCombo {
public:
    // Attaches the combo box, starts an empty history and sets Max to 0.
    void setComboBox(IHistoryComboBox* comboBox);
    IHistoryComboBox* comboBox() const { return m_combo; }

    // The most entries the history keeps; -1 for no limit. Setting it trims the history.
    short Max() const { return m_max; }
    void setMax(short max);

    const QStringList& MRUList() const { return m_history; }

    // Puts the line ("" means the combo text) into the history and the drop-down list.
    void AddMRU(const QString& text, bool addFirst);
    // Puts the line into the drop-down list only.
    void AddMRUTemp(const QString& text, bool addFirst);
    // Forgets every line: the history and the drop-down list. The combo text stays.
    void ClearMRU();

    // Where completion looks when no drop-down entry begins with the typed text: names (the
    // installed applications'), matched ignoring letter case. Asked once, at the first need.
    void setFallbackCompletions(std::function<QStringList()> source) {
        m_fallbackSource = std::move(source);
        m_fallback.reset();
    }

    // Events of the attached combo box.
    void comboChanged();
    void comboKeyDown();
    // Tab with a selection moves the caret to its end, accepting a completion. Returns whether
    // it did; the key itself is left as it is.
    bool comboKeyPress(int& keyAscii);

private:
    void TrimMRU();
    QString fallbackCompletionOf(const QString& typed);

    IHistoryComboBox* m_combo = nullptr;
    QStringList m_history;
    short m_max = 10;
    int m_caretAtKeyDown = 0;
    QString m_lastText;
    bool m_busy = false;
    std::function<QStringList()> m_fallbackSource;
    std::optional<QStringList> m_fallback;
};

} // namespace input
