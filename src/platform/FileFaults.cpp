#include "FileFaults.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace platform {

namespace {

struct Faults {
    QMutex mutex;
    QHash<QString, int> byKey;
};

Faults& faults() {
    static Faults f;
    return f;
}

QString keyOf(const QString& path, FileStep step) {
    return QString::number(int(step)) + QLatin1Char(':') + QFileInfo(path).absoluteFilePath();
}

} // namespace

void injectFileFault(const QString& path, FileStep step, int errorNumber) {
    QMutexLocker lock(&faults().mutex);
    faults().byKey.insert(keyOf(path, step), errorNumber);
}

void clearFileFaults() {
    QMutexLocker lock(&faults().mutex);
    faults().byKey.clear();
}

int injectedFileFault(const QString& path, FileStep step) {
    QMutexLocker lock(&faults().mutex);
    if (faults().byKey.isEmpty())
        return 0;
    return faults().byKey.value(keyOf(path, step), 0);
}

} // namespace platform
