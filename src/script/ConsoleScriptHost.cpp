#include "script/ConsoleScriptHost.h"

#include "platform/TextCodec.h"
#include "script/ClipboardObject.h"
#include "script/ConsoleHostServices.h"
#include "script/VBLike.h"
#include "script/VbsScriptEngine.h"
#include "script/WScriptObject.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace script {

namespace {

void writeLine(std::ostream& stream, const QString& text) {
    const QByteArray utf8 = (text + u'\n').toUtf8();
    stream.write(utf8.constData(), utf8.size());
    stream.flush();
}

} // namespace

ConsoleScriptHost::ConsoleScriptHost(std::ostream& out, std::ostream& err, std::istream& in)
    : m_out(out), m_err(err), m_in(in) {}

int ConsoleScriptHost::run(const QString& scriptPath, const QStringList& arguments) {
    const QFileInfo info(scriptPath);
    const auto source = info.isFile() ? platform::readTextFile(scriptPath) : std::nullopt;
    if (!source) {
        writeLine(m_err, QCoreApplication::translate(
                             "ConsoleScriptHost",
                             "入力エラー: スクリプト ファイル \"%1\" が見つかりません。")
                             .arg(scriptPath));
        return 1;
    }

    ConsoleHostServices services(m_in, m_out);
    const ScopedHostServices installed(&services);
    ConsoleRunState state;
    VbsScriptEngine engine;
    engine.setInterruptCheck([&state] { return state.quitRequested; });
    engine.setLanguage(QStringLiteral("VBScript"));
    engine.addObject(
        QStringLiteral("WScript"),
        vbscript::makeRef<WScriptObject>(m_out, m_err, info.absoluteFilePath(), arguments, state));
    engine.addObject(QStringLiteral("VBA"), vbscript::makeRef<VBLike>());
    if (m_clipboard) {
        engine.addObject(QStringLiteral("Clipboard"),
                         vbscript::makeRef<ClipboardObject>(*m_clipboard));
    }

    const bool finished = engine.addCode(source->text);
    m_out.flush();
    if (state.quitRequested) {
        return state.exitCode;
    }
    if (finished) {
        return 0;
    }
    const ScriptErrorInfo error = engine.lastError();
    writeLine(m_err, QStringLiteral("%1(%2, %3) Error Number %4:%5")
                         .arg(info.fileName())
                         .arg(error.line)
                         .arg(error.column)
                         .arg(error.number)
                         .arg(error.description));
    return 1;
}

} // namespace script
