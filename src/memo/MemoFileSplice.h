#pragma once

#include "memo/MemoRecord.h"
#include "platform/TextCodec.h"

#include <QByteArray>
#include <QList>

#include <optional>
#include <utility>
#include <vector>

// Saving a large memo file without re-encoding it: when only some memos changed, the bytes of the
// others are copied from the version last read or written, and only the changed memos are
// formatted and encoded. What a reader makes of the result is what it would make of a full
// rewrite. Every function gives nothing when the shortcut does not apply; the caller then writes
// the whole file.
namespace memo::splice {

// Where each memo's bytes lie in a memo file (after a BOM): the memos are separated by a line
// holding a single dot, which no memo text can contain (such lines are escaped). Nothing for a
// file without CR LF: its lone LFs read as line ends, which depends on the whole file.
std::optional<std::vector<std::pair<qsizetype, qsizetype>>>
memoRanges(const QByteArray& bytes, platform::TextEncoding encoding);

// The file `before` (the bytes of `beforeMemos`, in `encoding`) with the memos that differ in
// `memos` written anew. Nothing when memos were added or removed, or a changed memo's text does
// not fit the encoding.
std::optional<QByteArray> spliceChangedMemos(const QByteArray& before,
                                             const QList<MemoRecord>& beforeMemos,
                                             QList<MemoRecord>& memos,
                                             platform::TextEncoding encoding);

// The first memo of a file read as bytes only: the file's encoding (as decodeText would choose
// it, learnt without decoding the file), the memo, and where its bytes end. Nothing when the file
// is empty, has no CR LF, or the memo's bytes do not read back exactly.
struct FirstMemo {
    platform::TextEncoding encoding;
    MemoRecord memo;
    qsizetype begin;
    qsizetype end;
};
std::optional<FirstMemo> readFirstMemo(const QByteArray& bytes);

// `bytes` with the first memo (as found by readFirstMemo) replaced by `memo`.
std::optional<QByteArray> replaceFirstMemo(const QByteArray& bytes, const FirstMemo& first,
                                           MemoRecord memo);

} // namespace memo::splice
