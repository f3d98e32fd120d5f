#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <sys/resource.h>

namespace testsupport {

namespace {
QTemporaryDir& root() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/scrivlet-test-XXXXXX"));
    return dir;
}
} // namespace

QString sandboxRoot() {
    return root().path();
}

QString freshFolder(const QString& hint) {
    static std::atomic<int> counter{0};
    const QString path =
        QStringLiteral("%1/%2-%3").arg(sandboxRoot(), hint).arg(counter.fetch_add(1));
    QDir().mkpath(path);
    return path;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

FileSizeLimit::FileSizeLimit(long bytes) {
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    m_oldSoft = lim.rlim_cur;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    lim.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &lim);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = m_oldSoft;
    setrlimit(RLIMIT_FSIZE, &lim);
    std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace testsupport
