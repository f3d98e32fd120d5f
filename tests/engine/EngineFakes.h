#pragma once

// Stand-ins for the collaborators of the command engine: a scripted evaluator, a command list,
// and recording ports for the dispatcher; memos go to the real memo filer.

#include "engine/BareWord.h"
#include "engine/CommandSource.h"
#include "engine/DispatcherPorts.h"
#include "engine/TextChecks.h"
#include "memo/MemoFiler.h"

#include "TestEnvironment.h"

#include <QHash>
#include <QStringList>

namespace enginetest {

// Evaluates only what it was told: known code gives its result; other code fails with the given
// error (raised when asked). Mirrors the evaluator's bare-word rule.
class ScriptedEvaluator : public engine::IEvaluator {
public:
    QHash<QString, QString> results;
    long errorNumber = 1002;
    QString errorDescription = QStringLiteral("構文エラーです。");
    QStringList calls;

    bool RunCode(const QString& code, bool isRaiseError) override {
        calls.append(code);
        m_result.clear();
        const auto found = results.constFind(code);
        if (found != results.constEnd())
            m_result = *found;
        if (m_result.isEmpty() && engine::IsBareWord(code))
            return false;
        if (found == results.constEnd()) {
            if (isRaiseError && m_handler)
                m_handler(errorNumber, errorDescription);
            return false;
        }
        return true;
    }
    QString Result() const override { return m_result; }
    void setErrorHandler(ErrorHandler handler) override { m_handler = std::move(handler); }
    // Words the language or the user's script would define ("Date", "合計").
    QStringList knownWords;
    bool IsScriptWord(const QString& word) const override {
        return knownWords.contains(word, Qt::CaseInsensitive);
    }
    // Names as the real lexer takes them: runs of letters, digits and "_" outside string
    // literals, not members after a dot.
    bool UsesUnknownNameBeyondAscii(const QString& code) const override {
        bool inString = false;
        QString name;
        QChar before;
        auto unknown = [&] {
            bool beyondAscii = false;
            for (const QChar c : name)
                beyondAscii = beyondAscii || c.unicode() >= 0x80;
            return beyondAscii && before != QLatin1Char('.') && !IsScriptWord(name);
        };
        for (const QChar c : code + QLatin1Char(' ')) {
            if (!inString && (c.isLetterOrNumber() || c == QLatin1Char('_'))) {
                if (name.isEmpty() && !c.isDigit())
                    name += c;
                else if (!name.isEmpty())
                    name += c;
                continue;
            }
            if (!name.isEmpty() && unknown())
                return true;
            name.clear();
            if (c == QLatin1Char('"'))
                inString = !inString;
            before = c;
        }
        return false;
    }

private:
    QString m_result;
    ErrorHandler m_handler;
};

class FakeCommandList : public engine::ICommandList {
public:
    QHash<QString, QString> templates;
    QString templateOf(const QString& name) const override { return templates.value(name); }
};

// The real memo filer on a memo file of the test's own. Unopened, it files nothing, as when the
// memo file could not be read.
class TestMemos {
public:
    explicit TestMemos(bool readable = true) {
        if (readable)
            filer.open(testsupport::freshFolder(QStringLiteral("memos")) +
                       QStringLiteral("/memo.txt"));
    }
    // The lines filed into the current memo, without their time stamps.
    QStringList filedLines() const {
        QStringList lines;
        if (filer.list().MemoCount() == 0)
            return lines;
        const QString text = filer.list().memos()[filer.list().MemoIndex() - 1].Text;
        for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            lines << line.mid(line.indexOf(QStringLiteral("] ")) + 2);
        return lines;
    }
    memo::MemoFiler filer;
};

class RecordingHistory : public engine::IHistory {
public:
    QStringList calls;
    QStringList lines;
    void AddMRU(const QString& line, bool addFirst) override {
        calls.append(QStringLiteral("AddMRU(%1)").arg(addFirst));
        lines.append(line);
    }
    void AddMRUTemp(const QString& line, bool addFirst) override {
        calls.append(QStringLiteral("AddMRUTemp(%1)").arg(addFirst));
        lines.append(line);
    }
};

class FakeInputLine : public engine::ITextControl {
public:
    QString content;
    QString type = QStringLiteral("ComboBox");
    int selStart = -1;
    int selLength = -1;
    QString typeName() const override { return type; }
    QString text() const override { return content; }
    void setText(const QString& text) override {
        content = text;
        selStart = selLength = -1;
    }
    void setSelection(int start, int length) override {
        selStart = start;
        selLength = length;
    }
};

class RecordingClipboard : public engine::IClipboard {
public:
    QStringList texts;
    void setText(const QString& text) override { texts.append(text); }
};

// The main window: what the input line shows (results are written back selected), the memo
// pane's focus, and the window's other calls in order.
class RecordingWindow : public engine::IMainWindow {
public:
    QStringList calls;
    QString inputLine;
    bool selected = false;
    int memoFocusCount = 0;
    void showResult(const QString& text) override {
        inputLine = text;
        selected = true;
    }
    void focusMemoPane() override { ++memoFocusCount; }
    void HideForm() override { calls.append(QStringLiteral("HideForm")); }
    void SetTopMost(bool on) override { calls.append(QStringLiteral("SetTopMost(%1)").arg(on)); }
    QString AppTitleWithVersion() const override { return QStringLiteral("Scrivlet Ver.1.73"); }
};

} // namespace enginetest
