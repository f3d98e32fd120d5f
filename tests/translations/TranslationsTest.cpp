// The English translation keeps up with the sources: every Japanese text of the user interface is
// marked for translation, and every marked text has its finished English entry. New texts from
// any branch fail here until scripts/update-translations.sh has run and the entries are done.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString kSourceDir = QStringLiteral(SCRIVLET_SOURCE_DIR);
const QString kTsFile = kSourceDir + QStringLiteral("/translations/scrivlet_en.ts");

// Texts of the engine's own tables and of data, not of the user interface: the script engine's
// bilingual error table and its Japanese regional data (dates stay Japanese in every language),
// the "VBA" object's calendar and width tables, the desktop entry's Japanese comment, and the
// help of scrivlet-cli, which is English in every language and only quotes Japanese examples.
const QStringList kNotInterface = {
    QStringLiteral("src/cli/CliCommandLine.cpp"),
    QStringLiteral("src/vbscript/"),
    QStringLiteral("src/script/vba/"),
    QStringLiteral("src/platform/Autostart.cpp"),
};

struct Entry {
    QString context;
    QString source;
    QString translation;
    bool finished = true;
};

std::vector<Entry> readTs(const QString& path) {
    std::vector<Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            entry = Entry{context};
        } else if (xml.name() == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            entry.finished = type.isEmpty();
            entry.translation = xml.readElementText();
            entries.push_back(entry);
        }
    }
    return entries;
}

bool isJapanese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

QString unescape(QStringView text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('n')   ? QChar(u'\n')
               : next == QLatin1Char('t') ? QChar(u'\t')
                                          : next;
    }
    return out;
}

struct Literal {
    int line;
    QString text; // adjacent pieces joined, escapes resolved
};

// The string literals of a C++ source, comments and character literals left out; literals that
// stand next to each other are one text, as the compiler joins them.
std::vector<Literal> stringLiterals(const QString& code) {
    std::vector<Literal> literals;
    int line = 1;
    bool joining = false; // the last token was a literal
    qsizetype i = 0;
    const qsizetype n = code.size();
    while (i < n) {
        const QChar c = code[i];
        if (c == QLatin1Char('\n')) {
            ++line;
            ++i;
        } else if (c.isSpace()) {
            ++i;
        } else if (code.mid(i, 2) == QLatin1String("//")) {
            while (i < n && code[i] != QLatin1Char('\n'))
                ++i;
        } else if (code.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = code.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            line += int(QStringView(code).mid(i, stop - i).count(QLatin1Char('\n')));
            i = stop;
        } else if (c == QLatin1Char('\'')) {
            for (++i; i < n && code[i] != QLatin1Char('\''); ++i)
                if (code[i] == QLatin1Char('\\'))
                    ++i;
            ++i;
            joining = false;
        } else if (c == QLatin1Char('"') ||
                   (c == QLatin1Char('R') && i + 1 < n && code[i + 1] == QLatin1Char('"'))) {
            QString text;
            if (c == QLatin1Char('R')) {
                const qsizetype open = code.indexOf(QLatin1Char('('), i);
                const QString delimiter =
                    QLatin1Char(')') + code.mid(i + 2, open - i - 2) + QLatin1Char('"');
                const qsizetype end = code.indexOf(delimiter, open);
                text = code.mid(open + 1, end - open - 1);
                line += int(text.count(QLatin1Char('\n')));
                i = end + delimiter.size();
            } else {
                const qsizetype start = ++i;
                while (i < n && code[i] != QLatin1Char('"')) {
                    if (code[i] == QLatin1Char('\\'))
                        ++i;
                    ++i;
                }
                text = unescape(QStringView(code).mid(start, i - start));
                ++i;
            }
            if (joining)
                literals.back().text += text;
            else
                literals.push_back({line, text});
            joining = true;
        } else {
            // A prefix (u, u8, U, L) keeps the joining; anything else ends it.
            const bool prefix =
                (c == QLatin1Char('u') || c == QLatin1Char('U') || c == QLatin1Char('L') ||
                 c == QLatin1Char('8')) &&
                i + 1 < n &&
                (code[i + 1] == QLatin1Char('"') || code[i + 1] == QLatin1Char('8') ||
                 code[i + 1] == QLatin1Char('R'));
            if (!prefix) {
                joining = false;
                // Skip a whole identifier, so "u" inside one is no prefix.
                if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
                    while (i < n && (code[i].isLetterOrNumber() || code[i] == QLatin1Char('_')))
                        ++i;
                    continue;
                }
            }
            ++i;
        }
    }
    return literals;
}

// The committed translation brought up to date with the sources, as lupdate makes it.
std::vector<Entry> updatedTranslation(QTemporaryDir& work) {
    const QString ts = work.filePath(QStringLiteral("scrivlet_en.ts"));
    EXPECT_TRUE(QFile::copy(kTsFile, ts));
    QProcess lupdate;
    lupdate.setWorkingDirectory(kSourceDir);
    lupdate.start(QStringLiteral(SCRIVLET_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-no-obsolete"), QStringLiteral("src"), QStringLiteral("-ts"),
                   ts});
    EXPECT_TRUE(lupdate.waitForFinished(120000));
    EXPECT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    return readTs(ts);
}

} // namespace

TEST(Translations, EveryMarkedTextHasAFinishedEnglishEntry) {
    QTemporaryDir work;
    const std::vector<Entry> updated = updatedTranslation(work);
    const std::vector<Entry> committed = readTs(kTsFile);
    ASSERT_GT(committed.size(), 100u);
    QStringList problems;
    for (const Entry& e : updated) {
        if (!e.finished || e.translation.isEmpty())
            problems
                << QStringLiteral("%1: \"%2\" has no finished English").arg(e.context, e.source);
    }
    QSet<QString> current;
    for (const Entry& e : updated)
        current.insert(e.context + QLatin1Char('\x1f') + e.source);
    for (const Entry& e : committed) {
        if (!current.contains(e.context + QLatin1Char('\x1f') + e.source))
            problems << QStringLiteral("%1: \"%2\" is no longer in the sources")
                            .arg(e.context, e.source);
    }
    EXPECT_TRUE(problems.isEmpty()) << "run scripts/update-translations.sh and translate:\n"
                                    << problems.join(QLatin1Char('\n')).toStdString();
}

TEST(Translations, EveryJapaneseTextOfTheInterfaceIsMarked) {
    QTemporaryDir work;
    QSet<QString> marked;
    for (const Entry& e : updatedTranslation(work))
        marked.insert(e.source);
    QStringList unmarked;
    int scanned = 0;
    QDirIterator files(kSourceDir + QStringLiteral("/src"),
                       {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = QDir(kSourceDir).relativeFilePath(path);
        if (std::any_of(kNotInterface.begin(), kNotInterface.end(),
                        [&](const QString& prefix) { return relative.startsWith(prefix); }))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
        ++scanned;
        for (const Literal& literal : stringLiterals(QString::fromUtf8(file.readAll()))) {
            if (std::any_of(literal.text.begin(), literal.text.end(), isJapanese) &&
                !marked.contains(literal.text))
                unmarked << QStringLiteral("%1:%2: \"%3\"")
                                .arg(relative)
                                .arg(literal.line)
                                .arg(literal.text);
        }
    }
    EXPECT_GT(scanned, 100);
    EXPECT_TRUE(unmarked.isEmpty())
        << "mark these texts with tr() or QCoreApplication::translate():\n"
        << unmarked.join(QLatin1Char('\n')).toStdString();
}

// The scanner itself: what counts as one text, and what is no text at all.
TEST(Translations, ScannerJoinsAdjacentLiteralsAndSkipsComments) {
    const auto literals = stringLiterals(QStringLiteral(
        "// \"コメント\"\nx = tr(\"一行目\\n\"\n       \"二行目\"); /* \"注\" */ c = u'字';\n"
        "y = u\"ユー\" u\"続き\"; z = R\"(生\"の)\";"));
    ASSERT_EQ(literals.size(), 3u);
    EXPECT_EQ(literals[0].text, QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(literals[0].line, 2);
    EXPECT_EQ(literals[1].text, QStringLiteral("ユー続き"));
    EXPECT_EQ(literals[2].text, QStringLiteral("生\"の"));
}

// The compiled translation the programs load turns the Japanese source texts into English.
TEST(Translations, TheBuiltTranslationLoads) {
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral("scrivlet_en"), QStringLiteral(SCRIVLET_QM_DIR)));
    EXPECT_EQ(translator.translate("frmMemo", "終了(&X)"), QStringLiteral("E&xit"));
    EXPECT_EQ(translator.translate("frmProperty", "全般"), QStringLiteral("General"));
    EXPECT_EQ(translator.translate("MessageBox", "いいえ(&N)"), QStringLiteral("&No"));
}
