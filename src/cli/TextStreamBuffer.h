#pragma once

#include <QStringDecoder>
#include <QTextStream>

#include <ostream>
#include <streambuf>

namespace cli {

// A std::ostream face for a QTextStream: the console script host writes UTF-8 bytes to C++
// streams, scrivlet-cli's output is a QTextStream. Every flush of the C++ stream reaches the
// QTextStream at once, so a script's output appears while it runs; a character cut between two
// writes is held until its last byte arrives.
class TextStreamBuffer final : public std::streambuf {
public:
    explicit TextStreamBuffer(QTextStream& target) : m_target(target) {}
    ~TextStreamBuffer() override { sync(); }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    QTextStream& m_target;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QByteArray m_pending;
};

// The stream and its buffer in one object.
class TextStreamOStream final : public std::ostream {
public:
    explicit TextStreamOStream(QTextStream& target) : std::ostream(nullptr), m_buffer(target) {
        rdbuf(&m_buffer);
    }

private:
    TextStreamBuffer m_buffer;
};

} // namespace cli
