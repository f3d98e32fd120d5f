#include "app/AppInfo.h"
#include "app/Startup.h"
#include "platform/gui/MessageBoxDialog.h"
#include "platform/gui/OpenWithDialog.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::ProductName());
    QApplication::setApplicationVersion(app::VersionText(true));
    platform::installMessageBoxDialog();
    // A file without a usable association offers the choice of an application.
    platform::installOpenWithDialog();
    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return app::Main(application, arguments);
}
