// Reading and writing a memo file of 10,000 memos (about 10 MB).
#include "memo/MemoFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QList<memo::MemoRecord> makeMemos() {
    QList<memo::MemoRecord> memos;
    // About 1 KB per memo: Japanese and ASCII lines, a few of them single dots.
    const QString line =
        QString::fromUtf8("2007/03/01 買い物リスト: milk, bread and 卵 ") + QString(40, u'x');
    for (int i = 0; i < 10000; ++i) {
        memo::MemoRecord memo;
        memo.Title = QStringLiteral("memo %1").arg(i);
        memo.LastModified = QStringLiteral("2007-03-01");
        QString text;
        for (int j = 0; j < 12; ++j)
            text += (j == 5 ? QStringLiteral(".") : line) + QStringLiteral("\r\n");
        memo.Text = text;
        memo.CursorPos = int(text.size() / 2);
        memos.append(memo);
    }
    return memos;
}

struct BenchFile {
    QTemporaryDir dir;
    QString path = dir.filePath("memo.txt");
    QList<memo::MemoRecord> memos = makeMemos();
    BenchFile() { memo::WriteMemoFile(path, memos); }
};

BenchFile& benchFile() {
    static BenchFile file;
    return file;
}

void BM_ReadMemoFile(benchmark::State& state) {
    BenchFile& file = benchFile();
    for (auto _ : state) {
        memo::MemoFileContent content = memo::ReadMemoFile(file.path);
        benchmark::DoNotOptimize(content.memos.size());
        if (content.memos.size() != 10000)
            state.SkipWithError("wrong memo count");
    }
    state.counters["bytes"] = double(QFile(file.path).size());
}
BENCHMARK(BM_ReadMemoFile)->Unit(benchmark::kMillisecond);

void BM_WriteMemoFile(benchmark::State& state) {
    BenchFile& file = benchFile();
    for (auto _ : state) {
        if (memo::WriteMemoFile(file.path, file.memos))
            state.SkipWithError("write failed");
    }
    state.counters["bytes"] = double(QFile(file.path).size());
}
BENCHMARK(BM_WriteMemoFile)->Unit(benchmark::kMillisecond);

void BM_ParseMemoFileText(benchmark::State& state) {
    QList<memo::MemoRecord> memos = makeMemos();
    const QString text = memo::FormatMemoFileText(memos);
    for (auto _ : state)
        benchmark::DoNotOptimize(memo::ParseMemoFileText(text).size());
}
BENCHMARK(BM_ParseMemoFileText)->Unit(benchmark::kMillisecond);

} // namespace
