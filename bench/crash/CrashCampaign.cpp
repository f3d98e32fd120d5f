// The crash campaign: kills the memo and settings writers (and scrivlet-cli) with SIGKILL at
// random moments and checks after every kill that the file is one complete version, loads, and
// holds everything that was reported saved; and that the next start removes the writer's
// leftovers. With --full it fills a small file system instead and checks that the failing save
// says so and leaves the last good version.
//
//   crash_campaign --writer BIN --cli BIN --dir DIR [--kills N] [--seed S]
//                  [--window BIN --window-dir DIR]
//   crash_campaign --writer BIN --cli BIN --dir DIR --full
#include "CrashFormat.h"

#include "memo/MemoFile.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

struct Run {
    QByteArray output;
    bool exitedOk = false; // ended by itself with status 0
    bool killed = false;
};

// Starts the program, kills it after `delayUs` (never when negative) and collects its output.
Run runAndKill(const QStringList& argv, long delayUs) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<QByteArray> storage;
    std::vector<char*> args;
    for (const QString& a : argv)
        storage.push_back(a.toLocal8Bit());
    for (QByteArray& a : storage)
        args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0)
        std::abort();
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    Run run;
    int status = 0;
    bool reaped = false;
    if (delayUs >= 0) {
        // Waits for the end or the moment of the kill, whichever comes first.
        QElapsedTimer waited;
        waited.start();
        while (!(reaped = ::waitpid(pid, &status, WNOHANG) == pid) &&
               waited.nsecsElapsed() / 1000 < delayUs)
            ::usleep(100);
        if (!reaped)
            ::kill(pid, SIGKILL);
    }
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            run.output.append(buffer, n);
    ::close(out[0]);
    if (!reaped)
        ::waitpid(pid, &status, 0);
    run.exitedOk = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return run;
}

// The last N of the "saved N" lines.
int lastSaved(const QByteArray& output, int fallback) {
    int last = fallback;
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("saved "))
            last = line.mid(6).toInt();
    return last;
}

int leftovers(const QString& dir) {
    return int(QDir(dir).entryList({QStringLiteral("*.tmp-*")}, QDir::Files).size());
}

// The numbers of the memo lines in memo 1, in order; nothing when the file is no complete
// version (does not load, lines out of order, a torn last line).
std::optional<std::vector<int>> memoNumbers(const QString& file) {
    const memo::MemoFileContent content = memo::ReadMemoFile(file);
    if (!content.ok())
        return std::nullopt;
    std::vector<int> numbers;
    if (content.memos.isEmpty())
        return numbers;
    const QString text = content.memos[0].Text;
    if (!text.isEmpty() && !text.endsWith(QStringLiteral("\r\n")))
        return std::nullopt;
    static const QRegularExpression line(QStringLiteral("^\\[[0-9/: ]+\\] メモ～ 「(\\d+)」★ｘ*$"));
    for (const QString& l : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const auto m = line.match(l);
        if (!m.hasMatch())
            return std::nullopt;
        numbers.push_back(m.captured(1).toInt());
    }
    for (size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] != int(i) + 1)
            return std::nullopt;
    return numbers;
}

// The counter of a complete settings version, or nothing.
std::optional<int> settingsCounter(const QString& file) {
    config::CIniFile ini;
    ini.Load(file);
    ini.setNowSection(crash::kSection);
    if (ini.Keys().isEmpty())
        return 0;
    bool ok = false;
    const int n = ini.Data(QStringLiteral("Counter")).toInt(&ok);
    if (!ok || ini.Keys().size() != crash::kSettingsKeys + 1)
        return std::nullopt;
    for (int k = 0; k < crash::kSettingsKeys; ++k) {
        const QString expected = platform::fromAnsi(platform::toAnsi(crash::settingsValue(n, k)));
        if (ini.Data(QStringLiteral("Key%1").arg(k)) != expected)
            return std::nullopt;
    }
    return n;
}

struct Figures {
    int kills = 0;          // runs that the signal ended
    int finished = 0;       // runs that ended before the signal
    int inFlightLanded = 0; // kills after which the unreported save was already complete
    int leftoversSeen = 0;  // kills that left a temporary file behind
    int leftoversAfterStart = 0;
    int torn = 0;         // files that were no complete version
    int lostReported = 0; // saves reported but missing afterwards
    int saves = 0;        // saves reported in all
    double seconds = 0;
};

void print(const char* name, const Figures& f) {
    std::printf("%-9s kills %5d  ended-first %4d  saves %6d  in-flight-landed %4d  "
                "temp-left %4d  temp-after-next-start %d  torn %d  reported-lost %d  (%.1f s)\n",
                name, f.kills, f.finished, f.saves, f.inFlightLanded, f.leftoversSeen,
                f.leftoversAfterStart, f.torn, f.lostReported, f.seconds);
}

// Counts one run and checks the file it left against the saves reported so far (`saved` before
// the run, `reported` after it). `held` reads how many saves the file holds, or nothing when it is
// no complete version; it is read after the leftover count, since reading the file is what the
// next start does and that removes the leftovers. False when the file was torn: the campaign
// stops there.
bool tally(const Run& run, int reported, const std::function<std::optional<int>()>& held,
           const QString& dir, int& saved, Figures& f) {
    (run.killed ? f.kills : f.finished)++;
    f.saves += reported - saved;
    if (leftovers(dir) > 0)
        ++f.leftoversSeen;
    const std::optional<int> now = held();
    if (!now) {
        ++f.torn;
        return false;
    }
    if (*now < reported)
        f.lostReported += reported - *now;
    if (*now == reported + 1)
        ++f.inFlightLanded;
    else if (*now != reported)
        ++f.torn;
    f.leftoversAfterStart += leftovers(dir);
    saved = std::max(*now, reported);
    return true;
}

std::optional<int> memoCount(const QString& file) {
    if (const auto numbers = memoNumbers(file))
        return int(numbers->size());
    return std::nullopt;
}

// The window-less writers: each run saves over and over until it is killed.
Figures writerCampaign(const QString& writer, const QString& mode, const QString& dir, int kills,
                       std::mt19937& random) {
    const QString file = dir + (mode == u"memo" ? "/memo.txt" : "/settings.ini");
    QFile::remove(file);
    Figures f;
    QElapsedTimer clock;
    clock.start();
    // Kills spread over the start and the first few saves of a run.
    QElapsedTimer once;
    once.start();
    runAndKill({writer, mode, file + ".calibrate", "1", "5"}, -1);
    QFile::remove(file + ".calibrate");
    const long runUs = std::max<long>(1000, once.nsecsElapsed() / 1000);
    std::uniform_int_distribution<long> delay(0, runUs);
    int saved = 0; // what the file must hold at least
    const auto held = [&]() -> std::optional<int> {
        return mode == u"memo" ? memoCount(file) : settingsCounter(file);
    };
    while (f.kills < kills) {
        const Run run = runAndKill({writer, mode, file, QString::number(saved + 1)}, delay(random));
        if (!tally(run, lastSaved(run.output, saved), held, dir, saved, f))
            break;
    }
    f.seconds = clock.elapsed() / 1000.0;
    return f;
}

// scrivlet-cli files one prose line per run; a run that exited 0 reported its line saved.
Figures cliCampaign(const QString& cli, const QString& dir, int kills, std::mt19937& random) {
    const QString file = dir + "/scrivlet.txt";
    QFile::remove(file);
    QFile::remove(dir + "/scrivlet.ini");
    Figures f;
    QElapsedTimer clock;
    clock.start();
    // The line is saved at the end of a run, so the kills gather around the time a whole run
    // takes, from 50 % to 150 % of it: the median of three runs left to end, measured again every
    // hundred kills (the machine's load changes it).
    int saved = 0;
    long typical = 0;
    const auto measure = [&] {
        std::vector<long> durations;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer once;
            once.start();
            const Run run = runAndKill({cli, "--dir", dir, crash::memoLine(saved + 1)}, -1);
            durations.push_back(once.nsecsElapsed() / 1000);
            if (run.exitedOk)
                ++saved;
        }
        std::sort(durations.begin(), durations.end());
        typical = durations[1];
    };
    long typicalSum = 0;
    int measured = 0;
    const auto held = [&] { return memoCount(file); };
    while (f.kills < kills) {
        if (f.kills / 100 >= measured) {
            measure();
            typicalSum += typical;
            ++measured;
        }
        std::uniform_int_distribution<long> delay(typical / 2, typical * 3 / 2);
        const Run run = runAndKill({cli, "--dir", dir, crash::memoLine(saved + 1)}, delay(random));
        if (!tally(run, run.exitedOk ? saved + 1 : saved, held, dir, saved, f))
            break;
    }
    f.seconds = clock.elapsed() / 1000.0;
    std::printf("cli       a whole run took %.1f ms (mean of the measurements)\n",
                typicalSum / 1000.0 / std::max(1, measured));
    return f;
}

// The running window: started, handed lines by scrivlet-cli one after another, and killed at a
// random moment (during its start, between lines, while it saves a line or before it replies).
// A line is reported saved when scrivlet-cli exits 0; the next start must find every reported line,
// at most one more, in order, and no leftover.
Figures windowCampaign(const QString& window, const QString& cli, const QString& dir, int kills,
                       std::mt19937& random) {
    const QString file = dir + "/scrivlet.txt";
    QFile::remove(file);
    Figures f;
    QElapsedTimer clock;
    clock.start();
    int saved = 0;
    long totalLines = 0;
    const auto held = [&] { return memoCount(file); };
    // A window's life: its start, and a few lines handed over (the kill lands anywhere in it).
    std::uniform_int_distribution<long> lifeUs(0, 1'500'000);
    while (f.kills + f.finished < kills) {
        pid_t pid = 0;
        const QByteArray program = QFile::encodeName(window);
        char* argv[] = {const_cast<char*>(program.constData()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0)
            std::abort();
        posix_spawn_file_actions_destroy(&actions);
        const long killAtUs = lifeUs(random);
        std::atomic<bool> dead{false};
        std::thread killer([&] {
            ::usleep(useconds_t(killAtUs));
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);
            dead = true;
        });
        int reported = saved;
        // Lines go in one at a time while the window lives, and one more that may meet its end.
        bool last = false;
        while (!last) {
            last = dead.load();
            const Run run = runAndKill({cli, "--dir", dir, crash::memoLine(reported + 1)}, -1);
            ++totalLines;
            if (run.exitedOk)
                ++reported;
            else
                break; // not confirmed: the number of the next line depends on the file
        }
        killer.join();
        Run killed;
        killed.killed = true;
        if (!tally(killed, reported, held, dir, saved, f))
            break;
    }
    f.seconds = clock.elapsed() / 1000.0;
    std::printf("window    %ld lines handed over or filed in %d window lives\n", totalLines,
                f.kills);
    return f;
}

// On a small file system: the save that runs out of space says so, and the file keeps the last
// version that was reported saved.
int fullDisk(const QString& writer, const QString& cli, const QString& dir) {
    int failures = 0;
    for (const QString& mode : {QStringLiteral("memo"), QStringLiteral("settings")}) {
        const QString file = dir + (mode == u"memo" ? "/memo.txt" : "/settings.ini");
        const Run run = runAndKill({writer, "fill-" + mode, file}, -1);
        const int reported = lastSaved(run.output, 0);
        const QByteArray last = run.output.trimmed().split('\n').last();
        int now = -1;
        if (mode == u"memo") {
            now = memoCount(file).value_or(-1);
        } else {
            config::CIniFile ini;
            ini.Load(file);
            ini.setNowSection(crash::kSection);
            now = ini.Data(QStringLiteral("Counter")).toInt();
        }
        const bool clear =
            mode == u"memo" ? last.startsWith("error 61 ") : last.startsWith("error");
        const bool ok = clear && now == reported && reported > 0 && leftovers(dir) == 0;
        std::printf("full-disk %-8s saves before full %3d  message \"%s\"  file holds %d  %s\n",
                    qPrintable(mode), reported, last.constData(), now, ok ? "ok" : "FAILED");
        failures += ok ? 0 : 1;
        QFile::remove(file);
    }
    // scrivlet-cli on a full disk: a non-zero exit, and the memo file as it was.
    const QString memo = dir + "/scrivlet.txt";
    runAndKill({cli, "--dir", dir, crash::memoLine(1)}, -1);
    QFile ballast(dir + "/ballast");
    if (ballast.open(QIODevice::WriteOnly)) {
        const QByteArray chunk(4096, 'x');
        while (ballast.write(chunk) == chunk.size() && ballast.flush()) {
        }
        ballast.close();
    }
    const auto before = memoNumbers(memo);
    const Run run = runAndKill({cli, "--dir", dir, crash::memoLine(2)}, -1);
    const auto after = memoNumbers(memo);
    const bool unchanged = before && after && *before == *after && before->size() == 1;
    const bool ok = !run.exitedOk && unchanged && leftovers(dir) == 0;
    std::printf("full-disk cli      exit %s, memo file %s  %s\n", run.exitedOk ? "0" : "non-zero",
                unchanged ? "unchanged" : "CHANGED", ok ? "ok" : "FAILED");
    return failures + (ok ? 0 : 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString writer, cli, dir, window, windowDir;
    int kills = 1000;
    unsigned seed = std::random_device{}();
    bool full = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == u"--writer")
            writer = next, ++i;
        else if (a == u"--cli")
            cli = next, ++i;
        else if (a == u"--dir")
            dir = next, ++i;
        else if (a == u"--kills")
            kills = next.toInt(), ++i;
        else if (a == u"--seed")
            seed = next.toUInt(), ++i;
        else if (a == u"--full")
            full = true;
        else if (a == u"--window")
            window = next, ++i;
        else if (a == u"--window-dir")
            windowDir = next, ++i;
    }
    if (writer.isEmpty() || cli.isEmpty() || dir.isEmpty()) {
        std::fprintf(stderr, "usage: crash_campaign --writer BIN --cli BIN --dir DIR "
                             "[--kills N] [--seed S] [--full]\n");
        return 2;
    }
    if (full)
        return fullDisk(writer, cli, dir) == 0 ? 0 : 1;

    std::printf("seed %u, %d kills per file\n", seed, kills);
    std::mt19937 random(seed);
    const Figures memo = writerCampaign(writer, QStringLiteral("memo"), dir, kills, random);
    print("memo", memo);
    const Figures settings = writerCampaign(writer, QStringLiteral("settings"), dir, kills, random);
    print("settings", settings);
    const Figures viaCli = cliCampaign(cli, dir, kills, random);
    print("cli", viaCli);
    int bad = 0;
    for (const Figures& f : {memo, settings, viaCli})
        bad += f.torn + f.lostReported + f.leftoversAfterStart;
    if (!window.isEmpty()) {
        // The window reads its files from the folder it runs from.
        const Figures viaWindow = windowCampaign(window, cli, windowDir, kills, random);
        print("window", viaWindow);
        bad += viaWindow.torn + viaWindow.lostReported + viaWindow.leftoversAfterStart;
    }
    std::printf("%s\n", bad == 0 ? "no torn file, no lost save, no leftover" : "FAILED");
    return bad == 0 ? 0 : 1;
}
