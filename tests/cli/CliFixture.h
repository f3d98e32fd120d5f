#pragma once

// Runs scrivlet-cli's library in a fresh program folder and collects what it printed.

#include "TestEnvironment.h"
#include "cli/CliRun.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace clitest {

struct CliResult {
    int code;
    QString out;
    QString err;
};

inline CliResult runCliCollecting(const QStringList& args, const std::string& input = {}) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    std::istringstream in(input);
    const int code = cli::runCli(args, outStream, errStream, in);
    outStream.flush();
    errStream.flush();
    return {code, out, err};
}

// A program folder of its own for every test; lines run with --dir on it.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override { folder = testsupport::freshFolder(QStringLiteral("program")); }

    CliResult runLine(const QString& line) {
        return runCliCollecting({QStringLiteral("--dir"), folder, QStringLiteral("--"), line});
    }
    QString path(const QString& name) const { return folder + QLatin1Char('/') + name; }
    void writeSettings(const QByteArray& bytes) {
        testsupport::writeFile(path(QStringLiteral("scrivlet.ini")), bytes);
    }
    void writeScript(const QByteArray& bytes) {
        testsupport::writeFile(path(QStringLiteral("scrivlet.vbs")), bytes);
    }

    QString folder;
};

} // namespace clitest
