// A line of 100 pieces expanded against a "Command" section of 1,000 commands. Target: well
// under 1 ms per line.

#include "config/CIniFile.h"
#include "engine/CommandExpander.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    config::CIniFile ini;
    QString line;

    Fixture() {
        QByteArray settings = "[Options]\r\nTopMost=False\r\n[Command]\r\n";
        for (int i = 0; i < 1000; ++i) {
            const QByteArray n = QByteArray::number(i);
            switch (i % 4) {
            case 0:
                settings += "c" + n + "=Program " + n + ",prog" + n + " %a\r\n";
                break;
            case 1:
                settings +=
                    "c" + n + "=Search " + n + ",https://example.org/s?q=%A&n=" + n + "\r\n";
                break;
            case 2:
                settings += "c" + n + "=Pair " + n + ",first %b|second %c%%\r\n";
                break;
            default:
                settings +=
                    "c" + n + "=Inline " + n + ",[%`c" + QByteArray::number(i - 3) + " %b`]\r\n";
                break;
            }
        }
        const QString path = dir.path() + QStringLiteral("/scrivlet.ini");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            abort();
        file.write(settings);
        file.close();
        if (!ini.Load(path))
            abort();
        QStringList pieces;
        for (int i = 0; i < 100; ++i)
            pieces.append(QStringLiteral("c%1 alpha beta あ").arg(i * 10 + (i % 4)));
        line = pieces.join(QStringLiteral(" | "));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_SplitHundredPiecesThousandCommands(benchmark::State& state) {
    Fixture& f = fixture();
    engine::CommandExpander expander(&f.ini, nullptr);
    qsizetype pieces = 0;
    for (auto _ : state) {
        const QStringList result =
            expander.SplitCommandLine(f.line, engine::CommandSource::IniCommands);
        pieces = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["pieces_out"] = double(pieces);
}
BENCHMARK(BM_SplitHundredPiecesThousandCommands)->Unit(benchmark::kMicrosecond);

void BM_SplitHundredUnregisteredPieces(benchmark::State& state) {
    Fixture& f = fixture();
    engine::CommandExpander expander(&f.ini, nullptr);
    QStringList pieces;
    for (int i = 0; i < 100; ++i)
        pieces.append(QStringLiteral("word%1 x y").arg(i));
    const QString line = pieces.join(QLatin1Char('|'));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            expander.SplitCommandLine(line, engine::CommandSource::IniCommands));
}
BENCHMARK(BM_SplitHundredUnregisteredPieces)->Unit(benchmark::kMicrosecond);

void BM_URLEncode(benchmark::State& state) {
    const QString text = QStringLiteral("検索 query with spaces & symbols 日本語テキスト");
    for (auto _ : state)
        benchmark::DoNotOptimize(engine::URLEncode(text));
}
BENCHMARK(BM_URLEncode)->Unit(benchmark::kMicrosecond);

// A Shift_JIS template; café's é and the Korean word are not in the code page and go as
// numeric references, character by character.
void BM_URLEncodeShiftJis(benchmark::State& state) {
    const QString text = QStringLiteral("検索 query with spaces & symbols 日本語テキスト");
    const QString lacking = QStringLiteral("café 한국어 検索");
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::URLEncode(text, engine::UrlCodePage::ShiftJis));
        benchmark::DoNotOptimize(engine::URLEncode(lacking, engine::UrlCodePage::ShiftJis));
    }
}
BENCHMARK(BM_URLEncodeShiftJis)->Unit(benchmark::kMicrosecond);

} // namespace
