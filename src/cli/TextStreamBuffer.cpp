#include "cli/TextStreamBuffer.h"

namespace cli {

TextStreamBuffer::int_type TextStreamBuffer::overflow(int_type ch) {
    if (!traits_type::eq_int_type(ch, traits_type::eof()))
        m_pending.append(traits_type::to_char_type(ch));
    return traits_type::not_eof(ch);
}

std::streamsize TextStreamBuffer::xsputn(const char* bytes, std::streamsize count) {
    m_pending.append(bytes, qsizetype(count));
    return count;
}

int TextStreamBuffer::sync() {
    if (!m_pending.isEmpty()) {
        m_target << m_decoder.decode(m_pending);
        m_pending.clear();
    }
    m_target.flush();
    return 0;
}

} // namespace cli
