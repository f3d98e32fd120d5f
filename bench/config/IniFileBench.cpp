// Load and save of a large settings file: 5 MB, 100 sections of 1,000 keys each.
#include "config/CIniFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kSections = 100;
constexpr int kKeysPerSection = 1000;

struct LargeFile {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;

    LargeFile() {
        path = dir.filePath(QStringLiteral("scrivlet.ini"));
        QByteArray content;
        content.reserve(6 * 1024 * 1024);
        content += "; benchmark settings\r\n";
        for (int s = 0; s < kSections; ++s) {
            content += "[Section" + QByteArray::number(s) + "]\r\n";
            for (int k = 0; k < kKeysPerSection; ++k) {
                content += "Key" + QByteArray::number(k) + "=value " + QByteArray::number(s) + "," +
                           QByteArray::number(k) +
                           " \x83\x81\x83\x82 with some text to reach fifty bytes\r\n";
            }
            content += "\r\n";
        }
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        bytes = content.size();
    }
};

LargeFile& largeFile() {
    static LargeFile file;
    return file;
}

void BM_Load(benchmark::State& state) {
    LargeFile& f = largeFile();
    for (auto _ : state) {
        auto ini = std::make_unique<config::CIniFile>();
        ini->Load(f.path);
        benchmark::DoNotOptimize(ini->Sections().size());
        state.PauseTiming(); // freeing the store is not part of loading
        ini.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
    state.counters["keys"] = kSections * kKeysPerSection;
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_SaveAll(benchmark::State& state) {
    LargeFile& f = largeFile();
    config::CIniFile ini;
    ini.Load(f.path);
    int round = 0;
    for (auto _ : state) {
        ini.setNowSection(QStringLiteral("Section50"));
        ini.setData(QStringLiteral("Key500"), QString::number(++round));
        benchmark::DoNotOptimize(ini.Save());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_SaveAll)->Unit(benchmark::kMillisecond);

void BM_SaveOneSection(benchmark::State& state) {
    LargeFile& f = largeFile();
    config::CIniFile ini;
    ini.Load(f.path);
    int round = 0;
    for (auto _ : state) {
        ini.setNowSection(QStringLiteral("Section50"));
        ini.setData(QStringLiteral("Key500"), QString::number(++round));
        benchmark::DoNotOptimize(ini.Save(QStringLiteral("Section50")));
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_SaveOneSection)->Unit(benchmark::kMillisecond);

void BM_LoadThenSaveAll(benchmark::State& state) {
    LargeFile& f = largeFile();
    for (auto _ : state) {
        config::CIniFile ini;
        ini.Load(f.path);
        benchmark::DoNotOptimize(ini.Save());
    }
}
BENCHMARK(BM_LoadThenSaveAll)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state) {
    config::CIniFile ini;
    ini.Load(largeFile().path);
    ini.setNowSection(QStringLiteral("Section99"));
    const QString key = QStringLiteral("key999");
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.Data(key));
}
BENCHMARK(BM_Lookup);

} // namespace
