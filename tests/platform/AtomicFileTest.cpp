#include "platform/AtomicFile.h"
#include "platform/FileFaults.h"
#include "platform/FileRead.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace {

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::System, QDir::Name);
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// How the file to be replaced is reached.
enum class Reach { Plain, AbsoluteLink, RelativeLink, LinkChain };

struct ReachRow {
    const char* name;
    Reach reach;
};

class WriteThrough : public ::testing::TestWithParam<ReachRow> {};

// The target is replaced and keeps its bits; every link stays a link.
TEST_P(WriteThrough, ReplacesTheFileALinkLeadsTo) {
    const QString dir = testsupport::freshFolder();
    QDir().mkpath(dir + "/real");
    const QString target = dir + "/real/scrivlet.ini";
    testsupport::writeFile(target, "old");
    ::chmod(QFile::encodeName(target).constData(), 0640);
    QString path = target;
    switch (GetParam().reach) {
    case Reach::Plain:
        break;
    case Reach::AbsoluteLink:
        path = dir + "/link.ini";
        ASSERT_TRUE(QFile::link(target, path));
        break;
    case Reach::RelativeLink:
        path = dir + "/link.ini";
        ASSERT_EQ(::symlink("real/scrivlet.ini", QFile::encodeName(path).constData()), 0);
        break;
    case Reach::LinkChain:
        path = dir + "/first.ini";
        ASSERT_EQ(::symlink("second.ini", QFile::encodeName(path).constData()), 0);
        ASSERT_EQ(
            ::symlink("real/scrivlet.ini", QFile::encodeName(dir + "/second.ini").constData()), 0);
        break;
    }
    ASSERT_TRUE(platform::writeFileAtomically(path, "new").ok);
    EXPECT_EQ(testsupport::readFile(target), QByteArray("new"));
    EXPECT_EQ(modeOf(target), mode_t(0640));
    if (path != target) {
        EXPECT_TRUE(QFileInfo(path).isSymLink());
    }
    EXPECT_EQ(filesIn(dir + "/real"), QStringList{"scrivlet.ini"});
}

INSTANTIATE_TEST_SUITE_P(AtomicFile, WriteThrough,
                         ::testing::Values(ReachRow{"plain", Reach::Plain},
                                           ReachRow{"absolutelink", Reach::AbsoluteLink},
                                           ReachRow{"relativelink", Reach::RelativeLink},
                                           ReachRow{"linkchain", Reach::LinkChain}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AtomicFile, DanglingLinkCreatesTheFileItNames) {
    const QString dir = testsupport::freshFolder();
    ASSERT_EQ(::symlink("made.txt", QFile::encodeName(dir + "/link.txt").constData()), 0);
    ASSERT_TRUE(platform::writeFileAtomically(dir + "/link.txt", "x").ok);
    EXPECT_EQ(testsupport::readFile(dir + "/made.txt"), QByteArray("x"));
    EXPECT_TRUE(QFileInfo(dir + "/link.txt").isSymLink());
}

// Every way a write can fail leaves the old file whole, says why, and leaves nothing behind. The
// failures are real ones or injected; all of them happen for root too.
enum class Failure { ReadOnlyFile, FolderInTheWay, NoTemporary, WriteFails, RenameFails, Full };

struct FailureRow {
    const char* name;
    Failure failure;
    int errorNumber;
};

class FailedWrite : public ::testing::TestWithParam<FailureRow> {};

TEST_P(FailedWrite, KeepsTheOldFileAndSaysWhy) {
    const FailureRow& row = GetParam();
    const QString dir = testsupport::freshFolder();
    QString path = dir + "/memo.txt";
    testsupport::writeFile(path, "old");
    platform::WriteResult result;
    {
        std::optional<testsupport::FileSizeLimit> limit;
        switch (row.failure) {
        case Failure::ReadOnlyFile:
            ::chmod(QFile::encodeName(path).constData(), 0444);
            break;
        case Failure::FolderInTheWay:
            path = dir + "/folder";
            QDir().mkpath(path);
            break;
        case Failure::NoTemporary:
            platform::injectFileFault(path, platform::FileStep::CreateTemporary, EACCES);
            break;
        case Failure::WriteFails:
            platform::injectFileFault(path, platform::FileStep::Write, EIO);
            break;
        case Failure::RenameFails:
            platform::injectFileFault(path, platform::FileStep::Rename, EXDEV);
            break;
        case Failure::Full:
            limit.emplace(16); // writes past 16 bytes fail (EFBIG), root included
            break;
        }
        result = platform::writeFileAtomically(path, QByteArray(4096, 'x'));
        platform::clearFileFaults();
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorNumber, row.errorNumber);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(testsupport::readFile(dir + "/memo.txt"), QByteArray("old"));
    EXPECT_EQ(filesIn(dir), QStringList{"memo.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    AtomicFile, FailedWrite,
    ::testing::Values(FailureRow{"readonlyfile", Failure::ReadOnlyFile, EACCES},
                      FailureRow{"folderintheway", Failure::FolderInTheWay, EISDIR},
                      FailureRow{"notemporary", Failure::NoTemporary, EACCES},
                      FailureRow{"writefails", Failure::WriteFails, EIO},
                      FailureRow{"renamefails", Failure::RenameFails, EXDEV},
                      FailureRow{"full", Failure::Full, EFBIG}),
    [](const auto& info) { return std::string(info.param.name); });

pid_t finishedProcess() {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

void age(const QString& path, int seconds) {
    struct utimbuf times {};
    times.actime = times.modtime = ::time(nullptr) - seconds;
    ::utime(QFile::encodeName(path).constData(), &times);
}

// Temporary files of killed writers go at the next read or write; a running writer's stays.
TEST(AtomicFile, LeftoversOfKilledWritersAreRemoved) {
    const QString dir = testsupport::freshFolder();
    const QString path = dir + "/scrivlet.txt";
    testsupport::writeFile(path, "old");
    const QString dead = path + ".tmp-" + QString::number(finishedProcess()) + "-a1b2c3";
    const QString running = path + ".tmp-" + QString::number(::getppid()) + "-d4e5f6";
    const QString legacyOld = path + ".tmp-Xy12Zq";
    const QString legacyNew = path + ".tmp-Ab34Cd";
    const QString otherFile = dir + "/other.txt.tmp-Ef56Gh";
    for (const QString& f : {dead, running, legacyOld, legacyNew, otherFile})
        testsupport::writeFile(f, "partial");
    age(legacyOld, 120);
    age(otherFile, 120);

    platform::removeLeftoverTemporaries(path);
    QStringList kept{"other.txt.tmp-Ef56Gh", "scrivlet.txt", "scrivlet.txt.tmp-Ab34Cd",
                     QFileInfo(running).fileName()};
    kept.sort();
    EXPECT_EQ(filesIn(dir), kept);
}

TEST(AtomicFile, CopyBesideKeepsTheBytesUnderAFreeName) {
    const QString dir = testsupport::freshFolder();
    const QString path = dir + "/scrivlet.txt";
    const QDateTime when(QDate(2026, 3, 1), QTime(14, 5, 9));
    EXPECT_EQ(platform::keepCopyBeside(path, "one", "original", when),
              dir + "/scrivlet.original-20260301-140509.txt");
    EXPECT_EQ(platform::keepCopyBeside(path, "two", "original", when),
              dir + "/scrivlet.original-20260301-140509-2.txt");
    EXPECT_EQ(testsupport::readFile(dir + "/scrivlet.original-20260301-140509-2.txt"), "two");
}

// Reading fails the same way for root: a folder, or an injected refusal.
TEST(FileRead, MissingIsNoErrorUnreadableIs) {
    const QString dir = testsupport::freshFolder();
    EXPECT_TRUE(platform::readWholeFile(dir + "/none.txt").missing());
    EXPECT_TRUE(platform::readWholeFile(dir + "/no/such/folder.txt").missing());
    EXPECT_EQ(platform::readWholeFile(dir).errorNumber, EISDIR);
    testsupport::writeFile(dir + "/a.txt", "abc");
    platform::injectFileFault(dir + "/a.txt", platform::FileStep::Read, EACCES);
    const platform::FileBytes refused = platform::readWholeFile(dir + "/a.txt");
    platform::clearFileFaults();
    EXPECT_EQ(refused.errorNumber, EACCES);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(platform::readWholeFile(dir + "/a.txt").bytes, QByteArray("abc"));
}

// A FIFO blocks a reader for good and a device never ends: neither is read or replaced, and a
// file far beyond any memo is refused before its bytes are read.
TEST(FileRead, OnlyRegularFilesOfSaneSizeAreReadOrReplaced) {
    const QString dir = testsupport::freshFolder();
    const QString fifo = dir + "/memo-fifo.txt";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString linkToFifo = dir + "/link.txt";
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    const QString huge = dir + "/huge.txt"; // sparse: no disk space used
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(platform::kMaxReadBytes + 1));
    }
    const struct {
        const char* name;
        QString path;
        int error;
        const char* says;
        bool tryWrite;
    } rows[] = {
        {"fifo", fifo, platform::kNotARegularFile, "a FIFO", true},
        {"linkToFifo", linkToFifo, platform::kNotARegularFile, "a FIFO", true},
        {"endlessDevice", QStringLiteral("/dev/zero"), platform::kNotARegularFile,
         "a character device", false},
        {"huge", huge, platform::kFileTooLarge, "larger than 128 MB", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const platform::FileBytes read = platform::readWholeFile(row.path);
        EXPECT_FALSE(read.ok());
        EXPECT_FALSE(read.missing());
        EXPECT_EQ(read.errorNumber, row.error);
        EXPECT_TRUE(read.bytes.isEmpty());
        EXPECT_TRUE(read.error.contains(QLatin1String(row.says))) << read.error.toStdString();
        if (row.tryWrite) {
            const platform::WriteResult written = platform::writeFileAtomically(row.path, "x");
            EXPECT_FALSE(written.ok);
            EXPECT_TRUE(written.error.contains(QLatin1String(row.says)));
        }
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced";
    EXPECT_TRUE(QFileInfo(linkToFifo).isSymLink());
    EXPECT_EQ(filesIn(dir), QStringList({"huge.txt", "link.txt", "memo-fifo.txt"}))
        << "a temporary file was left";
}

} // namespace
