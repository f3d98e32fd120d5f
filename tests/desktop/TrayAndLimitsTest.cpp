// The tray icon's mouse messages, the size limiter and the activation watcher, each seen through
// the messages of a window as the hook registry delivers them.
#include "desktop/CAppActive.h"
#include "desktop/CLimitForm.h"
#include "desktop/CTray.h"
#include "desktop/HookRegistry.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <QSignalSpy>
#include <QStringList>
#include <QWidget>

namespace {

using namespace desktop;

QIcon someIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkCyan);
    return QIcon(pixmap);
}

// Records the tray's events in the order raised.
QStringList* recordTray(CTray& tray, QStringList& log) {
    QObject::connect(&tray, &CTray::Click, [&] { log << "Click"; });
    QObject::connect(&tray, &CTray::DblClick, [&] { log << "DblClick"; });
    QObject::connect(&tray, &CTray::MouseMove, [&] { log << "Move"; });
    QObject::connect(&tray, &CTray::MouseDown,
                     [&](int b) { log << QStringLiteral("Down%1").arg(b); });
    QObject::connect(&tray, &CTray::MouseUp, [&](int b) { log << QStringLiteral("Up%1").arg(b); });
    return &log;
}

TEST(Tray, MouseMessagesBecomeEventsInTheirOrder) {
    const struct {
        const char* name;
        QList<int> messages;
        QStringList events;
    } rows[] = {
        {"left click", {512, 513, 514}, {"Move", "Down1", "Up1", "Click"}},
        {"left double click: one Click",
         {513, 514, 515, 514},
         {"Down1", "Up1", "Click", "DblClick", "Up1"}},
        {"right click: no Click", {516, 517}, {"Down2", "Up2"}},
        {"middle click", {519, 520}, {"Down4", "Up4"}},
        {"right and middle double clicks raise nothing", {518, 521}, {}},
    };
    QObject window;
    for (const auto& row : rows) {
        CTray tray;
        QStringList log;
        recordTray(tray, log);
        tray.setIcon(someIcon());
        ASSERT_TRUE(tray.AddIcon(&window));
        for (const int message : row.messages)
            EXPECT_EQ(SendWindowMessage(&window, msg::TrayCallback, 0, message), 0) << row.name;
        EXPECT_EQ(log, row.events) << row.name;
    }
}

TEST(Tray, AnIconIsNeededAndOtherMessagesPassOn) {
    QObject window;
    int ownCalls = 0;
    setWindowProcedure(&window, [&](WindowHandle, int, std::intptr_t, std::intptr_t) {
        ++ownCalls;
        return std::intptr_t(0);
    });
    CTray tray;
    tray.setTooltipText(QString(70, QLatin1Char('x')));
    EXPECT_EQ(tray.TooltipText().size(), 64);
    EXPECT_FALSE(tray.AddIcon(&window));
    EXPECT_FALSE(tray.Visible());
    EXPECT_FALSE(isHooked(&tray));

    tray.setIcon(someIcon());
    ASSERT_TRUE(tray.AddIcon(&window));
    EXPECT_EQ(SendWindowMessage(&window, msg::TrayCallback, 0, 600), 0); // outside 512-521
    EXPECT_EQ(SendWindowMessage(&window, msg::HotKey, 1, 1), 0);
    EXPECT_EQ(ownCalls, 2);
    // A restarted tray host while the icon is shown: added again, still hooked once.
    EXPECT_EQ(SendWindowMessage(&window, CTray::TaskbarCreated, 0, 0), 0);
    EXPECT_TRUE(tray.Visible());
    EXPECT_EQ(ownCalls, 2);

    tray.DeleteIcon();
    EXPECT_FALSE(isHooked(&tray));
    EXPECT_EQ(tray.WindowProc(&window, CTray::TaskbarCreated, 0, 0), 0); // hidden: nothing
    EXPECT_FALSE(tray.Visible());
    setWindowProcedure(&window, nullptr);
}

TEST(LimitForm, LimitsFollowTheirRulesAndReachTheWindow) {
    CLimitForm limiter;
    EXPECT_EQ(limiter.MaxWidth(), CLimitForm::screenWidth());
    EXPECT_EQ(limiter.MinHeight(), 0);
    const struct {
        const char* name;
        void (CLimitForm::*set)(int);
        int (CLimitForm::*get)() const;
        int value;
        int stored;
    } rows[] = {
        {"max width 0", &CLimitForm::setMaxWidth, &CLimitForm::MaxWidth, 0,
         CLimitForm::screenWidth()},
        {"max width -3", &CLimitForm::setMaxWidth, &CLimitForm::MaxWidth, -3,
         CLimitForm::screenWidth()},
        {"max height 0", &CLimitForm::setMaxHeight, &CLimitForm::MaxHeight, 0,
         CLimitForm::screenHeight()},
        {"min height -5", &CLimitForm::setMinHeight, &CLimitForm::MinHeight, -5, 0},
        {"min width 0", &CLimitForm::setMinWidth, &CLimitForm::MinWidth, 0, 0},
        {"min width 200", &CLimitForm::setMinWidth, &CLimitForm::MinWidth, 200, 200},
        {"max height 300", &CLimitForm::setMaxHeight, &CLimitForm::MaxHeight, 300, 300},
    };
    for (const auto& row : rows) {
        (limiter.*row.set)(row.value);
        EXPECT_EQ((limiter.*row.get)(), row.stored) << row.name;
    }

    QWidget window;
    EXPECT_TRUE(limiter.Initialize(&window));
    EXPECT_FALSE(limiter.Initialize(&window));
    MinMaxInfo info;
    info.maxSize = {1, 2};
    EXPECT_EQ(
        SendWindowMessage(&window, msg::GetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info)),
        0);
    EXPECT_EQ(info.minTrackSize.width, 200);
    EXPECT_EQ(info.maxTrackSize.height, 300);
    EXPECT_EQ(info.maxSize.height, 2); // the other members are kept
    // The window itself now keeps to them; a changed limit applies at once.
    EXPECT_EQ(window.minimumWidth(), 200);
    EXPECT_EQ(window.maximumHeight(), 300);
    limiter.setMaxHeight(120);
    window.resize(100, 500);
    EXPECT_EQ(window.size(), QSize(200, 120));
}

TEST(AppActive, ActivationIsReportedAndConsumedOtherMessagesReachTheWindow) {
    QWidget window;
    QList<int> own;
    setWindowProcedure(&window, [&](WindowHandle, int iMsg, std::intptr_t, std::intptr_t) {
        own << iMsg;
        return std::intptr_t(0);
    });
    {
        CLimitForm limiter;
        CAppActive active;
        limiter.Initialize(&window);
        active.StartSubClass(&window);
        QSignalSpy activated(&active, &CAppActive::Activate);
        QSignalSpy deactivated(&active, &CAppActive::Deactivate);

        EXPECT_EQ(SendWindowMessage(&window, msg::ActivateApp, 0, 0), 0);
        EXPECT_EQ(deactivated.size(), 1);
        EXPECT_EQ(activated.size(), 0);
        EXPECT_EQ(SendWindowMessage(&window, msg::ActivateApp, 1, 0), 0);
        EXPECT_EQ(activated.size(), 1);
        EXPECT_TRUE(own.isEmpty()); // the limits asked at Initialize were answered by the limiter
        SendWindowMessage(&window, msg::HotKey, 5, 5);
        SendWindowMessage(&window, msg::TrayCallback, 0, 512);
        EXPECT_EQ(own, (QList<int>{msg::HotKey, msg::TrayCallback}));
    }
    // Both gone: the window has its own procedure back.
    SendWindowMessage(&window, msg::ActivateApp, 0, 0);
    EXPECT_EQ(own.last(), msg::ActivateApp);
    setWindowProcedure(&window, nullptr);
}

} // namespace
