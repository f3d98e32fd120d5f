#pragma once

#include <QString>
#include <QStringView>

// String formats: @ and & placeholders, < and >, and ! for left-to-right filling.
namespace script::format {

// The first section for text, the second (when there is one) for Null and empty text.
QString formatString(const QString& value, bool isNull, QStringView format);

} // namespace script::format
