// Starting what the menu shows by its name, and terminal programs in the user's terminal, on a
// private desktop: its own XDG_DATA_DIRS with a few desktop entries, and stand-in programs (the
// applications, vim, htop and the terminal) that only record how they were started.

#include "platform/DesktopApplications.h"
#include "TestEnvironment.h"
#include "platform/ShellExecute.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

class DesktopApplications : public ::testing::Test {
protected:
    static inline QString root, bin, marks;

    static void writeExecutable(const QString& path, const QByteArray& content) {
        testsupport::writeFile(path, content);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // A program that records its arguments, one a line, under marks/<tag>.
    static QByteArray recorder(const QString& tag) {
        return "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + marks.toUtf8() + "/" + tag.toUtf8() +
               ".tmp' && mv '" + marks.toUtf8() + "/" + tag.toUtf8() + ".tmp' '" + marks.toUtf8() +
               "/" + tag.toUtf8() + "'\n";
    }
    static void entry(const char* id, const QByteArray& body) {
        testsupport::writeFile(root + QStringLiteral("/share/applications/") +
                                   QString::fromLatin1(id),
                               "[Desktop Entry]\nType=Application\n" + body);
    }

    // GIO reads its folders once: the desktop is complete before the first look-up.
    static void SetUpTestSuite() {
        root = testsupport::freshFolder(QStringLiteral("desktop"));
        bin = root + QStringLiteral("/bin");
        marks = root + QStringLiteral("/marks");
        QDir().mkpath(marks);
        const QString opt = root + QStringLiteral("/opt");
        for (const char* program : {"files-app", "a-editor", "b-editor", "settings-app",
                                    "hidden-app", "background-app", "missing-app"})
            writeExecutable(opt + QLatin1Char('/') + QLatin1String(program),
                            recorder(QLatin1String(program)));
        writeExecutable(opt + QStringLiteral("/display-prog"),
                        recorder(QStringLiteral("display-prog")));
        writeExecutable(opt + QStringLiteral("/imageviewer-prog"),
                        recorder(QStringLiteral("imageviewer-prog")));
        writeExecutable(bin + QStringLiteral("/vim"), recorder(QStringLiteral("vim")));
        writeExecutable(bin + QStringLiteral("/htop"), recorder(QStringLiteral("htop")));
        const QByteArray o = opt.toUtf8();

        entry("org.example.Files.desktop",
              "Name=Files\nName[ja]=ファイル\nExec=" + o + "/files-app %U\n");
        entry("org.example.Settings.desktop",
              "Name=設定ツール\nName[en]=Settings Tool\nExec=" + o + "/settings-app\n");
        entry("a-editor.desktop", "Name=Editor\nExec=" + o + "/a-editor %F\n");
        entry("b-editor.desktop", "Name=editor\nExec=" + o + "/b-editor %F\n");
        entry("display-im6.q16.desktop",
              "Name=ImageMagick (color depth=q16)\nExec=" + o + "/display-prog -nostdin %F\n");
        entry("viewer.desktop", "Name=Image Viewer\nExec=" + o + "/imageviewer-prog %f\n");
        entry("vim.desktop", "Name=Vim\nName[ja]=Vim エディター\nExec=vim %F\nTerminal=true\n");
        entry("htop.desktop", "Name=Htop\nExec=htop\nTerminal=true\nNoDisplay=true\n");
        entry("hidden.desktop", "Name=Hidden App\nExec=" + o + "/hidden-app\nHidden=true\n");
        entry("background.desktop",
              "Name=Background\nExec=" + o + "/background-app\nNoDisplay=true\n");
        entry("missing.desktop",
              "Name=Missing\nTryExec=scrivlet-no-such-program\nExec=" + o + "/missing-app\n");

        setenv("XDG_DATA_DIRS", qPrintable(root + QStringLiteral("/share")), 1);
        const QByteArray path = qgetenv("PATH");
        setenv("PATH", qPrintable(bin + QStringLiteral(":") + QString::fromUtf8(path)), 1);
    }

    void SetUp() override {
        for (const QString& name : QDir(marks).entryList(QDir::Files))
            QFile::remove(marks + QLatin1Char('/') + name);
        QFile::remove(bin + QStringLiteral("/xdg-terminal-exec"));
        QFile::remove(bin + QStringLiteral("/x-terminal-emulator"));
        writeExecutable(bin + QStringLiteral("/xdg-terminal-exec"),
                        recorder(QStringLiteral("terminal")));
    }

    // The arguments a start recorded under `tag`, or nothing when none came within seconds.
    static std::optional<QStringList> mark(const QString& tag) {
        const QString file = marks + QLatin1Char('/') + tag;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            if (QFile::exists(file)) {
                QString text = QString::fromUtf8(testsupport::readFile(file));
                if (text.endsWith(QLatin1Char('\n')))
                    text.chop(1);
                return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
            }
            QThread::msleep(20);
        }
        return std::nullopt;
    }
    static QStringList recorded() { return QDir(marks).entryList(QDir::Files); }
};

TEST_F(DesktopApplications, NamesStartWhatTheMenuShows) {
    struct Case {
        const char* typed;
        const char* started; // the recorder that ran; nullptr for nothing at all
    } cases[] = {
        {"Files", "files-app"}, // the untranslated Name
        {"files", "files-app"}, // letter case ignored
        {"FILES", "files-app"},
        {"EDITOR", "a-editor"}, // two entries: the first by desktop id
        {"Image Viewer", "imageviewer-prog"},
        {"ImageMagick", "display-prog"},                   // the Name without its qualifier
        {"imagemagick (color depth=q16)", "display-prog"}, // or whole
        {"imageviewer-prog", "imageviewer-prog"},          // the Exec program's name, off PATH
        {"ファイル", nullptr},                             // a localized name is a memo
        {"設定ツール", nullptr},                           // a Name beyond ASCII too
        {"Settings Tool", nullptr},                        // a translation is no name
        {"Hidden App", nullptr},                           // Hidden=true
        {"Background", nullptr},                           // NoDisplay=true
        {"Missing", nullptr},                              // TryExec names a missing program
        {"File", nullptr},                                 // the whole name or nothing
    };
    for (const Case& c : cases) {
        SetUp();
        const QString typed = QString::fromUtf8(c.typed);
        EXPECT_EQ(platform::shellExecute(QString(), typed, QString()), c.started != nullptr)
            << c.typed;
        if (c.started) {
            EXPECT_TRUE(mark(QString::fromLatin1(c.started))) << c.typed;
        } else {
            QThread::msleep(100);
            EXPECT_TRUE(recorded().isEmpty())
                << c.typed << " started " << recorded().join(u' ').toStdString();
        }
    }
    // With words after it, a name is no application: "Files ~/x" is a program and its argument.
    EXPECT_FALSE(platform::shellExecute(QString(), QStringLiteral("Files"), QStringLiteral("x")));
}

TEST_F(DesktopApplications, TerminalProgramsOpenInTheUsersTerminal) {
    // The entry's Name; the program from PATH with its words; one only a hidden entry describes.
    EXPECT_TRUE(platform::shellExecute(QString(), QStringLiteral("Vim"), QString()));
    EXPECT_EQ(mark(QStringLiteral("terminal")), QStringList{QStringLiteral("vim")});
    EXPECT_FALSE(platform::needsMissingTerminal(QStringLiteral("vim")));
    SetUp();
    EXPECT_TRUE(platform::shellExecute(QString(), QStringLiteral("vim"),
                                       QStringLiteral("\"買い物 メモ.txt\" -R")));
    EXPECT_EQ(mark(QStringLiteral("terminal")),
              (QStringList{bin + QStringLiteral("/vim"), QStringLiteral("買い物 メモ.txt"),
                           QStringLiteral("-R")}));
    SetUp();
    EXPECT_TRUE(platform::shellExecute(QString(), QStringLiteral("htop"), QStringLiteral("-d 5")));
    EXPECT_EQ(
        mark(QStringLiteral("terminal")),
        (QStringList{bin + QStringLiteral("/htop"), QStringLiteral("-d"), QStringLiteral("5")}));
    EXPECT_FALSE(QFile::exists(marks + QStringLiteral("/htop"))) << "started without a terminal";

    // Without xdg-terminal-exec: x-terminal-emulator -e.
    SetUp();
    QFile::remove(bin + QStringLiteral("/xdg-terminal-exec"));
    writeExecutable(bin + QStringLiteral("/x-terminal-emulator"),
                    recorder(QStringLiteral("terminal")));
    EXPECT_TRUE(platform::shellExecute(QString(), QStringLiteral("htop"), QString()));
    EXPECT_EQ(mark(QStringLiteral("terminal")),
              (QStringList{QStringLiteral("-e"), bin + QStringLiteral("/htop")}));
}

TEST_F(DesktopApplications, WithoutATerminalNothingStartsAndSaysSo) {
    // PATH holds only our folder and the system's: a machine without a terminal installed would
    // find none; the stand-ins are removed, so only a real terminal could answer.
    QFile::remove(bin + QStringLiteral("/xdg-terminal-exec"));
    const QByteArray path = qgetenv("PATH");
    setenv("PATH", qPrintable(bin), 1);
    EXPECT_FALSE(platform::shellExecute(QString(), QStringLiteral("htop"), QString()));
    EXPECT_FALSE(platform::shellExecute(QString(), QStringLiteral("Vim"), QString()));
    EXPECT_EQ(platform::describeShellExecute({QString(), QStringLiteral("htop"), QString()}),
              std::nullopt);
    // Said as the reason; a program that needs no terminal is not held back by it.
    EXPECT_TRUE(platform::needsMissingTerminal(QStringLiteral("htop")));
    EXPECT_TRUE(platform::needsMissingTerminal(QStringLiteral("Vim")));
    EXPECT_FALSE(platform::needsMissingTerminal(QStringLiteral("Files")));
    EXPECT_FALSE(platform::needsMissingTerminal(QStringLiteral("no-such-thing")));
    setenv("PATH", path.constData(), 1);
    QThread::msleep(100);
    EXPECT_TRUE(recorded().isEmpty()) << recorded().join(u' ').toStdString();
}

TEST_F(DesktopApplications, TheListOffersWhatMenusShowInIdOrder) {
    QStringList names;
    for (const platform::DesktopApplication& application : platform::installedApplications())
        names << application.name;
    EXPECT_EQ(names, (QStringList{QStringLiteral("Editor"), QStringLiteral("editor"),
                                  QStringLiteral("ImageMagick (color depth=q16)"),
                                  QStringLiteral("Files"), QStringLiteral("設定ツール"),
                                  QStringLiteral("Image Viewer"), QStringLiteral("Vim")}));
}

} // namespace
