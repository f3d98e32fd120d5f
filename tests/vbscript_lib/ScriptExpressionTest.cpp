#include "ScriptHarness.h"

#include <gtest/gtest.h>

using namespace vbscript;
using namespace vbscript::testing;

TEST(ScriptExpressions, Probe) {
    Engine& e = scriptEngine();
    EXPECT_EQ(evalText(e, "Mid(\"abc\", 2)"), "bc:String");
    EXPECT_EQ(evalText(e, "Round(2.5)"), "2:Double");
    EXPECT_EQ(evalText(e, "DateDiff(\"ww\", #12/30/2023#, #1/1/2024#)"), "1:Long");
}
