#include "Startup.h"

#include "PropertyDialog.h"
#include "SessionEnd.h"
#include "frmMemo.h"
#include "instance/CPrevInstance.h"

#include <QApplication>

namespace app {

int Main(QApplication& application, const QStringList& arguments) {
    // The program is resident: hiding its last window must not end it.
    application.setQuitOnLastWindowClosed(false);

    auto window = std::make_unique<frmMemo>();
    window->winId();

    auto* guard = new CPrevInstance;
    window->setPrevInstance(guard);
    if (guard->CheckPrevInstance(window.get())) {
        // The running instance shows itself; this start saves nothing and ends.
        window->Unload();
        return 0;
    }

    QObject::connect(window.get(), &frmMemo::unloaded, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    // An end of the session unloads the window like a close request, without a question.
    QObject::connect(&application, &QApplication::aboutToQuit, window.get(),
                     [w = window.get()] { w->Unload(); });
    SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &SessionEnd::requested, window.get(),
                     [w = window.get()] { w->Unload(); });

    window->setSettingsDialog(&showPropertyDialog);
    window->Initialize(arguments);
    connectTimers(*window);
    return application.exec();
}

} // namespace app
