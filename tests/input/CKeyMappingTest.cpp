#include "input/CKeyMapping.h"

#include "config/CIniFile.h"

#include "TestEnvironment.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Stands in for the main window: records which functions ran.
class ExecTarget : public QObject {
    Q_OBJECT
public:
    QStringList calls;
    bool executeResult = true;

    Q_INVOKABLE bool Execute() {
        calls << "Execute";
        return executeResult;
    }
    Q_INVOKABLE bool ShowProperty() {
        calls << "ShowProperty";
        return true;
    }
    Q_INVOKABLE void Beep() { calls << "Beep"; }
    Q_INVOKABLE bool Broken() { throw std::runtime_error("failed inside"); }
    Q_INVOKABLE bool NeedsArgument(int) { return true; }
};

struct KeyNameCase {
    int keyCode;
    int shift;
    const char* name;
};

} // namespace

TEST(CKeyMapping, KeyNamesFromCodeAndModifiers) {
    const KeyNameCase rows[] = {{79, 2, "Ctrl+O"},     {13, 1, "Shift+Enter"},
                                {115, 4, "Alt+F4"},    {38, 2, "Ctrl+Up"},
                                {65, 0, "A"},          {90, 1, "Shift+Z"},
                                {48, 0, "0"},          {57, 7, "Ctrl+Shift+Alt+9"},
                                {64, 0, "@"},          {96, 0, "Num0"},
                                {105, 2, "Ctrl+Num9"}, {112, 0, "F1"},
                                {135, 0, "F24"},       {8, 0, "BackSpace"},
                                {9, 1, "Shift+Tab"},   {27, 0, "Esc"},
                                {32, 4, "Alt+Space"},  {33, 0, "PageUp"},
                                {34, 0, "PageDown"},   {35, 0, "End"},
                                {36, 0, "Home"},       {37, 0, "Left"},
                                {39, 0, "Right"},      {40, 2, "Ctrl+Down"},
                                {45, 0, "Insert"},     {46, 3, "Ctrl+Shift+Delete"},
                                {20, 0, ""},           {16, 1, "Shift+"},
                                {136, 2, "Ctrl+"},     {97 - 32, 6, "Ctrl+Alt+A"}};
    for (const auto& row : rows)
        EXPECT_EQ(input::CKeyMapping::GetKeyName(row.keyCode, row.shift).toStdString(), row.name)
            << row.keyCode << "/" << row.shift;
}

TEST(CKeyMapping, FirstBindingWinsWithoutRegardToCase) {
    input::CKeyMapping map;
    map.Add("ShowProperty", "ctrl+o");
    map.Add("Execute", "Ctrl+O");
    map.Add("Execute", "Enter");
    map.Add("Execute", "F5");
    EXPECT_EQ(map.GetFunctionName("CTRL+O"), QStringLiteral("ShowProperty"));
    EXPECT_EQ(map.GetKeyMapping("Execute"), QStringLiteral("Enter"));
    EXPECT_EQ(map.GetKeyMapping("execute"), QString()); // function names compare exactly here
    EXPECT_TRUE(map.IsKeyMapping(79, 2));
    EXPECT_TRUE(map.IsMappingFunction("Execute"));
    EXPECT_FALSE(map.IsMappingFunction("HideForm"));
    EXPECT_EQ(map.GetFunctionName("Nothing"), QString());
}

TEST(CKeyMapping, EmptyAndBlankNamesNeverFire) {
    input::CKeyMapping map;
    map.Add("Execute", "");
    map.Add("MovePrevMemo", " Ctrl+K");
    EXPECT_FALSE(map.IsMappingFunction("Execute"));
    EXPECT_FALSE(map.IsKeyMapping(20, 0)); // Caps Lock: the empty name
    EXPECT_FALSE(map.IsKeyMapping(75, 2));
    EXPECT_TRUE(map.IsMappingFunction("MovePrevMemo")); // stored, but no keystroke makes it
}

TEST(CKeyMapping, AddDefaultOnlyForFunctionsWithoutKeys) {
    input::CKeyMapping map;
    map.Add("Execute", "F5");
    map.AddDefault("Execute", {"Enter"});
    map.AddDefault("HideForm", {"Esc", "F5"});
    EXPECT_EQ(map.GetFunctionName("Enter"), QString());
    EXPECT_EQ(map.GetFunctionName("Esc"), QStringLiteral("HideForm"));
    EXPECT_EQ(map.GetFunctionName("F5"), QStringLiteral("Execute"));
}

TEST(CKeyMapping, ExecCallsTheFunctionByNameAndSwallowsHandledKeys) {
    ExecTarget target;
    input::CKeyMapping map;
    map.Initialize(&target);
    map.Add("execute", "Enter"); // names are matched without regard to case when called
    QSignalSpy after(&map, &input::CKeyMapping::AfterExec);
    QSignalSpy missing(&map, &input::CKeyMapping::NotExist);

    int key = 13, shift = 0;
    map.Exec(key, shift);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(target.calls, QStringList({"Execute"}));
    EXPECT_EQ(after.count(), 1);

    target.executeResult = false;
    key = 13;
    map.Exec(key, shift);
    EXPECT_EQ(key, 13);
    EXPECT_EQ(after.count(), 2);
    EXPECT_EQ(missing.count(), 0);
}

TEST(CKeyMapping, FailuresRaiseNotExistAndLeaveTheKey) {
    ExecTarget target;
    input::CKeyMapping map;
    map.Initialize(&target);
    map.Add("Broken", "F2");
    map.Add("NoSuchFunction", "F3");
    map.Add("NeedsArgument", "F6");
    map.Add("deleteLater", "F7");
    map.Add("Beep", "F8");
    int notExist = 0, afterExec = 0;
    QObject::connect(&map, &input::CKeyMapping::NotExist, [&](int&, int&) { ++notExist; });
    QObject::connect(&map, &input::CKeyMapping::AfterExec, [&](int&, int&) { ++afterExec; });
    for (int code : {113, 114, 117, 118, 65}) {
        int key = code, shift = 0;
        map.Exec(key, shift);
        EXPECT_EQ(key, code);
    }
    EXPECT_EQ(notExist, 5);
    int key = 119, shift = 0; // Beep returns nothing: runs, counts as not handled
    map.Exec(key, shift);
    EXPECT_EQ(key, 119);
    EXPECT_EQ(afterExec, 1);
    EXPECT_EQ(target.calls, QStringList({"Beep"}));
}

TEST(CKeyMapping, BeforeExecMayChangeTheKeystroke) {
    ExecTarget target;
    input::CKeyMapping map;
    map.Initialize(&target);
    map.Add("ShowProperty", "Ctrl+O");
    QObject::connect(&map, &input::CKeyMapping::BeforeExec, [](int& key, int& shift) {
        key = 79;
        shift = 2;
    });
    int key = 65, shift = 0;
    map.Exec(key, shift);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(target.calls, QStringList({"ShowProperty"}));
}

TEST(CKeyMapping, TypedCharactersMapBackToKeystrokes) {
    struct Row {
        int character;
        bool capsLock;
        bool bound;
    };
    input::CKeyMapping map;
    bool caps = false;
    map.setCapsLockProbe([&] { return caps; });
    map.Add("f", "A");       // plain a
    map.Add("g", "Shift+B"); // capital B
    map.Add("h", "Ctrl+O");  // character 15
    map.Add("i", "Ctrl+J");  // line feed
    map.Add("j", "Ctrl+Y");  // 25 is never mapped
    const Row rows[] = {{'a', false, true},  {'A', false, false},   {'a', true, false},
                        {'A', true, true},   {'B', false, true},    {'b', true, true},
                        {'b', false, false}, {15, false, true},     {15, true, true},
                        {10, false, true},   {25, false, false},    {'@', false, false},
                        {0, false, false},   {0x3042, false, false}};
    for (const Row& row : rows) {
        caps = row.capsLock;
        EXPECT_EQ(map.IsKeyMappingAscii(row.character), row.bound)
            << row.character << " caps " << row.capsLock;
    }
}

class KeyMappingFile : public testing::Test {
protected:
    QString path = testsupport::freshFolder() + "/scrivlet.ini";
};

TEST_F(KeyMappingFile, WithoutSectionAllDefaultsAreBoundAndWritten) {
    testsupport::writeFile(path, "[Options]\r\nTopMost=True\r\n");
    config::CIniFile store;
    ASSERT_TRUE(store.Load(path));
    store.setNowSection(input::kKeyMappingSection);
    input::CKeyMapping map;
    map.Initialize(nullptr, &store);
    map.AddDefaultBindings();
    for (const auto& binding : input::CKeyMapping::defaultBindings())
        EXPECT_EQ(map.GetKeyMapping(binding.functionName), binding.keyNames.first());
    map.SaveMapping(store);

    config::CIniFile reread;
    ASSERT_TRUE(reread.Load(path));
    reread.setNowSection(input::kKeyMappingSection);
    EXPECT_EQ(reread.Keys().size(), 15);
    EXPECT_EQ(reread.Data("FindMemo"), QStringLiteral("Ctrl+F"));
    EXPECT_EQ(reread.Data("MovePrevMemo"), QStringLiteral("Ctrl+Up,Ctrl+K"));
    EXPECT_EQ(reread.Data("Execute"), QStringLiteral("Enter"));
    reread.setNowSection("Options");
    EXPECT_EQ(reread.Data("TopMost"), QStringLiteral("True"));
}

TEST_F(KeyMappingFile, FileBindingsComeFirst) {
    testsupport::writeFile(path, "[KeyMapping]\r\n"
                                 "ShowHelp=Enter\r\n"
                                 "HideForm=\r\n"
                                 "MovePrevMemo=Ctrl+Up, Ctrl+K\r\n"
                                 "ShowProperty=ctrl+o\r\n"
                                 "ExitApp=F12,,Alt+X\r\n");
    config::CIniFile store;
    ASSERT_TRUE(store.Load(path));
    store.setNowSection(input::kKeyMappingSection);
    input::CKeyMapping map;
    map.Initialize(nullptr, &store);
    map.AddDefaultBindings();
    EXPECT_EQ(map.GetFunctionName("Enter"), QStringLiteral("ShowHelp"));
    EXPECT_FALSE(map.IsMappingFunction("Execute"));                    // its default key was taken
    EXPECT_EQ(map.GetFunctionName("Esc"), QStringLiteral("HideForm")); // empty value: defaults
    EXPECT_TRUE(map.IsKeyMapping(38, 2));
    EXPECT_FALSE(map.IsKeyMapping(75, 2)); // " Ctrl+K" never matches
    EXPECT_TRUE(map.IsKeyMapping(79, 2));
    EXPECT_EQ(map.GetFunctionName("Alt+X"), QStringLiteral("ExitApp"));
    EXPECT_EQ(map.GetFunctionName("F1"), QString()); // ShowHelp has a key of its own
}

TEST_F(KeyMappingFile, SavedFunctionsFollowTheirLastBoundKey) {
    testsupport::writeFile(path, "[KeyMapping]\r\nStale=F11\r\n");
    config::CIniFile store;
    ASSERT_TRUE(store.Load(path));
    store.setNowSection(input::kKeyMappingSection);
    input::CKeyMapping map;
    map.Add("First", "F2");
    map.Add("Second", "F3");
    map.Add("First", "Ctrl+F2");
    map.SaveMapping(store);
    config::CIniFile reread;
    ASSERT_TRUE(reread.Load(path));
    reread.setNowSection(input::kKeyMappingSection);
    EXPECT_EQ(reread.Keys(), QStringList({"Second", "First"}));
    EXPECT_EQ(reread.Data("First"), QStringLiteral("F2,Ctrl+F2"));
}

#include "CKeyMappingTest.moc"
