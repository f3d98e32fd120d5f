#include "engine/TextChecks.h"
#include "EngineFakes.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(TextChecks, BoolAndIntText) {
    struct Case {
        const char* text;
        bool isBool;
        bool isInt;
    } cases[] = {
        {"True", true, false},  {"false", true, false},  {"0", true, true},
        {"-1", true, true},     {"32767", true, true},   {"32768", true, false},
        {"-32768", true, true}, {"-32769", true, false}, {"1.5", true, true},
        {"&HFFFF", true, true}, {"", false, false},      {"yes", false, false},
        {" 12 ", true, true},   {"1e3", true, true},     {"abc", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsBoolText(QString::fromUtf8(c.text)), c.isBool) << c.text;
        EXPECT_EQ(IsIntText(QString::fromUtf8(c.text)), c.isInt) << c.text;
    }
}

TEST(TextChecks, SelectAllTextOnlyForTextControls) {
    for (const char* type : {"TextBox", "ComboBox", "ListBox", "Label"}) {
        enginetest::FakeInputLine control;
        control.type = QString::fromUtf8(type);
        control.content = QStringLiteral("あいう abc");
        SelectAllText(control);
        const bool textControl =
            control.type == QLatin1String("TextBox") || control.type == QLatin1String("ComboBox");
        EXPECT_EQ(control.selStart, textControl ? 0 : -1) << type;
        EXPECT_EQ(control.selLength, textControl ? 7 : -1) << type;
    }
}
