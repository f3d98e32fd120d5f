#pragma once

#include <QStringView>

#include <vector>

// Reading a format string: its sections and what kind of format it is.
namespace script::format {

enum class FormatKind { Number, Date, String, Literal };

// The sections between unquoted, unescaped semicolons.
std::vector<QStringView> splitSections(QStringView format);
// The length of the AM/PM designator ("AM/PM", "AMPM", "A/P", any case) at i, or 0.
qsizetype designatorLength(QStringView s, qsizetype i);
// Digit placeholders make a number format (its letters are then plain text); else date tokens
// make a date format; else @ & < > ! a string format.
FormatKind classify(QStringView format);

} // namespace script::format
