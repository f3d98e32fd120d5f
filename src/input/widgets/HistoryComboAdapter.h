#pragma once

#include "input/IHistoryComboBox.h"

#include <QObject>
#include <QPointer>
class QComboBox;

namespace input {

class CMRUCombo;

// Attaches a CMRUCombo to an editable QComboBox: gives the history the box's text, caret and
// list, and forwards the box's edits, key-downs and Tab to it. Qt's own completer and insertion
// on Enter are switched off; the history does both.
//
// Tab while a completion is selected accepts it and stays in the box; without a selection Tab
// moves the focus as usual.
class HistoryComboAdapter : public QObject, public IHistoryComboBox {
    Q_OBJECT
public:
    HistoryComboAdapter(QComboBox& comboBox, CMRUCombo& history, QObject* parent = nullptr);
    ~HistoryComboAdapter() override;

    QString text() const override;
    void setText(const QString& text) override;
    int selectionStart() const override;
    int selectionLength() const override;
    void setSelection(int start, int length) override;
    QStringList items() const override;
    void insertItem(int index, const QString& text) override;
    void removeItem(int index) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QComboBox> m_combo;
    CMRUCombo& m_history;
    // The drop-down texts, kept so that a completion step does not walk the model.
    mutable QStringList m_items;
    mutable bool m_itemsValid = false;
};

} // namespace input
