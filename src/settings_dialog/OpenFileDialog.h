#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace settings_dialog {

// The open-file dialog (the module mdlComDlg): returns the chosen path, or "" when the user
// cancelled. An empty title becomes "ﾌｧｲﾙを開く"; `filter` alternates descriptions and patterns
// separated by "|". The file itself need not exist; its folder must.
QString ShowOpenFileDialog(QWidget* owner, const QString& title, const QString& initialFolder,
                           const QString& fileName, const QString& filter);

// Replaces the dialog (tests); an empty handler restores the real one.
struct OpenFileRequest {
    QString title;
    QString initialFolder;
    QString fileName;
    QString filter; // in the platform's form: "Text (*.txt);;All (*)"
};
using OpenFileDialogHandler = std::function<QString(const OpenFileRequest&)>;
OpenFileDialogHandler setOpenFileDialogHandler(OpenFileDialogHandler handler);

} // namespace settings_dialog
