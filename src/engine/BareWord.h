#pragma once

#include <QString>

namespace engine {

// Letters and digits only, of any script (also the empty text): a bare word, which the script
// language evaluates to Empty. The evaluator does not count such a run as evaluated, so that an
// undefined name changes nothing and prose such as "今日は晴れ" goes on to the memo. Header only:
// the evaluator and the test doubles of the command engine share it.
inline bool IsBareWord(const QString& code) {
    for (const QChar c : code) {
        const char16_t u = c.toUpper().unicode();
        const bool asciiWordChar = (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
        if (!asciiWordChar && (u < 0x80 || !c.isLetterOrNumber()))
            return false;
    }
    return true;
}

} // namespace engine
