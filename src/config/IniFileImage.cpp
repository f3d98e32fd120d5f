#include "IniFileImage.h"

#include "platform/FileRead.h"

#include <QFile>
#include <QScopeGuard>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace config {

bool isIniBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isIniBlank(text[begin]))
        ++begin;
    while (end > begin && isIniBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

LineKind classifyLine(QStringView line) {
    const QStringView t = trimBlanks(line);
    if (t.isEmpty())
        return LineKind::Blank;
    if (t.front() == QLatin1Char(';'))
        return LineKind::Comment;
    if (t.size() >= 2 && t.front() == QLatin1Char('[') && t.back() == QLatin1Char(']'))
        return LineKind::Header;
    return LineKind::Data;
}

QString headerName(QStringView headerLine) {
    const QStringView t = trimBlanks(headerLine);
    return trimBlanks(singleLine(t.sliced(1, t.size() - 2).toString())).toString();
}

QString singleLine(const QString& text) {
    const auto breaksLine = [](QChar c) {
        return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0;
    };
    if (std::none_of(text.begin(), text.end(), breaksLine))
        return text;
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out.remove(QChar(0));
    return out;
}

QString lookupName(QStringView name) {
    return singleLine(name.toString()).toLower();
}

namespace {

QStringView withoutCr(QStringView line) {
    return line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line;
}

QString decodeLine(QByteArrayView bytes, platform::TextEncoding encoding) {
    if (encoding == platform::TextEncoding::Cp932)
        return platform::fromAnsi(bytes);
    return QString::fromUtf8(bytes);
}

// Whether the output so far ends in an empty line (or holds nothing but the BOM).
bool endsWithBlankLine(const QByteArray& out, qsizetype bomLength) {
    if (out.size() <= bomLength)
        return true;
    if (!out.endsWith('\n'))
        return false;
    qsizetype i = out.size() - 2;
    while (i >= bomLength && (out[i] == '\r' || out[i] == ' ' || out[i] == '\t'))
        --i;
    return i < bomLength || out[i] == '\n';
}

} // namespace

IniFileImage IniFileImage::parse(QByteArray bytes, const LineVisitor& visit,
                                 std::optional<platform::TextEncoding> encoding) {
    IniFileImage img;
    platform::DecodedText decoded;
    if (encoding) {
        const qsizetype bom = *encoding == platform::TextEncoding::Utf8Bom ? 3 : 0;
        decoded = {decodeLine(QByteArrayView(bytes).sliced(bom), *encoding), *encoding};
    } else {
        decoded = platform::decodeText(bytes);
    }
    img.m_encoding = decoded.encoding;
    img.m_exact = decoded.exact;
    img.m_bomLength = decoded.encoding == platform::TextEncoding::Utf8Bom ? 3 : 0;
    img.m_bytes = std::move(bytes);

    const char* data = img.m_bytes.constData();
    const qsizetype size = img.m_bytes.size();
    qsizetype pos = img.m_bomLength;
    while (pos < size) {
        const void* lf = std::memchr(data + pos, '\n', static_cast<size_t>(size - pos));
        Line line;
        line.start = pos;
        line.terminated = lf != nullptr;
        line.next = lf ? static_cast<const char*>(lf) - data + 1 : size;
        img.m_lines.push_back(line);
        pos = line.next;
    }

    // The decoded text normally holds exactly one LF per byte LF; a broken multi-byte sequence
    // just before a line end could swallow one, and then each line is decoded on its own.
    const QString& text = decoded.text;
    const bool paired =
        text.count(QLatin1Char('\n')) == std::count(data + img.m_bomLength, data + size, '\n');
    qsizetype textPos = 0;
    QString ownLine;
    int section = -1;
    for (Line& line : img.m_lines) {
        QStringView lineText;
        if (paired) {
            qsizetype lf = text.indexOf(QLatin1Char('\n'), textPos);
            if (lf < 0)
                lf = text.size();
            lineText = QStringView(text).sliced(textPos, lf - textPos);
            textPos = lf + 1;
        } else {
            const qsizetype len = line.next - line.start - (line.terminated ? 1 : 0);
            ownLine = decodeLine(QByteArrayView(data + line.start, len), img.m_encoding);
            lineText = ownLine;
        }
        if (!line.terminated && img.m_encoding == platform::TextEncoding::Cp932) {
            // A lead byte cut off by the end of the file vanishes in decoding but reads as a
            // character once a write ends the line; read it that way from the start.
            ownLine = decodeLine(QByteArray(data + line.start, line.next - line.start) + '\n',
                                 img.m_encoding);
            ownLine.chop(1);
            lineText = ownLine;
        }
        lineText = withoutCr(lineText);
        line.kind = classifyLine(lineText);
        if (line.kind == LineKind::Header) {
            const QString name = lookupName(headerName(lineText));
            auto it = img.m_sectionIds.constFind(name);
            if (it == img.m_sectionIds.constEnd())
                it = img.m_sectionIds.insert(name, int(img.m_sectionIds.size()));
            section = it.value();
        }
        line.section = section;
        if (visit)
            visit(line.kind, lineText);
    }
    return img;
}

namespace {

// The file in pieces of this size: two passes (the encoding, then the lines) never hold more.
constexpr qsizetype kScanPiece = 1 << 20;

// Calls `line` for every line of the file (LF removed; `terminated` false for a last line without
// one). False on a read error.
bool forEachLine(int fd, const std::function<void(QByteArrayView line, bool terminated)>& line) {
    QByteArray carry;
    QByteArray piece(kScanPiece, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(fd, piece.data(), size_t(piece.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        QByteArrayView rest(piece.constData(), n);
        while (const void* lf = std::memchr(rest.data(), '\n', size_t(rest.size()))) {
            const qsizetype len = static_cast<const char*>(lf) - rest.data();
            if (carry.isEmpty()) {
                line(rest.first(len), true);
            } else {
                carry.append(rest.first(len));
                line(carry, true);
                carry.clear();
            }
            rest = rest.sliced(len + 1);
        }
        carry.append(rest);
    }
    if (!carry.isEmpty())
        line(carry, false);
    return true;
}

bool startsLikeHeader(QByteArrayView line) {
    for (const char c : line) {
        if (c == ' ' || c == '\t')
            continue;
        return c == '[';
    }
    return false;
}

} // namespace

bool IniFileImage::scanSections(const QString& fileName, const QStringList& wanted,
                                const LineVisitor& visit, QString& error) {
    const QByteArray name = QFile::encodeName(fileName);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return true;
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = QStringLiteral("%1 is not a regular file but %2")
                    .arg(fileName, platform::specialFileKind(unsigned(st.st_mode)));
        return false;
    }

    // First pass: the encoding, as parse would detect it.
    platform::Utf8Check utf8;
    QByteArray head;
    if (!forEachLine(fd, [&](QByteArrayView line, bool terminated) {
            if (head.isEmpty())
                head = line.first(std::min<qsizetype>(3, line.size())).toByteArray();
            utf8.feed(line);
            if (terminated)
                utf8.feed("\n");
        })) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const bool bom = head.startsWith("\xEF\xBB\xBF");
    const platform::TextEncoding encoding = bom            ? platform::TextEncoding::Utf8Bom
                                            : utf8.valid() ? platform::TextEncoding::Utf8
                                                           : platform::TextEncoding::Cp932;

    // Second pass: only headers and the lines of wanted sections are decoded.
    QSet<QString> wantedNames;
    for (const QString& section : wanted)
        wantedNames.insert(lookupName(section));
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    bool first = true;
    bool inWanted = false;
    return forEachLine(fd, [&](QByteArrayView bytes, bool terminated) {
        if (first && bom)
            bytes = bytes.sliced(3);
        first = false;
        const bool header = startsLikeHeader(bytes);
        if (!header && !inWanted)
            return;
        QString text;
        if (!terminated && encoding == platform::TextEncoding::Cp932) {
            // As parse reads a lead byte cut off by the end of the file.
            text = decodeLine(bytes.toByteArray() + '\n', encoding);
            text.chop(1);
        } else {
            text = decodeLine(bytes, encoding);
        }
        const QStringView lineText = withoutCr(text);
        const LineKind kind = classifyLine(lineText);
        if (kind == LineKind::Header)
            inWanted = wantedNames.contains(lookupName(headerName(lineText)));
        if (inWanted)
            visit(kind, lineText);
    });
}

QByteArray IniFileImage::encode(const QString& text, bool* lossless) const {
    if (m_encoding != platform::TextEncoding::Cp932)
        return text.toUtf8();
    bool fits = true;
    QByteArray bytes = platform::toAnsi(text, &fits);
    if (!fits)
        *lossless = false;
    return bytes;
}

IniFileImage IniFileImage::withSections(const std::vector<SectionWrite>& writes,
                                        bool* lossless) const {
    bool fits = true;
    // Which write replaces which section of the file.
    std::vector<int> writeOfSection(m_sectionIds.size(), -1);
    for (size_t w = 0; w < writes.size(); ++w) {
        const auto it = m_sectionIds.constFind(lookupName(writes[w].name));
        if (it != m_sectionIds.constEnd())
            writeOfSection[it.value()] = int(w);
    }

    // A section's body runs from its header to its last key line; blank lines and comments after
    // that belong to the gap before the next header and stay where they are. Comments inside the
    // body are kept and move up under the header. A section that occurs more than once is written
    // once, at its first occurrence; the later occurrences' bodies are folded into it.
    std::vector<qsizetype> bodyEnd(m_lines.size(), -1);
    std::vector<std::vector<qsizetype>> comments(writes.size());
    for (qsizetype i = 0; i < qsizetype(m_lines.size()); ++i) {
        const Line& header = m_lines[i];
        if (header.kind != LineKind::Header || writeOfSection[header.section] < 0)
            continue;
        qsizetype end = i;
        qsizetype j = i + 1;
        for (; j < qsizetype(m_lines.size()) && m_lines[j].kind != LineKind::Header; ++j) {
            if (m_lines[j].kind == LineKind::Data)
                end = j;
        }
        bodyEnd[i] = end;
        for (qsizetype k = i + 1; k <= end; ++k) {
            if (m_lines[k].kind == LineKind::Comment)
                comments[writeOfSection[header.section]].push_back(k);
        }
        i = j - 1;
    }

    std::vector<QByteArray> bodies;
    bodies.reserve(writes.size());
    qsizetype extra = 0;
    for (const SectionWrite& w : writes) {
        bodies.push_back(encode(w.body, &fits));
        extra += bodies.back().size() + w.name.size() * 3 + 8;
    }

    IniFileImage next;
    next.m_encoding = m_encoding;
    next.m_bomLength = m_bomLength;
    next.m_sectionIds = m_sectionIds;
    QByteArray& out = next.m_bytes;
    std::vector<Line>& lines = next.m_lines;
    out.reserve(m_bytes.size() + extra);
    lines.reserve(m_lines.size());
    out.append(m_bytes.constData(), m_bomLength);

    const auto copyLine = [&](const Line& line) {
        Line copy = line;
        copy.start = out.size();
        out.append(m_bytes.constData() + line.start, line.next - line.start);
        copy.next = out.size();
        lines.push_back(copy);
    };
    // Header and comments of a rewritten section are written again, with CR LF like its keys.
    const auto rewriteLine = [&](const Line& line) {
        qsizetype end = line.next - (line.terminated ? 1 : 0);
        if (end > line.start && m_bytes[end - 1] == '\r')
            --end;
        Line copy = line;
        copy.start = out.size();
        out.append(m_bytes.constData() + line.start, end - line.start);
        out.append("\r\n");
        copy.next = out.size();
        copy.terminated = true;
        lines.push_back(copy);
    };
    const auto appendBody = [&](const QByteArray& body, LineKind kind, int section) {
        qsizetype pos = out.size();
        out.append(body);
        while (pos < out.size()) {
            const qsizetype lf = out.indexOf('\n', pos);
            Line line;
            line.start = pos;
            line.terminated = lf >= 0;
            line.next = lf >= 0 ? lf + 1 : out.size();
            line.kind = kind;
            line.section = section;
            lines.push_back(line);
            pos = line.next;
        }
    };

    std::vector<bool> written(writes.size(), false);
    for (qsizetype i = 0; i < qsizetype(m_lines.size()); ++i) {
        const Line& line = m_lines[i];
        if (bodyEnd[i] < 0) {
            copyLine(line);
            continue;
        }
        const int w = writeOfSection[line.section];
        if (!written[w]) {
            rewriteLine(line);
            for (qsizetype c : comments[w])
                rewriteLine(m_lines[c]);
            appendBody(bodies[w], LineKind::Data, line.section);
            written[w] = true;
        }
        i = bodyEnd[i];
    }

    for (size_t w = 0; w < writes.size(); ++w) {
        if (written[w])
            continue;
        if (!lines.empty() && !lines.back().terminated) {
            // A CR already there becomes part of the line end, as the reader took it.
            out.append(out.endsWith('\r') ? "\n" : "\r\n");
            lines.back().terminated = true;
            lines.back().next = out.size();
        }
        if (!endsWithBlankLine(out, m_bomLength))
            appendBody("\r\n", LineKind::Blank, lines.empty() ? -1 : lines.back().section);
        const QString name = lookupName(writes[w].name);
        auto it = next.m_sectionIds.constFind(name);
        if (it == next.m_sectionIds.constEnd())
            it = next.m_sectionIds.insert(name, int(next.m_sectionIds.size()));
        const QString header = QLatin1Char('[') + writes[w].name + QLatin1String("]\r\n");
        appendBody(encode(header, &fits), LineKind::Header, it.value());
        appendBody(bodies[w], LineKind::Data, it.value());
    }
    if (lossless)
        *lossless = fits;
    return next;
}

} // namespace config
