#pragma once

#include "vbscript/Object.h"

#include <QString>
#include <QStringList>

#include <ostream>

namespace script {

// What the WScript object of the console host reports back to its host.
struct ConsoleRunState {
    bool quitRequested = false;
    int exitCode = 0;
};

// WScript.StdOut and WScript.StdErr: a write-only text stream on a C++ stream, in UTF-8.
class ConsoleStreamObject final : public vbscript::HostObject<ConsoleStreamObject> {
public:
    explicit ConsoleStreamObject(std::ostream& stream) : m_stream(stream) {}
    std::u16string typeName() const override { return u"TextStream"; }
    std::span<const Member> members() const override;

    vbscript::Value Write(vbscript::Context& context, vbscript::Args args);
    vbscript::Value WriteLine(vbscript::Context& context, vbscript::Args args);
    vbscript::Value WriteBlankLines(vbscript::Context& context, vbscript::Args args);

private:
    std::ostream& m_stream;
};

// WScript.Arguments: the script's arguments, Item(i) (the default member), Count, Length and
// For Each.
class ConsoleArgumentsObject final : public vbscript::HostObject<ConsoleArgumentsObject> {
public:
    explicit ConsoleArgumentsObject(QStringList arguments) : m_arguments(std::move(arguments)) {}
    std::u16string typeName() const override { return u"Arguments"; }
    std::span<const Member> members() const override;
    vbscript::Ref<vbscript::Enumerator> enumerate(vbscript::Context& context) override;

    vbscript::Value Item(vbscript::Context& context, vbscript::Args args);
    vbscript::Value Count(vbscript::Context& context, vbscript::Args args);

private:
    QStringList m_arguments;
};

// The WScript object of a script run from the console: Echo, Quit, Arguments, StdOut, StdErr,
// ScriptName, ScriptFullName, Name, Path, Sleep.
class WScriptObject final : public vbscript::HostObject<WScriptObject> {
public:
    WScriptObject(std::ostream& out, std::ostream& err, QString scriptPath, QStringList arguments,
                  ConsoleRunState& state);
    std::u16string typeName() const override { return u"WScript"; }
    std::span<const Member> members() const override;

    vbscript::Value Echo(vbscript::Context& context, vbscript::Args args);
    vbscript::Value Quit(vbscript::Context& context, vbscript::Args args);
    vbscript::Value Arguments(vbscript::Context& context, vbscript::Args args);
    vbscript::Value StdOut(vbscript::Context& context, vbscript::Args args);
    vbscript::Value StdErr(vbscript::Context& context, vbscript::Args args);
    vbscript::Value ScriptName(vbscript::Context& context, vbscript::Args args);
    vbscript::Value ScriptFullName(vbscript::Context& context, vbscript::Args args);
    vbscript::Value Name(vbscript::Context& context, vbscript::Args args);
    vbscript::Value Path(vbscript::Context& context, vbscript::Args args);
    vbscript::Value Sleep(vbscript::Context& context, vbscript::Args args);

private:
    std::ostream& m_out;
    QString m_scriptPath;
    ConsoleRunState& m_state;
    vbscript::Ref<ConsoleArgumentsObject> m_arguments;
    vbscript::Ref<ConsoleStreamObject> m_stdOut;
    vbscript::Ref<ConsoleStreamObject> m_stdErr;
};

} // namespace script
