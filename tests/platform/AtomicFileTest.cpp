#include "platform/AtomicFile.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFiles) {
    const QString dir = testsupport::freshFolder();
    const QString path = dir + QStringLiteral("/a.ini");
    testsupport::writeFile(path, "old");
    ASSERT_TRUE(platform::writeFileAtomically(path, "new content").ok);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("new content"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("a.ini")});
}

TEST(AtomicFile, FailedWriteKeepsOldFileAndSaysWhy) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    const QString dir = testsupport::freshFolder();
    const QString path = dir + QStringLiteral("/a.ini");
    testsupport::writeFile(path, "old");
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    const auto result = platform::writeFileAtomically(path, "new");
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
}

TEST(AtomicFile, WriteThatRunsOutOfSpaceKeepsOldFile) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/a.ini");
    testsupport::writeFile(path, "old");
    platform::WriteResult result;
    {
        testsupport::FileSizeLimit limit(16); // writes past 16 bytes fail, even for root
        result = platform::writeFileAtomically(path, QByteArray(4096, 'x'));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(), 1);
}
