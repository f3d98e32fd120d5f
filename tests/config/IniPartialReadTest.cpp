// A reader that needs a few sections of the settings file reads them exactly as a full load does,
// and nothing else.
#include "config/CIniFile.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

#include "IniTestSupport.h"
#include "ScriptedBoxes.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

using config::CIniFile;
using initest::iniWith;

namespace {

// Every key of a section as "key=value" lines, in the store's order.
QStringList sectionDump(CIniFile& ini, const QString& section) {
    ini.setNowSection(section);
    QStringList lines;
    for (const QString& key : ini.Keys())
        lines << key + u'=' + ini.Data(key);
    return lines;
}

TEST(IniPartialRead, WantedSectionsReadAsAFullLoadReadsThem) {
    const QByteArray cp932Japanese = platform::toAnsi(QStringLiteral("検索=「メモ」★〜－"));
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"cp932", "[Options]\r\nTopMost=1\r\n[Command]\r\n" + cp932Japanese +
                      "\r\n[MRU]\r\nItem0=" + cp932Japanese + "\r\n"},
        {"utf8", QStringLiteral("[Options]\r\nMemoFileName=~/メモ.txt\r\n[Other]\r\nx=한국어\r\n"
                                "[Command]\r\ng=Google,https://example.org/?q=%s\r\n")
                     .toUtf8()},
        {"utf8Bom", "\xEF\xBB\xBF[Options]\nMRU=5\n[Command]\nk=\xE2\x98\x85,x\n"},
        {"lfOnlyBlanksAndComments",
         "junk before\n  [ Options ]  \n; comment\n TopMost = 0 \n\n[Command]\na=b"},
        {"sectionTwiceMerges",
         "[Options]\r\nMRU=1\r\n[MRU]\r\nk=v\r\n[options]\r\nMRU=2\r\nTopMost=1\r\n"},
        {"namelessSectionSkipped", "[]\r\nx=1\r\n[Options]\r\ny=2\r\n"},
        {"lastLineCutInACp932Character", "[Command]\r\na=\x82"},
        {"bracketTrailByteInAnotherSection",
         "[MRU]\r\n[" + platform::toAnsi(QStringLiteral("‐")) + "\r\n[Options]\r\nMRU=3\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = iniWith(row.bytes);
        CIniFile full;
        full.Load(path);
        CIniFile partial;
        partial.LoadSectionsForReading(path,
                                       {QStringLiteral("Options"), QStringLiteral("command")});
        for (const QString& section : {QStringLiteral("Options"), QStringLiteral("Command")})
            EXPECT_EQ(sectionDump(partial, section), sectionDump(full, section))
                << section.toStdString();
        EXPECT_TRUE(sectionDump(partial, QStringLiteral("MRU")).isEmpty());
        EXPECT_TRUE(sectionDump(partial, QStringLiteral("Other")).isEmpty());
    }
}

TEST(IniPartialRead, NeverWritesAndRefusesSpecialFiles) {
    const QByteArray bytes = "[Options]\r\nTopMost=1\r\n[MRU]\r\nItem0=a\r\n";
    const QString path = iniWith(bytes);
    CIniFile ini;
    ini.LoadSectionsForReading(path, {QStringLiteral("Options")});
    ini.setNowSection(QStringLiteral("Options"));
    ini.setData(QStringLiteral("TopMost"), QStringLiteral("0"));
    EXPECT_FALSE(ini.Save()) << "a partly read file must not be written back";
    EXPECT_EQ(testsupport::readFile(path), bytes);

    const QString fifo = initest::missingIni();
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    testsupport::ScriptedBoxes boxes;
    CIniFile fromFifo;
    fromFifo.LoadSectionsForReading(fifo, {QStringLiteral("Options")});
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].contains(QStringLiteral("FIFO")));
    EXPECT_TRUE(sectionDump(fromFifo, QStringLiteral("Options")).isEmpty());
}

} // namespace
