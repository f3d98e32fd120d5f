#include "ProgramIcon.h"

// Outside any namespace, as the resource macro requires.
static void registerIconResources() {
    Q_INIT_RESOURCE(scrivlet_icons);
}

namespace app {

QIcon ProgramIcon() {
    static const QIcon icon = [] {
        registerIconResources();
        QIcon built;
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
            built.addFile(QStringLiteral(":/icons/%1x%1/scrivlet.png").arg(size),
                          QSize(size, size));
        return built;
    }();
    return icon;
}

} // namespace app
