#include "OpenFileDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace settings_dialog {

namespace {

OpenFileDialogHandler& handler() {
    static OpenFileDialogHandler h;
    return h;
}

// "Text|*.txt|All|*.*" -> "Text (*.txt);;All (*.*)"
QString platformFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(';', ' ') +
                       QLatin1Char(')');
    return entries.join(QStringLiteral(";;"));
}

} // namespace

OpenFileDialogHandler setOpenFileDialogHandler(OpenFileDialogHandler newHandler) {
    return std::exchange(handler(), std::move(newHandler));
}

QString ShowOpenFileDialog(QWidget* owner, const QString& title, const QString& initialFolder,
                           const QString& fileName, const QString& filter) {
    OpenFileRequest request;
    request.title =
        title.isEmpty() ? QCoreApplication::translate("OpenFileDialog", "ﾌｧｲﾙを開く") : title;
    request.initialFolder = initialFolder;
    request.fileName = fileName;
    request.filter = platformFilter(filter);
    if (handler())
        return handler()(request);
    QFileDialog dialog(owner, request.title, initialFolder, request.filter);
    dialog.setFileMode(QFileDialog::AnyFile); // the file need not exist yet
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setLabelText(QFileDialog::Accept,
                        QCoreApplication::translate("OpenFileDialog", "開く(&O)"));
    dialog.setLabelText(QFileDialog::Reject,
                        QCoreApplication::translate("OpenFileDialog", "キャンセル"));
    if (!fileName.isEmpty())
        dialog.selectFile(QDir(initialFolder).filePath(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().front();
}

} // namespace settings_dialog
