#pragma once

#include <QString>
#include <QStringList>

namespace input {

// What the history needs of an editable combo box: its text, caret and selection, and its
// drop-down list. Positions count characters from 0. The widget side (HistoryComboAdapter for a
// QComboBox) also forwards the box's change, key-down and key-press events to CMRUCombo.
class IHistoryComboBox {
public:
    virtual ~IHistoryComboBox() = default;

    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    // The start of the selection, or the caret when nothing is selected.
    virtual int selectionStart() const = 0;
    virtual int selectionLength() const = 0;
    // Selects `length` characters from `start`; a length of 0 puts the caret at `start`.
    virtual void setSelection(int start, int length) = 0;

    // The drop-down list, top first.
    virtual QStringList items() const = 0;
    virtual void insertItem(int index, const QString& text) = 0;
    virtual void removeItem(int index) = 0;
};

} // namespace input
