#include "config/CIniFile.h"

#include "IniTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using initest::iniWith;
using testsupport::readFile;

namespace {

const QString A = QStringLiteral("A");

TEST(CIniFile, ValueIsEverythingAfterTheFirstEquals) {
    config::CIniFile ini;
    ASSERT_TRUE(ini.Load(iniWith("[A]\r\nPath=C:\\a=b\r\nEmpty=\r\n")));
    ini.setNowSection(A);
    EXPECT_EQ(ini.Data("Path"), "C:\\a=b");
    EXPECT_EQ(ini.Data("Empty"), "");
    EXPECT_EQ(ini.Keys(), QStringList({"Path", "Empty"}));
}

TEST(CIniFile, LastDuplicateWinsAtTheLaterPlace) {
    const QString path = iniWith("[MRU]\r\nMRU1=a\r\nx=1\r\nmru1=b\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("MRU");
    EXPECT_EQ(ini.Data("MRU1"), "b");
    EXPECT_EQ(ini.Keys(), QStringList({"x", "mru1"}));
    ASSERT_TRUE(ini.Save("MRU"));
    EXPECT_EQ(readFile(path), QByteArray("[MRU]\r\nx=1\r\nmru1=b\r\n"));
}

TEST(CIniFile, LooksUpSectionsAndKeysWithoutRegardToCase) {
    config::CIniFile ini;
    ini.Load(iniWith("[Options]\r\nTopMost=True\r\n"));
    ini.setNowSection("options");
    EXPECT_EQ(ini.NowSection(), "Options");
    EXPECT_TRUE(ini.IsExist());
    EXPECT_EQ(ini.Data("topmost"), "True");
    EXPECT_EQ(ini.Sections(), QStringList({"Options"}));
}

TEST(CIniFile, SettingAKeyMovesItToTheEndAndTakesTheCallersCase) {
    const QString path = iniWith("[A]\r\na=1\r\nb=2\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection(A);
    ini.setData("A", "1"); // same value
    EXPECT_EQ(ini.Keys(), QStringList({"b", "A"}));
    ASSERT_TRUE(ini.Save(A));
    EXPECT_EQ(readFile(path), QByteArray("[A]\r\nb=2\r\nA=1\r\n"));
}

TEST(CIniFile, MissingFileLoadsEmptyAndSaveAllWritesNothing) {
    const QString path = initest::missingIni();
    config::CIniFile ini;
    EXPECT_TRUE(ini.Load(path));
    EXPECT_TRUE(ini.Sections().isEmpty());
    EXPECT_EQ(ini.Data("anything"), "");
    EXPECT_FALSE(ini.Save());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(CIniFile, SelectedSectionWithoutKeysIsWrittenAsItsHeader) {
    const QString path = initest::missingIni();
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("Empty");
    EXPECT_FALSE(ini.IsExist());
    ASSERT_TRUE(ini.Save());
    EXPECT_TRUE(ini.IsExist());
    EXPECT_EQ(readFile(path), QByteArray("[Empty]\r\n"));
}

TEST(CIniFile, BlankLinesInsideAWrittenSectionGoOthersStay) {
    const QString path = iniWith("[A]\r\na=1\r\n\r\nb=2\r\n\r\n[B]\r\nx=1\r\n\r\ny=2\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ASSERT_TRUE(ini.Save(A));
    EXPECT_EQ(readFile(path), QByteArray("[A]\r\na=1\r\nb=2\r\n\r\n[B]\r\nx=1\r\n\r\ny=2\r\n"));
}

TEST(CIniFile, ExistsFlagFollowsSelectionAndWrites) {
    const QString path = iniWith("[A]\r\na=1\r\n");
    config::CIniFile ini;
    ini.Load(path);
    EXPECT_FALSE(ini.IsExist());
    ini.setNowSection("New");
    EXPECT_FALSE(ini.IsExist());
    ini.setNowSection(A);
    EXPECT_TRUE(ini.IsExist());
    ini.setNowSection("New");
    EXPECT_TRUE(ini.IsExist()) << "created by the earlier selection";
    ini.setNowSection("Other");
    ASSERT_TRUE(ini.Save("Other"));
    EXPECT_TRUE(ini.IsExist());
}

TEST(CIniFile, DeleteAndClear) {
    config::CIniFile ini;
    ini.Load(iniWith("[A]\r\na=1\r\nb=2\r\nc=3\r\n"));
    ini.setNowSection(A);
    ini.DeleteData("missing");
    ini.DeleteData("B");
    EXPECT_EQ(ini.Keys(), QStringList({"a", "c"}));
    EXPECT_EQ(ini.Data("b"), "");
    ini.Clear();
    EXPECT_TRUE(ini.Keys().isEmpty());
    EXPECT_EQ(ini.Sections(), QStringList({"A"}));
}

TEST(CIniFile, InitDataChecksByTypeCode) {
    config::CIniFile ini;
    ini.Load(iniWith("[A]\r\nblank=   \r\nn=12.5\r\nbad=x\r\nf=1.5\r\nb=true\r\nbig=40000\r\n"));
    ini.setNowSection(A);
    const QVariant def(QStringLiteral("def"));
    const struct {
        const char* key;
        int type;
        QVariant expected;
    } cases[] = {
        {"blank", config::CIniFile::IniText, def},
        {"blank", 5, QStringLiteral("   ")},
        {"missing", 5, QString()},
        {"n", config::CIniFile::IniText, QStringLiteral("12.5")},
        {"n", config::CIniFile::IniLong, 12},
        {"big", config::CIniFile::IniLong, 40000},
        {"bad", config::CIniFile::IniLong, def},
        {"f", config::CIniFile::IniSingle, 1.5f},
        {"big", config::CIniFile::IniSingle, def},
        {"b", config::CIniFile::IniBoolean, true},
        {"bad", config::CIniFile::IniBoolean, def},
    };
    for (const auto& c : cases) {
        const QVariant got = ini.InitData(c.key, c.type, def);
        EXPECT_EQ(got, c.expected) << c.key << " type " << c.type;
        EXPECT_EQ(got.typeId(), c.expected.typeId()) << c.key << " type " << c.type;
    }
}

TEST(CIniFile, SaveAllWritesEverySectionAndSelectsTheLast) {
    const QString path = initest::missingIni();
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("One");
    ini.setData("a", "1");
    ini.setNowSection("Two");
    ini.setData("b", "2");
    ini.setNowSection("One");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ini.NowSection(), "Two");
    EXPECT_EQ(readFile(path), QByteArray("[One]\r\na=1\r\n\r\n[Two]\r\nb=2\r\n"));
}

TEST(CIniFile, SaveAllStopsAtASectionItCannotWrite) {
    const QString path = initest::missingIni();
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection("One");
    ini.setData("a", "1");
    ini.setNowSection(" padded ");
    ini.setData("b", "2");
    ini.setNowSection("Three");
    ini.setData("c", "3");
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(ini.NowSection(), " padded ");
    EXPECT_EQ(readFile(path), QByteArray("[One]\r\na=1\r\n"));
    EXPECT_FALSE(ini.Save(" padded "));
}

TEST(CIniFile, LoadKeepsTheSelectedSectionName) {
    const QString path = iniWith("[A]\r\na=1\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection(A);
    testsupport::writeFile(path, "[a]\r\na=2\r\n");
    ini.Load(path);
    EXPECT_EQ(ini.NowSection(), "A");
    EXPECT_EQ(ini.Data("a"), "2");
    EXPECT_FALSE(ini.IsExist());
}

TEST(CIniFile, LinesWithoutEqualsAreKeptInMemoryButNotAsKeys) {
    const QString path = iniWith("[A]\r\njunk\r\na=1\r\n");
    config::CIniFile ini;
    ini.Load(path);
    ini.setNowSection(A);
    EXPECT_EQ(ini.Keys(), QStringList({"a"}));
    EXPECT_EQ(ini.Data("junk"), "");
    ASSERT_TRUE(ini.Save(A));
    EXPECT_EQ(readFile(path), QByteArray("[A]\r\na=1\r\n"));
}

TEST(CIniFile, NothingHappensWithoutASelectedSection) {
    config::CIniFile ini;
    ini.Load(initest::missingIni());
    ini.setData("a", "1");
    ini.DeleteData("a");
    ini.Clear();
    EXPECT_TRUE(ini.Sections().isEmpty());
    EXPECT_TRUE(ini.Keys().isEmpty());
}

} // namespace
