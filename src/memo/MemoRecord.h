#pragma once

#include <QString>

namespace memo {

// One memo of the memo file. Text keeps CR LF line ends; CursorPos counts characters of Text
// from 0.
struct MemoRecord {
    QString Title;
    QString LastModified;
    QString Text;
    qint32 CursorPos = 0;

    friend bool operator==(const MemoRecord&, const MemoRecord&) = default;
};

} // namespace memo
