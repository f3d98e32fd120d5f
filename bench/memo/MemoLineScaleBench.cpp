// What filing one line costs as the memo file grows: a 10 KB file against a 20 MB one, through
// scrivlet-cli's route (the first memo alone, else the memo filer: load, append, save) and the
// window's (a loaded MemoList:
// AddMessage, Save), with the phases of a whole-file save timed one by one; and a scrivlet-cli run
// with a 20 MB settings file (time and peak resident memory of the process).
//
//   memo_line_scale_bench [--cli PATH_TO_SCRIVLET_CLI] [--runs N]
#include "memo/FirstMemoAppend.h"
#include "memo/HeadlessMemoView.h"
#include "memo/MemoFile.h"
#include "memo/MemoFiler.h"
#include "memo/MemoList.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace memo;

int g_runs = 7;

// The median of the runs, in milliseconds.
double medianMs(const std::function<void()>& step) {
    std::vector<double> times;
    for (int i = 0; i < g_runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        step();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Years of notes: many memos of Japanese and Latin lines, about `bytes` in CP932.
void writeMemoFile(const QString& path, qint64 bytes) {
    const QString line = QStringLiteral("[2024/03/01 09:15:00] 会議の議事録：予算は「承認」★ "
                                        "follow up with the team → 来週");
    const qint64 lineBytes = platform::toAnsi(line).size() + 2;
    QList<MemoRecord> memos;
    qint64 size = 0;
    int n = 0;
    while (size < bytes) {
        MemoRecord memo;
        memo.Title = QStringLiteral("メモ %1").arg(++n);
        memo.LastModified = QStringLiteral("2024-03-01");
        for (int j = 0; j < 20 && size < bytes; ++j) {
            memo.Text += line + QStringLiteral("\r\n");
            size += lineBytes;
        }
        memos.append(memo);
    }
    if (WriteMemoFile(path, memos))
        std::abort();
}

struct Figures {
    double cli, window;
};

Figures fileOneLine(const QString& path) {
    int i = 0;
    const double cli = medianMs([&] {
        const QString line = QStringLiteral("一行 %1").arg(++i);
        std::optional<MemoFileError> error;
        switch (appendToFirstMemo(path, line, QDateTime::currentDateTime(), kDefaultMemoDateFormat,
                                  error)) {
        case FirstMemoAppend::Filed:
            return;
        case FirstMemoAppend::Failed:
            std::abort();
        case FirstMemoAppend::NotApplicable:
            break;
        }
        MemoFiler filer;
        if (filer.open(path) || !filer.fileLine(line))
            std::abort();
    });
    HeadlessMemoView view;
    MemoList list(view, systemMemoClock());
    list.setFileName(path);
    if (list.Load())
        std::abort();
    const double window = medianMs([&] {
        if (!list.AddMessage(QStringLiteral("窓から %1").arg(++i)) || list.Save())
            std::abort();
    });
    return {cli, window};
}

void phases(const QString& path) {
    QByteArray bytes;
    std::printf("  phases of a whole-file save, %s (%.1f MB):\n", qPrintable(path.section('/', -1)),
                double(QFile(path).size()) / 1e6);
    std::printf("    read bytes        %8.2f ms\n",
                medianMs([&] { bytes = platform::readWholeFile(path).bytes; }));
    platform::DecodedText decoded;
    std::printf("    decode (CP932)    %8.2f ms\n",
                medianMs([&] { decoded = platform::decodeText(bytes); }));
    QList<MemoRecord> memos;
    std::printf("    parse             %8.2f ms\n",
                medianMs([&] { memos = ParseMemoFileText(decoded.text); }));
    QString text;
    std::printf("    format            %8.2f ms\n",
                medianMs([&] { text = FormatMemoFileText(memos); }));
    std::optional<QByteArray> encoded;
    std::printf("    encode            %8.2f ms\n", medianMs([&] {
                    platform::TextEncoding e = decoded.encoding;
                    encoded = platform::encodeTextExactly(text, e);
                }));
    bool same = false;
    const QByteArray copy = bytes;
    std::printf("    compare bytes     %8.2f ms\n", medianMs([&] { same = copy == bytes; }));
    const QString scratch = path + QStringLiteral(".scratch");
    std::printf("    write, no fsync   %8.2f ms\n", medianMs([&] {
                    QFile f(scratch);
                    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                        std::abort();
                    f.write(bytes);
                }));
    std::printf("    write + fsync     %8.2f ms\n", medianMs([&] {
                    const int fd = ::open(QFile::encodeName(scratch).constData(),
                                          O_WRONLY | O_TRUNC | O_CLOEXEC);
                    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) < 0)
                        std::abort();
                    ::fsync(fd);
                    ::close(fd);
                }));
    std::printf("    atomic write      %8.2f ms\n",
                medianMs([&] { platform::writeFileAtomically(scratch, bytes); }));
    QFile::remove(scratch);
    (void)same;
}

// One scrivlet-cli run; its wall time and peak resident memory.
std::pair<double, long> runCli(const QString& cli, const QString& folder,
                               const QByteArray& line = "1+1") {
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const QByteArray program = QFile::encodeName(cli), dir = QFile::encodeName(folder);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(program.constData(), program.constData(), "--dir", dir.constData(),
                line.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    return {double(clock.nsecsElapsed()) / 1e6, usage.ru_maxrss};
}

void settingsFile(const QString& cli, QTemporaryDir& dir) {
    const QString small = dir.filePath(QStringLiteral("small")), big = dir.filePath("big");
    QDir().mkpath(small);
    QDir().mkpath(big);
    const QByteArray options = "[Options]\r\nTopMost=1\r\nMRU=20\r\n[Command]\r\ng=Google,"
                               "https://www.google.com/search?q=%s\r\n";
    QFile(small + "/scrivlet.ini").open(QIODevice::WriteOnly);
    {
        QFile f(small + "/scrivlet.ini");
        f.open(QIODevice::WriteOnly);
        f.write(options);
    }
    {
        QFile f(big + "/scrivlet.ini");
        f.open(QIODevice::WriteOnly);
        f.write(options);
        // A section another tool (or years of history) filled.
        f.write("[MRU]\r\n");
        QByteArray line;
        for (int i = 0; f.size() < 20'000'000; ++i) {
            line = "Item" + QByteArray::number(i) + "=" +
                   QStringLiteral("検索 %1 の結果を「メモ」に★").arg(i).toUtf8() + "\r\n";
            f.write(line);
        }
    }
    std::vector<double> timesSmall, timesBig;
    long rssSmall = 0, rssBig = 0;
    for (int i = 0; i < g_runs; ++i) {
        auto [t1, r1] = runCli(cli, small);
        auto [t2, r2] = runCli(cli, big);
        timesSmall.push_back(t1);
        timesBig.push_back(t2);
        rssSmall = std::max(rssSmall, r1);
        rssBig = std::max(rssBig, r2);
    }
    std::sort(timesSmall.begin(), timesSmall.end());
    std::sort(timesBig.begin(), timesBig.end());
    std::printf("scrivlet-cli \"1+1\" with a settings file of\n");
    std::printf("  100 B   %8.1f ms  peak RSS %6.1f MB\n", timesSmall[timesSmall.size() / 2],
                double(rssSmall) / 1024);
    std::printf("  20 MB   %8.1f ms  peak RSS %6.1f MB   (target: 100 ms, 50 MB)\n",
                timesBig[timesBig.size() / 2], double(rssBig) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString cli;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--cli"))
            cli = args[i + 1];
        if (args[i] == QLatin1String("--runs"))
            g_runs = std::max(1, args[i + 1].toInt());
    }
    QTemporaryDir dir;
    // First, while this process is small: a forked child's peak memory counts what it shared
    // with its parent before exec.
    if (!cli.isEmpty())
        settingsFile(cli, dir);
    const QString small = dir.filePath(QStringLiteral("small.txt"));
    const QString big = dir.filePath(QStringLiteral("big.txt"));
    writeMemoFile(small, 10'000);
    writeMemoFile(big, 20'000'000);

    std::printf("filing one line, median of %d (ms)      cli route   window route\n", g_runs);
    const Figures s = fileOneLine(small);
    std::printf("  10 KB memo file                      %8.2f   %8.2f\n", s.cli, s.window);
    const Figures b = fileOneLine(big);
    std::printf("  20 MB memo file                      %8.2f   %8.2f\n", b.cli, b.window);
    std::printf("  ratio 20 MB / 10 KB                  %8.1f   %8.1f   (target: 3, and 100 ms)\n",
                b.cli / s.cli, b.window / s.window);
    phases(big);
    if (!cli.isEmpty()) {
        // The whole scrivlet-cli process filing a prose line, no window running.
        std::printf("scrivlet-cli filing a prose line (whole process, median of %d)\n", g_runs);
        for (const auto& [name, source] : {std::pair{"10 KB", small}, std::pair{"20 MB", big}}) {
            const QString folder = dir.filePath(QStringLiteral("cli-") + QLatin1String(name));
            QDir().mkpath(folder);
            QFile::copy(source, folder + QStringLiteral("/scrivlet.txt"));
            // (Its peak memory is not shown: a child forked from this large process counts it.)
            std::vector<double> times;
            for (int i = 0; i < g_runs; ++i)
                times.push_back(runCli(cli, folder, "今日の 会議メモ").first);
            std::sort(times.begin(), times.end());
            std::printf("  %s memo file   %8.1f ms\n", name, times[times.size() / 2]);
        }
    }
    return 0;
}
