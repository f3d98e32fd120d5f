#include "memo/MemoFinder.h"

#include "memo/MemoFile.h"

#include <algorithm>

namespace memo {

namespace {

// "[yyyy/mm/dd hh:mm:ss]" at the start of a line, as yyyyMMddhhmmss; 0 when the line has none.
qint64 stampOf(QStringView line) {
    static constexpr char kShape[] = "[dddd/dd/dd dd:dd:dd]";
    constexpr qsizetype kLength = sizeof(kShape) - 1;
    if (line.size() < kLength)
        return 0;
    qint64 value = 0;
    for (qsizetype i = 0; i < kLength; ++i) {
        const char16_t c = line[i].unicode();
        if (kShape[i] == 'd') {
            if (c < u'0' || c > u'9')
                return 0;
            value = value * 10 + (c - u'0');
        } else if (c != char16_t(kShape[i])) {
            return 0;
        }
    }
    return value;
}

} // namespace

MemoFinder::MemoFinder(QList<MemoRecord> memos) : m_memos(std::move(memos)) {
    for (int m = 0; m < m_memos.size(); ++m) {
        const QString& text = m_memos[m].Text;
        qint64 age = 0;
        int number = 0;
        qsizetype start = 0;
        while (start < text.size()) {
            qsizetype end = text.indexOf(QLatin1Char('\n'), start);
            const qsizetype next = end < 0 ? text.size() : end + 1;
            if (end < 0)
                end = text.size();
            if (end > start && text[end - 1] == QLatin1Char('\r'))
                --end;
            const QStringView line = QStringView(text).mid(start, end - start);
            if (const qint64 stamp = stampOf(line))
                age = stamp;
            if (!line.isEmpty())
                m_lines.push_back({{m + 1, number, int(start), int(end - start)}, age, 0});
            ++number;
            start = next;
        }
    }
    std::sort(m_lines.begin(), m_lines.end(), [](const Line& a, const Line& b) {
        if (a.age != b.age)
            return a.age > b.age;
        if (a.where.memo != b.where.memo)
            return a.where.memo > b.where.memo;
        return a.where.line > b.where.line;
    });
    qsizetype total = 0;
    for (const Line& line : m_lines)
        total += line.where.length + 1;
    m_folded.reserve(total);
    for (Line& line : m_lines) {
        line.folded = m_folded.size();
        m_fold.foldInto(lineText(line.where), m_folded);
        m_folded += QLatin1Char('\n');
    }
}

QList<FindHit> MemoFinder::find(QStringView query) {
    QList<FindHit> hits;
    if (!isFindableQuery(query))
        return hits;
    const QString needle = m_fold.fold(query);
    if (needle.isEmpty())
        return hits;
    qsizetype from = 0;
    while ((from = m_folded.indexOf(needle, from)) >= 0) {
        // The line the match lies in; the search goes on after it.
        const auto it = std::upper_bound(
            m_lines.begin(), m_lines.end(), from,
            [](qsizetype offset, const Line& line) { return offset < line.folded; });
        const Line& line = *(it - 1);
        hits.append(line.where);
        from = it == m_lines.end() ? m_folded.size() : it->folded;
    }
    return hits;
}

QString MemoFinder::title(int memo) const {
    if (memo < 1 || memo > m_memos.size())
        return QString();
    const MemoRecord& record = m_memos[memo - 1];
    return record.Title.isEmpty() ? FirstNonEmptyLine(record.Text) : record.Title;
}

QStringView MemoFinder::lineText(const FindHit& hit) const {
    if (hit.memo < 1 || hit.memo > m_memos.size())
        return {};
    return QStringView(m_memos[hit.memo - 1].Text).mid(hit.start, hit.length);
}

QList<std::pair<int, int>> MemoFinder::matchRanges(const FindHit& hit, QStringView query) {
    return memo::matchRanges(m_fold, lineText(hit), query);
}

} // namespace memo
