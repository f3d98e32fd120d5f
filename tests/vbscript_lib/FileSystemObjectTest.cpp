#include "LibraryHarness.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

using namespace vbscript;
using namespace vbscript::testing;

namespace {

Value fso() {
    return newObject(u"Scripting.FileSystemObject");
}

std::u16string pathIn(const QString& folder, const char* name) {
    return QDir(folder).filePath(QString::fromUtf8(name)).toStdU16String();
}

QString q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

} // namespace

TEST(FileSystemObject, PathParts) {
    const Value f = fso();
    struct Row {
        const char16_t *member, *path, *expected;
    };
    const Row rows[] = {
        {u"GetFileName", u"/a/b/c.txt", u"c.txt"},
        {u"GetFileName", u"/a/b/", u"b"},
        {u"GetFileName", u"/", u""},
        {u"GetBaseName", u"/a/b/c.tar.gz", u"c.tar"},
        {u"GetBaseName", u"/a/b/c", u"c"},
        {u"GetExtensionName", u"/a/b/c.tar.gz", u"gz"},
        {u"GetExtensionName", u"/a/b.d/c", u""},
        {u"GetParentFolderName", u"/a/b/c.txt", u"/a/b"},
        {u"GetParentFolderName", u"/a", u"/"},
        {u"GetParentFolderName", u"a", u""},
        {u"GetAbsolutePathName", u"/a/./b/../c/", u"/a/c"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(toString(get(f, r.member, {S(r.path)})), r.expected)
            << toUtf8(r.member) << " " << toUtf8(r.path);
    EXPECT_EQ(toString(get(f, u"BuildPath", {S(u"/a"), S(u"b")})), u"/a/b");
    EXPECT_EQ(toString(get(f, u"BuildPath", {S(u"/a/"), S(u"b")})), u"/a/b");
    EXPECT_EQ(toString(get(f, u"BuildPath", {S(u""), S(u"b")})), u"b");
    const std::u16string temp = toString(get(f, u"GetTempName"));
    EXPECT_EQ(temp.size(), 12u);
    EXPECT_EQ(temp.substr(8), u".tmp");
}

TEST(FileSystemObject, ExistenceAndSpecialFolders) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    testsupport::writeFile(folder + "/x.txt", "x");
    EXPECT_TRUE(toBool(get(f, u"FileExists", {S(pathIn(folder, "x.txt"))})));
    EXPECT_FALSE(toBool(get(f, u"FileExists", {S(pathIn(folder, "y.txt"))})));
    EXPECT_FALSE(toBool(get(f, u"FileExists", {S(folder.toStdU16String())})));
    EXPECT_TRUE(toBool(get(f, u"FolderExists", {S(folder.toStdU16String())})));
    EXPECT_FALSE(toBool(get(f, u"FolderExists", {S(pathIn(folder, "x.txt"))})));
    const Value temp = get(f, u"GetSpecialFolder", {I(2)});
    EXPECT_TRUE(QDir(q(toString(get(temp, u"")))).exists());
    EXPECT_EQ(errorOf([&] { get(f, u"GetSpecialFolder", {I(3)}); }), 5);
}

TEST(FileSystemObject, WritesAndReadsTextFiles) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    const std::u16string path = pathIn(folder, "memo.txt");
    Value stream = get(f, u"CreateTextFile", {S(path)});
    EXPECT_TRUE(QFile::exists(q(path))); // the file exists from the start
    get(stream, u"WriteLine", {S(u"一行目")});
    get(stream, u"Write", {S(u"two")});
    get(stream, u"WriteBlankLines", {I(1)});
    get(stream, u"Close");
    // Japanese text that fits code page 932 is stored in it, with CR LF line ends.
    EXPECT_EQ(testsupport::readFile(q(path)), QByteArray("\x88\xea\x8d\x73\x96\xda\r\ntwo\r\n"));

    stream = get(f, u"OpenTextFile", {S(path)});
    EXPECT_EQ(toString(get(stream, u"ReadLine")), u"一行目");
    EXPECT_EQ(toLong(get(stream, u"Line")), 2);
    EXPECT_FALSE(toBool(get(stream, u"AtEndOfStream")));
    EXPECT_EQ(toString(get(stream, u"Read", {I(2)})), u"tw");
    EXPECT_EQ(toString(get(stream, u"ReadAll")), u"o\r\n");
    EXPECT_TRUE(toBool(get(stream, u"AtEndOfStream")));
    EXPECT_EQ(errorOf([&] { get(stream, u"ReadLine"); }), 62);
    EXPECT_EQ(errorOf([&] { get(stream, u"Write", {S(u"x")}); }), 54);

    // Appending continues the file; ForAppending is 8.
    stream = get(f, u"OpenTextFile", {S(path), I(8)});
    get(stream, u"WriteLine", {S(u"three")});
    get(stream, u"Close");
    stream = get(f, u"OpenTextFile", {S(path), I(1)});
    EXPECT_EQ(toString(get(stream, u"ReadAll")), u"一行目\r\ntwo\r\nthree\r\n");
}

TEST(FileSystemObject, EncodingsOfTextFiles) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    // Characters outside code page 932 make the file UTF-8 so that nothing is lost.
    const std::u16string emoji = pathIn(folder, "emoji.txt");
    Value stream = get(f, u"CreateTextFile", {S(emoji)});
    get(stream, u"Write", {S(u"a😀")});
    get(stream, u"Close");
    EXPECT_EQ(testsupport::readFile(q(emoji)), QByteArray("a\xF0\x9F\x98\x80"));
    EXPECT_EQ(toString(get(get(f, u"OpenTextFile", {S(emoji)}), u"ReadAll")), u"a😀");

    // Unicode files are UTF-16LE with a byte-order mark.
    const std::u16string wide = pathIn(folder, "wide.txt");
    stream = get(f, u"CreateTextFile", {S(wide), B(true), B(true)});
    get(stream, u"Write", {S(u"Aあ")});
    get(stream, u"Close");
    EXPECT_EQ(testsupport::readFile(q(wide)), QByteArray("\xFF\xFE"
                                                         "A\x00\x42\x30",
                                                         6));
    EXPECT_EQ(toString(get(get(f, u"OpenTextFile", {S(wide), I(1), B(false), I(-1)}), u"ReadAll")),
              u"Aあ");

    // Existing CP932 and UTF-8 files are both read.
    testsupport::writeFile(folder + "/sjis.txt", QByteArray("\x82\xa0"));
    EXPECT_EQ(toString(get(get(f, u"OpenTextFile", {S(pathIn(folder, "sjis.txt"))}), u"ReadAll")),
              u"あ");
    testsupport::writeFile(folder + "/utf8.txt", QByteArray("\xE3\x81\x82"));
    EXPECT_EQ(toString(get(get(f, u"OpenTextFile", {S(pathIn(folder, "utf8.txt"))}), u"ReadAll")),
              u"あ");
}

TEST(FileSystemObject, StreamPositions) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    testsupport::writeFile(folder + "/lines.txt", "ab\ncd\r\n\nlast");
    const Value stream = get(f, u"OpenTextFile", {S(pathIn(folder, "lines.txt"))});
    get(stream, u"Skip", {I(1)});
    EXPECT_EQ(toLong(get(stream, u"Column")), 2);
    EXPECT_FALSE(toBool(get(stream, u"AtEndOfLine")));
    get(stream, u"Skip", {I(1)});
    EXPECT_TRUE(toBool(get(stream, u"AtEndOfLine")));
    get(stream, u"SkipLine");
    EXPECT_EQ(toString(get(stream, u"ReadLine")), u"cd"); // LF and CR LF both end a line
    EXPECT_EQ(toString(get(stream, u"ReadLine")), u"");
    EXPECT_EQ(toLong(get(stream, u"Line")), 4);
    EXPECT_EQ(toString(get(stream, u"ReadLine")), u"last");
    EXPECT_TRUE(toBool(get(stream, u"AtEndOfStream")));
    get(stream, u"Close");
    EXPECT_EQ(errorOf([&] { get(stream, u"ReadLine"); }), 54);

    testsupport::writeFile(folder + "/empty.txt", "");
    const Value empty = get(f, u"OpenTextFile", {S(pathIn(folder, "empty.txt"))});
    EXPECT_TRUE(toBool(get(empty, u"AtEndOfStream")));
    EXPECT_EQ(errorOf([&] { get(empty, u"ReadAll"); }), 62);
}

TEST(FileSystemObject, AppendingKeepsAUnicodeFileUnicode) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    const std::u16string path = pathIn(folder, "wide.txt");
    Value stream = get(f, u"CreateTextFile", {S(path), B(true), B(true)});
    get(stream, u"Write", {S(u"A")});
    get(stream, u"Close");
    stream = get(f, u"OpenTextFile", {S(path), I(8), B(false), I(-1)});
    get(stream, u"Write", {S(u"あ")});
    get(stream, u"Close");
    EXPECT_EQ(testsupport::readFile(q(path)), QByteArray("\xFF\xFE"
                                                         "A\x00\x42\x30",
                                                         6));
    // Appending to a new file with create = True makes it.
    const std::u16string fresh = pathIn(folder, "fresh.txt");
    stream = get(f, u"OpenTextFile", {S(fresh), I(8), B(true)});
    get(stream, u"WriteLine", {S(u"x")});
    stream = Value(); // dropped without Close: the text is still stored
    EXPECT_EQ(testsupport::readFile(q(fresh)), QByteArray("x\r\n"));
}

TEST(FileSystemObject, FileErrors) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    const std::u16string missing = pathIn(folder, "missing.txt");
    EXPECT_EQ(errorOf([&] { get(f, u"OpenTextFile", {S(missing)}); }), 53);
    EXPECT_EQ(errorOf([&] { get(f, u"OpenTextFile", {S(missing), I(2)}); }), 53);
    EXPECT_EQ(errorOf([&] { get(f, u"OpenTextFile", {S(missing), I(3)}); }), 5);
    EXPECT_EQ(errorOf([&] { get(f, u"CreateTextFile", {S(pathIn(folder, "no/such.txt"))}); }), 76);
    testsupport::writeFile(folder + "/keep.txt", "keep");
    EXPECT_EQ(errorOf([&] {
                  get(f, u"CreateTextFile", {S(pathIn(folder, "keep.txt")), B(false)});
              }),
              58);
    EXPECT_EQ(errorOf([&] { get(f, u"DeleteFile", {S(missing)}); }), 53);
    EXPECT_EQ(errorOf([&] { get(f, u"CreateFolder", {S(folder.toStdU16String())}); }), 58);
}

TEST(FileSystemObject, AFullDiskKeepsTheOldFile) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    testsupport::writeFile(folder + "/notes.txt", "old notes");
    const std::u16string path = pathIn(folder, "notes.txt");
    Value stream = get(f, u"OpenTextFile", {S(path), I(2)});
    get(stream, u"Write", {S(std::u16string(100000, u'x'))});
    {
        testsupport::FileSizeLimit limit(1000);
        EXPECT_EQ(errorOf([&] { get(stream, u"Close"); }), 61);
    }
    EXPECT_EQ(testsupport::readFile(q(path)), QByteArray("old notes"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1); // no temporary left behind
}

TEST(FileSystemObject, FolderAndFileOperations) {
    const Value f = fso();
    const QString folder = testsupport::freshFolder();
    const Value created = get(f, u"CreateFolder", {S(pathIn(folder, "sub"))});
    EXPECT_EQ(toString(get(created, u"Name")), u"sub");
    EXPECT_EQ(toString(get(created, u"")), pathIn(folder, "sub"));
    testsupport::writeFile(folder + "/a.txt", "a");
    get(f, u"CopyFile", {S(pathIn(folder, "a.txt")), S(pathIn(folder, "sub"))});
    EXPECT_TRUE(QFile::exists(folder + "/sub/a.txt"));
    EXPECT_EQ(errorOf([&] {
                  get(f, u"CopyFile",
                      {S(pathIn(folder, "a.txt")), S(pathIn(folder, "sub/a.txt")), B(false)});
              }),
              58);
    get(f, u"MoveFile", {S(pathIn(folder, "a.txt")), S(pathIn(folder, "b.txt"))});
    EXPECT_FALSE(QFile::exists(folder + "/a.txt"));
    EXPECT_TRUE(QFile::exists(folder + "/b.txt"));
    get(f, u"DeleteFile", {S(pathIn(folder, "b.txt"))});
    EXPECT_FALSE(QFile::exists(folder + "/b.txt"));
    get(f, u"DeleteFolder", {S(pathIn(folder, "sub"))});
    EXPECT_FALSE(QDir(folder + "/sub").exists());
    EXPECT_EQ(errorOf([&] { get(f, u"GetFolder", {S(pathIn(folder, "sub"))}); }), 76);
}
