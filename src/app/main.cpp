#include "app/AppInfo.h"
#include "app/ProgramIcon.h"
#include "app/Startup.h"
#include "app/Translations.h"
#include "platform/MessageBox.h"
#include "platform/gui/MessageBoxDialog.h"
#include "platform/gui/OpenWithDialog.h"
#include "platform/gui/WindowControl.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char* argv[]) {
    // The desktop knows the program by its desktop entry (Wayland app id, portal requests).
    QGuiApplication::setDesktopFileName(QStringLiteral("scrivlet"));
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::ProductName());
    QApplication::setApplicationVersion(app::VersionText(true));
    platform::setProgramBoxTitle(app::AppTitleWithVersion());
    app::installQtTranslations(application);
    // Not every window manager gives the focus back to the window a box was over when the box
    // closes (openbox leaves no window active), so the program hands it back itself: the user
    // goes on typing in the input line after an error box, as on other desktops.
    platform::setMessageBoxHandler([](const platform::MessageBoxRequest& request) {
        app::InstallProgramIcon();
        const QPointer<QWidget> owner = QApplication::activeWindow();
        const int answer = platform::runMessageBoxDialog(request);
        if (owner && owner->isVisible())
            platform::forceForeground(owner);
        return answer;
    });
    // A file without a usable association offers the choice of an application.
    platform::installOpenWithDialog();
    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return app::Main(application, arguments);
}
