// Arbitrary settings files through load, edit and save. Checks, beyond not crashing:
// - a write from the image kept in memory gives the same bytes as one after re-reading the file;
// - every section written reads back with the keys it was written with.
#include "config/CIniFile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Replaces the file the way another program might: a new file renamed over the old one.
void writeBytes(const QString& path, const QByteArray& bytes) {
    const QString temp = path + QStringLiteral(".new");
    QFile f(temp);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
    f.close();
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0)
        std::abort();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A key and value taken from the input, so edits reach odd characters too.
QString pick(const uint8_t*& data, size_t& size, int length) {
    QString s;
    while (length-- > 0 && size > 0) {
        s += QChar(char16_t(*data % 2 ? 0x3000 + *data : *data));
        ++data;
        --size;
    }
    return s;
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.ini"));
    if (size < 4)
        return 0;
    const uint8_t mode = data[0];
    ++data;
    --size;
    const QString key = pick(data, size, 3);
    const QString value = pick(data, size, 5);
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    writeBytes(path, content);

    config::CIniFile ini;
    ini.Load(path);
    const QStringList sections = ini.Sections();
    const QString first = sections.isEmpty() ? QStringLiteral("New") : sections.front();
    const QString last = sections.isEmpty() ? QStringLiteral("Other") : sections.back();

    ini.setNowSection(mode & 1 ? first : QStringLiteral("Added"));
    ini.setData(key, value);
    if (mode & 2)
        ini.DeleteData(ini.Keys().value(0));
    if (!(mode & 4 ? ini.Save() : ini.Save(ini.NowSection())))
        return 0;
    const QByteArray afterFirst = readBytes(path);

    ini.setNowSection(last);
    ini.setData(value, key);
    check(ini.Save(last), "save from memory");
    const QByteArray fromMemory = readBytes(path);

    writeBytes(path, afterFirst); // a changed file is read again before the next write
    ini.setNowSection(last);
    check(ini.Save(last), "save after reading again");
    if (readBytes(path) != fromMemory) {
        std::fprintf(stderr, "from memory:\n%s\nafter reading again:\n%s\n",
                     fromMemory.toHex(' ').constData(), readBytes(path).toHex(' ').constData());
        check(false, "same bytes");
    }

    config::CIniFile again;
    again.Load(path);
    again.setNowSection(last);
    ini.setNowSection(last);
    // Names the code page may have merged by substitution, or that bytes valid in neither encoding
    // may have renamed, are left out of the count.
    for (QChar c : last)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return 0;
    qsizetype written = 0;
    for (const QString& k : ini.Keys()) {
        for (QChar c : k)
            if (c.unicode() < 0x20 || c.unicode() > 0x7E)
                return 0;
        if (!k.contains(QLatin1Char('=')) && !k.startsWith(QLatin1Char(';')) &&
            !k.startsWith(QLatin1Char('[')))
            ++written;
    }
    if (again.Keys().size() != written) {
        std::fprintf(stderr, "section %s: %lld keys written, read back %s\nfile:\n%s\n",
                     last.toUtf8().toHex(' ').constData(), static_cast<long long>(written),
                     again.Keys().join(QLatin1Char('|')).toUtf8().toHex(' ').constData(),
                     readBytes(path).toHex(' ').constData());
        check(false, "keys read back");
    }
    return 0;
}
