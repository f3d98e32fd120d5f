#include "LibraryHarness.h"

#include "vbscript/objects/HostServices.h"
#include "vbscript/objects/ShellObject.h"

#include <cstdlib>
#include <deque>

using namespace vbscript;
using namespace vbscript::testing;

namespace {

// Records what scripts ask of the program and answers from a script of its own.
class FakeHost final : public HostServices {
public:
    struct Box {
        std::u16string text;
        int style;
        std::u16string title;
        int timeout;
    };
    struct Start {
        std::u16string file, parameters;
        int windowStyle;
    };

    int messageBox(std::u16string_view text, int style, std::u16string_view title,
                   int timeoutSeconds) override {
        boxes.push_back({std::u16string(text), style, std::u16string(title), timeoutSeconds});
        return answer;
    }
    std::optional<std::u16string> inputBox(std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText,
                                           BoxPosition position) override {
        boxes.push_back({std::u16string(prompt), 0, std::u16string(title), 0});
        lastDefault = std::u16string(defaultText);
        lastPosition = position;
        return typed;
    }
    bool shellExecute(std::u16string_view file, std::u16string_view parameters,
                      int windowStyle) override {
        starts.push_back({std::u16string(file), std::u16string(parameters), windowStyle});
        return startSucceeds;
    }

    int answer = 1;
    std::optional<std::u16string> typed;
    std::u16string lastDefault;
    BoxPosition lastPosition;
    bool startSucceeds = true;
    std::vector<Box> boxes;
    std::vector<Start> starts;
};

class HostServicesTest : public ::testing::Test {
protected:
    void SetUp() override { setHostServices(&host); }
    void TearDown() override { setHostServices(nullptr); }
    FakeHost host;
};

} // namespace

TEST_F(HostServicesTest, MsgBoxPassesStyleAndTitleAndReturnsTheButton) {
    host.answer = 6; // vbYes
    const Value result = callWith(u"MsgBox", {S(u"続けますか？"), L(4 + 32 + 256), S(u"確認")});
    EXPECT_EQ(result.type(), VarType::Integer);
    EXPECT_EQ(toLong(result), 6);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, u"続けますか？");
    EXPECT_EQ(host.boxes[0].style, 292);
    EXPECT_EQ(host.boxes[0].title, u"確認");
    callWith(u"MsgBox", {I(42)});
    EXPECT_EQ(host.boxes[1].text, u"42");
    EXPECT_EQ(host.boxes[1].style, 0);
    EXPECT_EQ(host.boxes[1].title, u"");
    EXPECT_EQ(errorOf([] { callWith(u"MsgBox", {S(u"x"), I(6)}); }), 5);
}

TEST_F(HostServicesTest, InputBoxGivesTextOrEmptyOnCancel) {
    host.typed = u"答え";
    const Value typed = callWith(u"InputBox", {S(u"名前"), S(u"入力"), S(u"既定")});
    EXPECT_EQ(toString(typed), u"答え");
    EXPECT_EQ(host.lastDefault, u"既定");
    EXPECT_FALSE(host.lastPosition.xTwips || host.lastPosition.yTwips);
    host.typed.reset();
    EXPECT_TRUE(callWith(u"InputBox", {S(u"名前")}).isEmpty());
}

TEST_F(HostServicesTest, InputBoxPassesThePositionTheScriptGives) {
    callWith(u"InputBox", {S(u"名前"), S(u"入力"), S(u""), I(1440), I(720)});
    EXPECT_EQ(host.lastPosition.xTwips, 1440);
    EXPECT_EQ(host.lastPosition.yTwips, 720);
}

TEST_F(HostServicesTest, WithoutAHostTheCallsFailCleanly) {
    setHostServices(nullptr);
    EXPECT_EQ(errorOf([] { callWith(u"MsgBox", {S(u"x")}); }), 17);
    EXPECT_EQ(errorOf([] { callWith(u"InputBox", {S(u"x")}); }), 17);
}

TEST_F(HostServicesTest, ShellRunOpensThroughTheHost) {
    const Value shell = newObject(u"WScript.Shell");
    ::setenv("SCRIVLET_TEST_DIR", "/tmp/x y", 1);
    EXPECT_EQ(toLong(get(shell, u"Run", {S(u"\"%SCRIVLET_TEST_DIR%/tool\" -a b")})), 0);
    get(shell, u"Run", {S(u"gedit  notes.txt"), I(3)});
    get(shell, u"Run", {S(u"https://example.org/")});
    ASSERT_EQ(host.starts.size(), 3u);
    EXPECT_EQ(host.starts[0].file, u"/tmp/x y/tool");
    EXPECT_EQ(host.starts[0].parameters, u"-a b");
    EXPECT_EQ(host.starts[0].windowStyle, 1);
    EXPECT_EQ(host.starts[1].file, u"gedit");
    EXPECT_EQ(host.starts[1].parameters, u"notes.txt");
    EXPECT_EQ(host.starts[1].windowStyle, 3);
    EXPECT_EQ(host.starts[2].file, u"https://example.org/");
    host.startSucceeds = false;
    EXPECT_EQ(errorOf([&] { get(shell, u"Run", {S(u"no-such-program")}); }), 53);
    EXPECT_EQ(errorOf([&] { get(shell, u"Run", {S(u"  ")}); }), 5);
}

TEST_F(HostServicesTest, PopupWaitsAtMostItsSeconds) {
    const Value shell = newObject(u"WScript.Shell");
    host.answer = -1;
    EXPECT_EQ(toLong(get(shell, u"Popup", {S(u"hi"), I(5), S(u"t"), I(64)})), -1);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].timeout, 5);
    EXPECT_EQ(host.boxes[0].style, 64);
}

TEST(ShellObject, ExpandsEnvironmentStrings) {
    ::setenv("SCRIVLET_A", "alpha", 1);
    ::unsetenv("SCRIVLET_UNSET");
    struct Row {
        const char16_t *text, *expected;
    };
    const Row rows[] = {
        {u"%SCRIVLET_A%/b", u"alpha/b"},       {u"x%SCRIVLET_UNSET%y", u"x%SCRIVLET_UNSET%y"},
        {u"100% %SCRIVLET_A%", u"100% alpha"}, {u"%%", u"%%"},
        {u"no percent", u"no percent"},        {u"%SCRIVLET_A", u"%SCRIVLET_A"},
    };
    const Value shell = newObject(u"WScript.Shell");
    for (const Row& r : rows)
        EXPECT_EQ(toString(get(shell, u"ExpandEnvironmentStrings", {S(r.text)})), r.expected)
            << toUtf8(r.text);
}

TEST(ShellObject, EnvironmentReadsAndWritesTheProcessEnvironment) {
    const Value shell = newObject(u"WScript.Shell");
    const Value env = get(shell, u"Environment", {S(u"PROCESS")});
    let(env, u"", S(u"set by script"), {S(u"SCRIVLET_B")});
    EXPECT_STREQ(std::getenv("SCRIVLET_B"), "set by script");
    EXPECT_EQ(toString(get(env, u"Item", {S(u"SCRIVLET_B")})), u"set by script");
    bool listed = false;
    for (const Value& entry : forEach(env))
        listed = listed || toString(entry) == u"SCRIVLET_B=set by script";
    EXPECT_TRUE(listed);
    get(env, u"Remove", {S(u"SCRIVLET_B")});
    EXPECT_EQ(std::getenv("SCRIVLET_B"), nullptr);
    EXPECT_EQ(toString(get(env, u"", {S(u"SCRIVLET_B")})), u"");
    EXPECT_EQ(errorOf([&] { get(shell, u"Environment", {S(u"OTHER")}); }), 5);
}

TEST(CreateObject, KnownProgIdsAndError429) {
    for (const char16_t* progId : {u"Scripting.Dictionary", u"scripting.filesystemobject",
                                   u"WScript.Shell", u"VBScript.RegExp"})
        EXPECT_TRUE(callWith(u"CreateObject", {S(progId)}).isObject()) << toUtf8(progId);
    for (const char16_t* progId : {u"Excel.Application", u"RegExp", u""})
        EXPECT_EQ(errorOf([&] { callWith(u"CreateObject", {S(progId)}); }), 429) << toUtf8(progId);
}

TEST(Constants, DocumentedValues) {
    struct Row {
        const char16_t* name;
        Value value;
    };
    const Row rows[] = {
        {u"vbOKOnly", I(0)},
        {u"vbYesNoCancel", I(3)},
        {u"vbCritical", I(16)},
        {u"vbInformation", I(64)},
        {u"vbDefaultButton2", I(256)},
        {u"vbOK", I(1)},
        {u"vbNo", I(7)},
        {u"vbTextCompare", I(1)},
        {u"vbSaturday", I(7)},
        {u"vbFirstFourDays", I(2)},
        {u"vbShortTime", I(4)},
        {u"vbUseDefault", I(-2)},
        {u"vbString", I(8)},
        {u"vbArray", I(8192)},
        {u"vbRed", L(255)},
        {u"vbObjectError", L(int32_t(0x80040000u))},
        {u"vbCrLf", S(u"\r\n")},
        {u"VBTAB", S(u"\t")},
        {u"vbNullChar", S(std::u16string(1, u'\0'))},
    };
    for (const Row& r : rows) {
        const Value* found = builtinRegistry().findConstant(r.name);
        ASSERT_NE(found, nullptr) << toUtf8(r.name);
        EXPECT_EQ(found->type(), r.value.type()) << toUtf8(r.name);
        EXPECT_EQ(toString(*found), toString(r.value)) << toUtf8(r.name);
    }
}
