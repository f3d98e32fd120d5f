#pragma once

#include "engine/CommandSource.h"

#include <QWidget>

namespace config {
class CIniFile;
}
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
namespace settings_dialog {

class IPropertyHost;

// The "コマンド" page: the registered commands in a list, edited one at a time in three boxes and
// tried against the unsaved list. Nothing reaches the settings file before the dialog saves.
class CommandPage : public QWidget, public engine::ICommandList {
    Q_OBJECT

public:
    CommandPage(IPropertyHost& host, QWidget* parent = nullptr);

    // Fills the list from section "Command": keys lower-cased, values split at the first comma.
    void load(config::CIniFile& ini);
    // Replaces section "Command" by the list, in the list's order. The store is not saved here.
    void save(config::CIniFile& ini) const;

    // engine::ICommandList
    QString templateOf(const QString& name) const override;

    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdCommandTest_Click();
    void selectRow(int index);

    QTreeWidget* lsvCommand() const { return m_lsvCommand; }
    QLineEdit* txtCommandName() const { return m_txtCommandName; }
    QLineEdit* txtCommand() const { return m_txtCommand; }
    QLineEdit* txtCommandContent() const { return m_txtCommandContent; }
    QLineEdit* txtCommandTest() const { return m_txtCommandTest; }
    QPlainTextEdit* txtCommandResult() const { return m_txtCommandResult; }
    QPushButton* cmdAdd() const { return m_cmdAdd; }
    QPushButton* cmdDelete() const { return m_cmdDelete; }
    QPushButton* cmdCommandTest() const { return m_cmdCommandTest; }
    // The boxes whose focus makes cmdAdd the default button, and the test box for cmdCommandTest.
    QList<QLineEdit*> editBoxes() const;

signals:
    // A row was added, replaced or deleted.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* rowOf(const QString& key) const;
    void addRow(const QString& key, const QString& name, const QString& content);
    void rowAdded(QTreeWidgetItem* row);
    int warn(const QString& text, int style);

    IPropertyHost& m_host;
    QTreeWidget* m_lsvCommand = nullptr;
    QLineEdit* m_txtCommandName = nullptr;
    QLineEdit* m_txtCommand = nullptr;
    QLineEdit* m_txtCommandContent = nullptr;
    QLineEdit* m_txtCommandTest = nullptr;
    QPlainTextEdit* m_txtCommandResult = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdDelete = nullptr;
    QPushButton* m_cmdCommandTest = nullptr;
};

} // namespace settings_dialog
