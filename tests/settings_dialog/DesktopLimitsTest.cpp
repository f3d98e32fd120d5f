// Where the desktop owns the global shortcut (Wayland), the settings dialog shows the key the
// desktop gave, keeps the stored one as it was, and offers the desktop's own dialog where the
// desktop has one.
#include "DialogFixture.h"

#include "controls/uHotKey.h"
#include "desktop/HotKeyService.h"

#include <QLabel>

namespace dialogtest {
namespace {

class DesktopService : public desktop::IHotKeyService {
public:
    bool registerHotKey(desktop::WindowHandle, int, int, int) override { return true; }
    void unregisterHotKey(desktop::WindowHandle, int) override {}
    QString unavailableReason() const override { return QString(); }
    bool desktopOwnsKeys() const override { return owns; }
    QString desktopTrigger() const override { return trigger; }
    bool canOpenDesktopSettings() const override { return canOpen; }
    void openDesktopSettings() override { ++opened; }

    bool owns = true;
    QString trigger;
    bool canOpen = false;
    int opened = 0;
};

class DesktopLimits : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        previous = desktop::setHotKeyService(&service);
    }
    void TearDown() override {
        DialogTest::TearDown();
        desktop::setHotKeyService(previous);
    }
    DesktopService service;
    desktop::IHotKeyService* previous = nullptr;
};

TEST_F(DesktopLimits, TheHotKeyBoxShowsWhatTheDesktopGaveAndStoresTheKeyUnchanged) {
    struct Row {
        const char* name;
        bool owns;
        QString trigger;
        bool canOpen;
        bool boxEnabled;
        QString note; // a part of the note under the box
        bool button;
    } rows[] = {
        {"X11: the program's own key", false, "", false, true, "[Windows] + 英数字", false},
        {"portal version 1", true, "Meta+Z", false, false, "割り当てられたキー: Meta+Z", false},
        {"portal with its own dialog", true, "Ctrl+Alt+Space", true, false,
         "割り当てられたキー: Ctrl+Alt+Space", true},
        {"nothing bound yet", true, "", false, false, "割り当てられたキー: (なし)", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        service.owns = row.owns;
        service.trigger = row.trigger;
        service.canOpen = row.canOpen;
        service.opened = 0;
        settings_dialog::frmProperty& d = open({"[Options]", "HotKeyMask=3", "HotKey=65"});
        auto* box = d.findChild<controls::uHotKey*>(QStringLiteral("txtHotKey"));
        auto* note = d.findChild<QLabel*>(QStringLiteral("lblHotKeyInfo"));
        ASSERT_TRUE(box && note);
        EXPECT_EQ(box->isEnabled(), row.boxEnabled);
        EXPECT_TRUE(note->text().contains(row.note)) << qPrintable(note->text());
        auto* button = d.findChild<QPushButton*>(QStringLiteral("cmdDesktopShortcuts"));
        ASSERT_EQ(button != nullptr, row.button);
        if (button) {
            button->click();
            EXPECT_EQ(service.opened, 1);
        }
        d.cmdOK()->click();
        EXPECT_EQ(running.HotKey, 65);
        EXPECT_EQ(running.HotKeyMask, 3);
        EXPECT_TRUE(sectionOnDisk(QStringLiteral("Options")).contains("HotKey=65"));
    }
}

} // namespace
} // namespace dialogtest
