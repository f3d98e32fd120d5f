#pragma once

#include <QString>

namespace engine {

// Whether an ASCII line reads as English words rather than as script: two or more words, one of
// them of two letters or more, only letters, digits, blanks and the punctuation of ordinary
// sentences, no operator between two numbers ("2 + 3", "10 mod 3", "12/25") and no name directly
// followed by "(" (a call such as "Sqr(2"). Used under a user interface that is not Japanese;
// the line still goes to the script engine first, and only what fails there is filed.
bool IsEnglishProse(const QString& text);

} // namespace engine
