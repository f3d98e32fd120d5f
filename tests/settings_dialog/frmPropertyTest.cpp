#include "DialogFixture.h"

#include "controls/uHotKey.h"
#include "controls/uSpinButton.h"
#include "platform/Autostart.h"
#include "settings_dialog/CommandPage.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWindow>

namespace {

using dialogtest::DialogTest;
namespace mb = platform::mb;

const QStringList kStoredSettings = {
    QStringLiteral("[Options]"),
    QStringLiteral("TopMost=-1"), // reads as true; written back in the program's own form
    QStringLiteral("StartUpTray=0"),
    QStringLiteral("MemoFileName=memo.txt"),
    QStringLiteral("HotKeyMask=3"),
    QStringLiteral("HotKey=65"),
    QStringLiteral("MRU=10"),
    QStringLiteral("ShowErrMsg=false"),
    QStringLiteral("[Command]"),
    QStringLiteral("GG=Google,https://www.google.co.jp/search?q=%A"),
    QStringLiteral("x=計算,1+%a"),
    QStringLiteral("[MRU]"),
    QStringLiteral("1=予定「会議」★"),
};

TEST_F(DialogTest, OkWithNothingChangedRewritesEveryOptionAndTheWholeCommandSection) {
    settings_dialog::frmProperty& d = open(kStoredSettings);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("設定 - Scrivlet Ver.1.73"));
    EXPECT_EQ(d.windowIcon().pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::darkBlue))
        << "the program's icon";
    EXPECT_FALSE(d.cmdApp()->isEnabled());
    d.cmdOK()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(sectionOnDisk(QStringLiteral("Options")),
              QStringList({"TopMost=True", "StartUpTray=False", "UnresidentInfo=False",
                           "IMEState=False", "HideAfterRun=False", "NoTray=False",
                           "MemoFileName=memo.txt", "HotKeyMask=3", "HotKey=65", "MRU=10",
                           "SetClipboard=False", "IfVoidThenHide=False", "ShowErrMsg=False"}));
    EXPECT_EQ(sectionOnDisk(QStringLiteral("Command")),
              QStringList({"gg=Google,https://www.google.co.jp/search?q=%A", "x=計算,1+%a"}));
    EXPECT_EQ(sectionOnDisk(QStringLiteral("MRU")), QStringList({"1=予定「会議」★"}));
    // The running values follow the file.
    EXPECT_TRUE(running.TopMost);
    EXPECT_FALSE(running.UnresidentInfo);
    EXPECT_EQ(running.MemoFileName, QStringLiteral("memo.txt"));
    EXPECT_EQ(running.HotKey, 65);
    EXPECT_EQ(running.HotKeyMask, 3);
    EXPECT_EQ(running.MRU, 10);
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(DialogTest, UntickedHistoryLimitStoresMinusOneAndReopensAtZeroDisabled) {
    settings_dialog::frmProperty& d = open(kStoredSettings);
    EXPECT_TRUE(d.chkMRULimit()->isChecked());
    EXPECT_EQ(d.uspnMRU()->Value(), 10);
    d.uspnMRU()->upArrow()->click();
    d.chkMRULimit()->click();
    EXPECT_FALSE(d.uspnMRU()->isEnabled());
    d.cmdOK()->click();
    EXPECT_EQ(running.MRU, -1);
    EXPECT_TRUE(sectionOnDisk(QStringLiteral("Options")).contains(QStringLiteral("MRU=-1")));

    settings_dialog::frmProperty& again = open();
    EXPECT_FALSE(again.chkMRULimit()->isChecked());
    EXPECT_EQ(again.uspnMRU()->Value(), 0);
    EXPECT_FALSE(again.uspnMRU()->isEnabled());
    again.chkMRULimit()->click();
    EXPECT_TRUE(again.uspnMRU()->isEnabled());
}

// Real key presses in the history-size box are edits like any other: Apply becomes available.
TEST_F(DialogTest, UpAndDownKeysInTheHistorySizeEnableApply) {
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down}) {
        settings_dialog::frmProperty& d = open(kStoredSettings);
        d.Show2(0, false);
        ASSERT_FALSE(d.cmdApp()->isEnabled());
        const int before = d.uspnMRU()->Value();
        d.uspnMRU()->textBox()->setFocus();
        QTest::keyClick(d.uspnMRU()->textBox(), key);
        EXPECT_NE(d.uspnMRU()->Value(), before) << key;
        EXPECT_TRUE(d.cmdApp()->isEnabled()) << key;
        d.cmdCancel()->click();
    }
}

TEST_F(DialogTest, AHotKeyIsSavedOnlyWhenTheNextStartKeepsIt) {
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool kept;
    } rows[] = {
        {"Ctrl+Alt+A", Qt::Key_A, Qt::ControlModifier | Qt::AltModifier, true},
        {"Ctrl+Shift+Alt+5", Qt::Key_5, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier,
         true},
        {"Windows+Z", Qt::Key_Z, Qt::MetaModifier, true},
        {"Ctrl+Shift+F5", Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier, false},
        {"Alt+A", Qt::Key_A, Qt::AltModifier, false},
        {"Windows+F1", Qt::Key_F1, Qt::MetaModifier, false},
        {"Ctrl+Alt+Left", Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier, false},
    };
    for (const auto& row : rows) {
        boxes.shown.clear();
        settings_dialog::frmProperty& d = open(kStoredSettings);
        d.Show2(2, false);
        QLineEdit* keys = d.txtHotKey()->findChild<QLineEdit*>();
        keys->setFocus();
        QTest::keyClick(keys, row.key, row.modifiers);
        const int mask = d.txtHotKey()->Mask(), code = d.txtHotKey()->HotKey();
        ASSERT_NE(code, 0) << row.name << ": the box took no key";
        d.cmdOK()->click();
        if (row.kept) {
            EXPECT_EQ(d.result(), QDialog::Accepted) << row.name;
            EXPECT_TRUE(boxes.shown.isEmpty()) << row.name;
            // The real start-up load keeps exactly what was saved.
            config::LoadSettings({});
            EXPECT_EQ(config::options().HotKeyMask, mask) << row.name;
            EXPECT_EQ(config::options().HotKey, code) << row.name;
        } else {
            EXPECT_NE(d.result(), QDialog::Accepted) << row.name;
            ASSERT_EQ(boxes.shown.size(), 1) << row.name;
            EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("・[Windows] + 英数字")))
                << row.name;
            EXPECT_EQ(d.tabStrip()->currentIndex(), 0) << row.name;
            EXPECT_TRUE(
                sectionOnDisk(QStringLiteral("Options")).contains(QStringLiteral("HotKey=65")))
                << row.name << ": nothing saved";
            d.cmdCancel()->click();
        }
    }
}

TEST_F(DialogTest, AltAPressesApplyOnEveryTab) {
    for (int tab = 1; tab <= 3; ++tab) {
        settings_dialog::frmProperty& d = open(kStoredSettings);
        d.Show2(tab, false);
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        const bool wasChecked = d.findChild<QCheckBox*>(QStringLiteral("chkMRULimit"))->isChecked();
        d.optionBox(QStringLiteral("TopMost"))->click();
        ASSERT_TRUE(d.cmdApp()->isEnabled());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &d, Qt::Key_A,
                        Qt::AltModifier);
        // A mnemonic presses its button the way a click looks: released a moment later.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !d.cmdApp()->isEnabled(); }, 2000))
            << "tab " << tab << ": Apply was not pressed";
        EXPECT_TRUE(
            sectionOnDisk(QStringLiteral("Options")).contains(QStringLiteral("TopMost=False")))
            << "tab " << tab;
        EXPECT_EQ(d.findChild<QCheckBox*>(QStringLiteral("chkMRULimit"))->isChecked(), wasChecked);
        d.cmdCancel()->click();
    }
}

TEST_F(DialogTest, ApplyThenCancelKeepsWhatApplyStored) {
    settings_dialog::frmProperty& d = open(kStoredSettings);
    d.optionBox(QStringLiteral("NoTray"))->click();
    d.txtMemoFileName()->setText(QStringLiteral("/tmp/メモ 〜 한국어.txt"));
    ASSERT_TRUE(d.cmdApp()->isEnabled());
    d.cmdApp()->click();
    EXPECT_FALSE(d.cmdApp()->isEnabled());
    EXPECT_TRUE(running.NoTray);
    d.optionBox(QStringLiteral("NoTray"))->click(); // unticked again, then dropped by Cancel
    d.cmdCancel()->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    const QStringList options = sectionOnDisk(QStringLiteral("Options"));
    EXPECT_TRUE(options.contains(QStringLiteral("NoTray=True")));
    EXPECT_TRUE(options.contains(QStringLiteral("MemoFileName=/tmp/メモ 〜 한국어.txt")));
    EXPECT_TRUE(running.NoTray);
}

TEST_F(DialogTest, EveryKindOfEditEnablesApply) {
    const std::vector<std::pair<const char*, std::function<void(settings_dialog::frmProperty&)>>>
        edits = {
            {"check box",
             [](settings_dialog::frmProperty& d) {
                 d.optionBox(QStringLiteral("IMEState"))->click();
             }},
            {"memo file",
             [](settings_dialog::frmProperty& d) {
                 d.txtMemoFileName()->setText(QStringLiteral("a"));
             }},
            {"hotkey", [](settings_dialog::frmProperty& d) { d.txtHotKey()->setHotKey(66); }},
            {"spin arrow",
             [](settings_dialog::frmProperty& d) { d.uspnMRU()->downArrow()->click(); }},
            {"spin typing",
             [](settings_dialog::frmProperty& d) {
                 d.uspnMRU()->textBox()->setText(QStringLiteral("12"));
             }},
            {"history limit", [](settings_dialog::frmProperty& d) { d.chkMRULimit()->click(); }},
            {"start at login",
             [](settings_dialog::frmProperty& d) {
                 d.optionBox(QStringLiteral("StartAtLogin"))->click();
             }},
            {"command",
             [](settings_dialog::frmProperty& d) {
                 settings_dialog::CommandPage* page = d.commandPage();
                 page->txtCommandName()->setText(QStringLiteral("n"));
                 page->txtCommand()->setText(QStringLiteral("n"));
                 page->txtCommandContent()->setText(QStringLiteral("c"));
                 page->cmdAdd()->click();
             }},
        };
    for (const auto& [name, edit] : edits) {
        settings_dialog::frmProperty& d = open(kStoredSettings);
        ASSERT_FALSE(d.cmdApp()->isEnabled()) << name;
        edit(d);
        EXPECT_TRUE(d.cmdApp()->isEnabled()) << name;
    }
}

struct BrowseCase {
    const char* name;
    const char* current;
    const char* folder; // "@" stands for the program folder
    const char* fileName;
};

class Browse : public DialogTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(Browse, OpensInTheNamesFolderOrTheProgramFolder) {
    const BrowseCase& c = GetParam();
    settings_dialog::frmProperty& d = open(kStoredSettings);
    d.txtMemoFileName()->setText(QString::fromUtf8(c.current));
    settings_dialog::OpenFileRequest seen;
    QString answer = QStringLiteral("/home/u/選んだ.txt");
    settings_dialog::setOpenFileDialogHandler([&](const settings_dialog::OpenFileRequest& r) {
        seen = r;
        return answer;
    });
    d.cmdMemoFileNameRef_Click();
    const QString folder = QString::fromUtf8(c.folder);
    EXPECT_EQ(seen.initialFolder, folder == QLatin1String("@") ? platform::AppPath() : folder);
    EXPECT_EQ(seen.fileName, QString::fromUtf8(c.fileName));
    EXPECT_EQ(seen.title, QStringLiteral("ﾌｧｲﾙを開く"));
    EXPECT_EQ(d.txtMemoFileName()->text(), answer);
    answer.clear(); // cancelled: the name stays
    d.cmdMemoFileNameRef_Click();
    EXPECT_EQ(d.txtMemoFileName()->text(), QStringLiteral("/home/u/選んだ.txt"));
}

INSTANTIATE_TEST_SUITE_P(Names, Browse,
                         ::testing::Values(BrowseCase{"bareName", "メモ.txt", "@", "メモ.txt"},
                                           BrowseCase{"fullPath", "/home/u/my notes/a b.txt",
                                                      "/home/u/my notes/", "a b.txt"},
                                           BrowseCase{"folderOnly", "/home/u/", "/home/u/", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, ClearHistoryAndScriptReloadAskFirst) {
    settings_dialog::frmProperty& d = open(kStoredSettings);
    boxes.answers = {mb::Cancel, mb::OK};
    d.cmdDeleteMRU_Click();
    EXPECT_EQ(host.historyCleared, 0);
    d.cmdDeleteMRU_Click();
    EXPECT_EQ(host.historyCleared, 1);
    EXPECT_EQ(boxes.shown.last().text,
              QStringLiteral("履歴を削除します。\nこの操作は元に戻せませんがよろしいですか？"));
    EXPECT_EQ(boxes.shown.last().style, int(mb::OKCancel) | mb::Exclamation | mb::DefaultButton2);

    boxes.shown.clear();
    boxes.answers = {mb::No, mb::Yes, mb::OK, mb::Yes, mb::OK};
    d.cmdVbsLoad_Click();
    EXPECT_TRUE(host.reloaded.isEmpty());
    d.cmdVbsLoad_Click();
    host.reloadWorks = false;
    d.cmdVbsLoad_Click();
    EXPECT_EQ(host.reloaded, QStringList(2, platform::userScriptFilePath()));
    EXPECT_EQ(boxes.texts(), QStringList({"Scrivlet.vbsをロードし直します。\nよろしいですか？",
                                          "Scrivlet.vbsをロードし直します。\nよろしいですか？",
                                          "処理が終了しました。",
                                          "Scrivlet.vbsをロードし直します。\nよろしいですか？",
                                          "ロードに失敗しました。"}));
    for (const platform::MessageBoxRequest& box : boxes.shown)
        EXPECT_EQ(box.title, QStringLiteral("Scrivlet Ver.1.73"));
}

TEST_F(DialogTest, MissingScriptEngineIsShownAndTheDialogStillSaves) {
    host.engineAvailable = false;
    settings_dialog::frmProperty& d = open(kStoredSettings);
    EXPECT_EQ(d.lblExecutableInfo()->text(),
              QStringLiteral(
                  "計算機能は利用できません。\nMSSCRIPT.ocxがインストールされていないようです。"));
    d.cmdOK()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(DialogTest, TabsAreRememberedOnlyWhenConfirmedWithOk) {
    open(kStoredSettings).tabStrip()->setCurrentIndex(0);
    dialog->cmdOK()->click();
    settings_dialog::frmProperty& d = open();
    EXPECT_EQ(d.tabStrip()->count(), 3);
    EXPECT_EQ(d.tabStrip()->tabText(2), QStringLiteral("タイマー"));
    d.tabStrip()->setCurrentIndex(2);
    d.cmdCancel()->click();
    EXPECT_EQ(open().tabStrip()->currentIndex(), 0);
    dialog->tabStrip()->setCurrentIndex(1);
    dialog->cmdOK()->click();
    EXPECT_EQ(open().tabStrip()->currentIndex(), 1);
    dialog->Show2(3, false);
    EXPECT_EQ(dialog->tabStrip()->currentIndex(), 2);
    dialog->Show2(0, false);
    EXPECT_EQ(dialog->tabStrip()->currentIndex(), 2) << "0 keeps the tab";
    dialog->cmdCancel()->click();
}

TEST_F(DialogTest, KeepAboveButtonPutsTheDialogInTheTopmostBand) {
    settings_dialog::frmProperty& d = open(kStoredSettings);
    d.Show2(0, false);
    d.chkToggleTopMost()->click();
    EXPECT_TRUE(d.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    d.chkToggleTopMost()->click();
    EXPECT_FALSE(d.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(d.isVisible());
    d.cmdCancel()->click();
}

TEST_F(DialogTest, FailedSaveIsReportedAndKeepsTheDialogOpen) {
    settings_dialog::frmProperty& d = open(kStoredSettings);
    // The settings file's place is taken by a folder: no write can succeed, root or not.
    QFile::remove(iniPath());
    QDir().mkpath(iniPath() + QStringLiteral("/blocked"));
    const bool wasTopMost = running.TopMost;
    d.optionBox(QStringLiteral("TopMost"))->click();
    d.cmdOK()->click();
    EXPECT_NE(d.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("設定を保存できませんでした。")));
    // Nothing was saved, so nothing applies to the running program, before or after Cancel.
    EXPECT_EQ(running.TopMost, wasTopMost);
    d.cmdCancel()->click();
    EXPECT_EQ(running.TopMost, wasTopMost);
}

TEST_F(DialogTest, StartAtLoginWritesAndRemovesTheAutostartEntry) {
    const QString config = testsupport::freshFolder(QStringLiteral("xdg"));
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const QString entry = config + QStringLiteral("/autostart/scrivlet.desktop");
    ASSERT_EQ(platform::autostartEntryPath(), entry);

    settings_dialog::frmProperty& d = open(kStoredSettings);
    QCheckBox* box = d.optionBox(QStringLiteral("StartAtLogin"));
    EXPECT_FALSE(box->isChecked());
    box->click();
    d.cmdOK()->click();
    const QString written = QString::fromUtf8(testsupport::readFile(entry));
    EXPECT_TRUE(written.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(
        written.contains(QStringLiteral("Exec=") +
                         platform::desktopEntryExec(QCoreApplication::applicationFilePath())));
    // After the program is removed, a login skips the entry instead of failing.
    EXPECT_TRUE(written.contains(QStringLiteral("\nTryExec=") +
                                 QCoreApplication::applicationFilePath() + QLatin1Char('\n')));
    EXPECT_FALSE(testsupport::readFile(iniPath()).contains("StartAtLogin")) << "never in the ini";

    // The state is the file: a Hidden entry (switched off by the desktop's own settings) reads
    // unticked.
    EXPECT_TRUE(open().optionBox(QStringLiteral("StartAtLogin"))->isChecked());
    testsupport::writeFile(entry, "[Desktop Entry]\nType=Application\nExec=x\nHidden=true\n");
    EXPECT_FALSE(open().optionBox(QStringLiteral("StartAtLogin"))->isChecked());
    testsupport::writeFile(entry, written.toUtf8());
    settings_dialog::frmProperty& again = open();
    again.optionBox(QStringLiteral("StartAtLogin"))->click();
    again.cmdOK()->click();
    EXPECT_FALSE(QFileInfo::exists(entry));

    // A folder that cannot be made is reported, and the dialog stays open.
    QDir(config).removeRecursively();
    testsupport::writeFile(config + QStringLiteral("/autostart"), "not a folder");
    settings_dialog::frmProperty& failing = open();
    failing.optionBox(QStringLiteral("StartAtLogin"))->click();
    failing.cmdOK()->click();
    EXPECT_NE(failing.result(), QDialog::Accepted);
    ASSERT_FALSE(boxes.shown.isEmpty());
    EXPECT_TRUE(boxes.shown.last().text.startsWith(
        QStringLiteral("ログイン時の起動を設定できませんでした。")));
    qputenv("XDG_CONFIG_HOME", previous);
}

struct ExecCase {
    const char* name;
    const char* program;
    const char* exec;
};

class AutostartExec : public ::testing::TestWithParam<ExecCase> {};

TEST_P(AutostartExec, QuotesAndEscapesAsDesktopEntriesWant) {
    EXPECT_EQ(platform::desktopEntryExec(QString::fromUtf8(GetParam().program)),
              QString::fromUtf8(GetParam().exec));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AutostartExec,
    ::testing::Values(ExecCase{"plain", "/usr/bin/scrivlet", "/usr/bin/scrivlet"},
                      ExecCase{"blank", "/home/u/my apps/scrivlet", "\"/home/u/my apps/scrivlet\""},
                      ExecCase{"japanese", "/home/u/ツール/scrivlet", "/home/u/ツール/scrivlet"},
                      ExecCase{"percent", "/opt/100%/scrivlet", "/opt/100%%/scrivlet"},
                      ExecCase{"dollarAndQuote", "/opt/a$b\"c/s", "\"/opt/a\\\\$b\\\\\"c/s\""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
