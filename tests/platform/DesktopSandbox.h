#pragma once

// A desktop for shell tests inside the test's private folders: a marking program on a temporary
// PATH, and handler applications registered through desktop entries and mimeapps.list in the
// private XDG folders (a text editor, a file manager, a browser for https and a handler for
// scrivlet-test:). Every started program only writes a mark file with its arguments.
// Build it before the first association lookup of the process: GIO reads the folders once.

#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cstdlib>

#include <gtest/gtest.h>

namespace testsupport {

class DesktopSandbox {
public:
    QString root;
    QString binDir;  // on PATH: scrivlet-mark-prog
    QString markDir; // one file per start, named after the first argument

    DesktopSandbox() {
        root = freshFolder(QStringLiteral("desktop"));
        binDir = root + QStringLiteral("/bin");
        markDir = root + QStringLiteral("/marks");
        QDir().mkpath(markDir);
        // Writes its arguments, one per line, to marks/<first argument>.
        const QByteArray mark =
            "#!/bin/sh\n"
            "out=\"" +
            markDir.toUtf8() +
            "/$1\"\n"
            "shift\n"
            "printf '%s\\n' \"$@\" > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n";
        writeExecutable(binDir + QStringLiteral("/scrivlet-mark-prog"), mark);
        const QString markProgram = binDir + QStringLiteral("/scrivlet-mark-prog");

        const QString apps = dataHome() + QStringLiteral("/applications");
        writeFile(apps + QStringLiteral("/scrivlet-test-text.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Test Text\n"
                  "Exec=" +
                      markProgram.toUtf8() +
                      " text %U\n"
                      "MimeType=text/plain;\nActions=second;\n\n"
                      "[Desktop Action second]\nName=Second\n"
                      "Exec=" +
                      markProgram.toUtf8() + " action\n");
        writeFile(apps + QStringLiteral("/scrivlet-test-url.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Test Url\n"
                  "Exec=" +
                      markProgram.toUtf8() +
                      " url %u\n"
                      "MimeType=x-scheme-handler/scrivlet-test;\n");
        writeFile(apps + QStringLiteral("/scrivlet-test-web.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Test Web\n"
                  "Exec=" +
                      markProgram.toUtf8() +
                      " web %u\n"
                      "MimeType=x-scheme-handler/https;\n");
        writeFile(apps + QStringLiteral("/scrivlet-test-folder.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Test Folder\n"
                  "Exec=" +
                      markProgram.toUtf8() +
                      " folder %U\n"
                      "MimeType=inode/directory;\n");
        // A terminal program (its entry asks for a terminal) and an application known by its
        // menu name only.
        writeExecutable(binDir + QStringLiteral("/scrivlet-term-prog"),
                        "#!/bin/sh\nexec '" + markProgram.toUtf8() + "' term \"$@\"\n");
        writeFile(apps + QStringLiteral("/scrivlet-test-term.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Scrivlet Term\n"
                  "Exec=scrivlet-term-prog\nTerminal=true\n");
        writeFile(apps + QStringLiteral("/scrivlet-test-viewer.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Scrivlet Viewer\n"
                  "Exec=" +
                      markProgram.toUtf8() + " viewer %F\n");
        writeFile(configHome() + QStringLiteral("/mimeapps.list"),
                  "[Default Applications]\n"
                  "text/plain=scrivlet-test-text.desktop\n"
                  "inode/directory=scrivlet-test-folder.desktop\n"
                  "x-scheme-handler/scrivlet-test=scrivlet-test-url.desktop\n"
                  "x-scheme-handler/https=scrivlet-test-web.desktop\n");

        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", binDir.toUtf8() + (path.isEmpty() ? QByteArray() : ":" + path));
    }

    static QString dataHome() { return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")); }
    static QString configHome() { return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")); }

    static void writeExecutable(const QString& path, const QByteArray& content) {
        writeFile(path, content);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The arguments a start left under `tag`, or nullopt when none came within a few seconds.
    std::optional<QStringList> waitForMark(const QString& tag, int timeoutMs = 10000) const {
        const QString file = markDir + QLatin1Char('/') + tag;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (QFile::exists(file)) {
                QString text = QString::fromUtf8(readFile(file));
                if (text.endsWith(QLatin1Char('\n')))
                    text.chop(1);
                return text.split(QLatin1Char('\n'));
            }
            QThread::msleep(20);
        }
        return std::nullopt;
    }
    bool hasMark(const QString& tag) const {
        return QFile::exists(markDir + QLatin1Char('/') + tag);
    }
};

// Tests that share one sandboxed desktop per suite; each test starts with no marks.
class SandboxedDesktopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { desktop = new DesktopSandbox; }
    static void TearDownTestSuite() {
        delete desktop;
        desktop = nullptr;
    }
    void SetUp() override {
        for (const QString& entry : QDir(desktop->markDir).entryList(QDir::Files))
            QFile::remove(desktop->markDir + QLatin1Char('/') + entry);
    }
    static inline DesktopSandbox* desktop = nullptr;
};

} // namespace testsupport
