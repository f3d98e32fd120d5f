// The portal hotkey service against a fake portal in its own process on a private bus: binding,
// listing, presses, the activation token, refusals, a missing portal and a restarted one.
#include "desktop/PortalHotKeyService.h"
#include "desktop/ShortcutTrigger.h"
#include "desktop/HookRegistry.h"
#include "fakes/PrivateBus.h"

#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QKeySequence>
#include <QSignalSpy>

namespace {

using namespace desktop;

constexpr int kCtrlAltZ = 'Z' * 65536 + 3;

class PortalHotKey : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.isUp()) << "dbus-daemon did not start";
        setWindowProcedure(&window,
                           [this](WindowHandle, int iMsg, std::intptr_t, std::intptr_t lParam) {
                               if (iMsg == msg::HotKey)
                                   presses << int(lParam);
                               return std::intptr_t(0);
                           });
        qunsetenv("XDG_ACTIVATION_TOKEN");
    }
    void TearDown() override { setWindowProcedure(&window, nullptr); }

    std::unique_ptr<PortalHotKeyService> makeService() {
        auto service = std::make_unique<PortalHotKeyService>(
            bus.connect(QStringLiteral("client%1").arg(++clients)), QStringLiteral("scrivlet"));
        service->setLateRefusalHandler([this](const QString& reason) { refusals << reason; });
        return service;
    }
    QStringList portalCalls() {
        return bus.control(QStringLiteral("Calls")).arguments().value(0).toStringList();
    }
    void activate(const QString& session, const QString& id, const QString& token) {
        bus.control(QStringLiteral("Activate"), {session, id, token});
    }

    PrivateBus bus;
    QObject window;
    QList<int> presses;
    QStringList refusals;
    int clients = 0;
};

TEST_F(PortalHotKey, BindsTheProposedKeyInAFixedSessionAndLearnsTheGivenTrigger) {
    ASSERT_TRUE(bus.startPortal({"--registry", "--trigger", "Super+Z"}));
    auto service = makeService();
    QSignalSpy triggers(service.get(), &PortalHotKeyService::triggerChanged);
    ASSERT_TRUE(service->registerHotKey(&window, kCtrlAltZ, 3, 'Z'));
    ASSERT_TRUE(waitUntil([&] { return portalCalls().contains("ListShortcuts"); }));
    EXPECT_EQ(portalCalls(),
              QStringList({"Register scrivlet",
                           "CreateSession shortcuts=show-hide:CTRL+ALT+Z "
                           "session_handle_token=scrivlet",
                           "BindShortcuts shortcuts=show-hide:CTRL+ALT+Z", "ListShortcuts"}));
    ASSERT_TRUE(waitUntil([&] { return service->desktopTrigger() == "Super+Z"; }));
    EXPECT_TRUE(service->sessionHandle().endsWith("/scrivlet"))
        << qPrintable(service->sessionHandle());
    EXPECT_TRUE(refusals.isEmpty());
    EXPECT_FALSE(service->canOpenDesktopSettings()); // version 1 has no dialog of its own

    bus.control("ChangeTrigger", {QStringLiteral("Ctrl+Alt+Space")});
    ASSERT_TRUE(waitUntil([&] { return service->desktopTrigger() == "Ctrl+Alt+Space"; }));
    EXPECT_GE(triggers.count(), 2);
}

TEST_F(PortalHotKey, OnlyOurSessionsActivationOfARegisteredKeyPressesItAndPassesTheToken) {
    ASSERT_TRUE(bus.startPortal());
    auto service = makeService();
    ASSERT_TRUE(service->registerHotKey(&window, kCtrlAltZ, 3, 'Z'));
    ASSERT_TRUE(waitUntil([&] { return !service->sessionHandle().isEmpty(); }));

    struct Row {
        const char* name;
        QString session;
        QString shortcut;
        QString token;
        bool pressed;
        QString tokenAfter;
    } rows[] = {
        {"another program's session", "/org/freedesktop/portal/desktop/session/1_99/other",
         "show-hide", "tok-foreign", false, ""},
        {"an id we never bound", "", "unknown", "", false, ""},
        {"ours, with a token", "", "show-hide", "sway-7f3a_b.c:9=", true, "sway-7f3a_b.c:9="},
        {"ours, with a token that is no token", "", "show-hide", "bad token\n", true, ""},
        {"ours, without a token", "", "show-hide", "", true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        presses.clear();
        qunsetenv("XDG_ACTIVATION_TOKEN");
        activate(row.session, row.shortcut, row.token);
        // A press that must not come is waited for as long as one that must.
        waitUntil([&] { return !presses.isEmpty(); }, row.pressed ? 5000 : 300);
        EXPECT_EQ(presses, row.pressed ? QList<int>{kCtrlAltZ} : QList<int>{});
        EXPECT_EQ(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"), row.tokenAfter);
    }

    // Released (the settings dialog is open): the desktop's binding stays, presses are ignored.
    service->unregisterHotKey(&window, kCtrlAltZ);
    presses.clear();
    activate("", "show-hide", "");
    waitUntil([&] { return !presses.isEmpty(); }, 300);
    EXPECT_TRUE(presses.isEmpty());
}

TEST_F(PortalHotKey, RefusalsGiveTheReasonAndTheDesktopShortcutAdvice) {
    struct Row {
        const char* name;
        bool portal;
        QStringList arguments;
        bool registers; // whether registerHotKey itself says yes (the desktop answers later)
        QString reason;
    } rows[] = {
        {"no portal on the bus", false, {}, false, "xdg-desktop-portal"},
        {"a portal without the interface", true, {"--version", "0"}, false, "対応していません"},
        {"the user cancels", true, {"--respond", "CreateSession=1"}, true, "取り消され"},
        {"the desktop fails the binding", true, {"--respond", "BindShortcuts=2"}, true, "断り"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        refusals.clear();
        bus.stopPortal();
        if (row.portal) {
            ASSERT_TRUE(bus.startPortal(row.arguments));
        }
        auto service = makeService();
        EXPECT_EQ(service->registerHotKey(&window, kCtrlAltZ, 3, 'Z'), row.registers);
        const QString reason =
            row.registers
                ? (waitUntil([&] { return !refusals.isEmpty(); }) ? refusals.value(0) : QString())
                : service->unavailableReason();
        EXPECT_TRUE(reason.contains(row.reason)) << qPrintable(reason);
        EXPECT_TRUE(reason.contains("scrivlet")) << qPrintable(reason);
        // "No key" asks the desktop for nothing and is never refused.
        EXPECT_TRUE(service->registerHotKey(&window, 0, 0, 0));
    }
}

TEST_F(PortalHotKey, ARestartedPortalGetsTheSessionAgainAndPressesStillArrive) {
    ASSERT_TRUE(bus.startPortal({"--version", "2"}));
    auto service = makeService();
    ASSERT_TRUE(service->registerHotKey(&window, kCtrlAltZ, 3, 'Z'));
    ASSERT_TRUE(waitUntil([&] { return portalCalls().contains("ListShortcuts"); }));
    EXPECT_TRUE(service->canOpenDesktopSettings());

    bus.control("Restart");
    ASSERT_TRUE(waitUntil([&] {
        return portalCalls().filter("CreateSession").size() == 2 &&
               portalCalls().count("ListShortcuts") == 2;
    })) << qPrintable(portalCalls().join('\n'));
    ASSERT_TRUE(waitUntil([&] { return !service->sessionHandle().isEmpty(); }));
    activate("", "show-hide", "");
    ASSERT_TRUE(waitUntil([&] { return !presses.isEmpty(); }));
    EXPECT_EQ(presses, QList<int>{kCtrlAltZ});

    service->openDesktopSettings();
    EXPECT_TRUE(waitUntil([&] { return portalCalls().contains("ConfigureShortcuts"); }));
}

TEST(ShortcutTrigger, CombinationsReadAsTheDesktopsShortcutNamesAndQtKeys) {
    struct Row {
        int mask;
        int key;
        const char* trigger;
        const char* qtKey; // Qt's portable text of the same combination
    } rows[] = {
        {8, 'Z', "LOGO+Z", "Meta+Z"},
        {3, 'Z', "CTRL+ALT+Z", "Ctrl+Alt+Z"},
        {15, '5', "CTRL+ALT+SHIFT+LOGO+5", "Meta+Ctrl+Alt+Shift+5"},
        {2, 32, "CTRL+space", "Ctrl+Space"},
        {1, 123, "ALT+F12", "Alt+F12"},
        {4, 101, "SHIFT+KP_5", "Shift+Num+5"},
        {2, 33, "CTRL+Prior", "Ctrl+PgUp"},
        {0, 0, "", ""},
        {2, 186, "", ""}, // no name there
    };
    for (const Row& row : rows) {
        EXPECT_EQ(shortcutTrigger(row.mask, row.key), QString::fromLatin1(row.trigger))
            << row.mask << " " << row.key;
        const int combined = qtKeyCombination(row.mask, row.key);
        EXPECT_EQ(combined ? QKeySequence(combined).toString(QKeySequence::PortableText)
                           : QString(),
                  QString::fromLatin1(row.qtKey))
            << row.mask << " " << row.key;
    }
}

} // namespace
