// The order rules of the hook registry: who sees a message, who answers, and who keeps the
// window's own procedure as hooks come and go.
#include "desktop/HookRegistry.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QStringList>

namespace {

using namespace desktop;

// A hook that records what it saw (into a shared log) and answers a fixed value.
class RecordingHook : public IWindowHook {
public:
    RecordingHook(QString name, WindowHandle window, std::intptr_t answer, QStringList& log)
        : name(std::move(name)), window(window), answer(answer), log(log) {}
    ~RecordingHook() override { UnhookWindow(this); }
    WindowHandle hWnd() const override { return window; }
    std::intptr_t WindowProc(WindowHandle, int iMsg, std::intptr_t, std::intptr_t) override {
        log << QStringLiteral("%1:%2").arg(name).arg(iMsg);
        if (onMessage)
            onMessage();
        return answer;
    }
    QString name;
    WindowHandle window;
    std::intptr_t answer;
    QStringList& log;
    std::function<void()> onMessage;
};

class HookRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        // The window's own procedure answers 99 and logs.
        setWindowProcedure(&window, [this](WindowHandle, int iMsg, std::intptr_t, std::intptr_t) {
            log << QStringLiteral("own:%1").arg(iMsg);
            return std::intptr_t(99);
        });
    }
    void TearDown() override { setWindowProcedure(&window, nullptr); }

    QObject window;
    QObject otherWindow;
    QStringList log;
};

struct ChainCase {
    const char* name;
    std::intptr_t first;
    std::intptr_t second;
    QStringList seen;
    std::intptr_t result;
};

void PrintTo(const ChainCase& c, std::ostream* os) {
    *os << c.name;
}

class HookChain : public HookRegistry, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(HookChain, MessagesGoToHooksInOrderUntilOneConsumes) {
    const ChainCase& c = GetParam();
    RecordingHook a(QStringLiteral("a"), &window, c.first, log);
    RecordingHook b(QStringLiteral("b"), &window, c.second, log);
    RecordingHook elsewhere(QStringLiteral("x"), &otherWindow, PassOn, log);
    HookWindow(&a);
    HookWindow(&b);
    HookWindow(&elsewhere);
    EXPECT_EQ(SendWindowMessage(&window, 36, 0, 0), c.result);
    EXPECT_EQ(log, c.seen);
}

INSTANTIATE_TEST_SUITE_P(
    Order, HookChain,
    ::testing::Values(
        ChainCase{"BothPassTheWindowAnswers", PassOn, PassOn, {"a:36", "b:36", "own:36"}, 99},
        ChainCase{"SecondConsumesOwnNeverSees", PassOn, Consumed, {"a:36", "b:36"}, 0},
        ChainCase{"FirstConsumesSecondNeverSees", Consumed, PassOn, {"a:36"}, 0},
        // Another answer than 0 and -1 lets the later hooks see it; the last answer counts.
        ChainCase{"AnswerLetsLaterHooksSee", 7, 5, {"a:36", "b:36"}, 5},
        ChainCase{"AnswerThenPassOnReachesWindow", 7, PassOn, {"a:36", "b:36", "own:36"}, 99}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HookRegistry, TheWindowsOwnProcedureMovesAlongAsHooksComeAndGo) {
    RecordingHook first(QStringLiteral("a"), &window, PassOn, log);
    RecordingHook second(QStringLiteral("b"), &window, PassOn, log);
    HookWindow(&first);
    HookWindow(&first); // twice is once
    HookWindow(&second);
    EXPECT_TRUE(first.PreWndProcAddress);
    EXPECT_FALSE(second.PreWndProcAddress);

    UnhookWindow(&first);
    EXPECT_FALSE(first.PreWndProcAddress);
    EXPECT_TRUE(second.PreWndProcAddress);
    EXPECT_EQ(hookedWindows(), std::vector<WindowHandle>{&window});
    EXPECT_EQ(SendWindowMessage(&window, 28, 0, 0), 99);
    EXPECT_EQ(log, (QStringList{"b:28", "own:28"}));

    UnhookWindow(&second);
    UnhookWindow(&second); // not hooked: nothing
    EXPECT_TRUE(hookedWindows().empty());
    log.clear();
    EXPECT_EQ(SendWindowMessage(&window, 28, 0, 0), 99);
    EXPECT_EQ(log, QStringList{"own:28"});
}

TEST_F(HookRegistry, AHookThatUnhooksAnotherDuringAMessageDoesNotDisturbTheWalk) {
    RecordingHook a(QStringLiteral("a"), &window, PassOn, log);
    RecordingHook b(QStringLiteral("b"), &window, PassOn, log);
    RecordingHook c(QStringLiteral("c"), &window, PassOn, log);
    HookWindow(&a);
    HookWindow(&b);
    HookWindow(&c);
    // a removes b and hooks itself again (as the tray icon adding itself again does).
    a.onMessage = [&] {
        UnhookWindow(&b);
        HookWindow(&a);
    };
    EXPECT_EQ(SendWindowMessage(&window, 1025, 0, 512), 99);
    EXPECT_EQ(log, (QStringList{"a:1025", "c:1025", "own:1025"}));
}

} // namespace
