// The settings dialog and the timers in the real window: the real dispatcher, evaluator and
// settings file.
#include "app/ProgramIcon.h"
#include "app/PropertyDialog.h"
#include "app/frmMemo.h"

#include "ScriptedBoxes.h"
#include "TestEnvironment.h"
#include "config/CIniFile.h"
#include "controls/uHotKey.h"
#include "input/CMRUCombo.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/WallClockAlarm.h"
#include "platform/gui/WindowControl.h"
#include "settings_dialog/ExampleScript.h"
#include "settings_dialog/TimerList.h"
#include "settings_dialog/frmProperty.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class NeverAlarm final : public platform::IAlarm {
public:
    void aimAt(const QDateTime&) override {}
    void cancel() override {}
    void goOff() { fire(); }
};

class SettingsInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::freshFolder(QStringLiteral("program"));
        platform::setProgramIdentity(folder, QStringLiteral("scrivlet"));
    }
    void TearDown() override {
        if (window && !window->isUnloaded())
            window->Unload();
        window.reset();
        platform::setProgramIdentity(QString(), QString());
    }

    QByteArray settingsOnDisk() const {
        return testsupport::readFile(folder + QStringLiteral("/scrivlet.ini"));
    }

    void start(const QByteArray& ini, const QStringList& arguments = {}) {
        testsupport::writeFile(folder + QStringLiteral("/scrivlet.ini"), ini);
        window = std::make_unique<frmMemo>();
        window->setShellOpener([](const QString&) { return false; });
        window->setSettingsDialog(&app::showPropertyDialog);
        window->Initialize(arguments);
    }

    // Runs `inside` on the modal settings dialog once it is up.
    void whileDialogIsOpen(std::function<void(settings_dialog::frmProperty&)> inside) {
        QTimer::singleShot(0, [inside] {
            auto* dialog =
                qobject_cast<settings_dialog::frmProperty*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
        });
        EXPECT_TRUE(window->ShowProperty());
    }

    QString folder;
    std::unique_ptr<frmMemo> window;
    testsupport::ScriptedBoxes boxes;
};

TEST_F(SettingsInWindow, StartedWithoutHotkeyTheDialogShowsTheStoredOneAndOkStoresIt) {
    start("[Options]\r\nHotKeyMask=3\r\nHotKey=65\r\n", {QStringLiteral("/nohotkey")});
    EXPECT_EQ(config::options().HotKey, 0);
    whileDialogIsOpen([](settings_dialog::frmProperty& d) {
        EXPECT_EQ(d.txtHotKey()->Text(), QStringLiteral("Ctrl + Alt + A"));
        EXPECT_TRUE(d.windowTitle().startsWith(QStringLiteral("設定 - Scrivlet Ver.")));
        EXPECT_EQ(d.windowIcon().cacheKey(), app::ProgramIcon().cacheKey());
        d.optionBox(QStringLiteral("TopMost"))->click();
        d.cmdOK()->click();
    });
    EXPECT_TRUE(config::options().TopMost);
    EXPECT_TRUE(platform::isTopMost(window.get())) << "always-on-top takes effect at once";
    EXPECT_EQ(config::options().HotKey, 65);
    EXPECT_EQ(config::options().HotKeyMask, 3);
    EXPECT_TRUE(window->trayReady());
}

TEST_F(SettingsInWindow, ACommandAddedInTheDialogRunsRightAfterOk) {
    start("[Options]\r\nHideAfterRun=False\r\n");
    whileDialogIsOpen([](settings_dialog::frmProperty& d) {
        d.tabStrip()->setCurrentIndex(1);
        auto* page = d.findChild<QWidget*>(QStringLiteral("txtCommandName"));
        ASSERT_NE(page, nullptr);
        d.findChild<QLineEdit*>(QStringLiteral("txtCommandName"))->setText(QStringLiteral("倍"));
        d.findChild<QLineEdit*>(QStringLiteral("txtCommand"))->setText(QStringLiteral("dbl"));
        d.findChild<QLineEdit*>(QStringLiteral("txtCommandContent"))
            ->setText(QStringLiteral("%a*2"));
        d.findChild<QPushButton*>(QStringLiteral("cmdAdd"))->click();
        d.cmdOK()->click();
    });
    window->inputLine()->setEditText(QStringLiteral("dbl 21"));
    window->Execute();
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("42"));
}

TEST_F(SettingsInWindow, ClearingTheHistoryForgetsItOnDiskAtOnce) {
    start("[MRU]\r\n1=予定「会議」★\r\n2=1+1\r\n");
    ASSERT_EQ(window->inputLine()->count(), 2);
    window->inputLine()->setEditText(QStringLiteral("typing"));
    boxes.answers = {platform::mb::OK};
    whileDialogIsOpen([](settings_dialog::frmProperty& d) {
        d.cmdDeleteMRU_Click();
        d.cmdCancel()->click();
    });
    EXPECT_EQ(window->inputLine()->count(), 0);
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("typing"));
    EXPECT_TRUE(window->history().MRUList().isEmpty());
    // Already on disk, before the program ends.
    EXPECT_FALSE(settingsOnDisk().contains("予定"));
    EXPECT_FALSE(settingsOnDisk().contains("1+1"));
    window->Unload();
    EXPECT_FALSE(settingsOnDisk().contains("予定"));
}

TEST_F(SettingsInWindow, TheExampleScriptOfANewUserWorksFromTheInputLine) {
    const QString script = platform::userScriptFilePath();
    ASSERT_TRUE(settings_dialog::createExampleScriptIfMissing(script));
    const QByteArray example = testsupport::readFile(script);
    EXPECT_TRUE(example.startsWith("' ")) << "it opens with a comment saying what it is for";
    start("[Options]\r\nHideAfterRun=False\r\n");
    EXPECT_TRUE(boxes.shown.isEmpty()) << "the example loads without an error";
    window->inputLine()->setEditText(QStringLiteral("Tax(1200)"));
    window->Execute();
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("1320"));
    // The user's own file is never replaced.
    testsupport::writeFile(script, "Function Mine()\r\nMine = 1\r\nEnd Function\r\n");
    EXPECT_TRUE(settings_dialog::createExampleScriptIfMissing(script));
    EXPECT_EQ(testsupport::readFile(script), "Function Mine()\r\nMine = 1\r\nEnd Function\r\n");
}

TEST_F(SettingsInWindow, ATimerRunsItsLineOnceAndLeavesTheInputLineAndHistoryAlone) {
    start("[Options]\r\nHideAfterRun=False\r\n");
    window->inputLine()->setEditText(QStringLiteral("書きかけ"));
    QDateTime now(QDate(2026, 12, 7), QTime(10, 0, 0));
    auto* alarm = new NeverAlarm;
    settings_dialog::TimerList timers([&] { return now; },
                                      std::unique_ptr<platform::IAlarm>(alarm));
    timers.setRunner([this](const QString& line) { window->RunTimerLine(line); });
    timers.append({now, QStringLiteral("MsgBox(\"時間になりました。\")")});
    timers.append({now, QStringLiteral("1+1")});
    timers.append({now.addSecs(60), QStringLiteral("MsgBox(\"later\")")});
    alarm->goOff();
    alarm->goOff();
    EXPECT_EQ(boxes.texts().count(QStringLiteral("時間になりました。")), 1);
    EXPECT_FALSE(boxes.texts().contains(QStringLiteral("later")));
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("書きかけ"));
    EXPECT_EQ(window->inputLine()->count(), 0);
    EXPECT_TRUE(window->history().MRUList().isEmpty());
    EXPECT_EQ(timers.entries().size(), 1);
}

} // namespace
