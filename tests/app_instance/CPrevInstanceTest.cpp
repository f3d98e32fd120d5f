#include "app/instance/CPrevInstance.h"
#include "TestEnvironment.h"
#include "app/instance/InstanceChannel.h"
#include "app/instance/InstanceMessage.h"
#include "platform/MessageBox.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;
using Delivery = CPrevInstance::MemoLineDelivery;

namespace {

QString freshServerPath() {
    return testsupport::freshFolder(QStringLiteral("runtime")) + QStringLiteral("/channel");
}

// A later start blocks until the running instance replies, and the running instance answers from
// its event loop: run the later start on a worker thread while this thread keeps the loop going.
template <typename F> auto whileServing(F work) {
    std::future<decltype(work())> result = std::async(std::launch::async, std::move(work));
    const bool done =
        QTest::qWaitFor([&] { return result.wait_for(0ms) == std::future_status::ready; }, 20000);
    EXPECT_TRUE(done) << "the later start never returned";
    return result.get();
}

std::optional<QString> poke(const QString& path, const QString& text) {
    bool connected = false;
    return instance::exchange(path, text, connected, 5000ms);
}

// Records every box and answers it with its default button (safe to call from any thread).
class BoxRecorder {
public:
    BoxRecorder() {
        m_previous = platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            std::lock_guard lock(m_mutex);
            m_boxes.push_back(r);
            return platform::defaultAnswer(r.style);
        });
    }
    ~BoxRecorder() { platform::setMessageBoxHandler(m_previous); }
    std::vector<platform::MessageBoxRequest> boxes() {
        std::lock_guard lock(m_mutex);
        return m_boxes;
    }

private:
    std::mutex m_mutex;
    std::vector<platform::MessageBoxRequest> m_boxes;
    platform::MessageBoxHandler m_previous;
};

} // namespace

TEST(CPrevInstance, FirstStartListensAndEachLaterStartMakesItShowItself) {
    BoxRecorder boxes;
    const QString path = freshServerPath();
    CPrevInstance first(path, nullptr);
    ASSERT_FALSE(first.CheckPrevInstance(nullptr));
    ASSERT_TRUE(first.isListening());
    QSignalSpy shown(&first, &CPrevInstance::RunAnotherInstance);

    for (int start = 1; start <= 3; ++start) {
        const bool handedOff = whileServing([&] {
            CPrevInstance later(path, nullptr);
            const bool result = later.CheckPrevInstance(nullptr);
            EXPECT_FALSE(later.isListening());
            return result;
        });
        EXPECT_TRUE(handedOff);
        ASSERT_EQ(shown.count(), start);
        EXPECT_EQ(shown.last().at(0).value<qint32>(), 0); // no window was given
    }
    EXPECT_TRUE(boxes.boxes().empty()) << "a hand-off shows nothing";
}

struct PokeCase {
    const char* name;
    const char* text;
    int events;
    qint32 handle;
};

void PrintTo(const PokeCase& c, std::ostream* os) {
    *os << c.name;
}

class PokedText : public ::testing::TestWithParam<PokeCase> {};

TEST_P(PokedText, RaisesTheEventOnlyForTheExactPrefixAndIsAlwaysAnswered) {
    const PokeCase& c = GetParam();
    const QString path = freshServerPath();
    CPrevInstance first(path, nullptr);
    ASSERT_FALSE(first.CheckPrevInstance(nullptr));
    QSignalSpy shown(&first, &CPrevInstance::RunAnotherInstance);

    const std::optional<QString> reply =
        whileServing([&] { return poke(path, QString::fromUtf8(c.text)); });
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, instance::kReplyDone);
    ASSERT_EQ(shown.count(), c.events);
    if (c.events) {
        EXPECT_EQ(shown.first().at(0).value<qint32>(), c.handle);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PokedText,
                         ::testing::Values(PokeCase{"windowId", "PREVINSTANCE:1A2B", 1, 0x1A2B},
                                           PokeCase{"notHexGivesZero", "PREVINSTANCE:zz", 1, 0},
                                           PokeCase{"plainWordDropped", "hello", 0, 0},
                                           PokeCase{"lowerCasePrefix", "previnstance:1", 0, 0},
                                           PokeCase{"emptyText", "", 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CPrevInstance, LaterStartReportsARunningInstanceThatDoesNotAnswerAndStillEnds) {
    BoxRecorder boxes;
    const QString path = freshServerPath();
    QLocalServer hung; // accepts connections but never replies
    ASSERT_TRUE(hung.listen(path));

    QElapsedTimer clock;
    clock.start();
    const bool ends = whileServing([&] {
        CPrevInstance later(path, nullptr);
        later.setReplyTimeout(300ms);
        const bool result = later.CheckPrevInstance(nullptr);
        EXPECT_FALSE(later.isListening()) << "must not become a second resident instance";
        return result;
    });
    EXPECT_TRUE(ends);
    EXPECT_LT(clock.elapsed(), 5000);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, int(platform::mb::OKOnly) | int(platform::mb::Exclamation));
    EXPECT_EQ(shown[0].title, QStringLiteral("Scrivlet"));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("応答しません")))
        << shown[0].text.toStdString();
}

TEST(CPrevInstance, SocketLeftByACrashedInstanceIsTakenOver) {
    const QString path = freshServerPath();
    // A bound socket file with nobody behind it, as a killed instance leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    ASSERT_LT(size_t(native.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(path));

    CPrevInstance first(path, nullptr);
    EXPECT_FALSE(first.CheckPrevInstance(nullptr));
    EXPECT_TRUE(first.isListening());
    QSignalSpy shown(&first, &CPrevInstance::RunAnotherInstance);
    EXPECT_TRUE(
        whileServing([&] { return CPrevInstance(path, nullptr).CheckPrevInstance(nullptr); }));
    EXPECT_EQ(shown.count(), 1);
}

TEST(CPrevInstance, EndingRemovesOnlyItsOwnSocketAndLeftoverLocksDoNotBlock) {
    const QString path = freshServerPath();
    // A lock file left behind by a start that crashed while holding it.
    testsupport::writeFile(path + QStringLiteral(".lock"), "4242\nscrivlet\nhost\n");
    {
        CPrevInstance first(path, nullptr);
        QElapsedTimer clock;
        clock.start();
        ASSERT_FALSE(first.CheckPrevInstance(nullptr));
        EXPECT_LT(clock.elapsed(), 1000) << "waited for a lock nobody holds";
        ASSERT_TRUE(QFile::exists(path));
    }
    EXPECT_FALSE(QFile::exists(path)) << "socket left behind at a clean end";

    // An instance whose socket was taken over (it hung and was given up on) leaves the new one's.
    auto stale = std::make_unique<CPrevInstance>(path, nullptr);
    ASSERT_FALSE(stale->CheckPrevInstance(nullptr));
    ASSERT_TRUE(QFile::remove(path));
    CPrevInstance next(path, nullptr);
    ASSERT_FALSE(next.CheckPrevInstance(nullptr));
    stale.reset();
    EXPECT_TRUE(QFile::exists(path));
    QSignalSpy shown(&next, &CPrevInstance::RunAnotherInstance);
    EXPECT_TRUE(
        whileServing([&] { return CPrevInstance(path, nullptr).CheckPrevInstance(nullptr); }));
    EXPECT_EQ(shown.count(), 1);
}

TEST(CPrevInstance, OnlyTheUserCanReachTheChannel) {
    const QString path = freshServerPath();
    CPrevInstance first(path, nullptr);
    ASSERT_FALSE(first.CheckPrevInstance(nullptr));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile(path).permissions() & others, QFile::Permissions());
}

TEST(CPrevInstance, SilentOrOversizedClientsDoNotBlockLaterStarts) {
    const QString path = freshServerPath();
    CPrevInstance first(path, nullptr);
    ASSERT_FALSE(first.CheckPrevInstance(nullptr));
    QSignalSpy shown(&first, &CPrevInstance::RunAnotherInstance);

    QLocalSocket silent; // sends half a frame and waits
    silent.connectToServer(path);
    ASSERT_TRUE(silent.waitForConnected(1000));
    silent.write(QByteArray("\0\0\0\x10PREV", 8));
    QLocalSocket greedy; // announces a frame larger than anything the channel carries
    greedy.connectToServer(path);
    ASSERT_TRUE(greedy.waitForConnected(1000));
    greedy.write(QByteArray("\x7f\xff\xff\xff", 4));
    (void)QTest::qWaitFor([&] { return greedy.state() == QLocalSocket::UnconnectedState; }, 3000);
    EXPECT_EQ(greedy.state(), QLocalSocket::UnconnectedState) << "oversized frame not refused";

    EXPECT_TRUE(
        whileServing([&] { return CPrevInstance(path, nullptr).CheckPrevInstance(nullptr); }));
    EXPECT_EQ(shown.count(), 1);
}

// Child mode of the test binary: one start of the program, reporting what it became.
TEST(InstanceChild, Start) {
    const QString path = qEnvironmentVariable("SCRIVLET_TEST_INSTANCE_PATH");
    if (path.isEmpty())
        GTEST_SKIP() << "runs only as a child of QuickStartsLeaveExactlyOneResident";
    CPrevInstance guard(path, nullptr);
    if (guard.CheckPrevInstance(nullptr)) {
        std::printf("HANDED-OFF\n");
        return;
    }
    int shown = 0;
    QObject::connect(&guard, &CPrevInstance::RunAnotherInstance, [&] { ++shown; });
    const int expected = qEnvironmentVariableIntValue("SCRIVLET_TEST_INSTANCE_OTHERS");
    (void)QTest::qWaitFor([&] { return shown >= expected; }, 15000);
    std::printf("RESIDENT %d\n", shown);
}

TEST(CPrevInstance, QuickStartsLeaveExactlyOneResident) {
    const QString path = freshServerPath();
    constexpr int starts = 5;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SCRIVLET_TEST_INSTANCE_PATH"), path);
    env.insert(QStringLiteral("SCRIVLET_TEST_INSTANCE_OTHERS"), QString::number(starts - 1));
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < starts; ++i) {
        auto child = std::make_unique<QProcess>();
        child->setProcessEnvironment(env);
        child->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=InstanceChild.Start")});
        children.push_back(std::move(child));
    }
    int resident = 0, handedOff = 0;
    for (auto& child : children) {
        ASSERT_TRUE(child->waitForFinished(30000));
        const QString out = QString::fromUtf8(child->readAllStandardOutput());
        if (out.contains(QStringLiteral("RESIDENT"))) {
            ++resident;
            EXPECT_TRUE(out.contains(QStringLiteral("RESIDENT %1").arg(starts - 1)))
                << "every later start must reach the resident one: " << out.toStdString();
        } else if (out.contains(QStringLiteral("HANDED-OFF"))) {
            ++handedOff;
        }
    }
    EXPECT_EQ(resident, 1);
    EXPECT_EQ(handedOff, starts - 1);
}

namespace {
// A running window for memo-line hand-offs: takes lines for one memo file only, or none at all.
struct MemoWindow {
    explicit MemoWindow(const QString& path, std::optional<QString> memoFile)
        : guard(path, nullptr) {
        EXPECT_FALSE(guard.CheckPrevInstance(nullptr));
        if (memoFile) {
            QObject::connect(&guard, &CPrevInstance::MemoLineArrived,
                             [this, file = *memoFile](const QString& target, const QString& line,
                                                      bool& appended) {
                                 if (!CPrevInstance::isSameFile(target, file))
                                     return;
                                 lines << line;
                                 appended = true;
                             });
        }
    }
    CPrevInstance guard;
    QStringList lines;
};
} // namespace

TEST(MemoLineHandOff, GoesToTheRunningWindowThatHoldsTheFile) {
    const QString path = freshServerPath();
    const QString memo = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    MemoWindow window(path, memo);
    bool wroteHere = false;
    const Delivery got = whileServing([&] {
        return CPrevInstance::deliverMemoLine(
            memo, QStringLiteral("今日は晴れ"), [&] { return wroteHere = true; }, path, 5000ms);
    });
    EXPECT_EQ(got, Delivery::HandedOver);
    EXPECT_FALSE(wroteHere);
    EXPECT_EQ(window.lines, QStringList{QStringLiteral("今日は晴れ")});
}

TEST(MemoLineHandOff, IsWrittenHereWhenNoWindowRunsOrItHoldsAnotherFile) {
    const QString path = freshServerPath();
    const QString memo = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    int writes = 0;
    EXPECT_EQ(CPrevInstance::deliverMemoLine(
                  memo, QStringLiteral("a"), [&] { return ++writes > 0; }, path, 5000ms),
              Delivery::WrittenHere);
    EXPECT_EQ(CPrevInstance::deliverMemoLine(
                  memo, QStringLiteral("a"), [] { return false; }, path, 5000ms),
              Delivery::WriteFailed);

    MemoWindow window(path, memo + QStringLiteral(".other"));
    EXPECT_EQ(whileServing([&] {
                  return CPrevInstance::deliverMemoLine(
                      memo, QStringLiteral("b"), [&] { return ++writes > 0; }, path, 5000ms);
              }),
              Delivery::WrittenHere);
    EXPECT_EQ(writes, 2);
    EXPECT_TRUE(window.lines.isEmpty());
}

TEST(MemoLineHandOff, NothingIsWrittenWhenTheRunningWindowCannotTakeTheLine) {
    const QString memo = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    bool wroteHere = false;
    const auto deliver = [&](const QString& path) {
        return whileServing([&] {
            return CPrevInstance::deliverMemoLine(
                memo, QStringLiteral("x"), [&] { return wroteHere = true; }, path, 300ms);
        });
    };
    {
        const QString path = freshServerPath();
        MemoWindow deaf(path, std::nullopt); // a window that has no taker for memo lines
        EXPECT_EQ(deliver(path), Delivery::NoAnswer);
    }
    {
        // A window that holds the file but cannot file the line says why.
        const QString path = freshServerPath();
        CPrevInstance window(path, nullptr);
        ASSERT_FALSE(window.CheckPrevInstance(nullptr));
        QObject::connect(&window, &CPrevInstance::MemoLineArrived,
                         [](const QString&, const QString&, bool&, QString& failure) {
                             failure = QStringLiteral("メモファイルを読み込めません");
                         });
        QString why;
        EXPECT_EQ(whileServing([&] {
                      return CPrevInstance::deliverMemoLine(
                          memo, QStringLiteral("x"), [&] { return wroteHere = true; }, path, 5000ms,
                          &why);
                  }),
                  Delivery::Failed);
        EXPECT_EQ(why, QStringLiteral("メモファイルを読み込めません"));
    }
    {
        // A window that got the line but never answers may still file it: not written here.
        const QString path = freshServerPath();
        QLocalServer hung;
        ASSERT_TRUE(hung.listen(path));
        EXPECT_EQ(deliver(path), Delivery::MaybeFiled);
    }
    EXPECT_FALSE(wroteHere);
}

// The same request sent again (its reply was lost) is answered without filing the line twice;
// other requests with the same text are new lines.
TEST(MemoLineHandOff, ARepeatedRequestIsFiledOnce) {
    const QString path = freshServerPath();
    const QString memo = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    MemoWindow window(path, memo);
    const QString line = QStringLiteral("会議：10時→11時 ※変更");
    const QString first = instance::memoLineMessage({memo, line, instance::newRequestId()});
    const QString second = instance::memoLineMessage({memo, line, instance::newRequestId()});
    for (const QString& message : {first, first, second, first}) {
        const std::optional<QString> reply = whileServing([&] { return poke(path, message); });
        ASSERT_TRUE(reply);
        EXPECT_EQ(*reply, instance::kReplyDone);
    }
    EXPECT_EQ(window.lines, QStringList({line, line}));
}

// A window that ends after it got the line but before it replied: the sender says the line may
// have been filed and writes nothing itself (that would file it twice).
TEST(MemoLineHandOff, AWindowThatEndsBeforeReplyingLeavesTheLineUnconfirmed) {
    const QString path = freshServerPath();
    const QString memo = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    QLocalServer dying;
    ASSERT_TRUE(dying.listen(path));
    QByteArray heard;
    QObject::connect(&dying, &QLocalServer::newConnection, [&] {
        QLocalSocket* client = dying.nextPendingConnection();
        QObject::connect(client, &QLocalSocket::readyRead, [&, client] {
            heard += client->readAll();
            dying.close(); // gone before any reply
            client->abort();
        });
    });
    bool wroteHere = false;
    const Delivery got = whileServing([&] {
        return CPrevInstance::deliverMemoLine(
            memo, QStringLiteral("x"), [&] { return wroteHere = true; }, path, 2000ms);
    });
    EXPECT_EQ(got, Delivery::MaybeFiled);
    EXPECT_FALSE(wroteHere);
    EXPECT_TRUE(heard.contains("requestId")) << heard.toStdString();
}

TEST(MemoLineHandOff, SameFileSeesThroughRelativeNamesAndLinks) {
    const QString folder = testsupport::freshFolder();
    testsupport::writeFile(folder + QStringLiteral("/memo.txt"), "x");
    ASSERT_TRUE(
        QFile::link(folder + QStringLiteral("/memo.txt"), folder + QStringLiteral("/link.txt")));
    EXPECT_TRUE(CPrevInstance::isSameFile(folder + QStringLiteral("/memo.txt"),
                                          folder + QStringLiteral("/./link.txt")));
    EXPECT_TRUE(CPrevInstance::isSameFile(folder + QStringLiteral("/new.txt"),
                                          folder + QStringLiteral("/sub/../new.txt")));
    EXPECT_FALSE(CPrevInstance::isSameFile(folder + QStringLiteral("/memo.txt"),
                                           folder + QStringLiteral("/new.txt")));
}
