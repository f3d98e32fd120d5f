#pragma once

#include "memo/MemoRecord.h"

#include <ostream>

namespace memo {

// Readable failure messages for memo records.
inline std::ostream& operator<<(std::ostream& os, const MemoRecord& m) {
    return os << "{Title=\"" << m.Title.toStdString() << "\" LastModified=\""
              << m.LastModified.toStdString() << "\" Text=\"" << m.Text.toStdString()
              << "\" CursorPos=" << m.CursorPos << "}";
}

} // namespace memo
