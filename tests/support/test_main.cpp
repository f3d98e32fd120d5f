// Shared main of every test binary: a private sandbox for HOME and the XDG folders, and a
// QApplication (offscreen unless a display is asked for) so widget code can run in any test.
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const QString root = testsupport::sandboxRoot();
    for (const char* sub : {"home", "config", "data", "cache", "runtime"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    setenv("HOME", qPrintable(root + QStringLiteral("/home")), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(root + QStringLiteral("/config")), 1);
    setenv("XDG_DATA_HOME", qPrintable(root + QStringLiteral("/data")), 1);
    setenv("XDG_CACHE_HOME", qPrintable(root + QStringLiteral("/cache")), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(root + QStringLiteral("/runtime")), 1);
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The Japanese texts are the program's own; a test of the English ones asks for them.
    setenv("LANGUAGE", "ja", 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
