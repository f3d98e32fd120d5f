#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QLabel;

namespace platform {

// Lets the user choose the program that opens a file: the applications registered for the file's
// type first, then all others, plus a field for a command line of one's own. Accepting starts
// the choice with the file; the dialog then closes.
class OpenWithDialog : public QDialog {
    Q_OBJECT
public:
    explicit OpenWithDialog(const QString& file, QWidget* parent = nullptr);

    QString file() const { return m_file; }
    // Desktop ids in list order: those for the type, then the rest.
    QStringList applicationIds() const;
    int typeApplicationCount() const { return m_typeCount; }

    bool selectApplication(const QString& desktopId);
    void setCommand(const QString& commandLine);

    // True when the last accept started something.
    bool started() const { return m_started; }

public slots:
    void accept() override;

private:
    void fillApplications();
    bool startChoice();

    QString m_file;
    QLabel* m_error = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_command = nullptr;
    int m_typeCount = 0;
    bool m_started = false;
};

// Makes offerOpenWith show this dialog, modal: it returns once the user chose or cancelled.
void installOpenWithDialog();

} // namespace platform
