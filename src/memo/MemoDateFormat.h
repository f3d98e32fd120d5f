#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace memo {

// Where the memo list gets "now" from; tests fix it.
using MemoClock = std::function<QDateTime()>;
MemoClock systemMemoClock();

// The stamp of a log line, and the default format of LastModified.
inline const QString kLogStampFormat = QStringLiteral("yyyy/mm/dd hh:mm:ss");
inline const QString kDefaultMemoDateFormat = QStringLiteral("yyyy-mm-dd");

// Date patterns: "yyyy" year, "mm" month (minutes when the previous field was "hh"), "dd" day,
// "hh" hour 00-23, "ss" seconds, "/" and ":" the date and time separators; everything else is
// copied as it stands.
QString FormatMemoDate(const QDateTime& when, const QString& pattern);

} // namespace memo
