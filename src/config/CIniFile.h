#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace config {

// The program's one settings file held in memory: sections of "key=value" entries, looked up
// without regard to letter case, written back one section at a time.
class CIniFile {
public:
    enum IniDataType { IniText = 0, IniLong = 1, IniSingle = 2, IniBoolean = 3 };

    CIniFile();
    ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    bool Load(const QString& fileName);
    // Reads only the named sections (other sections' lines are neither decoded nor kept), for a
    // reader that never writes: every later save is refused. The time and memory a large settings
    // file costs then do not depend on what the other sections hold.
    bool LoadSectionsForReading(const QString& fileName, const QStringList& sections);
    bool Save(const QString& sectionName = QString()); // "" writes every section

    QString NowSection() const;
    void setNowSection(const QString& name);
    bool IsExist() const;

    QStringList Sections() const;
    QStringList Keys() const;

    QString Data(const QString& key) const;
    // Sets the key in the current section. A key the file cannot hold (see KeyError) is refused:
    // nothing is stored and the result is false; so is a call without a selected section.
    bool setData(const QString& key, const QString& value);
    // Why a key cannot be stored, as a sentence for the user, or "" when it can: a key holding
    // "=" or starting with ";" or "[" would read back as another key, a comment or a header.
    static QString KeyError(const QString& key);
    void DeleteData(const QString& key);
    void Clear();

    // Reads and checks a setting; returns the default (as given) when the value does not pass.
    QVariant InitData(const QString& key, int type, const QVariant& defaultValue) const;

    static bool IsBool(const QString& text);
    static bool IsInt(const QString& text);
    static bool IsLng(const QString& text);
    static bool IsSng(const QString& text);

    QString fileName() const;

private:
    bool SaveSection(const QString& name);
    struct Private;
    // Implementation detail owned by CIniFile.cpp.
    std::shared_ptr<Private> d;
};

} // namespace config
