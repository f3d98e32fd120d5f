// Input lines and registered-command templates through splitting, expansion and parameter
// substitution. The input is text: its first line is the line to run, every further line
// "NAME=VALUE" a registered command. Checks, beyond not crashing:
// - a line without "|", "%" and registered commands comes back as itself, trimmed;
// - no run fills more templates than the expansion budget allows (pieces stay bounded).
#include "config/CIniFile.h"
#include "engine/CommandExpander.h"
#include "engine/DispatcherPorts.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// Evaluates inline expressions without a script engine. Some results hold "%{" again, so results
// that keep asking for more evaluation are covered too.
class EchoEvaluator final : public engine::IEvaluator {
public:
    bool RunCode(const QString& code, bool) override {
        if (code.contains(QLatin1String("fail")))
            return false;
        m_result = code.contains(QLatin1String("again")) ? QStringLiteral("%{") + code + u'}'
                                                         : u'<' + code + u'>';
        return true;
    }
    QString Result() const override { return m_result; }
    void setErrorHandler(ErrorHandler) override {}

private:
    QString m_result;
};

class CommandList final : public engine::ICommandList {
public:
    QHash<QString, QString> templates;
    QString templateOf(const QString& name) const override { return templates.value(name); }
};

QString trimSpaces(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList lines = input.split(u'\n');
    const QString line = lines.takeFirst();

    config::CIniFile ini;
    ini.setNowSection(QStringLiteral("Command"));
    CommandList list;
    for (const QString& entry : lines) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString name = entry.left(equals);
        const QString value = entry.mid(equals + 1);
        if (name.contains(u'\r') || name.contains(u'\0') || value.contains(u'\r') ||
            value.contains(u'\0') || name.trimmed() != name)
            continue;
        ini.setData(name, value);
        // The dialog's list holds the content column: the text after the first comma.
        const qsizetype comma = value.indexOf(u',');
        if (comma >= 0)
            list.templates.insert(name, value.mid(comma + 1));
    }

    EchoEvaluator evaluator;
    engine::CommandExpander expander(&ini, &evaluator);
    const QStringList fromIni = expander.SplitCommandLine(line, engine::CommandSource::IniCommands);
    const QStringList fromList =
        expander.SplitCommandLine(line, engine::CommandSource::EditorList, &list);

    if (list.templates.isEmpty() && !line.contains(u'|') && !line.contains(u'%')) {
        const QString trimmed = trimSpaces(line);
        const QStringList alone = trimmed.isEmpty() ? QStringList() : QStringList{trimmed};
        check(fromIni == alone && fromList == alone, "a plain line is its own piece");
    }

    // Each filled template adds at most one "|"-chain of the input's own length per level.
    check(fromIni.size() <= 1025 * (line.size() + 1) * qsizetype(lines.size() + 1),
          "pieces stay within the expansion budget");

    const QStringList arguments = line.split(u' ');
    for (const QString& templateText : std::as_const(list.templates))
        expander.ReplaceParameters(templateText, arguments, engine::CommandSource::IniCommands);
    return 0;
}
