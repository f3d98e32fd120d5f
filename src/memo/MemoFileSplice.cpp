#include "memo/MemoFileSplice.h"

#include "memo/MemoFile.h"

#include <QByteArrayView>

namespace memo::splice {

namespace {

constexpr QByteArrayView kSeparator{"\r\n.\r\n"};
constexpr QByteArrayView kBom{"\xEF\xBB\xBF"};

qsizetype bomLength(const QByteArray& bytes, platform::TextEncoding encoding) {
    return encoding == platform::TextEncoding::Utf8Bom && bytes.startsWith(kBom) ? kBom.size() : 0;
}

std::optional<QByteArray> encodeMemo(MemoRecord& memo, platform::TextEncoding encoding) {
    const QString text = FormatMemo(memo);
    if (encoding == platform::TextEncoding::Utf8Bom)
        return text.toUtf8(); // the BOM stays in front of the first memo
    return platform::encodeTextExactly(text, encoding);
}

} // namespace

std::optional<std::vector<std::pair<qsizetype, qsizetype>>>
memoRanges(const QByteArray& bytes, platform::TextEncoding encoding) {
    const qsizetype start = bomLength(bytes, encoding);
    if (bytes.size() <= start || !bytes.contains("\r\n"))
        return std::nullopt;
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    qsizetype begin = start;
    for (;;) {
        const qsizetype end = bytes.indexOf(kSeparator, begin);
        ranges.emplace_back(begin, end < 0 ? bytes.size() : end);
        if (end < 0)
            return ranges;
        begin = end + kSeparator.size();
    }
}

std::optional<QByteArray> spliceChangedMemos(const QByteArray& before,
                                             const QList<MemoRecord>& beforeMemos,
                                             QList<MemoRecord>& memos,
                                             platform::TextEncoding encoding) {
    if (memos.isEmpty() || memos.size() != beforeMemos.size())
        return std::nullopt;
    const auto ranges = memoRanges(before, encoding);
    if (!ranges || qsizetype(ranges->size()) != memos.size())
        return std::nullopt;
    QByteArray out;
    out.reserve(before.size() + 4096);
    out.append(before.constData(), bomLength(before, encoding));
    for (qsizetype i = 0; i < memos.size(); ++i) {
        if (i > 0)
            out.append(kSeparator);
        const auto [begin, end] = (*ranges)[size_t(i)];
        if (memos[i] == beforeMemos[i]) {
            out.append(before.constData() + begin, end - begin);
            continue;
        }
        const std::optional<QByteArray> memo = encodeMemo(memos[i], encoding);
        if (!memo)
            return std::nullopt;
        out.append(*memo);
    }
    return out;
}

std::optional<FirstMemo> readFirstMemo(const QByteArray& bytes) {
    platform::TextEncoding encoding = platform::TextEncoding::Cp932;
    if (bytes.startsWith(kBom)) {
        encoding = platform::TextEncoding::Utf8Bom;
    } else {
        platform::Utf8Check utf8;
        utf8.feed(bytes);
        if (utf8.valid())
            encoding = platform::TextEncoding::Utf8;
    }
    // Up to the first separator only: the rest is never looked at.
    const qsizetype begin = bomLength(bytes, encoding);
    if (bytes.size() <= begin || !bytes.contains("\r\n"))
        return std::nullopt;
    const qsizetype separator = bytes.indexOf(kSeparator, begin);
    const qsizetype end = separator < 0 ? bytes.size() : separator;
    const QByteArrayView piece(bytes.constData() + begin, end - begin);
    const QString text = encoding == platform::TextEncoding::Cp932 ? platform::fromAnsi(piece)
                                                                   : QString::fromUtf8(piece);
    // Only bytes that read back exactly: anything else goes the way that keeps the original.
    const std::optional<QByteArray> again = platform::encodeTextExactly(
        text,
        encoding == platform::TextEncoding::Utf8Bom ? platform::TextEncoding::Utf8 : encoding);
    if (!again || *again != piece)
        return std::nullopt;
    return FirstMemo{encoding, ParseMemo(text), begin, end};
}

std::optional<QByteArray> replaceFirstMemo(const QByteArray& bytes, const FirstMemo& first,
                                           MemoRecord memo) {
    const std::optional<QByteArray> encoded = encodeMemo(memo, first.encoding);
    if (!encoded)
        return std::nullopt;
    QByteArray out;
    out.reserve(bytes.size() + encoded->size() - (first.end - first.begin));
    out.append(bytes.constData(), first.begin);
    out.append(*encoded);
    out.append(bytes.constData() + first.end, bytes.size() - first.end);
    return out;
}

} // namespace memo::splice
