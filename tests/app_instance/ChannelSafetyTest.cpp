// The channel never talks to, waits for or creates files for another user.
#include "TestEnvironment.h"
#include "app/instance/CPrevInstance.h"
#include "app/instance/InstanceChannel.h"
#include "app/instance/RuntimeFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// While alive, the channel takes the test's own files and processes for another user's.
struct PretendToBeAnotherUser {
    PretendToBeAnotherUser() { instance::setOwnUserIdForTesting(::getuid() + 4242); }
    ~PretendToBeAnotherUser() { instance::setOwnUserIdForTesting(std::nullopt); }
};

int modeOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 07777);
}

void makeFolder(const QString& path, int mode) {
    ASSERT_TRUE(QDir().mkpath(path));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
}

struct FolderCase {
    const char* name;
    std::function<void(const QString& temp)> prepare; // what is in the temp folder beforehand
    bool sharedIsUsed;                                // <temp>/runtime-alice is chosen
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

class RuntimeFolderChoice : public ::testing::TestWithParam<FolderCase> {};

TEST_P(RuntimeFolderChoice, IsAlwaysPrivateAndFoundAgain) {
    const FolderCase& c = GetParam();
    const QString temp = testsupport::freshFolder(QStringLiteral("tmp"));
    const QString shared = temp + QStringLiteral("/runtime-alice");
    c.prepare(temp);
    const int sharedModeBefore = modeOf(shared);

    const QString chosen = instance::chooseRuntimeFolder(QString(), temp, QStringLiteral("alice"));
    ASSERT_FALSE(chosen.isEmpty());
    EXPECT_TRUE(instance::isPrivateFolder(chosen)) << chosen.toStdString();
    EXPECT_EQ(modeOf(chosen) & 0777, 0700);
    EXPECT_EQ(chosen == shared, c.sharedIsUsed) << chosen.toStdString();
    if (!c.sharedIsUsed) {
        EXPECT_TRUE(chosen.startsWith(temp + QStringLiteral("/runtime-alice-")));
        EXPECT_EQ(modeOf(shared), sharedModeBefore) << "someone else's folder was changed";
    }
    // The next start (the window, scrivlet-cli) meets in the same folder.
    EXPECT_EQ(instance::chooseRuntimeFolder(QString(), temp, QStringLiteral("alice")), chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RuntimeFolderChoice,
    ::testing::Values(
        FolderCase{"nothingThere", [](const QString&) {}, true},
        FolderCase{"ownPrivateFolder",
                   [](const QString& t) { makeFolder(t + QStringLiteral("/runtime-alice"), 0700); },
                   true},
        FolderCase{"worldWritable",
                   [](const QString& t) { makeFolder(t + QStringLiteral("/runtime-alice"), 0777); },
                   false},
        FolderCase{"readableByOthers",
                   [](const QString& t) { makeFolder(t + QStringLiteral("/runtime-alice"), 0755); },
                   false},
        FolderCase{"linkToAPrivateFolder",
                   [](const QString& t) {
                       makeFolder(t + QStringLiteral("/elsewhere"), 0700);
                       ASSERT_TRUE(QFile::link(t + QStringLiteral("/elsewhere"),
                                               t + QStringLiteral("/runtime-alice")));
                   },
                   false},
        FolderCase{"squattedOwnNamesToo",
                   [](const QString& t) {
                       makeFolder(t + QStringLiteral("/runtime-alice"), 0777);
                       makeFolder(t + QStringLiteral("/runtime-alice-AAAAAA"), 0777);
                   },
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RuntimeFolderChoice, FoldersOfAnotherUserAreNeverUsed) {
    const QString temp = testsupport::freshFolder(QStringLiteral("tmp"));
    const QString xdg = temp + QStringLiteral("/xdg");
    makeFolder(xdg, 0700);
    makeFolder(temp + QStringLiteral("/runtime-alice"), 0700);
    EXPECT_EQ(instance::chooseRuntimeFolder(xdg, temp, QStringLiteral("alice")), xdg);

    PretendToBeAnotherUser other; // every folder above now belongs to someone else
    const QString chosen = instance::chooseRuntimeFolder(xdg, temp, QStringLiteral("alice"));
    EXPECT_NE(chosen, xdg);
    EXPECT_NE(chosen, temp + QStringLiteral("/runtime-alice"));
    // Only a folder the pretended user owns would do, and it cannot make one: no channel at all.
    EXPECT_TRUE(chosen.isEmpty()) << chosen.toStdString();
}

TEST(RuntimeFolderChoice, DefaultChannelNeverLiesInASquattedFolder) {
    const QString temp = testsupport::freshFolder(QStringLiteral("tmp"));
    const QByteArray oldTmp = qgetenv("TMPDIR"), oldXdg = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp));
    qunsetenv("XDG_RUNTIME_DIR");
    const QString user = QFileInfo(instance::defaultServerPath()).fileName().section('-', 2, -1);
    makeFolder(temp + QStringLiteral("/runtime-") + user, 0777);

    const QString path = instance::defaultServerPath();
    qputenv("TMPDIR", oldTmp);
    qputenv("XDG_RUNTIME_DIR", oldXdg);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(instance::isPrivateFolder(QFileInfo(path).path())) << path.toStdString();
    EXPECT_NE(QFileInfo(path).path(), temp + QStringLiteral("/runtime-") + user);
}

QString freshServerPath() {
    return testsupport::freshFolder(QStringLiteral("runtime")) + QStringLiteral("/channel");
}

TEST(ChannelPeer, AnotherUsersClientIsNotHeard) {
    const QString path = freshServerPath();
    CPrevInstance first(path, nullptr);
    ASSERT_FALSE(first.CheckPrevInstance(nullptr));
    QSignalSpy shown(&first, &CPrevInstance::RunAnotherInstance);
    QSignalSpy lines(&first, &CPrevInstance::MemoLineArrived);

    PretendToBeAnotherUser other; // the client below now counts as another user
    QLocalSocket client;
    client.connectToServer(path);
    ASSERT_TRUE(client.waitForConnected(1000));
    client.write(QByteArray("\0\0\0\x0FPREVINSTANCE:1A", 19));
    (void)QTest::qWaitFor([&] { return client.state() == QLocalSocket::UnconnectedState; }, 3000);
    EXPECT_EQ(client.state(), QLocalSocket::UnconnectedState);
    EXPECT_EQ(client.bytesAvailable(), 0) << "another user got a reply";
    EXPECT_EQ(shown.count(), 0);
    EXPECT_EQ(lines.count(), 0);
}

TEST(ChannelPeer, NothingIsSentToAnotherUsersListener) {
    const QString path = freshServerPath();
    QLocalServer squatter;
    ASSERT_TRUE(squatter.listen(path));
    QByteArray heard;
    QObject::connect(&squatter, &QLocalServer::newConnection, [&] {
        QLocalSocket* s = squatter.nextPendingConnection();
        QObject::connect(s, &QLocalSocket::readyRead, [&heard, s] { heard += s->readAll(); });
    });
    PretendToBeAnotherUser other;

    const QString memo = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    bool wroteHere = false;
    auto delivery = std::async(std::launch::async, [&] {
        return CPrevInstance::deliverMemoLine(
            memo, QStringLiteral("パスワード：hunter2"), [&] { return wroteHere = true; }, path,
            2000ms);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivery.wait_for(0ms) == std::future_status::ready; },
                                10000));
    EXPECT_EQ(delivery.get(), CPrevInstance::MemoLineDelivery::WrittenHere);
    EXPECT_TRUE(wroteHere) << "the line must be filed by the sender itself";

    CPrevInstance later(path, nullptr);
    EXPECT_FALSE(later.CheckPrevInstance(nullptr)) << "another user's listener is no instance";
    EXPECT_FALSE(later.isListening());
    QTest::qWait(100);
    EXPECT_TRUE(heard.isEmpty()) << heard.toStdString();
}

TEST(ChannelFiles, LockHeldByAnotherUserIsNotWaitedFor) {
    const QString path = freshServerPath();
    const QByteArray lockPath = QFile::encodeName(path + QStringLiteral(".lock"));
    const int holder = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    PretendToBeAnotherUser other; // the held lock file now belongs to someone else
    QElapsedTimer clock;
    clock.start();
    instance::StartupLock lock(path);
    EXPECT_FALSE(lock.isLocked());
    EXPECT_LT(clock.elapsed(), 1000) << "waited for another user's lock";
    ::close(holder);
}

TEST(ChannelFiles, LinksAtTheLockAndSocketPathsAreNotFollowed) {
    const QString folder = testsupport::freshFolder(QStringLiteral("runtime"));
    const QString path = folder + QStringLiteral("/channel");
    const QString chosenByOther = folder + QStringLiteral("/planted");
    ASSERT_TRUE(QFile::link(chosenByOther, path + QStringLiteral(".lock")));
    // A link at the socket path to a listener elsewhere is no instance of ours.
    const QString elsewhere = testsupport::freshFolder() + QStringLiteral("/listener");
    QLocalServer other;
    ASSERT_TRUE(other.listen(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, path));

    QElapsedTimer clock;
    clock.start();
    CPrevInstance first(path, nullptr);
    EXPECT_FALSE(first.CheckPrevInstance(nullptr));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(QFile::exists(chosenByOther)) << "a file was created where the link pointed";
    EXPECT_TRUE(first.isListening());
    EXPECT_TRUE(QFileInfo(path).isSymLink() == false);
    QTest::qWait(50);
    EXPECT_FALSE(other.hasPendingConnections());
}

} // namespace
