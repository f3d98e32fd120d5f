// The KDE shortcut service path against the real kglobalaccel daemon on a private bus: the key
// the program proposes, the key the user saved winning over it, and presses.
#include "desktop/KGlobalAccelHotKeyService.h"
#include "desktop/HookRegistry.h"
#include "fakes/PrivateBus.h"

#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QStandardPaths>

namespace {

using namespace desktop;

constexpr int kWinZ = 'Z' * 65536 + 8;
constexpr int kCtrlAltZ = 'Z' * 65536 + 3;

TEST(KGlobalAccelHotKey, TheSavedKeyWinsAndTheDaemonsPressesReachTheWindow) {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("kglobalaccel5"));
    ASSERT_FALSE(daemon.isEmpty()) << "kglobalaccel5 is missing: run scripts/deps.sh test";
    PrivateBus bus;
    ASSERT_TRUE(bus.isUp());
    ASSERT_TRUE(bus.startService(daemon, QStringLiteral("org.kde.kglobalaccel")));
    QDBusConnection connection = bus.connect(QStringLiteral("kde-client"));
    ASSERT_TRUE(KGlobalAccelHotKeyService::isAvailable(connection));

    QObject window;
    QList<int> presses;
    setWindowProcedure(&window, [&](WindowHandle, int iMsg, std::intptr_t, std::intptr_t lParam) {
        if (iMsg == msg::HotKey)
            presses << int(lParam);
        return std::intptr_t(0);
    });
    const auto press = [&] {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/component/scrivlet"),
            QStringLiteral("org.kde.kglobalaccel.Component"), QStringLiteral("invokeShortcut"));
        call << QStringLiteral("show-hide");
        connection.call(call, QDBus::Block, 5000);
    };

    {
        KGlobalAccelHotKeyService first(connection);
        ASSERT_TRUE(first.registerHotKey(&window, kCtrlAltZ, 3, 'Z'));
        EXPECT_EQ(first.desktopTrigger(), QStringLiteral("Ctrl+Alt+Z"));
        press();
        ASSERT_TRUE(waitUntil([&] { return !presses.isEmpty(); }));
        EXPECT_EQ(presses, QList<int>{kCtrlAltZ});
    }

    // A later run proposing another key keeps the one the service holds (set by the user).
    presses.clear();
    KGlobalAccelHotKeyService second(connection);
    ASSERT_TRUE(second.registerHotKey(&window, kWinZ, 8, 'Z'));
    EXPECT_EQ(second.desktopTrigger(), QStringLiteral("Ctrl+Alt+Z"));
    press();
    ASSERT_TRUE(waitUntil([&] { return !presses.isEmpty(); }));
    EXPECT_EQ(presses, QList<int>{kWinZ});

    // Released while the settings dialog is open: presses are ignored.
    presses.clear();
    second.unregisterHotKey(&window, kWinZ);
    press();
    waitUntil([&] { return !presses.isEmpty(); }, 300);
    EXPECT_TRUE(presses.isEmpty());
    setWindowProcedure(&window, nullptr);
}

} // namespace
