// Saves memos or settings over and over, the way the program does, and says "saved N" on standard
// output after each save that reported success. The crash campaign kills it at random moments.
//
//   crash_writer memo FILE [FIRST]       appends "line N" to memo 1 of FILE, N = FIRST, FIRST+1,
//   ... crash_writer settings FILE [FIRST]   sets Counter=N (and a block of keys derived from N)
//   crash_writer fill-memo FILE          appends long lines until a save fails; prints the error
//   crash_writer fill-settings FILE      grows a section until a save fails
#include "CrashFormat.h"

#include "config/CIniFile.h"
#include "memo/MemoFiler.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QByteArray& text) {
    const QByteArray line = text + '\n';
    (void)!::write(STDOUT_FILENO, line.constData(), size_t(line.size()));
}

int memoLoop(const QString& file, int first, int count, bool fill) {
    for (int n = first; count <= 0 || n < first + count; ++n) {
        memo::MemoFiler filer(crash::fixedClock());
        std::optional<memo::MemoFileError> failed = filer.open(file);
        filer.setFailureReporter([&](memo::MemoFiler::Failure, const memo::MemoFileError& error,
                                     const QString&) { failed = error; });
        const QString line = fill ? crash::memoLine(n) + QString(4000, u'ｘ') : crash::memoLine(n);
        if (failed || !filer.fileLine(line)) {
            say("error " + QByteArray::number(failed ? failed->number : 0) + " " +
                (failed ? failed->description.toUtf8() : QByteArray()));
            return 1;
        }
        say("saved " + QByteArray::number(n));
    }
    return 0;
}

int settingsLoop(const QString& file, int first, int count, bool fill) {
    for (int n = first; count <= 0 || n < first + count; ++n) {
        config::CIniFile ini;
        ini.Load(file);
        ini.setNowSection(crash::kSection);
        crash::fillSettings(ini, n, fill ? n * 50 : crash::kSettingsKeys);
        if (!ini.Save(crash::kSection)) {
            say("error saving " + file.toUtf8());
            return 1;
        }
        say("saved " + QByteArray::number(n));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString mode = args[1];
    const QString file = args[2];
    const int first = args.size() > 3 ? args[3].toInt() : 1;
    const int count = args.size() > 4 ? args[4].toInt() : 0; // 0: until killed
    if (mode == u"memo")
        return memoLoop(file, first, count, false);
    if (mode == u"settings")
        return settingsLoop(file, first, count, false);
    if (mode == u"fill-memo")
        return memoLoop(file, first, 0, true);
    if (mode == u"fill-settings")
        return settingsLoop(file, first, 0, true);
    return 2;
}
