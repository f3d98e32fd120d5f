// Shared main of every test binary: a private sandbox for HOME and the XDG folders, and a
// QApplication (offscreen unless a display is asked for) so widget code can run in any test.
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTranslator>
#include <gtest/gtest.h>

#include <cstdio>
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
    // The Japanese texts are the program's own; a run of the English ones asks for them with
    // SCRIVLET_TEST_LANGUAGE=en and names the folder of the compiled translation.
    const QByteArray language = qgetenv("SCRIVLET_TEST_LANGUAGE");
    setenv("LANGUAGE", language.isEmpty() ? "ja" : language.constData(), 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    QTranslator translation;
    const QString translations = qEnvironmentVariable("SCRIVLET_TEST_QM_DIR");
    if (!language.isEmpty() && language != "ja" && !translations.isEmpty()) {
        if (!translation.load(QStringLiteral("scrivlet_") + QString::fromLatin1(language),
                              translations)) {
            fprintf(stderr, "no translation %s in %s\n", language.constData(),
                    qPrintable(translations));
            return 1;
        }
        QApplication::installTranslator(&translation);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
