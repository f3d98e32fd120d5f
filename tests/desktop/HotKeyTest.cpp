// CHotKey's list and events over a recording hotkey service, and the X11 modifier rules of the
// grabs (the grabs themselves run in the end-to-end tests).
#include "desktop/CHotKey.h"
#include "desktop/HotKeyModifiers.h"
#include "desktop/HotKeyService.h"
#include "desktop/HookRegistry.h"
#include "platform/VirtualKey.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>

namespace {

using namespace desktop;

class RecordingService : public IHotKeyService {
public:
    bool registerHotKey(WindowHandle, int id, int mask, int key) override {
        calls << QStringLiteral("register %1 %2 %3").arg(id).arg(mask).arg(key);
        return !refused.contains(id);
    }
    void unregisterHotKey(WindowHandle, int id) override {
        calls << QStringLiteral("release %1").arg(id);
    }
    QString unavailableReason() const override { return QString(); }
    QStringList calls;
    QList<int> refused;
};

class HotKey : public ::testing::Test {
protected:
    void SetUp() override {
        previous = setHotKeyService(&service);
        setWindowProcedure(&window, [this](WindowHandle, int, std::intptr_t, std::intptr_t) {
            ++ownProcedureCalls;
            return std::intptr_t(0);
        });
    }
    void TearDown() override {
        setHotKeyService(previous);
        setWindowProcedure(&window, nullptr);
    }
    std::intptr_t press(int id) { return SendWindowMessage(&window, msg::HotKey, id, id); }

    RecordingService service;
    IHotKeyService* previous = nullptr;
    QObject window;
    int ownProcedureCalls = 0;
};

constexpr int kCtrlAltA = 65 * 65536 + 3;

TEST_F(HotKey, APressOfAListedCombinationRaisesBothEventsAndIsConsumed) {
    CHotKey hotKey;
    QSignalSpy pressed(&hotKey, &CHotKey::HotKey);
    QList<QList<int>> extended;
    QObject::connect(&hotKey, &CHotKey::HotKeyEx, [&](int key, int mask, bool& through) {
        extended << QList<int>{key, mask, through ? 1 : 0};
    });
    ASSERT_TRUE(hotKey.SetHotKey(&window, 65, 3));
    EXPECT_EQ(CHotKey::combinationId(65, 3), kCtrlAltA);
    EXPECT_EQ(service.calls, QStringList{QStringLiteral("register %1 3 65").arg(kCtrlAltA)});
    EXPECT_TRUE(isHooked(&hotKey));

    EXPECT_EQ(press(kCtrlAltA), 0);
    ASSERT_EQ(pressed.size(), 1);
    EXPECT_EQ(pressed[0], (QList<QVariant>{65, 3}));
    EXPECT_EQ(extended, (QList<QList<int>>{{65, 3, 0}}));
    EXPECT_EQ(ownProcedureCalls, 0);

    // Not listed: passed on, nothing raised.
    press(CHotKey::combinationId(66, 3));
    EXPECT_EQ(pressed.size(), 1);
    EXPECT_EQ(ownProcedureCalls, 1);
}

TEST_F(HotKey, AHandlerCanLetThePressThrough) {
    CHotKey hotKey;
    QObject::connect(&hotKey, &CHotKey::HotKeyEx, [](int, int, bool& through) { through = true; });
    ASSERT_TRUE(hotKey.SetHotKey(&window, 90, 8));
    press(CHotKey::combinationId(90, 8));
    EXPECT_EQ(ownProcedureCalls, 1);
}

TEST_F(HotKey, ListedTwiceOrRefusedLeavesTheListAsItWas) {
    CHotKey hotKey;
    service.refused << CHotKey::combinationId(90, 8);
    EXPECT_FALSE(hotKey.SetHotKey(&window, 90, 8));
    EXPECT_TRUE(hotKey.registeredIds().isEmpty());
    EXPECT_FALSE(isHooked(&hotKey));

    EXPECT_TRUE(hotKey.SetHotKey(&window, 65, 3));
    EXPECT_FALSE(hotKey.SetHotKey(&window, 65, 3));
    EXPECT_EQ(hotKey.registeredIds(), QList<qint32>{kCtrlAltA});
    EXPECT_EQ(service.calls.size(), 2); // the second SetHotKey never asked the system

    hotKey.ResetHotKey(70, 1); // never set
    EXPECT_EQ(hotKey.registeredIds(), QList<qint32>{kCtrlAltA});
    EXPECT_EQ(service.calls.size(), 2);
}

// The settings dialog's round trip: everything released while it is open, then registered again.
TEST_F(HotKey, ResetHotKeysReleasesEverythingUntilRegisteredAndStartedAgain) {
    CHotKey hotKey;
    QSignalSpy pressed(&hotKey, &CHotKey::HotKey);
    ASSERT_TRUE(hotKey.SetHotKey(&window, 65, 3));
    hotKey.ResetHotKeys();
    EXPECT_TRUE(hotKey.registeredIds().isEmpty());
    EXPECT_TRUE(service.calls.contains(QStringLiteral("release %1").arg(kCtrlAltA)));
    EXPECT_FALSE(isHooked(&hotKey));
    press(kCtrlAltA); // a press the system still delivered
    EXPECT_TRUE(pressed.isEmpty());

    // Stopped: registered, but only StartHotKeys hooks the window again.
    ASSERT_TRUE(hotKey.SetHotKey(&window, 90, 8));
    EXPECT_FALSE(isHooked(&hotKey));
    hotKey.StartHotKeys();
    EXPECT_TRUE(isHooked(&hotKey));
    press(CHotKey::combinationId(90, 8));
    EXPECT_EQ(pressed.size(), 1);
}

TEST_F(HotKey, StartHotKeysRegistersAgainWhatStopHotKeysReleased) {
    CHotKey hotKey;
    ASSERT_TRUE(hotKey.SetHotKey(&window, 65, 3));
    service.calls.clear();
    hotKey.StopHotKeys();
    EXPECT_EQ(service.calls, QStringList{QStringLiteral("release %1").arg(kCtrlAltA)});
    EXPECT_EQ(hotKey.registeredIds(), QList<qint32>{kCtrlAltA});
    hotKey.StartHotKeys();
    hotKey.StartHotKeys(); // nothing left to register again
    EXPECT_EQ(service.calls, (QStringList{QStringLiteral("release %1").arg(kCtrlAltA),
                                          QStringLiteral("register %1 3 65").arg(kCtrlAltA)}));
    EXPECT_TRUE(isHooked(&hotKey));
}

TEST(HotKeyKeys, EveryHotKeyCodeHasTheKeysymOfItsUnshiftedKey) {
    const struct {
        int virtualKey;
        unsigned keysym;
    } rows[] = {{65, 'a'},     {90, 'z'},     {48, '0'},  {57, '9'}, {96, 0xffb0}, {105, 0xffb9},
                {112, 0xffbe}, {123, 0xffc9}, {186, ';'}, {0, 0},    {255, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(platform::keysymFromVirtualKey(row.virtualKey), row.keysym) << row.virtualKey;
    for (int key = 0; key < 256; ++key) {
        if (const unsigned sym = platform::keysymFromVirtualKey(key); sym && sym < 0xff00) {
            EXPECT_EQ(platform::virtualKeyFromKeysym(sym), key) << key;
        }
    }
}

constexpr std::uint16_t kShift = 1, kLock = 2, kControl = 4, kMod1 = 8, kMod2 = 16, kMod3 = 32,
                        kMod4 = 64, kMod5 = 128;

TEST(HotKeyModifiers, TheModifierMappingSaysWhereAltSuperAndTheLocksAre) {
    const struct {
        const char* name;
        ModifierKeysyms keysyms;
        ModifierBits expected;
    } rows[] = {
        {"usual pc layout",
         {{{0xffe1},
           {0xffe5},
           {0xffe3},
           {0xffe9, 0xffe7},
           {0xff7f},
           {},
           {0xffeb, 0xffed},
           {0xfe03}}},
         {kMod1, kMod4, kMod2, 0}},
        {"super on mod3, scroll lock on mod5",
         {{{0xffe1}, {0xffe5}, {0xffe3}, {0xffe9}, {0xff7f}, {0xffeb}, {}, {0xff14}}},
         {kMod1, kMod3, kMod2, kMod5}},
        {"meta only, nothing else mapped",
         {{{}, {}, {}, {0xffe7}, {}, {}, {}, {}}},
         {kMod1, kMod4, 0, 0}},
        {"nothing mapped: the usual bits", {}, {kMod1, kMod4, 0, 0}},
    };
    for (const auto& row : rows) {
        const ModifierBits bits = modifierBitsFromKeysyms(row.keysyms);
        EXPECT_EQ(bits.alt, row.expected.alt) << row.name;
        EXPECT_EQ(bits.super, row.expected.super) << row.name;
        EXPECT_EQ(bits.numLock, row.expected.numLock) << row.name;
        EXPECT_EQ(bits.scrollLock, row.expected.scrollLock) << row.name;
    }
}

TEST(HotKeyModifiers, AGrabIsMadeForEveryLockCombinationOnce) {
    const ModifierBits usual{kMod1, kMod4, kMod2, 0};
    const ModifierBits scrollToo{kMod1, kMod4, kMod2, kMod5};
    const ModifierBits numOnSuper{kMod1, kMod4, kMod4, 0}; // a lock the hotkey itself uses
    const struct {
        const char* name;
        ModifierBits bits;
        int mask;
        std::uint16_t modifiers;
        std::vector<std::uint16_t> locks;
    } rows[] = {
        {"Windows+Z", usual, 8, kMod4, {0, kLock, kMod2, kLock | kMod2}},
        {"Ctrl+Alt", usual, 3, kControl | kMod1, {0, kLock, kMod2, kLock | kMod2}},
        {"all four",
         usual,
         15,
         kShift | kControl | kMod1 | kMod4,
         {0, kLock, kMod2, kLock | kMod2}},
        {"scroll lock mapped",
         scrollToo,
         4,
         kShift,
         {0, kLock, kMod2, kLock | kMod2, kMod5, kLock | kMod5, kMod2 | kMod5,
          kLock | kMod2 | kMod5}},
        {"lock on the hotkey's own modifier", numOnSuper, 8, kMod4, {0, kLock}},
        {"no modifiers", usual, 0, 0, {0, kLock, kMod2, kLock | kMod2}},
    };
    for (const auto& row : rows) {
        const std::uint16_t modifiers = grabModifiers(row.mask, row.bits);
        EXPECT_EQ(modifiers, row.modifiers) << row.name;
        EXPECT_EQ(lockCombinations(row.bits, modifiers), row.locks) << row.name;
    }
    // A press with Caps Lock or Num Lock on is the same hotkey.
    EXPECT_EQ(significantModifiers(usual), kShift | kControl | kMod1 | kMod4);
}

} // namespace
