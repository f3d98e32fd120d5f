#include "vbscript/builtins/Cp932.h"

#include <gtest/gtest.h>

using namespace vbscript::lib;

TEST(Cp932, CodesOfSingleAndDoubleByteCharacters) {
    struct Row {
        char16_t ch;
        std::uint16_t code;
    };
    const Row rows[] = {
        {u'A', 0x41},    {u'\\', 0x5C},   {u'~', 0x7E},        {u'ｱ', 0xB1},
        {u'あ', 0x82A0}, {u'漢', 0x8ABF}, {u'①', 0x8740},      {u'＼', 0x815F},
        {u'～', 0x8160}, {u'￥', 0x818F}, {u'\u3000', 0x8140},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(cp932CodeOf(r.ch), r.code) << int(r.ch);
        EXPECT_EQ(charFromCp932(r.code), r.ch) << r.code;
    }
}

TEST(Cp932, CharactersAndCodesOutsideTheCodePage) {
    EXPECT_FALSE(cp932CodeOf(u'€'));
    EXPECT_FALSE(cp932CodeOf(u'\xD800'));
    EXPECT_FALSE(charFromCp932(0x81)); // a lead byte alone
    EXPECT_FALSE(charFromCp932(0x8100));
}
