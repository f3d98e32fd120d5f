#include "ProgramIcon.h"

#include <QApplication>

// Outside any namespace, as the resource macro requires.
static void registerIconResources() {
    Q_INIT_RESOURCE(scrivlet_icons);
}

namespace app {

QIcon ProgramIcon() {
    static const QIcon icon = [] {
        registerIconResources();
        QIcon built;
        // Up to 64 px: X11 puts every size of a window's icon into a property the window manager
        // reads again at each map, and the larger ones (350 KB with 128 and 256) slowed down every
        // show of the bar and of each box.
        for (const int size : {16, 22, 24, 32, 48, 64})
            built.addFile(QStringLiteral(":/icons/%1x%1/scrivlet.png").arg(size),
                          QSize(size, size));
        return built;
    }();
    return icon;
}

void InstallProgramIcon() {
    static const bool installed = [] {
        QApplication::setWindowIcon(ProgramIcon());
        return true;
    }();
    (void)installed;
}

} // namespace app
