#pragma once

// The TextStream of OpenTextFile and CreateTextFile. A stream for reading holds the decoded
// file; a stream for writing collects its text and stores it when closed (or dropped): a new
// or rewritten file replaces the old one in one step, an appended file grows in one write.

#include "vbscript/Object.h"
#include "vbscript/objects/TextFileCodec.h"

#include <optional>
#include <string>

namespace vbscript {

class TextStreamObject final : public HostObject<TextStreamObject> {
public:
    enum class Mode { Read = 1, Write = 2, Append = 8 };

    // For reading: the file's text. For writing: the encoding to write in (Utf16 adds a
    // byte-order mark to a new file), or nullopt to choose by the text.
    static Ref<TextStreamObject> forReading(std::u16string text);
    static Ref<TextStreamObject> forWriting(std::string path, Mode mode,
                                            std::optional<TextFileEncoding> encoding);
    ~TextStreamObject() override;

    std::u16string typeName() const override { return u"TextStream"; }
    std::span<const Member> members() const override;

private:
    TextStreamObject() = default;

    Value atEndOfStream(Context&, Args);
    Value atEndOfLine(Context&, Args);
    Value line(Context&, Args) { return Value::longValue(m_line); }
    Value column(Context&, Args) { return Value::longValue(m_column); }
    Value read(Context&, Args args);
    Value readLine(Context&, Args);
    Value readAll(Context&, Args);
    Value skip(Context&, Args args);
    Value skipLine(Context&, Args);
    Value write(Context&, Args args);
    Value writeLine(Context&, Args args);
    Value writeBlankLines(Context&, Args args);
    Value close(Context&, Args);

    void requireReading() const;
    void requireWriting() const;
    void advanceOver(std::u16string_view text);
    void flush();

    Mode m_mode = Mode::Read;
    bool m_closed = false;
    std::u16string m_text; // the file (reading) or what was written (writing)
    size_t m_position = 0;
    int32_t m_line = 1;
    int32_t m_column = 1;
    std::string m_path;
    std::optional<TextFileEncoding> m_encoding;
};

} // namespace vbscript
