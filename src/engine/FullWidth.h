#pragma once

#include <QString>

#include <optional>

namespace engine {

// The half-width form of text typed in an input method's full-width mode ("１＋２＊３"): the
// full-width forms of ASCII (U+FF01 to U+FF5E) become their ASCII characters and the ideographic
// space a space. Nothing when the text holds no such character, or a character that is neither
// ASCII nor one of them ("ＯＫです").
inline std::optional<QString> halfWidthForm(const QString& text) {
    QString half = text;
    bool fullWidth = false;
    for (QChar& c : half) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) {
            c = QChar(char16_t(u - 0xFF01 + 0x21));
            fullWidth = true;
        } else if (u == 0x3000) {
            c = QLatin1Char(' ');
            fullWidth = true;
        } else if (u >= 0x80) {
            return std::nullopt;
        }
    }
    if (!fullWidth)
        return std::nullopt;
    return half;
}

} // namespace engine
