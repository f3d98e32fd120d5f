// Finding in memos: 10,000 memos of 10 lines each (100,000 lines, about 5 MB of text). The view
// narrows as the user types, so one query must take less than a frame (16 ms); building the
// finder is paid once when the view opens.
#include "memo/MemoFinder.h"

#include <benchmark/benchmark.h>

namespace {

QList<memo::MemoRecord> makeMemos() {
    // Log lines of a few weeks' notes: Japanese, half-width kana, Latin, numbers, an emoji.
    const QStringList kinds = {
        QString::fromUtf8("会議のメモ：来週の予定を確認する、資料は「共有フォルダ」にあり"),
        QString::fromUtf8("ｶﾀｶﾅの店でコーヒーを買った ☕ 450円"),
        QStringLiteral("call back the customer about invoice #%1 before Friday"),
        QString::fromUtf8("ひらがなだけのぎょう、なにもないひ"),
        QString::fromUtf8("電話番号 090-1234-%1 田中さん"),
    };
    QList<memo::MemoRecord> memos;
    for (int i = 0; i < 10000; ++i) {
        memo::MemoRecord memo;
        memo.Title = QStringLiteral("memo %1").arg(i);
        QString text;
        for (int j = 0; j < 10; ++j) {
            const int n = i * 10 + j;
            text += QStringLiteral("[2026/%1/%2 10:%3:00] ")
                        .arg(1 + n % 12, 2, 10, QLatin1Char('0'))
                        .arg(1 + n % 28, 2, 10, QLatin1Char('0'))
                        .arg(n % 60, 2, 10, QLatin1Char('0'));
            QString line = kinds[n % kinds.size()];
            if (line.contains(QLatin1String("%1")))
                line = line.arg(n);
            text += line + QStringLiteral("\r\n");
        }
        memo.Text = text;
        memos.append(memo);
    }
    return memos;
}

const QList<memo::MemoRecord>& memos() {
    static const QList<memo::MemoRecord> all = makeMemos();
    return all;
}

void BM_BuildFinder(benchmark::State& state) {
    for (auto _ : state) {
        memo::MemoFinder finder(memos());
        benchmark::DoNotOptimize(finder.lineCount());
    }
}
BENCHMARK(BM_BuildFinder)->Unit(benchmark::kMillisecond);

// Each keystroke of a query, as the view narrows while the user types it.
void BM_Query(benchmark::State& state, const char* query) {
    memo::MemoFinder finder(memos());
    const QString text = QString::fromUtf8(query);
    qsizetype hits = 0;
    for (auto _ : state) {
        hits = finder.find(text).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = double(hits);
}
BENCHMARK_CAPTURE(BM_Query, one_letter, "a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, rare_word, "invoice #99997")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, katakana_for_half_width, "カタカナ")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, hiragana_for_katakana, "こーひー")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, nothing, "存在しない言葉")->Unit(benchmark::kMillisecond);

} // namespace
