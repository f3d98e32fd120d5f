#pragma once

#include "memo/MemoRecord.h"
#include "memo/SearchFold.h"

#include <QList>
#include <QString>

namespace memo {

// One line of a memo that matched.
struct FindHit {
    int memo = 0;   // the memo's number, from 1
    int line = 0;   // the line's number in the memo, from 0
    int start = 0;  // where the line starts in the memo's text (CR LF counts two)
    int length = 0; // its length, line end excluded
};

// Finds lines in memos, matching as SearchFold folds: letter case, width and hiragana/katakana
// are ignored. Made once over a copy of the memos (the fold of every line is kept), then asked
// as often as the user types.
//
// Results come newest first: a log line is as new as its stamp "[yyyy/mm/dd hh:mm:ss]", a line
// without a stamp as the nearest stamped line above it in its memo; lines of the same age (no
// stamp at all) come from the last memo of the file first, and from the bottom of a memo up.
class MemoFinder {
public:
    explicit MemoFinder(QList<MemoRecord> memos);

    // Every line that holds the query (empty for a query that is empty or only blanks).
    QList<FindHit> find(QStringView query);

    // The title shown for a memo: its title, else its first non-empty line.
    QString title(int memo) const;
    QStringView lineText(const FindHit& hit) const;
    // Where the query matches in the hit's line, for highlighting.
    QList<std::pair<int, int>> matchRanges(const FindHit& hit, QStringView query);

    int lineCount() const { return int(m_lines.size()); }

private:
    struct Line {
        FindHit where;
        qint64 age = 0;       // the stamp as yyyyMMddhhmmss, 0 for none
        qsizetype folded = 0; // where its fold starts in m_folded
    };

    QList<MemoRecord> m_memos;
    SearchFold m_fold;
    std::vector<Line> m_lines; // newest first
    // The folds of all lines in m_lines' order, each followed by a line feed (which no query
    // holds, so no match spans two lines).
    QString m_folded;
};

} // namespace memo
