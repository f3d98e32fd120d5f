// Hostile or damaged settings files, and writes that fail part way.
#include "config/CIniFile.h"

#include "IniTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using initest::iniWith;
using testsupport::readFile;

namespace {

template <size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1); // keeps embedded NULs
}

QStringList filesIn(const QString& path) {
    return QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files);
}

TEST(IniRobustness, DamagedContentLoadsAndSavesWithoutCrashing) {
    QByteArray hugeLine = "[Big]\r\nk=" + QByteArray(10 * 1024 * 1024, 'x') + "\r\n";
    QByteArray manyHeaders;
    for (int i = 0; i < 2000; ++i)
        manyHeaders += "[S" + QByteArray::number(i % 7) + "]\nk" + QByteArray::number(i) + "=v\n";
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"nul bytes", bytes("[A\0]\r\nk\0ey=va\0lue\r\n\0\0\0\r\n[B]\r\nb=1\r\n")},
        {"invalid sequences", "[A]\r\nk=\x81\r\n\xFF\xFE=\x80\x81\n[\x82]\n\x81\n"},
        {"lone lead byte before line end", "[A]\r\nk=\x83\n[B]\nb=1\n"},
        {"only line ends", "\r\n\n\r\r\n"},
        {"brackets", "[]\r\n[[]]\r\n[=]\r\n=\r\n[\r\n]\r\n"},
        {"ten megabyte line", hugeLine},
        {"sections repeated", manyHeaders},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = iniWith(c.bytes);
        config::CIniFile ini;
        ASSERT_TRUE(ini.Load(path));
        for (const QString& section : ini.Sections()) {
            ini.setNowSection(section);
            for (const QString& key : ini.Keys()) {
                EXPECT_FALSE(key.contains(QChar(0)));
                EXPECT_FALSE(ini.Data(key).contains(QChar(0)));
            }
        }
        ini.setNowSection("Added");
        ini.setData("k", "v");
        const QStringList before = ini.Sections();
        EXPECT_TRUE(ini.Save());

        config::CIniFile again;
        again.Load(path);
        for (const QString& section : before) {
            ini.setNowSection(section);
            again.setNowSection(section);
            EXPECT_TRUE(again.IsExist()) << section.toStdString();
            EXPECT_EQ(again.Keys().size(), ini.Keys().size()) << section.toStdString();
        }
    }
}

TEST(IniRobustness, HugeLineKeepsItsValue) {
    const QByteArray value(10 * 1024 * 1024, 'x');
    config::CIniFile ini;
    ini.Load(iniWith("[Big]\r\nk=" + value + "\r\n"));
    ini.setNowSection("Big");
    EXPECT_EQ(ini.Data("k").size(), value.size());
}

TEST(IniRobustness, HundredThousandKeysAreFoundAndRewritten) {
    QByteArray content = "[Many]\r\n";
    for (int i = 0; i < 100000; ++i)
        content += "Key" + QByteArray::number(i) + "=" + QByteArray::number(i * 7) + "\r\n";
    const QString path = iniWith(content);
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("many");
    EXPECT_EQ(ini.Keys().size(), 100000);
    EXPECT_EQ(ini.Data("key99999"), "699993");
    for (int i = 0; i < 100000; i += 2)
        ini.DeleteData(QStringLiteral("Key%1").arg(i));
    ini.setData("Key1", "moved");
    EXPECT_EQ(ini.Keys().size(), 50000);
    EXPECT_EQ(ini.Keys().back(), "Key1");
    EXPECT_EQ(ini.Data("Key3"), "21");
    ASSERT_TRUE(ini.Save("Many"));

    config::CIniFile again;
    again.Load(path);
    again.setNowSection("Many");
    EXPECT_EQ(again.Keys(), ini.Keys());
}

TEST(IniRobustness, SaveThatRunsOutOfSpaceLeavesTheOldFile) {
    const QByteArray original = "[A]\r\na=1\r\n[B]\r\nb=1\r\n";
    const QString path = iniWith(original);
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("A");
    ini.setData("big", QString(8192, QLatin1Char('x')));
    {
        testsupport::FileSizeLimit limit(1024);
        EXPECT_FALSE(ini.Save("A"));
        EXPECT_FALSE(ini.Save());
    }
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(filesIn(path), QStringList({"s.ini"}));
    EXPECT_EQ(ini.Data("big").size(), 8192) << "memory keeps the unsaved value";
    EXPECT_TRUE(ini.Save("A"));
}

TEST(IniRobustness, SavesIntoAFolderThatCannotTakeTheFileReturnFalse) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/gone/s.ini");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("A");
    ini.setData("a", "1");
    EXPECT_FALSE(ini.Save("A"));
    EXPECT_FALSE(ini.Save());
}

TEST(IniRobustness, UnreadableFileIsNeverOverwritten) {
    // A folder in place of the file cannot be read; nothing may be written over it.
    const QString path = testsupport::freshFolder() + QStringLiteral("/s.ini");
    QDir().mkpath(path);
    testsupport::writeFile(path + QStringLiteral("/inside"), "keep");
    config::CIniFile ini;
    EXPECT_TRUE(ini.Load(path));
    ini.setNowSection("A");
    ini.setData("a", "1");
    EXPECT_FALSE(ini.Save("A"));
    EXPECT_EQ(readFile(path + QStringLiteral("/inside")), QByteArray("keep"));
}

} // namespace
