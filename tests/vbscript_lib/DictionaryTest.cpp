#include "LibraryHarness.h"

using namespace vbscript;
using namespace vbscript::testing;

namespace {

Value dictionary() {
    return newObject(u"Scripting.Dictionary");
}

std::u16string joinedArray(const Value& array) {
    std::u16string out;
    for (const Value& v : array.asArray()->items)
        out += toString(v) + u";";
    return out;
}

} // namespace

TEST(Dictionary, AddLookUpAndCount) {
    const Value d = dictionary();
    get(d, u"Add", {S(u"a"), I(1)});
    get(d, u"Add", {S(u"b"), S(u"two")});
    EXPECT_EQ(toLong(get(d, u"Count")), 2);
    EXPECT_EQ(toLong(get(d, u"Item", {S(u"a")})), 1);
    EXPECT_EQ(toString(get(d, u"", {S(u"b")})), u"two");
    EXPECT_TRUE(toBool(get(d, u"Exists", {S(u"a")})));
    EXPECT_FALSE(toBool(get(d, u"Exists", {S(u"A")})));
    EXPECT_EQ(errorOf([&] { get(d, u"Add", {S(u"a"), I(3)}); }), 457);
    EXPECT_EQ(typeName(d), u"Dictionary");
}

TEST(Dictionary, ReadingAMissingKeyAddsIt) {
    const Value d = dictionary();
    EXPECT_TRUE(get(d, u"Item", {S(u"x")}).isEmpty());
    EXPECT_EQ(toLong(get(d, u"Count")), 1);
    EXPECT_TRUE(toBool(get(d, u"Exists", {S(u"x")})));
}

TEST(Dictionary, AssigningItemsAddsOrReplaces) {
    const Value d = dictionary();
    let(d, u"Item", I(1), {S(u"k")});
    let(d, u"", I(2), {S(u"k")});
    let(d, u"", I(3), {S(u"m")});
    EXPECT_EQ(joinedArray(get(d, u"Keys")), u"k;m;");
    EXPECT_EQ(joinedArray(get(d, u"Items")), u"2;3;");
}

TEST(Dictionary, KeysOfDifferentSubtypes) {
    const Value d = dictionary();
    get(d, u"Add", {I(1), S(u"integer one")});
    EXPECT_TRUE(toBool(get(d, u"Exists", {D(1.0)}))); // equal numbers are one key
    EXPECT_TRUE(toBool(get(d, u"Exists", {L(1)})));
    EXPECT_FALSE(toBool(get(d, u"Exists", {S(u"1")}))); // text is another key
    get(d, u"Add", {S(u"1"), S(u"text one")});
    const Value object = dictionary();
    get(d, u"Add", {object, S(u"an object")});
    EXPECT_TRUE(toBool(get(d, u"Exists", {object})));
    EXPECT_FALSE(toBool(get(d, u"Exists", {dictionary()})));
    EXPECT_EQ(toLong(get(d, u"Count")), 3);
}

TEST(Dictionary, TextCompareModeAndItsRule) {
    const Value d = dictionary();
    let(d, u"CompareMode", I(1));
    get(d, u"Add", {S(u"Key"), I(1)});
    EXPECT_TRUE(toBool(get(d, u"Exists", {S(u"KEY")})));
    EXPECT_EQ(errorOf([&] { get(d, u"Add", {S(u"key"), I(2)}); }), 457);
    EXPECT_EQ(toLong(get(d, u"CompareMode")), 1);
    // The mode only changes while the dictionary is empty.
    EXPECT_EQ(errorOf([&] { let(d, u"CompareMode", I(0)); }), 5);
    get(d, u"RemoveAll");
    let(d, u"CompareMode", I(0));
    EXPECT_EQ(errorOf([&] { let(d, u"CompareMode", I(5)); }), 5);
}

TEST(Dictionary, RemoveRenameAndEnumerate) {
    const Value d = dictionary();
    for (int i = 0; i < 100; ++i)
        get(d, u"Add", {I(int16_t(i)), I(int16_t(i * 10))});
    for (int i = 0; i < 100; i += 2)
        get(d, u"Remove", {I(int16_t(i))});
    EXPECT_EQ(toLong(get(d, u"Count")), 50);
    EXPECT_EQ(toLong(get(d, u"Item", {I(99)})), 990);
    EXPECT_EQ(errorOf([&] { get(d, u"Remove", {I(0)}); }), 32811);

    let(d, u"Key", I(1000), {I(1)});
    EXPECT_FALSE(toBool(get(d, u"Exists", {I(1)})));
    EXPECT_EQ(toLong(get(d, u"Item", {I(1000)})), 10);
    EXPECT_EQ(errorOf([&] { let(d, u"Key", I(5), {I(3)}); }), 457);
    EXPECT_EQ(errorOf([&] { let(d, u"Key", I(7), {I(2)}); }), 32811);

    const std::vector<Value> keys = forEach(d);
    ASSERT_EQ(keys.size(), 50u);
    EXPECT_EQ(toLong(keys[0]), 1000); // renaming keeps the place
    EXPECT_EQ(toLong(keys[1]), 3);

    get(d, u"RemoveAll");
    EXPECT_EQ(toLong(get(d, u"Count")), 0);
    EXPECT_TRUE(forEach(d).empty());
    EXPECT_EQ(get(d, u"Keys").asArray()->ubound(0), -1);
}
