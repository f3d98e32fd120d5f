// The evaluator behind the real line dispatcher: what the input line (and scrivlet-cli) shows.
#include "EverydayLines.h"
#include "QStringPrinter.h"
#include "TestEnvironment.h"

#include "config/Settings.h"
#include "engine/LineDispatcher.h"
#include "memo/MemoFiler.h"
#include "platform/MessageBox.h"
#include "platform/ShellExecute.h"
#include "script/ClipboardAccess.h"
#include "script/ProgramEvaluator.h"

#include <gtest/gtest.h>

namespace {

// The real memo filer on a file of the test's own; entries() are the lines filed since clear().
struct Memos {
    Memos() { filer.open(testsupport::freshFolder(QStringLiteral("memos")) + "/memo.txt"); }
    QStringList entries() const {
        QStringList lines;
        const QString text = filer.list().memos().value(0).Text.mid(m_seen);
        for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            lines << line.mid(line.indexOf(QStringLiteral("] ")) + 2);
        return lines;
    }
    void clear() { m_seen = filer.list().memos().value(0).Text.size(); }
    memo::MemoFiler filer;

private:
    qsizetype m_seen = 0;
};
struct NoHistory final : engine::IHistory {
    void AddMRU(const QString&, bool) override {}
    void AddMRUTemp(const QString&, bool) override {}
};
struct Clip final : engine::IClipboard {
    void setText(const QString&) override {}
};
// The input line shows the results written back.
struct Window final : engine::IMainWindow {
    QString value;
    void showResult(const QString& text) override { value = text; }
    void focusMemoPane() override {}
    void HideForm() override {}
    void SetTopMost(bool) override {}
    QString AppTitleWithVersion() const override { return QStringLiteral("Scrivlet Ver.1.73"); }
};

class DispatcherWithEvaluator : public testing::Test {
protected:
    void SetUp() override {
        // Nothing is opened through the desktop here: every piece goes on to the evaluator.
        m_previousShell =
            platform::setShellHandler([](const platform::ShellRequest&) { return false; });
        m_previousBox =
            platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
                boxes << r.text;
                return 1;
            });
        const QString script =
            testsupport::freshFolder(QStringLiteral("everyday")) + QStringLiteral("/user.vbs");
        testsupport::writeFile(script, everyday::kUserScript);
        evaluator = script::createProgramEvaluator(script, scriptClipboard);
        ASSERT_EQ(evaluator->AddCodeFile(), script) << "the user's script did not load";
        engine::DispatcherPorts ports;
        ports.evaluator = evaluator.get();
        ports.memos = &memo.filer;
        ports.history = &history;
        ports.clipboard = &clip;
        ports.window = &window;
        dispatcher = std::make_unique<engine::LineDispatcher>(ports, nullptr, options);
    }
    void TearDown() override {
        dispatcher.reset();
        platform::setMessageBoxHandler(m_previousBox);
        platform::setShellHandler(m_previousShell);
    }

    script::MemoryClipboard scriptClipboard;
    std::unique_ptr<script::CEval> evaluator;
    Memos memo;
    NoHistory history;
    Clip clip;
    Window window;
    config::Options options;
    std::unique_ptr<engine::LineDispatcher> dispatcher;
    QStringList boxes;

private:
    platform::ShellHandler m_previousShell;
    platform::MessageBoxHandler m_previousBox;
};

TEST_F(DispatcherWithEvaluator, ResultsOfPiecesAreJoined) {
    const engine::LineRun run = dispatcher->ExecuteLine(QStringLiteral("1+1|2*3"));
    EXPECT_EQ(run.writeBack, QStringLiteral("2 |6"));
    EXPECT_EQ(window.value, QStringLiteral("2 |6"));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(DispatcherWithEvaluator, VbaAndClipboardObjectsAreThere) {
    dispatcher->ExecuteLine(
        QStringLiteral("VBA.Format(1234567, \"#,##0\")|VBA.StrConv(\"ｶﾞ\", 4)"));
    EXPECT_EQ(window.value, QStringLiteral("1,234,567 |ガ"));
    dispatcher->ExecuteLine(QStringLiteral("Call Clipboard.SetText(\"x\")"));
    EXPECT_EQ(scriptClipboard.text(), QStringLiteral("x"));
}

TEST_F(DispatcherWithEvaluator, ScriptErrorIsShownWithNumberAndDescription) {
    dispatcher->ExecuteLine(QStringLiteral("1+\"a\""));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("Error Number 13:型が一致しません。"));
}

TEST_F(DispatcherWithEvaluator, ProseThatIsNoScriptBecomesAMemo) {
    dispatcher->ExecuteLine(QStringLiteral("今日は晴れ"));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(memo.entries(), QStringList({QStringLiteral("今日は晴れ")}));
}

// Prose of an ordinary day reaches the memo as typed and the input line keeps it; calculations,
// the user's Japanese functions among them, still evaluate. No box either way.
TEST_F(DispatcherWithEvaluator, EverydayLines) {
    for (const char* prose : everyday::kProse) {
        const QString typed = QString::fromUtf8(prose);
        window.value = typed;
        memo.clear();
        const engine::LineRun run = dispatcher->ExecuteLine(typed);
        EXPECT_EQ(memo.entries(), QStringList{typed}) << prose;
        EXPECT_EQ(run.outcomes, QList{engine::PieceOutcome::Memo}) << prose;
        EXPECT_EQ(window.value, typed) << prose;
    }
    for (const everyday::Calculation& calculation : everyday::kCalculations) {
        memo.clear();
        dispatcher->ExecuteLine(QString::fromUtf8(calculation.line));
        EXPECT_EQ(window.value, calculation.result) << calculation.line;
        EXPECT_TRUE(memo.entries().isEmpty()) << calculation.line;
    }
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
}

// ASCII names keep the language's rules: an error is shown, nothing goes to the memo.
TEST_F(DispatcherWithEvaluator, AsciiTextThatIsNoScriptShowsTheError) {
    dispatcher->ExecuteLine(QStringLiteral("call me"));
    dispatcher->ExecuteLine(QStringLiteral("buy milk"));
    EXPECT_EQ(boxes.size(), 2);
    EXPECT_TRUE(memo.entries().isEmpty());
}

// A word that is neither a program nor a name scripts know changes nothing, and the user is told.
TEST_F(DispatcherWithEvaluator, UnknownWordIsNotFound) {
    window.value = QStringLiteral("abc");
    const engine::LineRun run = dispatcher->ExecuteLine(QStringLiteral("abc"));
    EXPECT_FALSE(run.anyRan());
    EXPECT_EQ(window.value, QStringLiteral("abc"));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("「abc」が見つかりません。")});
    EXPECT_TRUE(memo.entries().isEmpty());
}

// Full-width text is evaluated only when its half-width form is a calculation over numbers,
// operators and built-in functions; names of the user's script, strings and statements are not.
TEST_F(DispatcherWithEvaluator, FullWidthIsACalculationOnlyWhenItsHalfWidthFormIsOne) {
    struct Row {
        const char* line;
        const char* result; // nullptr: filed as a memo
    } rows[] = {
        {"１＋２＊３", "7"},
        {"　１＋１　", "2"},
        {"ＩＮＴ（７／２）", "3"},
        {"－５＋＆Ｈ１０", "11"},
        {"１＜２", "True"},
        {"ｙ＋１", nullptr},                     // a global of the user's script, not built in
        {"＂ａ＂＆１", nullptr},                 // a string
        {"ｘ＝１", nullptr},                     // a variable
        {"ＤＡＴＥ", nullptr},                   // no number
        {"１：２", nullptr},                     // two statements
        {"１＋２は３", nullptr},                 // not all full-width
        {"ＶＢＡ．ＦＯＲＭＡＴ（１）", nullptr}, // a member
    };
    for (const Row& row : rows) {
        memo.clear();
        const QString line = QString::fromUtf8(row.line);
        window.value = line;
        dispatcher->ExecuteLine(line);
        EXPECT_EQ(window.value, row.result ? QString::fromUtf8(row.result) : line) << row.line;
        EXPECT_EQ(memo.entries(), row.result ? QStringList() : QStringList{line}) << row.line;
    }
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
}

// A full-width calculation that fails is the script's error, as its half-width form would be.
TEST_F(DispatcherWithEvaluator, FullWidthCalculationErrorIsShown) {
    const engine::LineRun run = dispatcher->ExecuteLine(QStringLiteral("１／０"));
    EXPECT_EQ(run.outcomes, QList{engine::PieceOutcome::None});
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Error Number 11:"))) << boxes[0].toStdString();
    EXPECT_TRUE(memo.entries().isEmpty());
}

} // namespace
