#include "cli/CliPorts.h"
#include "cli/CliRun.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::setProgramBoxTitle(cli::ConsoleWindow().AppTitleWithVersion());
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return cli::runCli(arguments, out, err);
}
