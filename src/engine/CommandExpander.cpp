#include "engine/CommandExpander.h"

#include "config/CIniFile.h"
#include "config/CommandEntry.h"
#include "engine/DispatcherPorts.h"
#include "engine/TextTrim.h"

namespace engine {

namespace {

const QString kEscapedBar = QStringLiteral("%|");

// Template fillings and inline evaluations allowed for one call from outside. A template that
// fans out ("a|a" calling itself) would otherwise grow without end even below the depth limit.
constexpr int kExpansionBudget = 1024;
// Longest text one expansion may produce. Arguments that reappear twice in a nested call double
// the text at every level (2^32 characters within the depth limit); past this the piece stays as
// it was typed.
constexpr qsizetype kMaxExpansionLength = 65536;

} // namespace

CommandExpander::CommandExpander(config::CIniFile* ini, IEvaluator* evaluator)
    : m_ini(ini), m_evaluator(evaluator) {}

// Each public entry starts a fresh budget unless it is called from inside a running expansion
// (an evaluator that calls back into the engine).
class CommandExpander::Run {
public:
    explicit Run(CommandExpander& owner) : m_owner(owner) {
        if (m_owner.m_activeRuns++ == 0)
            m_owner.m_budget = kExpansionBudget;
    }
    ~Run() { --m_owner.m_activeRuns; }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

private:
    CommandExpander& m_owner;
};

QStringList CommandExpander::SplitCommandLine(const QString& line, CommandSource source,
                                              const ICommandList* list) {
    Run run(*this);
    return split(line, source, list, 0);
}

QString CommandExpander::ExpandCommand(const QString& piece, CommandSource source,
                                       const ICommandList* list) {
    Run run(*this);
    return expand(piece, source, list, 0);
}

QString CommandExpander::ReplaceParameters(const QString& templateText,
                                           const QStringList& arguments, CommandSource source,
                                           const ICommandList* list) {
    Run run(*this);
    return replace(templateText, arguments, source, list, 0);
}

bool CommandExpander::spendBudget() {
    if (m_budget <= 0)
        return false;
    --m_budget;
    return true;
}

QStringList CommandExpander::split(const QString& line, CommandSource source,
                                   const ICommandList* list, int depth) {
    QStringList pieces;
    QString s = trimSpaces(line);
    if (s.isEmpty())
        return pieces;

    // Cut at bars that are not escaped as "%|".
    QStringList raw;
    qsizetype p = s.indexOf(QLatin1Char('|'));
    while (p >= 0) {
        if (p == 0) {
            s.remove(0, 1);
            p = s.indexOf(QLatin1Char('|'));
        } else if (s.at(p - 1) == QLatin1Char('%')) {
            p = s.indexOf(QLatin1Char('|'), p + 1);
        } else {
            raw.append(trimSpaces(s.left(p)));
            s = trimSpaces(s.mid(p + 1));
            p = s.indexOf(QLatin1Char('|'));
        }
    }
    raw.append(trimSpaces(s));

    for (const QString& rawPiece : raw) {
        const QString expanded = expand(rawPiece, source, list, depth);
        if (expanded.isEmpty())
            continue;
        if (expanded.count(kEscapedBar) == expanded.count(QLatin1Char('|'))) {
            pieces.append(QString(expanded).replace(kEscapedBar, QStringLiteral("|")));
            continue;
        }
        const QStringList subPieces = split(expanded, source, list, depth + 1);
        for (const QString& sub : subPieces)
            pieces.append(QString(sub).replace(kEscapedBar, QStringLiteral("|")));
    }
    return pieces;
}

QString CommandExpander::expand(const QString& piece, CommandSource source,
                                const ICommandList* list, int depth) {
    if (trimSpaces(piece).isEmpty())
        return QString();

    // Words are cut at every single space; quotes mean nothing here.
    const QStringList words = piece.split(QLatin1Char(' '));
    const QString& name = words.first();
    QStringList arguments;
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (!words.at(i).isEmpty())
            arguments.append(words.at(i));
    }

    // At the depth limit, past the size limit, or when the budget is spent, the piece stays as
    // it is.
    if (depth >= maxDepth || name.isEmpty() || piece.size() > kMaxExpansionLength)
        return piece;
    const QString templateText = lookUpTemplate(name, source, list);
    if (templateText.isEmpty() || !spendBudget())
        return piece;
    QString filled = replace(templateText, arguments, source, list, depth);
    return filled.size() > kMaxExpansionLength ? piece : filled;
}

QString CommandExpander::lookUpTemplate(const QString& name, CommandSource source,
                                        const ICommandList* list) {
    if (source == CommandSource::EditorList)
        return list ? list->templateOf(name) : QString();
    if (!m_ini)
        return QString();
    if (m_ini->NowSection() != config::kCommandSection)
        m_ini->setNowSection(config::kCommandSection);
    const std::optional<config::CommandEntry> entry = config::parseCommandEntry(m_ini->Data(name));
    return entry ? entry->templateText : QString();
}

QString CommandExpander::replace(const QString& templateText, const QStringList& arguments,
                                 CommandSource source, const ICommandList* list, int depth) {
    const bool shiftJis = templateText.startsWith(kShiftJisMarker, Qt::CaseInsensitive);
    const UrlCodePage codePage = shiftJis ? UrlCodePage::ShiftJis : UrlCodePage::Utf8;

    // Pass 1: arguments.
    QString text;
    text.reserve(templateText.size() + 16);
    qsizetype copyFrom = shiftJis ? kShiftJisMarker.size() : 0;
    qsizetype p = templateText.indexOf(QLatin1Char('%'), copyFrom);
    while (p >= 0) {
        text += QStringView(templateText).mid(copyFrom, p - copyFrom);
        const QChar c = p + 1 < templateText.size() ? templateText.at(p + 1) : QChar();
        const char16_t code = c.unicode();
        if (code == u'%') {
            text += QLatin1Char('%');
        } else if (code == u'a') {
            text += arguments.join(QLatin1Char(' '));
        } else if (code == u'A') {
            text += URLEncode(arguments.join(QLatin1Char(' ')), codePage);
        } else if (code >= u'b' && code <= u'z') {
            const qsizetype index = code - u'b';
            if (index < arguments.size())
                text += arguments.at(index);
        } else if (code >= u'B' && code <= u'Z') {
            const qsizetype index = code - u'B';
            if (index < arguments.size())
                text += URLEncode(arguments.at(index), codePage);
        } else {
            text += QLatin1Char('%');
            if (!c.isNull())
                text += c;
        }
        copyFrom = p + 2;
        p = copyFrom < templateText.size() ? templateText.indexOf(QLatin1Char('%'), copyFrom) : -1;
    }
    if (copyFrom < templateText.size())
        text += QStringView(templateText).mid(copyFrom);

    // Pass 2: inline commands %`...`; what an expansion brings in is scanned again.
    const QString inlineCommand = QStringLiteral("%`");
    qsizetype q = text.indexOf(inlineCommand);
    while (q >= 0) {
        const qsizetype innerStart = q + 2;
        const qsizetype close = text.indexOf(QLatin1Char('`'), innerStart);
        const qsizetype end = close < 0 ? text.size() : close + 1;
        const QString inner =
            close < 0 ? text.mid(innerStart) : text.mid(innerStart, close - innerStart);
        QString expansion = expand(inner, source, list, depth + 1);
        if (expansion.isEmpty())
            expansion = inner;
        if (text.size() - (end - q) + expansion.size() > kMaxExpansionLength)
            break;
        text.replace(q, end - q, expansion);
        q = text.indexOf(inlineCommand, q);
    }

    // Pass 3: inline expressions %{...}; a value that holds "%{" is evaluated in turn.
    const QString inlineExpression = QStringLiteral("%{");
    qsizetype e = text.indexOf(inlineExpression);
    while (e >= 0) {
        const qsizetype innerStart = e + 2;
        const qsizetype close = text.indexOf(QLatin1Char('}'), innerStart);
        const qsizetype end = close < 0 ? text.size() : close + 1;
        const QString inner =
            close < 0 ? text.mid(innerStart) : text.mid(innerStart, close - innerStart);
        QString value = inner;
        if (m_evaluator) {
            // A value that keeps producing "%{" would be evaluated forever: the budget ends it
            // and leaves the rest as it stands.
            if (!spendBudget())
                break;
            if (m_evaluator->RunCode(inner, true))
                value = m_evaluator->Result();
        }
        if (text.size() - (end - e) + value.size() > kMaxExpansionLength)
            break;
        text.replace(e, end - e, value);
        e = text.indexOf(inlineExpression, e);
    }

    // Pass 4: "%%" gives "%".
    text.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return text;
}

} // namespace engine
