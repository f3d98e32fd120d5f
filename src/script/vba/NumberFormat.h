#pragma once

#include <QString>
#include <QStringView>

// Number formats: digit placeholders, point, grouping and scaling commas, percent, exponents.
namespace script::format {

// Picks the section for the value (positive; negative; zero) and formats it. A negative value in
// a section of its own shows no sign but the section's literals.
QString formatNumber(double value, QStringView format);
// The literal text of a section (the Null section of a number format).
QString literalText(QStringView section);

} // namespace script::format
