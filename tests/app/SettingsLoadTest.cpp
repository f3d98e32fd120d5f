#include "app/WindowPlacement.h"
#include "config/Settings.h"

#include "config/CIniFile.h"
#include "platform/AppPaths.h"
#include "platform/FileStamp.h"

#include "IniTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>

using testsupport::readFile;

namespace {

// A main window in twips: 1920 x 1080 pixels at 15 twips per pixel, and a minimum width.
class FakeWindow : public app::IPlacedWindow {
public:
    int frameHeightTwips() const override { return 450; }
    int inputLineHeightTwips() const override { return 330; }
    int memoPaneHeightTwips() const override { return memoPane; }
    int screenWidthTwips() const override { return 28800; }
    int screenHeightTwips() const override { return 16200; }
    void setWindowHeightTwips(int h) override { height = h; }
    int windowHeightTwips() const override { return height; }
    void setWindowWidthTwips(int w) override { width = std::max(w, 1500); }
    int windowWidthTwips() const override { return width; }
    void setMemoPaneHeightTwips(int h) override { memoPane = h; }
    void setWindowLeftTwips(int l) override { left = l; }
    int windowLeftTwips() const override { return left; }
    void setWindowTopTwips(int t) override { top = t; }
    int windowTopTwips() const override { return top; }
    QList<QRect> availableAreasTwips() const override { return areas; }

    // The primary monitor less a panel at the bottom, a second one above it.
    QList<QRect> areas = {QRect(0, 0, 28800, 15600), QRect(0, -16200, 28800, 16200)};
    int memoPane = 2400; // design height
    int height = 0, width = 0, left = 0, top = 0;
};

class Settings : public testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::freshFolder(QStringLiteral("app"));
        platform::setProgramIdentity(folder, QStringLiteral("scrivlet"));
        path = folder + QStringLiteral("/scrivlet.ini");
    }
    void TearDown() override { platform::setProgramIdentity({}, {}); }

    void load(const QStringList& args = {}) { app::LoadSettingsAndPlacement(window, args); }

    // The settings file as a fresh store reads it, one section.
    QStringList keysOnDisk(const QString& section) {
        config::CIniFile disk;
        disk.Load(path);
        disk.setNowSection(section);
        return disk.Keys();
    }
    QString onDisk(const QString& section, const QString& key) {
        config::CIniFile disk;
        disk.Load(path);
        disk.setNowSection(section);
        return disk.Data(key);
    }

    QString folder, path;
    FakeWindow window;
};

TEST_F(Settings, WithoutAFileEveryDefaultIsWritten) {
    load();
    const config::Options& o = config::options();
    EXPECT_FALSE(o.TopMost);
    EXPECT_FALSE(o.StartUpTray);
    EXPECT_TRUE(o.UnresidentInfo);
    EXPECT_TRUE(o.IMEState);
    EXPECT_TRUE(o.HideAfterRun);
    EXPECT_FALSE(o.NoTray);
    EXPECT_EQ(o.MemoFileName, folder + QStringLiteral("/scrivlet.txt"));
    EXPECT_EQ(o.HotKeyMask, 8);
    EXPECT_EQ(o.HotKey, 90);
    EXPECT_EQ(o.MRU, 10);
    EXPECT_FALSE(o.SetClipboard);
    EXPECT_FALSE(o.IfVoidThenHide);
    EXPECT_TRUE(o.ShowErrMsg);

    EXPECT_EQ(window.width, 3000);
    EXPECT_EQ(window.memoPane, 1500);
    EXPECT_EQ(window.left, (28800 - 3000) / 2);
    EXPECT_EQ(window.height, 450 + 330 + 2400);
    EXPECT_EQ(window.top, (16200 - window.height) / 2);

    EXPECT_EQ(keysOnDisk("Options"),
              QStringList({"TopMost", "StartUpTray", "UnresidentInfo", "IMEState", "HideAfterRun",
                           "NoTray", "MemoFileName", "HotKeyMask", "HotKey", "MRU", "SetClipboard",
                           "IfVoidThenHide", "ShowErrMsg"}));
    EXPECT_EQ(onDisk("Options", "UnresidentInfo"), "True");
    EXPECT_EQ(onDisk("Options", "TopMost"), "False");
    EXPECT_EQ(keysOnDisk("Position"), QStringList({"Width", "Height", "Left", "Top"}));
    EXPECT_EQ(onDisk("Position", "Left"), QString::number((28800 - 3000) / 2));
    ASSERT_NE(config::iniFile(), nullptr);
    EXPECT_EQ(config::iniFile()->fileName(), path);
}

struct HotKeyCase {
    const char* name;
    const char* lines; // in section Options
    int mask, key;
};

class HotKeyRepair : public Settings, public testing::WithParamInterface<HotKeyCase> {};

TEST_P(HotKeyRepair, EndsValidInBothPartsOrEmptyInBoth) {
    const auto& c = GetParam();
    testsupport::writeFile(path, QByteArray("[Options]\r\n") + c.lines);
    load();
    EXPECT_EQ(config::options().HotKeyMask, c.mask);
    EXPECT_EQ(config::options().HotKey, c.key);
    EXPECT_EQ(onDisk("Options", "HotKeyMask"), QString::number(c.mask));
    EXPECT_EQ(onDisk("Options", "HotKey").toInt(), c.key);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HotKeyRepair,
    testing::Values(HotKeyCase{"shift_alone", "HotKeyMask=4\r\nHotKey=65\r\n", 0, 0},
                    HotKeyCase{"mask_missing", "HotKey=65\r\n", 8, 65},
                    HotKeyCase{"function_key", "HotKeyMask=3\r\nHotKey=112\r\n", 0, 0},
                    HotKeyCase{"fraction_outside_ranges", "HotKeyMask=8\r\nHotKey=3.4\r\n", 0, 0},
                    HotKeyCase{"key_missing", "HotKeyMask=7\r\n", 7, 90},
                    HotKeyCase{"digit", "HotKeyMask=3\r\nHotKey=48\r\n", 3, 48},
                    HotKeyCase{"keypad", "HotKeyMask=8\r\nHotKey=105\r\n", 8, 105},
                    HotKeyCase{"beyond_integer", "HotKeyMask=8\r\nHotKey=40000\r\n", 0, 0},
                    HotKeyCase{"mask_with_blank", "HotKeyMask= 3\r\nHotKey=65\r\n", 0, 0},
                    HotKeyCase{"both_empty_hotkey", "HotKeyMask=0\r\nHotKey=0\r\n", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct MruCase {
    const char* text;
    short expected;
};

class MruRepair : public Settings, public testing::WithParamInterface<MruCase> {};

TEST_P(MruRepair, KeepsMinusOneAndZeroToFifty) {
    testsupport::writeFile(path, QByteArray("[Options]\r\nMRU=") + GetParam().text + "\r\n");
    load();
    EXPECT_EQ(config::options().MRU, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MruRepair,
                         testing::Values(MruCase{"-1", -1}, MruCase{"-2", 10}, MruCase{"51", 10},
                                         MruCase{"0", 0}, MruCase{"50", 50}, MruCase{"abc", 10},
                                         MruCase{"", 10}, MruCase{"99999", 10}));

TEST_F(Settings, BooleansAcceptAnyBooleanTextAndRepairTheRest) {
    testsupport::writeFile(path, "[Options]\r\nTopMost=TRUE\r\nNoTray=-1\r\nHideAfterRun=0\r\n"
                                 "ShowErrMsg=yes\r\nIMEState=\r\n");
    load();
    EXPECT_TRUE(config::options().TopMost);
    EXPECT_TRUE(config::options().NoTray);
    EXPECT_FALSE(config::options().HideAfterRun);
    EXPECT_TRUE(config::options().ShowErrMsg);
    EXPECT_TRUE(config::options().IMEState);
    EXPECT_EQ(onDisk("Options", "TopMost"), "TRUE") << "valid text is kept as written";
    EXPECT_EQ(onDisk("Options", "ShowErrMsg"), "True");
}

TEST_F(Settings, MemoFileNameOfBlanksIsUsedUnchanged) {
    testsupport::writeFile(path, "[Options]\r\nMemoFileName=   \r\n");
    load();
    EXPECT_EQ(config::options().MemoFileName, "   ");
}

// Unknown keys go; a known key in another letter case stays, under its own spelling, so the
// next start still uses it.
TEST_F(Settings, UnknownKeysGoKnownKeysOfOtherCaseStay) {
    testsupport::writeFile(path, "[Options]\r\ntopmost=True\r\nSTARTUPTRAY=1\r\nStray=1\r\n"
                                 "[Position]\r\nwidth=5000\r\nColor=red\r\n"
                                 "[MRU]\r\n1=keep me\r\n\r\n");
    load();
    EXPECT_TRUE(config::options().TopMost);
    EXPECT_TRUE(config::options().StartUpTray);
    const QStringList keys = keysOnDisk("Options");
    EXPECT_EQ(keys.size(), 13);
    EXPECT_TRUE(keys.contains("TopMost"));
    EXPECT_TRUE(keys.contains("StartUpTray"));
    EXPECT_FALSE(keys.contains("topmost"));
    EXPECT_FALSE(keys.contains("Stray"));
    EXPECT_EQ(onDisk("Options", "TopMost"), "True");
    EXPECT_EQ(onDisk("Options", "StartUpTray"), "1");
    EXPECT_EQ(keysOnDisk("Position"), QStringList({"Width", "Height", "Left", "Top"}));
    EXPECT_EQ(onDisk("Position", "Width"), "5000");
    EXPECT_TRUE(readFile(path).endsWith("[MRU]\r\n1=keep me\r\n\r\n"));

    load(); // the next start too
    EXPECT_TRUE(config::options().TopMost);
    EXPECT_TRUE(config::options().StartUpTray);
}

// A start that repairs nothing writes nothing: the file is not replaced at all.
TEST_F(Settings, StartWithNothingToRepairLeavesTheFileAlone) {
    load();
    const QByteArray written = readFile(path);
    const platform::FileStamp before = platform::FileStamp::of(path);
    load();
    load(QStringList{"/tray", "/topmost"});
    EXPECT_EQ(platform::FileStamp::of(path), before);
    EXPECT_EQ(readFile(path), written);
}

TEST_F(Settings, PositionIsAppliedInOrderAndWrittenAsApplied) {
    testsupport::writeFile(path, "[Position]\r\nWidth=500\r\nHeight=2000\r\nTop=-700\r\n");
    load();
    EXPECT_EQ(window.width, 1500) << "the window's own minimum";
    EXPECT_EQ(window.memoPane, 2000);
    EXPECT_EQ(window.left, (28800 - 1500) / 2) << "centred on the width just set";
    EXPECT_EQ(window.top, -700) << "a monitor above the primary one";
    EXPECT_EQ(onDisk("Position", "Width"), "1500");
    EXPECT_EQ(onDisk("Position", "Left"), QString::number((28800 - 1500) / 2));
    EXPECT_EQ(onDisk("Position", "Top"), "-700");
}

TEST_F(Settings, StoredPlaceOffEveryScreenMovesOntoTheNearest) {
    // The bar is 1500 wide and 450 + 330 high.
    const struct {
        const char* name;
        int left, top;
        int expectedLeft, expectedTop;
    } rows[] = {
        {"on the primary monitor", 3000, 3000, 3000, 3000},
        {"across both monitors", 3000, -300, 3000, -300},
        {"right of every screen", 40000, 3000, 28800 - 1500, 3000},
        {"below the primary monitor, behind its panel", 3000, 15300, 3000, 15600 - 780},
        {"half off the left edge", -700, 3000, 0, 3000},
        {"far above the second monitor", 100, -90000, 100, -16200},
        {"off both corners", -99999, 99999, 0, 15600 - 780},
    };
    for (const auto& row : rows) {
        testsupport::writeFile(path,
                               QStringLiteral("[Position]\r\nWidth=1500\r\nLeft=%1\r\nTop=%2\r\n")
                                   .arg(row.left)
                                   .arg(row.top)
                                   .toUtf8());
        load();
        EXPECT_EQ(QPoint(window.left, window.top), QPoint(row.expectedLeft, row.expectedTop))
            << row.name;
        EXPECT_EQ(onDisk("Position", "Left"), QString::number(row.expectedLeft)) << row.name;
    }
    // Without any screen (none reported yet) the stored place stays.
    window.areas.clear();
    testsupport::writeFile(path, "[Position]\r\nLeft=40000\r\nTop=3000\r\n");
    load();
    EXPECT_EQ(window.left, 40000);
}

TEST_F(Settings, PositionValuesThatAreNoLongTakeTheirDefaults) {
    testsupport::writeFile(path, "[Position]\r\nWidth=abc\r\nHeight=1e10\r\nLeft=\r\n"
                                 "Top=2147483648\r\n");
    load();
    EXPECT_EQ(window.width, 3000);
    EXPECT_EQ(window.memoPane, 1500);
    EXPECT_EQ(window.left, (28800 - 3000) / 2);
    EXPECT_EQ(window.top, (16200 - window.height) / 2);
    EXPECT_EQ(onDisk("Position", "Height"), "1500");
}

TEST_F(Settings, CommandsWithoutACommaAreDroppedInMemoryOnly) {
    const QByteArray command =
        "[Command]\r\ng=Google,http://example.invalid/?q=%A\r\nbad=nocomma\r\n";
    testsupport::writeFile(path, command);
    load();
    config::CIniFile& ini = *config::iniFile();
    ini.setNowSection("Command");
    EXPECT_EQ(ini.Keys(), QStringList({"g"}));
    EXPECT_TRUE(readFile(path).startsWith(command)) << "not saved by start-up";
    ASSERT_TRUE(ini.Save("Command"));
    EXPECT_EQ(keysOnDisk("Command"), QStringList({"g"}));
}

struct SwitchCase {
    const char* name;
    QStringList args;
    bool tray, topmost, hotkey;
};

class Switches : public Settings, public testing::WithParamInterface<SwitchCase> {};

TEST_P(Switches, ChangeThisRunOnlyAndMatchExactly) {
    const auto& c = GetParam();
    load(c.args);
    EXPECT_EQ(config::options().StartUpTray, c.tray);
    EXPECT_EQ(config::options().TopMost, c.topmost);
    EXPECT_EQ(config::options().HotKey != 0 && config::options().HotKeyMask != 0, c.hotkey);
    EXPECT_EQ(onDisk("Options", "StartUpTray"), "False");
    EXPECT_EQ(onDisk("Options", "TopMost"), "False");
    EXPECT_EQ(onDisk("Options", "HotKey"), "90");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Switches,
    testing::Values(
        SwitchCase{"none", {}, false, false, true},
        SwitchCase{"tray_and_topmost", {"/tray", "/topmost"}, true, true, true},
        SwitchCase{"capitals_ignored", {"/TRAY", "/Topmost", "/NoHotKey"}, false, false, true},
        SwitchCase{"nohotkey", {"/nohotkey"}, false, false, false},
        SwitchCase{"one_word_split_at_blanks", {"/tray  /topmost"}, true, true, true},
        SwitchCase{"repeated_and_unknown", {"x", "/tray", "/tray", ""}, true, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Settings, ReadOptionsRepairsInMemoryWithoutWriting) {
    const QByteArray content = "[Options]\r\nHotKeyMask=4\r\nMRU=51\r\nJunk=1\r\n";
    testsupport::writeFile(path, content);
    config::CIniFile ini;
    ini.Load(path);
    const config::Options o = config::readOptions(ini);
    EXPECT_EQ(o.HotKeyMask, 0);
    EXPECT_EQ(o.HotKey, 0);
    EXPECT_EQ(o.MRU, 10);
    EXPECT_EQ(readFile(path), content);
}

TEST_F(Settings, UnwritableSettingsStillGiveRepairedOptions) {
    testsupport::writeFile(path, "[Options]\r\nMRU=-1\r\n");
    {
        testsupport::FileSizeLimit limit(8);
        load();
    }
    EXPECT_EQ(config::options().MRU, -1);
    EXPECT_EQ(config::options().HotKey, 90);
    EXPECT_EQ(readFile(path), QByteArray("[Options]\r\nMRU=-1\r\n"));
}

} // namespace
