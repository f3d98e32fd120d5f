// What the settings store guarantees the user: nothing silently dropped, nothing written without
// need, and the file (or the file a link leads to) never damaged by a failed write.
#include "config/CIniFile.h"
#include "platform/FileFaults.h"
#include "platform/FileStamp.h"
#include "platform/MessageBox.h"

#include "IniTestSupport.h"
#include "ScriptedBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using initest::iniWith;
using testsupport::readFile;

namespace {

QStringList filesBeside(const QString& path) {
    return QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files, QDir::Name);
}

// Keys the file format cannot hold are refused with a sentence for the user; the others are
// stored, written and read back as themselves.
TEST(IniSafety, KeysTheFormatCannotHoldAreRefused) {
    const struct {
        const char* key;
        bool refused;
    } rows[] = {
        {"a=b", true},    {"=", true},    {";comment", true}, {"[Section]", true},
        {"  ;x", true},   {"[x", true},   {"a;b", false},     {"a[b]", false},
        {"メモ★", false}, {"x y", false}, {"", false},        {"~/", false},
    };
    const QString path = initest::missingIni();
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("Command");
    for (const auto& row : rows) {
        const QString key = QString::fromUtf8(row.key);
        EXPECT_EQ(!config::CIniFile::KeyError(key).isEmpty(), row.refused) << row.key;
        EXPECT_EQ(ini.setData(key, "v,1"), !row.refused) << row.key;
    }
    ASSERT_TRUE(ini.Save("Command"));
    config::CIniFile disk;
    disk.Load(path);
    disk.setNowSection("Command");
    QStringList stored;
    for (const auto& row : rows)
        if (!row.refused)
            stored.append(QString::fromUtf8(row.key));
    EXPECT_EQ(disk.Keys(), stored);
    for (const QString& key : stored)
        EXPECT_EQ(disk.Data(key), "v,1") << key.toStdString();
}

TEST(IniSafety, KeyErrorsNameTheCharacter) {
    EXPECT_TRUE(config::CIniFile::KeyError("a=b").contains("="));
    EXPECT_TRUE(config::CIniFile::KeyError(";a").contains(";"));
    EXPECT_TRUE(config::CIniFile::KeyError("[a").contains("["));
}

// A save that would give the same bytes leaves the file alone (no rewrite, no flush).
TEST(IniSafety, UnchangedSectionsAreNotRewritten) {
    const QString path = iniWith("[A]\r\na=1\r\nb=2\r\n[B]\r\nc=3\r\n");
    const platform::FileStamp before = platform::FileStamp::of(path);
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("A");
    ini.setData("a", "1");
    ini.setData("b", "2"); // same values in the same order
    EXPECT_TRUE(ini.Save("A"));
    EXPECT_TRUE(ini.Save());
    EXPECT_EQ(platform::FileStamp::of(path), before);
    ini.setNowSection("A");
    ini.setData("b", "3");
    EXPECT_TRUE(ini.Save("A"));
    EXPECT_FALSE(platform::FileStamp::of(path) == before);
    EXPECT_EQ(readFile(path), QByteArray("[A]\r\na=1\r\nb=3\r\n[B]\r\nc=3\r\n"));
}

// A linked settings file stays a link; the file it leads to gets the new text.
TEST(IniSafety, WritesThroughASymbolicLink) {
    const QString target = iniWith("[A]\r\na=1\r\n");
    const QString link = testsupport::freshFolder() + "/scrivlet.ini";
    ASSERT_TRUE(QFile::link(target, link));
    config::CIniFile ini;
    ini.Load(link);
    ini.setNowSection("A");
    ini.setData("a", "2");
    ASSERT_TRUE(ini.Save("A"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(target), QByteArray("[A]\r\na=2\r\n"));
}

// Failures that happen for root too: a read-only file, an unreadable one, a failing rename.
TEST(IniSafety, FailedSavesReturnFalseAndKeepTheFile) {
    const QByteArray original = "[A]\r\na=1\r\n";
    const struct {
        const char* name;
        platform::FileStep step; // Read: refused when loading
        bool readOnly;
    } rows[] = {
        {"readonly", platform::FileStep::Write, true},
        {"unreadable", platform::FileStep::Read, false},
        {"renamefails", platform::FileStep::Rename, false},
    };
    for (const auto& row : rows) {
        const QString path = iniWith(original);
        if (row.readOnly)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        else
            platform::injectFileFault(path, row.step, EACCES);
        config::CIniFile ini;
        ini.Load(path);
        ini.setNowSection("A");
        ini.setData("a", "2");
        EXPECT_FALSE(ini.Save("A")) << row.name;
        EXPECT_FALSE(ini.Save()) << row.name;
        platform::clearFileFaults();
        EXPECT_EQ(readFile(path), original) << row.name;
        EXPECT_EQ(filesBeside(path), QStringList{"s.ini"}) << row.name;
    }
}

// Bytes that are neither UTF-8 nor CP932 (a Latin-1 file) are kept beside the file before the
// first write changes them, and the user is told once. Text CP932 lacks never becomes "?".
// A settings file that is a FIFO would hang every start: it is refused with a box, the program goes
// on with the defaults, and the FIFO is never replaced.
TEST(IniSafety, FifoIsRefusedWithABoxAndNeverReplaced) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    testsupport::ScriptedBoxes boxes;
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection(QStringLiteral("Options"));
    ini.setData(QStringLiteral("TopMost"), QStringLiteral("1"));
    EXPECT_FALSE(ini.Save());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].contains(QStringLiteral("FIFO")))
        << boxes.texts()[0].toStdString();
    EXPECT_TRUE(QFileInfo(path).exists() && !QFileInfo(path).isFile());
}

TEST(IniSafety, UndecodableFileIsKeptBeforeTheFirstWrite) {
    const QByteArray latin1 = "[Options]\r\nMemoFileName=/home/Jos\xe9/memo.txt\r\n";
    const QString path = iniWith(latin1);
    QStringList boxes;
    const auto previous = platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
        boxes.append(r.text);
        return int(platform::mb::OK);
    });
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("Options");
    ini.setData("Note", QString::fromUtf8("한국어 😀"));
    EXPECT_TRUE(ini.Save("Options"));
    ini.setData("Note", QString::fromUtf8("〜"));
    EXPECT_TRUE(ini.Save("Options"));
    platform::setMessageBoxHandler(previous);

    const QStringList files = filesBeside(path);
    ASSERT_EQ(files.size(), 2);
    const QString copy = files[1];
    EXPECT_TRUE(copy.startsWith("s.original-")) << copy.toStdString();
    EXPECT_EQ(readFile(QFileInfo(path).absolutePath() + "/" + copy), latin1);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(copy));
    EXPECT_FALSE(readFile(path).contains('?'));
}

TEST(IniSafety, TextOutsideTheCodePageMovesTheFileToUtf8) {
    const QString path = iniWith("[A]\r\na=\x83\x81\x83\x82\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("B");
    ini.setData("yen", QString::fromUtf8("¥100 café"));
    ASSERT_TRUE(ini.Save("B"));
    EXPECT_EQ(readFile(path),
              QString::fromUtf8("[A]\r\na=メモ\r\n\r\n[B]\r\nyen=¥100 café\r\n").toUtf8());
}

} // namespace
