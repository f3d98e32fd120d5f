#pragma once

#include "platform/TextCodec.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

namespace config {

// How the reader sees one line of the settings file.
enum class LineKind : unsigned char { Blank, Comment, Header, Data };

// The blanks the file format ignores at the ends of lines, names and keys.
bool isIniBlank(QChar c);
QStringView trimBlanks(QStringView text);

LineKind classifyLine(QStringView line);
// The section name of a header line, blanks removed ("[ Options ]" -> "Options"), as a single line.
QString headerName(QStringView headerLine);
// Line breaks and NUL cannot live inside a line of the file: a CR LF pair, a CR or an LF becomes
// one blank, a NUL is dropped.
QString singleLine(const QString& text);
// The form under which section names and keys are compared.
QString lookupName(QStringView name);

// One section to be written: its name (used for the header when the section is new) and its key
// lines, each ended by CR LF. Every line must read back as a key line.
struct SectionWrite {
    QString name;
    QString body;
};

// The settings file as raw bytes cut into classified lines. Writing a section replaces only that
// section's lines; every other byte of the file is copied as it was read.
class IniFileImage {
public:
    // Called for every line in file order with its kind, decoded text (line end removed) and, for
    // headers, the section name.
    using LineVisitor = std::function<void(LineKind kind, QStringView text)>;

    IniFileImage() = default;
    // The encoding is detected unless one is given.
    static IniFileImage parse(QByteArray bytes, const LineVisitor& visit = {},
                              std::optional<platform::TextEncoding> encoding = std::nullopt);

    // Visits the lines of the wanted sections only (their headers included), reading the
    // file piece by piece: a settings file grown large through sections nobody asked for costs
    // neither the time to decode it nor the memory to hold it. Lines are read as parse reads them.
    // False, with `error` set, when the file exists but cannot be read; a missing file visits
    // nothing.
    static bool scanSections(const QString& fileName, const QStringList& wanted,
                             const LineVisitor& visit, QString& error);

    platform::TextEncoding encoding() const { return m_encoding; }
    // False when the bytes read were neither valid UTF-8 nor valid CP932.
    bool exact() const { return m_exact; }
    const QByteArray& bytes() const { return m_bytes; }

    // The file with the given sections replaced (or appended when missing). Sections are matched by
    // lookupName; writes must hold each name at most once. `lossless` tells whether the encoding
    // could hold every character of the new text (the characters it could not are "?").
    IniFileImage withSections(const std::vector<SectionWrite>& writes,
                              bool* lossless = nullptr) const;

private:
    struct Line {
        qsizetype start = 0;
        qsizetype next = 0;      // start of the following line
        bool terminated = false; // ends with LF
        LineKind kind = LineKind::Blank;
        int section = -1; // id in m_sectionIds of the section the line belongs to; -1 before any
    };

    QByteArray encode(const QString& text, bool* lossless) const;

    QByteArray m_bytes;
    qsizetype m_bomLength = 0;
    platform::TextEncoding m_encoding = platform::TextEncoding::Utf8;
    bool m_exact = true;
    std::vector<Line> m_lines;
    QHash<QString, int> m_sectionIds;
};

} // namespace config
