#include "vbscript/objects/TextStreamObject.h"

#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/objects/FileErrors.h"

#include <sys/stat.h>

namespace vbscript {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

[[noreturn]] void raiseBadMode() {
    raiseError(err::BadFileMode);
}

[[noreturn]] void raisePastEnd() {
    raiseError(err::InputPastEnd);
}

off_t fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_size : 0;
}

} // namespace

Ref<TextStreamObject> TextStreamObject::forReading(std::u16string text) {
    Ref<TextStreamObject> stream(new TextStreamObject);
    stream->m_mode = Mode::Read;
    stream->m_text = std::move(text);
    return stream;
}

Ref<TextStreamObject> TextStreamObject::forWriting(std::string path, Mode mode,
                                                   std::optional<TextFileEncoding> encoding) {
    Ref<TextStreamObject> stream(new TextStreamObject);
    stream->m_mode = mode;
    stream->m_path = std::move(path);
    stream->m_encoding = encoding;
    return stream;
}

TextStreamObject::~TextStreamObject() {
    try {
        flush();
    } catch (const ScriptError&) {
        // Dropped without Close: there is no script left to tell.
    }
}

std::span<const TextStreamObject::Member> TextStreamObject::members() const {
    static const Member table[] = {
        {u"AtEndOfStream", 0, 0, &TextStreamObject::atEndOfStream, nullptr},
        {u"AtEndOfLine", 0, 0, &TextStreamObject::atEndOfLine, nullptr},
        {u"Line", 0, 0, &TextStreamObject::line, nullptr},
        {u"Column", 0, 0, &TextStreamObject::column, nullptr},
        {u"Read", 1, 1, &TextStreamObject::read, nullptr},
        {u"ReadLine", 0, 0, &TextStreamObject::readLine, nullptr},
        {u"ReadAll", 0, 0, &TextStreamObject::readAll, nullptr},
        {u"Skip", 1, 1, &TextStreamObject::skip, nullptr},
        {u"SkipLine", 0, 0, &TextStreamObject::skipLine, nullptr},
        {u"Write", 1, 1, &TextStreamObject::write, nullptr},
        {u"WriteLine", 0, 1, &TextStreamObject::writeLine, nullptr},
        {u"WriteBlankLines", 1, 1, &TextStreamObject::writeBlankLines, nullptr},
        {u"Close", 0, 0, &TextStreamObject::close, nullptr},
    };
    return table;
}

void TextStreamObject::requireReading() const {
    if (m_closed || m_mode != Mode::Read)
        raiseBadMode();
}

void TextStreamObject::requireWriting() const {
    if (m_closed || m_mode == Mode::Read)
        raiseBadMode();
}

void TextStreamObject::advanceOver(std::u16string_view text) {
    for (char16_t c : text) {
        if (c == u'\n') {
            ++m_line;
            m_column = 1;
        } else if (c != u'\r') {
            ++m_column;
        }
    }
}

Value TextStreamObject::atEndOfStream(Context&, Args) {
    requireReading();
    return Value::boolean(m_position >= m_text.size());
}

Value TextStreamObject::atEndOfLine(Context&, Args) {
    requireReading();
    return Value::boolean(m_position >= m_text.size() || m_text[m_position] == u'\r' ||
                          m_text[m_position] == u'\n');
}

Value TextStreamObject::read(Context&, Args args) {
    requireReading();
    const int32_t count = toLong(args[0]);
    if (count < 0)
        raiseError(err::InvalidCall);
    if (m_position >= m_text.size() && count > 0)
        raisePastEnd();
    const std::u16string part = m_text.substr(m_position, size_t(count));
    m_position += part.size();
    advanceOver(part);
    return Value::string(part);
}

Value TextStreamObject::readLine(Context&, Args) {
    requireReading();
    if (m_position >= m_text.size())
        raisePastEnd();
    size_t end = m_text.find(u'\n', m_position);
    size_t next = end == std::u16string::npos ? m_text.size() : end + 1;
    if (end == std::u16string::npos)
        end = m_text.size();
    size_t contentEnd = end;
    if (contentEnd > m_position && m_text[contentEnd - 1] == u'\r')
        --contentEnd;
    std::u16string lineText = m_text.substr(m_position, contentEnd - m_position);
    m_position = next;
    ++m_line;
    m_column = 1;
    return Value::string(std::move(lineText));
}

Value TextStreamObject::readAll(Context&, Args) {
    requireReading();
    if (m_position >= m_text.size())
        raisePastEnd(); // an empty file too, as the language does: scripts test AtEndOfStream
    const std::u16string rest = m_text.substr(m_position);
    m_position = m_text.size();
    advanceOver(rest);
    return Value::string(rest);
}

Value TextStreamObject::skip(Context& context, Args args) {
    read(context, args);
    return Value();
}

Value TextStreamObject::skipLine(Context& context, Args args) {
    readLine(context, args);
    return Value();
}

Value TextStreamObject::write(Context&, Args args) {
    requireWriting();
    const std::u16string text = toMemberText(args[0]);
    m_text += text;
    advanceOver(text);
    return Value();
}

Value TextStreamObject::writeLine(Context&, Args args) {
    requireWriting();
    const std::u16string text = args.isMissing(0) ? std::u16string() : toMemberText(args[0]);
    m_text += text;
    m_text += kLineEnd;
    advanceOver(text);
    advanceOver(kLineEnd);
    return Value();
}

Value TextStreamObject::writeBlankLines(Context&, Args args) {
    requireWriting();
    const int32_t count = toLong(args[0]);
    if (count < 0)
        raiseError(err::InvalidCall);
    for (int32_t i = 0; i < count; ++i) {
        m_text += kLineEnd;
        advanceOver(kLineEnd);
    }
    return Value();
}

Value TextStreamObject::close(Context&, Args) {
    if (m_closed)
        return Value();
    flush();
    return Value();
}

void TextStreamObject::flush() {
    if (m_closed || m_mode == Mode::Read) {
        m_closed = true;
        return;
    }
    m_closed = true;
    if (m_mode == Mode::Append && fileSize(m_path) > 0) {
        // Continue in the encoding the file already has.
        const DecodedText existing = decodeTextFile(readWholeFile(m_path));
        appendToFile(m_path, encodeText(m_text, m_encoding.value_or(existing.encoding)));
        return;
    }
    const TextFileEncoding encoding = m_encoding.value_or(encodingForNewText(m_text));
    std::string bytes(byteOrderMark(encoding));
    bytes += encodeText(m_text, encoding);
    replaceFileAtomically(m_path, bytes);
}

} // namespace vbscript
