#include "platform/gui/WindowControl.h"
#include "X11Probe.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace platform;
using x11probe::waitFor;

namespace {

// A plain top-level window at a known place.
struct TestWindow : QWidget {
    explicit TestWindow(QPoint at = {100, 100}) {
        resize(240, 60);
        move(at);
    }
    void showAndWait() {
        show();
        if (x11probe::available()) {
            EXPECT_TRUE(waitFor([this] { return x11probe::isMapped(this); }));
        }
    }
};

#define REQUIRE_X11()                                                                              \
    if (!x11probe::available())                                                                    \
    GTEST_SKIP() << x11probe::kSkipReason

} // namespace

TEST(TopMost, JoinsAndLeavesTheTopmostBandWithoutMovingHidingOrActivating) {
    REQUIRE_X11();
    TestWindow pinned;
    TestWindow other({150, 110});
    pinned.showAndWait();
    other.showAndWait();
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return isForeground(&other); }));
    const WId id = pinned.winId();
    const QPoint place = pinned.pos();

    setTopMost(&pinned, true);
    EXPECT_TRUE(isTopMost(&pinned));
    EXPECT_TRUE(waitFor([&] {
        return x11probe::netWmState(&pinned).contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
    }));
    EXPECT_TRUE(waitFor([&] { return x11probe::isAbove(&pinned, &other); }));
    QTest::qWait(100);
    EXPECT_EQ(pinned.winId(), id);
    EXPECT_TRUE(pinned.isVisible());
    EXPECT_TRUE(x11probe::isMapped(&pinned));
    EXPECT_EQ(pinned.pos(), place);
    EXPECT_TRUE(isForeground(&other)) << "making a window topmost must not activate it";

    // The other window, even activated and raised, stays below.
    other.raise();
    other.activateWindow();
    QTest::qWait(200);
    EXPECT_TRUE(x11probe::isAbove(&pinned, &other));

    setTopMost(&pinned, false);
    EXPECT_FALSE(isTopMost(&pinned));
    EXPECT_TRUE(waitFor([&] {
        return !x11probe::netWmState(&pinned).contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
    }));
    EXPECT_TRUE(pinned.isVisible());
}

TEST(TopMost, SetBeforeTheFirstShowHoldsFromTheStart) {
    TestWindow window;
    setTopMost(&window, true);
    EXPECT_FALSE(window.isVisible()) << "setting the band must not show the window";
    EXPECT_TRUE(isTopMost(&window));
    if (!x11probe::available())
        return;
    window.showAndWait();
    EXPECT_TRUE(waitFor([&] {
        return x11probe::netWmState(&window).contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
    }));
}

TEST(Foreground, BringsAHiddenOrMinimisedWindowToTheFrontWithTheFocus) {
    REQUIRE_X11();
    TestWindow window;
    TestWindow other({300, 300});
    window.showAndWait();
    window.hide();
    other.showAndWait();
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return isForeground(&other); }));

    EXPECT_TRUE(forceForeground(&window));
    EXPECT_TRUE(waitFor([&] { return isForeground(&window); }));
    EXPECT_TRUE(
        waitFor([&] { return QApplication::focusWidget() == &window || window.isActiveWindow(); }));
    EXPECT_FALSE(isForeground(&other));

    window.showMinimized();
    ASSERT_TRUE(waitFor([&] { return !isForeground(&window); }));
    forceForeground(&window);
    EXPECT_TRUE(waitFor([&] { return isForeground(&window) && !window.isMinimized(); }));
}

TEST(TopMost, SetWhileHiddenHoldsAtTheNextShow) {
    REQUIRE_X11();
    TestWindow window;
    window.showAndWait();
    window.hide();
    ASSERT_TRUE(waitFor([&] { return !x11probe::isMapped(&window); }));
    setTopMost(&window, true);
    EXPECT_TRUE(isTopMost(&window));
    window.showAndWait();
    EXPECT_TRUE(waitFor([&] {
        return x11probe::netWmState(&window).contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
    }));
}

TEST(Foreground, KeepsAMaximisedWindowMaximised) {
    REQUIRE_X11();
    TestWindow window;
    window.showMaximized();
    ASSERT_TRUE(waitFor([&] { return x11probe::isMapped(&window); }));
    window.hide();
    forceForeground(&window);
    EXPECT_TRUE(waitFor([&] { return isForeground(&window); }));
    EXPECT_TRUE(window.isMaximized());
}

TEST(Foreground, AHiddenWindowIsNeverForeground) {
    TestWindow window;
    EXPECT_FALSE(isForeground(&window));
    EXPECT_FALSE(isForeground(nullptr));
}

TEST(Taskbar, SkipStatesArePresentOnEveryShow) {
    REQUIRE_X11();
    // Each round changes the topmost band while the window is hidden, between its show and its
    // map, and/or while it is shown, then shows it as the program does and hides it again.
    struct Round {
        std::optional<bool> whileHidden;
        std::optional<bool> beforeTheMap;
        std::optional<bool> whileShown;
    };
    const Round rounds[] = {
        {{}, {}, {}},    {{}, {}, true}, // made topmost while shown, then hidden
        {{}, {}, {}},                    // shown again, still topmost
        {false, {}, {}}, {true, {}, {}}, // changed while hidden
        {{}, false, {}}, {{}, true, {}}, // changed before the window manager saw the window
        {{}, {}, false}, {{}, {}, {}},
    };
    TestWindow window;
    keepOffTaskbar(&window);
    keepOffTaskbar(&window); // twice is harmless
    bool topMost = false;
    const auto state = [&] { return x11probe::netWmState(&window); };
    int n = 0;
    for (const Round& round : rounds) {
        SCOPED_TRACE("round " + std::to_string(n++));
        if (round.whileHidden)
            setTopMost(&window, topMost = *round.whileHidden);
        forceForeground(&window);
        if (round.beforeTheMap)
            setTopMost(&window, topMost = *round.beforeTheMap);
        ASSERT_TRUE(waitFor([&] { return x11probe::isMapped(&window); }));
        EXPECT_EQ(window.winId(), window.windowHandle()->winId()) << "the native window changed";
        EXPECT_TRUE(waitFor([&] { return isForeground(&window); }));
        EXPECT_TRUE(waitFor([&] {
            return state().contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")) &&
                   state().contains(QStringLiteral("_NET_WM_STATE_SKIP_PAGER")) &&
                   state().contains(QStringLiteral("_NET_WM_STATE_ABOVE")) == topMost;
        })) << state().join(' ').toStdString();
        if (round.whileShown) {
            setTopMost(&window, topMost = *round.whileShown);
            EXPECT_TRUE(waitFor([&] {
                return state().contains(QStringLiteral("_NET_WM_STATE_ABOVE")) == topMost;
            })) << state().join(' ').toStdString();
        }
        EXPECT_EQ(isTopMost(&window), topMost);
        window.hide();
        ASSERT_TRUE(waitFor([&] { return !x11probe::isMapped(&window); }));
    }
}

TEST(Taskbar, AppliesToAWindowAlreadyShown) {
    REQUIRE_X11();
    TestWindow window;
    window.showAndWait();
    keepOffTaskbar(&window);
    EXPECT_TRUE(waitFor([&] {
        return x11probe::netWmState(&window).contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR"));
    }));
}

namespace {
// A captionless window that starts a drag when pressed, like the main window's title strip.
struct DragWindow : TestWindow {
    using TestWindow::TestWindow;
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            beginWindowDrag(this);
    }
};
} // namespace

TEST(Drag, WithoutAWindowManagerMoveTheWindowFollowsThePointerUntilRelease) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "the fallback runs where the platform offers no system move";
    DragWindow window;
    window.show();
    const QPoint origin = window.pos();
    const QPoint grip = window.mapToGlobal(QPoint(10, 10));
    const auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, window.mapFromGlobal(global), global,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    };
    QCursor::setPos(grip);
    send(QEvent::MouseButtonPress, grip, Qt::LeftButton);
    send(QEvent::MouseMove, grip + QPoint(30, 20), Qt::LeftButton);
    EXPECT_EQ(window.pos(), origin + QPoint(30, 20));
    send(QEvent::MouseMove, grip + QPoint(50, -10), Qt::LeftButton);
    EXPECT_EQ(window.pos(), origin + QPoint(50, -10));
    send(QEvent::MouseButtonRelease, grip + QPoint(50, -10), Qt::NoButton);
    send(QEvent::MouseMove, grip + QPoint(200, 200), Qt::NoButton);
    EXPECT_EQ(window.pos(), origin + QPoint(50, -10)) << "moves after the release";
}

TEST(Drag, TheWindowManagerMovesTheWindowWithThePointer) {
    REQUIRE_X11();
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        GTEST_SKIP() << "needs xdotool to move the real pointer";
    DragWindow window({200, 200});
    window.showAndWait();
    window.activateWindow();
    ASSERT_TRUE(waitFor([&] { return isForeground(&window); }));
    const QPoint before = window.frameGeometry().topLeft();
    const QPoint grip = window.mapToGlobal(QPoint(20, 20));
    const auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(xdotool, args);
        ASSERT_TRUE(p.waitForFinished(5000));
    };
    run({QStringLiteral("mousemove"), QString::number(grip.x()), QString::number(grip.y()),
         QStringLiteral("mousedown"), QStringLiteral("1")});
    QTest::qWait(150); // the press reaches the window and the move starts
    for (int step = 1; step <= 8; ++step) {
        run({QStringLiteral("mousemove"), QString::number(grip.x() + 10 * step),
             QString::number(grip.y() + 5 * step)});
        QTest::qWait(20);
    }
    run({QStringLiteral("mouseup"), QStringLiteral("1")});
    EXPECT_TRUE(
        waitFor([&] { return window.frameGeometry().topLeft() - before == QPoint(80, 40); }, 3000))
        << "moved by " << (window.frameGeometry().topLeft() - before).x() << ","
        << (window.frameGeometry().topLeft() - before).y();
}
