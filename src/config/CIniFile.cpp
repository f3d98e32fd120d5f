#include "CIniFile.h"

#include "IniFileImage.h"
#include "NumericTextQt.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "platform/FileStamp.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

#include <QDateTime>
#include <QHash>

#include <vector>

namespace config {

using config::IniFileImage;
using config::LineKind;
using config::lookupName;
using config::singleLine;
using config::trimBlanks;

namespace {

struct Entry {
    QString key;
    QString value;
    bool hasValue = true; // false for a loaded line without "="
    bool alive = true;
};

// Entries in order with a hash index; removals leave a hole that is swept up once holes outnumber
// the live entries, so both lookups and moves to the end stay cheap in large sections.
struct Section {
    QString name;
    std::vector<Entry> entries;
    QHash<QString, qsizetype> index;
    qsizetype dead = 0;

    const Entry* find(const QString& lookup) const {
        const auto it = index.constFind(lookup);
        return it == index.constEnd() ? nullptr : &entries[it.value()];
    }

    void remove(const QString& lookup) {
        const auto it = index.find(lookup);
        if (it == index.end())
            return;
        entries[it.value()].alive = false;
        index.erase(it);
        if (++dead > 32 && dead > qsizetype(entries.size()) / 2)
            compact();
    }

    // Sets a key: any entry it had goes, the new one comes last. One hash lookup either way.
    void put(const QString& lookup, Entry entry) {
        const qsizetype before = index.size();
        qsizetype& slot = index[lookup];
        const bool replaced = index.size() == before;
        if (replaced)
            entries[slot].alive = false;
        slot = qsizetype(entries.size());
        entries.push_back(std::move(entry));
        if (replaced && ++dead > 32 && dead > qsizetype(entries.size()) / 2)
            compact();
    }

    void compact() {
        std::vector<Entry> kept;
        kept.reserve(entries.size() - dead);
        index.clear();
        for (Entry& e : entries) {
            if (!e.alive)
                continue;
            index.insert(lookupName(e.key), qsizetype(kept.size()));
            kept.push_back(std::move(e));
        }
        entries = std::move(kept);
        dead = 0;
    }
};

using platform::FileStamp;

// Keys are stored and compared without blanks at their ends, as the file gives them.
QString keyLookup(const QString& key) {
    return lookupName(trimBlanks(singleLine(key)));
}

bool isWritableSectionName(const QString& name) {
    return !name.isEmpty() && trimBlanks(name).size() == name.size() &&
           !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')) &&
           !name.contains(QChar(0));
}

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isValidUtf8(QByteArrayView bytes);

bool readsAsUtf8(const QByteArray& bytes) {
    return !isAscii(bytes) && isValidUtf8(bytes) &&
           platform::decodeText(bytes).encoding != platform::TextEncoding::Cp932;
}

// Empty once spaces are removed from both ends.
bool isAllSpaces(const QString& text) {
    for (QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

// Strict UTF-8 shape (no overlong forms, no surrogates, nothing above U+10FFFF): a quick way to
// rule out that bytes would be read as UTF-8.
bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int n = 0;
        unsigned lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (end - p <= n)
            return false;
        if (p[1] < lo || p[1] > hi)
            return false;
        for (int k = 2; k <= n; ++k)
            if (p[k] < 0x80 || p[k] > 0xBF)
                return false;
        p += n + 1;
    }
    return true;
}

} // namespace

struct CIniFile::Private {
    QString fileName;
    std::vector<Section> sections;
    QHash<QString, int> sectionIndex;
    bool partlyRead = false; // loaded by LoadSectionsForReading: never written
    QString current;
    int currentIndex = -1;
    bool exists = false;

    // The file as last read or written, and the state of the file on disk it stands for.
    IniFileImage image;
    bool imageReadable = true;
    FileStamp stamp;
    // The file's bytes were neither UTF-8 nor CP932: a copy is kept before the first write.
    bool keepOriginal = false;

    int findSection(const QString& name) const {
        const auto it = sectionIndex.constFind(lookupName(name));
        return it == sectionIndex.constEnd() ? -1 : it.value();
    }

    int addSection(const QString& name) {
        sections.push_back(Section{name, {}, {}, 0});
        const int i = int(sections.size()) - 1;
        sectionIndex.insert(lookupName(name), i);
        return i;
    }

    Section* currentSection() { return currentIndex < 0 ? nullptr : &sections[currentIndex]; }
    const Section* currentSection() const {
        return currentIndex < 0 ? nullptr : &sections[currentIndex];
    }

    void addLoadedLine(Section& section, QStringView line) {
        Entry e;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            e.key = trimBlanks(singleLine(line.toString())).toString();
            e.hasValue = false;
        } else {
            e.key = trimBlanks(singleLine(line.first(eq).toString())).toString();
            e.value = singleLine(line.sliced(eq + 1).toString());
        }
        const QString lookup = lookupName(e.key);
        section.put(lookup, std::move(e));
    }

    // One line of the file as it is read; `section` is the section its lines go to.
    void takeLine(Section*& section, LineKind kind, QStringView text) {
        if (kind == LineKind::Header) {
            const QString name = config::headerName(text);
            if (name.isEmpty()) {
                section = nullptr; // a nameless section is skipped with its lines
                return;
            }
            int i = findSection(name);
            if (i < 0)
                i = addSection(name);
            section = &sections[i];
        } else if (kind == LineKind::Data && section) {
            addLoadedLine(*section, text);
        }
    }

    bool bringImageUpToDate();
    bool keepOriginalBeside();
    bool writeSections(const std::vector<int>& indices);
};

CIniFile::CIniFile() : d(std::make_shared<Private>()) {}
CIniFile::~CIniFile() = default;

bool CIniFile::Load(const QString& fileName) {
    d->fileName = fileName;
    d->partlyRead = false;
    d->sections.clear();
    d->sectionIndex.clear();
    d->exists = false;
    d->stamp = FileStamp::of(fileName);
    if (!fileName.isEmpty())
        platform::removeLeftoverTemporaries(fileName);

    platform::FileBytes file = platform::readWholeFile(fileName);
    if (file.ok()) {
        Section* section = nullptr;
        d->image = IniFileImage::parse(std::move(file.bytes), [&](LineKind kind, QStringView text) {
            d->takeLine(section, kind, text);
        });
        d->imageReadable = true;
    } else {
        d->image = IniFileImage();
        // A file that exists but cannot be read must not be replaced by what little we know.
        d->imageReadable = file.missing();
        if (file.errorNumber == platform::kNotARegularFile ||
            file.errorNumber == platform::kFileTooLarge)
            platform::showMessageBox(
                QStringLiteral("設定ファイルを読み込めませんでした。既定の設定で動作します。\n%1")
                    .arg(file.error),
                int(platform::mb::OKOnly) | platform::mb::Exclamation);
    }
    d->keepOriginal = !d->image.exact();

    // The selected section name survives a load; it now refers to the new table.
    d->currentIndex = d->current.isEmpty() ? -1 : d->findSection(d->current);
    return true;
}

bool CIniFile::LoadSectionsForReading(const QString& fileName, const QStringList& sections) {
    d->fileName = fileName;
    d->sections.clear();
    d->sectionIndex.clear();
    d->exists = false;
    d->stamp = FileStamp::of(fileName);
    // Only part of the file is known: nothing may ever be written from it.
    d->image = IniFileImage();
    d->imageReadable = false;
    d->partlyRead = true;
    d->keepOriginal = false;
    Section* section = nullptr;
    QString error;
    if (!fileName.isEmpty() &&
        !IniFileImage::scanSections(
            fileName, sections,
            [&](LineKind kind, QStringView text) { d->takeLine(section, kind, text); }, error)) {
        d->sections.clear();
        d->sectionIndex.clear();
        platform::showMessageBox(
            QStringLiteral("設定ファイルを読み込めませんでした。既定の設定で動作します。\n%1: %2")
                .arg(fileName, error),
            int(platform::mb::OKOnly) | platform::mb::Exclamation);
    }
    d->currentIndex = d->current.isEmpty() ? -1 : d->findSection(d->current);
    return true;
}

QString CIniFile::fileName() const {
    return d->fileName;
}

QString CIniFile::NowSection() const {
    return d->current;
}

void CIniFile::setNowSection(const QString& name) {
    if (name == d->current && (d->currentIndex >= 0 || name.isEmpty()))
        return;
    const int i = d->findSection(name);
    if (i >= 0) {
        d->current = d->sections[i].name;
        d->currentIndex = i;
        d->exists = true;
    } else {
        d->current = name;
        d->currentIndex = d->addSection(name);
        d->exists = false;
    }
}

bool CIniFile::IsExist() const {
    return d->exists;
}

QStringList CIniFile::Sections() const {
    QStringList names;
    names.reserve(qsizetype(d->sections.size()));
    for (const Section& s : d->sections)
        names.append(s.name);
    return names;
}

QStringList CIniFile::Keys() const {
    QStringList keys;
    const Section* s = d->currentSection();
    if (!s)
        return keys;
    keys.reserve(qsizetype(s->entries.size()) - s->dead);
    for (const Entry& e : s->entries)
        if (e.alive && e.hasValue)
            keys.append(e.key);
    return keys;
}

QString CIniFile::Data(const QString& key) const {
    const Section* s = d->currentSection();
    if (!s)
        return {};
    const Entry* e = s->find(keyLookup(key));
    return e && e->hasValue ? e->value : QString();
}

QString CIniFile::KeyError(const QString& key) {
    const QString line = singleLine(key);
    const QStringView trimmed = trimBlanks(line);
    if (trimmed.contains(QLatin1Char('=')))
        return QStringLiteral("キーに「=」は使えません。");
    if (trimmed.startsWith(QLatin1Char(';')))
        return QStringLiteral("キーの先頭に「;」は使えません。");
    if (trimmed.startsWith(QLatin1Char('[')))
        return QStringLiteral("キーの先頭に「[」は使えません。");
    return QString();
}

bool CIniFile::setData(const QString& key, const QString& value) {
    if (!KeyError(key).isEmpty())
        return false; // it would read back as another key, a comment or a header
    if (d->current.isEmpty() && d->currentIndex < 0)
        return false; // no section selected
    if (d->currentIndex < 0)
        d->currentIndex = d->addSection(d->current);
    Entry e;
    e.key = trimBlanks(singleLine(key)).toString();
    e.value = singleLine(value);
    const QString lookup = lookupName(e.key);
    d->sections[d->currentIndex].put(lookup, std::move(e));
    return true;
}

void CIniFile::DeleteData(const QString& key) {
    if (Section* s = d->currentSection())
        s->remove(keyLookup(key));
}

void CIniFile::Clear() {
    for (const QString& key : Keys())
        DeleteData(key);
}

QVariant CIniFile::InitData(const QString& key, int type, const QVariant& defaultValue) const {
    const QString value = Data(key);
    switch (type) {
    case IniText:
        return isAllSpaces(value) ? defaultValue : QVariant(value);
    case IniLong:
        return IsLng(value) ? QVariant(numtext::toLng(numtext::view(value))) : defaultValue;
    case IniSingle:
        return IsSng(value) ? QVariant(numtext::toSng(numtext::view(value))) : defaultValue;
    case IniBoolean:
        return IsBool(value) ? QVariant(numtext::toBool(numtext::view(value))) : defaultValue;
    default:
        return value;
    }
}

bool CIniFile::IsBool(const QString& text) {
    return numtext::isBool(numtext::view(text));
}
bool CIniFile::IsInt(const QString& text) {
    return numtext::isInt(numtext::view(text));
}
bool CIniFile::IsLng(const QString& text) {
    return numtext::isLng(numtext::view(text));
}
bool CIniFile::IsSng(const QString& text) {
    return numtext::isSng(numtext::view(text));
}

bool CIniFile::SaveSection(const QString& name) {
    setNowSection(name);
    if (!isWritableSectionName(d->current) || !d->writeSections({d->currentIndex}))
        return false;
    d->exists = true;
    return true;
}

bool CIniFile::Save(const QString& sectionName) {
    if (!sectionName.isEmpty())
        return SaveSection(sectionName);
    if (d->sections.empty())
        return false;

    // One write carries every section up to the first one that cannot be written.
    std::vector<int> batch;
    int stoppedAt = -1;
    for (int i = 0; i < int(d->sections.size()); ++i) {
        if (!isWritableSectionName(d->sections[i].name)) {
            stoppedAt = i;
            break;
        }
        batch.push_back(i);
    }
    if (batch.empty() || !d->writeSections(batch)) {
        setNowSection(d->sections[batch.empty() ? stoppedAt : batch.front()].name);
        return false;
    }
    setNowSection(d->sections[stoppedAt >= 0 ? stoppedAt : batch.back()].name);
    if (stoppedAt >= 0)
        return false;
    d->exists = true;
    return true;
}

bool CIniFile::Private::bringImageUpToDate() {
    const FileStamp now = FileStamp::of(fileName);
    if (now == stamp && imageReadable)
        return true;
    // Another program changed the file since: keep what it wrote to the other sections.
    if (!now.exists) {
        image = IniFileImage();
    } else {
        platform::FileBytes file = platform::readWholeFile(fileName);
        if (!file.ok())
            return false;
        image = IniFileImage::parse(std::move(file.bytes));
    }
    imageReadable = true;
    keepOriginal = !image.exact();
    stamp = now;
    return true;
}

// The file's bytes could not be read as text: they are kept beside it before a write changes
// them, and the user is told once.
bool CIniFile::Private::keepOriginalBeside() {
    const QString copy = platform::keepCopyBeside(
        fileName, image.bytes(), QStringLiteral("original"), QDateTime::currentDateTime());
    if (copy.isEmpty())
        return false;
    keepOriginal = false;
    platform::showMessageBox(
        QStringLiteral("設定ファイルの文字コードを読み取れない部分がありました。\n"
                       "元のファイルは次の名前で残しました。\n%1")
            .arg(copy),
        int(platform::mb::OKOnly) | platform::mb::Information);
    return true;
}

bool CIniFile::Private::writeSections(const std::vector<int>& indices) {
    if (fileName.isEmpty() || partlyRead || !bringImageUpToDate())
        return false;

    std::vector<config::SectionWrite> writes;
    writes.reserve(indices.size());
    for (int i : indices) {
        const Section& s = sections[i];
        config::SectionWrite w{s.name, {}};
        qsizetype size = 0;
        for (const Entry& e : s.entries)
            size += e.key.size() + e.value.size() + 3;
        w.body.reserve(size);
        for (const Entry& e : s.entries) {
            if (!e.alive || !e.hasValue)
                continue;
            w.body += e.key;
            w.body += QLatin1Char('=');
            w.body += e.value;
            w.body += QLatin1String("\r\n");
        }
        writes.push_back(std::move(w));
    }

    bool lossless = true;
    IniFileImage next = image.withSections(writes, &lossless);
    if (next.encoding() == platform::TextEncoding::Cp932 && !lossless) {
        // The code page cannot hold the new text: the file moves to UTF-8 as a whole (its old
        // bytes are kept beside it first when they were not all CP932).
        const QString whole = platform::fromAnsi(image.bytes());
        next = IniFileImage::parse(whole.toUtf8(), {}, platform::TextEncoding::Utf8)
                   .withSections(writes);
    }
    // The image must stay what a reader of the written bytes sees, encoding included.
    if (next.encoding() == platform::TextEncoding::Cp932 && readsAsUtf8(next.bytes())) {
        // Code page bytes that happen to read as UTF-8 (half-width kana can) would change meaning.
        const QString whole = platform::fromAnsi(next.bytes());
        next = platform::toAnsi(whole) == next.bytes()
                   ? IniFileImage::parse(whole.toUtf8(), {}, platform::TextEncoding::Utf8)
                   : IniFileImage::parse(QByteArray(next.bytes()));
    } else if (next.encoding() == platform::TextEncoding::Utf8 && isAscii(next.bytes())) {
        next = IniFileImage::parse(QByteArray(next.bytes()));
    }

    if (stamp.exists && next.bytes() == image.bytes()) {
        image = std::move(next);
        return true; // the file already says exactly this
    }
    if (keepOriginal && stamp.exists && !keepOriginalBeside())
        return false;
    if (!platform::writeFileAtomically(fileName, next.bytes()))
        return false;
    image = std::move(next);
    stamp = FileStamp::of(fileName);
    return true;
}

} // namespace config
