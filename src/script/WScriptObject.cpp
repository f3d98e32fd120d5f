#include "script/WScriptObject.h"

#include "script/ValueBridge.h"
#include "vbscript/Context.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

#include <QFileInfo>
#include <QThread>

namespace script {

namespace {

// Echo writes Null as its name rather than failing on it.
QString echoText(const vbscript::Value& value) {
    return value.isNull() ? QStringLiteral("Null") : toQString(value);
}

void write(std::ostream& stream, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    stream.write(utf8.constData(), utf8.size());
}

class ArgumentEnumerator final : public vbscript::Enumerator {
public:
    explicit ArgumentEnumerator(QStringList items) : m_items(std::move(items)) {}
    bool next(vbscript::Value& out) override {
        if (m_index >= m_items.size()) {
            return false;
        }
        out = fromQString(m_items[m_index++]);
        return true;
    }

private:
    QStringList m_items;
    qsizetype m_index = 0;
};

} // namespace

// --- StdOut / StdErr ---------------------------------------------------------------------------

std::span<const ConsoleStreamObject::Member> ConsoleStreamObject::members() const {
    static const Member table[] = {
        {u"Write", 1, 1, &ConsoleStreamObject::Write, nullptr},
        {u"WriteLine", 0, 1, &ConsoleStreamObject::WriteLine, nullptr},
        {u"WriteBlankLines", 1, 1, &ConsoleStreamObject::WriteBlankLines, nullptr},
    };
    return table;
}

vbscript::Value ConsoleStreamObject::Write(vbscript::Context&, vbscript::Args args) {
    write(m_stream, toQString(args[0]));
    m_stream.flush();
    return {};
}

vbscript::Value ConsoleStreamObject::WriteLine(vbscript::Context&, vbscript::Args args) {
    write(m_stream, (args.isMissing(0) ? QString() : toQString(args[0])) + u'\n');
    m_stream.flush();
    return {};
}

vbscript::Value ConsoleStreamObject::WriteBlankLines(vbscript::Context&, vbscript::Args args) {
    const int lines = vbscript::toLong(args[0]);
    if (lines < 0) {
        vbscript::raiseError(vbscript::err::InvalidCall);
    }
    m_stream << std::string(static_cast<size_t>(lines), '\n');
    m_stream.flush();
    return {};
}

// --- Arguments ---------------------------------------------------------------------------------

std::span<const ConsoleArgumentsObject::Member> ConsoleArgumentsObject::members() const {
    static const Member table[] = {
        {u"Item", 1, 1, &ConsoleArgumentsObject::Item, nullptr, true},
        {u"Count", 0, 0, &ConsoleArgumentsObject::Count, nullptr},
        {u"Length", 0, 0, &ConsoleArgumentsObject::Count, nullptr},
    };
    return table;
}

vbscript::Ref<vbscript::Enumerator> ConsoleArgumentsObject::enumerate(vbscript::Context&) {
    return vbscript::makeRef<ArgumentEnumerator>(m_arguments);
}

vbscript::Value ConsoleArgumentsObject::Item(vbscript::Context&, vbscript::Args args) {
    const int32_t index = vbscript::toLong(args[0]);
    if (index < 0 || index >= m_arguments.size()) {
        vbscript::raiseError(vbscript::err::SubscriptOutOfRange);
    }
    return fromQString(m_arguments[index]);
}

vbscript::Value ConsoleArgumentsObject::Count(vbscript::Context&, vbscript::Args) {
    return vbscript::Value::longValue(static_cast<int32_t>(m_arguments.size()));
}

// --- WScript -----------------------------------------------------------------------------------

WScriptObject::WScriptObject(std::ostream& out, std::ostream& err, QString scriptPath,
                             QStringList arguments, ConsoleRunState& state)
    : m_out(out), m_scriptPath(std::move(scriptPath)), m_state(state),
      m_arguments(vbscript::makeRef<ConsoleArgumentsObject>(std::move(arguments))),
      m_stdOut(vbscript::makeRef<ConsoleStreamObject>(out)),
      m_stdErr(vbscript::makeRef<ConsoleStreamObject>(err)) {}

std::span<const WScriptObject::Member> WScriptObject::members() const {
    static const Member table[] = {
        {u"Echo", 0, 255, &WScriptObject::Echo, nullptr},
        {u"Quit", 0, 1, &WScriptObject::Quit, nullptr},
        {u"Arguments", 0, 1, &WScriptObject::Arguments, nullptr},
        {u"StdOut", 0, 0, &WScriptObject::StdOut, nullptr},
        {u"StdErr", 0, 0, &WScriptObject::StdErr, nullptr},
        {u"ScriptName", 0, 0, &WScriptObject::ScriptName, nullptr},
        {u"ScriptFullName", 0, 0, &WScriptObject::ScriptFullName, nullptr},
        {u"Name", 0, 0, &WScriptObject::Name, nullptr, true},
        {u"Path", 0, 0, &WScriptObject::Path, nullptr},
        {u"Sleep", 1, 1, &WScriptObject::Sleep, nullptr},
    };
    return table;
}

vbscript::Value WScriptObject::Echo(vbscript::Context&, vbscript::Args args) {
    QString line;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0) {
            line += u' ';
        }
        if (!args.isMissing(i)) {
            line += echoText(args[i]);
        }
    }
    write(m_out, line + u'\n');
    m_out.flush();
    return {};
}

vbscript::Value WScriptObject::Quit(vbscript::Context& context, vbscript::Args args) {
    m_state.exitCode = args.isMissing(0) ? 0 : vbscript::toLong(args[0]);
    m_state.quitRequested = true;
    // The host's interrupt check now answers yes: the run stops here.
    context.checkInterrupt();
    return {};
}

vbscript::Value WScriptObject::Arguments(vbscript::Context& context, vbscript::Args args) {
    if (args.isMissing(0)) {
        return vbscript::Value::object(m_arguments);
    }
    return m_arguments->Item(context, args);
}

vbscript::Value WScriptObject::StdOut(vbscript::Context&, vbscript::Args) {
    return vbscript::Value::object(m_stdOut);
}

vbscript::Value WScriptObject::StdErr(vbscript::Context&, vbscript::Args) {
    return vbscript::Value::object(m_stdErr);
}

vbscript::Value WScriptObject::ScriptName(vbscript::Context&, vbscript::Args) {
    return fromQString(QFileInfo(m_scriptPath).fileName());
}

vbscript::Value WScriptObject::ScriptFullName(vbscript::Context&, vbscript::Args) {
    return fromQString(QFileInfo(m_scriptPath).absoluteFilePath());
}

vbscript::Value WScriptObject::Name(vbscript::Context&, vbscript::Args) {
    return fromQString(QStringLiteral("Windows Script Host"));
}

vbscript::Value WScriptObject::Path(vbscript::Context&, vbscript::Args) {
    return fromQString(QFileInfo(m_scriptPath).absolutePath());
}

vbscript::Value WScriptObject::Sleep(vbscript::Context& context, vbscript::Args args) {
    int remaining = vbscript::toLong(args[0]);
    // In slices, so that a stop request is noticed.
    while (remaining > 0) {
        const int slice = std::min(remaining, 50);
        QThread::msleep(static_cast<unsigned long>(slice));
        remaining -= slice;
        context.checkInterrupt();
    }
    return {};
}

} // namespace script
