#pragma once

#include "engine/CommandSource.h"

#include <QString>
#include <QStringList>

namespace config {
class CIniFile;
}

namespace engine {

class IEvaluator;

// Cuts a line at unescaped "|" and expands registered commands and their parameters.
// Expansion through "|" chains or inline commands stops at maxDepth levels: a command whose
// template leads back to itself then stays as it is instead of expanding without end.
class CommandExpander {
public:
    static constexpr int maxDepth = 32;

    // `ini` serves IniCommands (may be null: no commands); `evaluator` serves %{...} (may be
    // null: the inner text stays).
    CommandExpander(config::CIniFile* ini, IEvaluator* evaluator);

    QStringList SplitCommandLine(const QString& line, CommandSource source,
                                 const ICommandList* list = nullptr);
    QString ExpandCommand(const QString& piece, CommandSource source,
                          const ICommandList* list = nullptr);
    QString ReplaceParameters(const QString& templateText, const QStringList& arguments,
                              CommandSource source, const ICommandList* list = nullptr);

private:
    QStringList split(const QString& line, CommandSource source, const ICommandList* list,
                      int depth);
    QString expand(const QString& piece, CommandSource source, const ICommandList* list, int depth);
    QString replace(const QString& templateText, const QStringList& arguments, CommandSource source,
                    const ICommandList* list, int depth);
    QString lookUpTemplate(const QString& name, CommandSource source, const ICommandList* list);
    bool spendBudget();

    class Run;
    config::CIniFile* m_ini;
    IEvaluator* m_evaluator;
    int m_activeRuns = 0;
    int m_budget = 0;
};

// The bytes that URL encoding percent-encodes: UTF-8, which sites decode; Shift_JIS (CP932) for
// a site that still wants it.
enum class UrlCodePage { Utf8, ShiftJis };

// A template that begins with this marker (in any case) URL-encodes its arguments in Shift_JIS;
// the marker itself is dropped.
inline const QString kShiftJisMarker = QStringLiteral("%[Shift_JIS]");

// Percent-encodes the bytes of `text` in the code page: only 0-9, A-Z and a-z pass unencoded.
QString URLEncode(const QString& text, UrlCodePage codePage = UrlCodePage::Utf8);

} // namespace engine
