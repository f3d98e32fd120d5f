#include "engine/LineDispatcher.h"
#include "EngineFakes.h"
#include "ShellRecorder.h"
#include "TestEnvironment.h"
#include "config/CIniFile.h"
#include "config/Settings.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace engine;
using namespace enginetest;

namespace {

class LineDispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        eval.results = {{QStringLiteral("1+1"), QStringLiteral("2")},
                        {QStringLiteral("2*3"), QStringLiteral("6")},
                        {QStringLiteral("6"), QStringLiteral("6")},
                        {QStringLiteral("1"), QStringLiteral("1")},
                        {QStringLiteral("2"), QStringLiteral("2")},
                        {QStringLiteral("Nothing()"), QString()},
                        {QStringLiteral("計算(1)"), QStringLiteral("10")}};
        shell.acceptedFiles = {QStringLiteral("prog")};
        m_oldBox = platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes.append(r);
            return int(platform::mb::OK);
        });
        const QString dir = testsupport::freshFolder(QStringLiteral("ini"));
        testsupport::writeFile(dir + QStringLiteral("/s.ini"), "[Command]\r\n"
                                                               "n=Notepad,prog %a\r\n"
                                                               "sum=Sum,1,2\r\n"
                                                               "nocomma=prog\r\n"
                                                               "calc=Calc,%{1+1}|%{2*3}\r\n");
        ASSERT_TRUE(ini.Load(dir + QStringLiteral("/s.ini")));
    }
    void TearDown() override { platform::setMessageBoxHandler(std::move(m_oldBox)); }

    LineRun run(const QString& line, LineOrigin origin = LineOrigin::Typed) {
        window.inputLine = line;
        window.selected = false;
        LineDispatcher dispatcher(ports(), &ini, options);
        return dispatcher.ExecuteLine(line, origin);
    }
    DispatcherPorts ports() {
        return DispatcherPorts{&eval, &memo.filer, &history, &clipboard, &window};
    }

    ScriptedEvaluator eval;
    TestMemos memo;
    RecordingHistory history;
    RecordingClipboard clipboard;
    RecordingWindow window;
    ShellRecorder shell;
    config::Options options;
    config::CIniFile ini;
    QList<platform::MessageBoxRequest> boxes;

private:
    platform::MessageBoxHandler m_oldBox;
};

TEST_F(LineDispatcherTest, BlankLineDoesNothing) {
    const LineRun r = run(QStringLiteral("    "));
    EXPECT_TRUE(r.outcomes.isEmpty());
    EXPECT_TRUE(history.calls.isEmpty());
    EXPECT_EQ(window.inputLine, QStringLiteral("    "));
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_TRUE(shell.requests.isEmpty());
}

struct LineCase {
    const char* name;
    const char* line;
    bool ifVoidThenHide;
    bool setClipboard;
    // expectations
    const char* inputLine; // what the input line shows afterwards
    bool selected;
    const char* history; // "" for none
    bool hidden;
    int clipboardSets;
};

class LineTable : public LineDispatcherTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineTable, WritesBackAndFilesTheLine) {
    const LineCase& c = GetParam();
    options.IfVoidThenHide = c.ifVoidThenHide;
    options.SetClipboard = c.setClipboard;
    run(QString::fromUtf8(c.line));
    EXPECT_EQ(window.inputLine, QString::fromUtf8(c.inputLine));
    EXPECT_EQ(window.selected, c.selected);
    const QStringList expectedHistory =
        *c.history ? QStringList{QString::fromUtf8(c.history)} : QStringList();
    EXPECT_EQ(history.calls, expectedHistory);
    // The history gets the line as typed, not what the input line shows afterwards.
    EXPECT_EQ(history.lines, *c.history ? QStringList{QString::fromUtf8(c.line)} : QStringList());
    EXPECT_EQ(window.calls.contains(QStringLiteral("HideForm")), c.hidden);
    EXPECT_EQ(clipboard.texts.size(), c.clipboardSets);
    if (c.clipboardSets > 0) {
        EXPECT_EQ(clipboard.texts.last(), window.inputLine);
    }
    EXPECT_TRUE(boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineTable,
    ::testing::Values(
        LineCase{"twoResults", "1+1|2*3", false, false, "2 |6", true, "AddMRUTemp(1)", false, 0},
        LineCase{"toClipboard", "1+1|2*3", false, true, "2 |6", true, "AddMRUTemp(1)", false, 1},
        LineCase{"shellThenEval", "prog|1+1", false, false, "2", true, "AddMRU(1)", true, 0},
        LineCase{"evalThenShell", "1+1|prog", false, false, "2", true, "AddMRU(1)", true, 0},
        LineCase{"emptyResultClears", "Nothing()", false, true, "", true, "AddMRUTemp(1)", false,
                 1},
        LineCase{"emptyResultHides", "Nothing()", true, true, "Nothing()", false, "AddMRUTemp(1)",
                 true, 0},
        LineCase{"middleEmpty", "1|Nothing()|2", false, false, "1 | |2", true, "AddMRUTemp(1)",
                 false, 0},
        LineCase{"middleEmptyHides", "1|Nothing()|2", true, false, "1 |2", true, "AddMRUTemp(1)",
                 true, 0},
        LineCase{"commandFromSettings", "calc", false, false, "2 |6", true, "AddMRUTemp(1)", false,
                 0},
        LineCase{"commandNameAnyCase", "CALC", false, false, "2 |6", true, "AddMRUTemp(1)", false,
                 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineDispatcherTest, HideAfterRunOffKeepsTheWindow) {
    options.HideAfterRun = false;
    run(QStringLiteral("prog"));
    EXPECT_EQ(history.calls, QStringList{QStringLiteral("AddMRU(1)")});
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(window.inputLine, QStringLiteral("prog")); // nothing written back
}

TEST_F(LineDispatcherTest, ShellTriesQuotedThenAsTyped) {
    run(QStringLiteral("n a.txt  b.txt"));
    EXPECT_EQ(shell.requests, (QStringList{QStringLiteral("open|prog a.txt b.txt|"),
                                           QStringLiteral("open|prog|a.txt b.txt")}));
    // A piece that begins with a quote is not quoted again.
    shell.requests.clear();
    run(QStringLiteral("\"x y\" z"));
    EXPECT_EQ(shell.requests, QStringList{QStringLiteral("open|x y|z")});
}

TEST_F(LineDispatcherTest, SettingsCommandValues) {
    run(QStringLiteral("sum"));
    EXPECT_TRUE(eval.calls.contains(QStringLiteral("1,2")));
    // A value without a comma is no command: the word itself runs.
    eval.calls.clear();
    shell.requests.clear();
    run(QStringLiteral("nocomma"));
    EXPECT_EQ(shell.requests.first(), QStringLiteral("open|nocomma|"));
    EXPECT_EQ(ini.NowSection(), QStringLiteral("Command"));
}

TEST_F(LineDispatcherTest, ProseBecomesAMemo) {
    const QString prose = QStringLiteral("今日は 晴れ");
    const LineRun r = run(prose);
    EXPECT_EQ(r.outcomes, QList<PieceOutcome>{PieceOutcome::Memo});
    EXPECT_EQ(memo.filedLines(), QStringList{prose});
    EXPECT_EQ(window.memoFocusCount, 1);
    EXPECT_EQ(window.inputLine, prose);
    EXPECT_TRUE(history.calls.isEmpty());
    EXPECT_TRUE(boxes.isEmpty()); // the failed evaluation is silent
}

// Prose that the engine could still evaluate is a result only when every name beyond ASCII in
// it is defined (a function of the user's script); otherwise it is prose. A word scripts know is
// never handed to the shell.
TEST_F(LineDispatcherTest, ProseThatEvaluates) {
    eval.results = {{QStringLiteral("計算(1)"), QStringLiteral("10")},
                    {QStringLiteral("東京-大阪"), QStringLiteral("0")},
                    {QStringLiteral("予定=会議"), QStringLiteral("True")},
                    {QStringLiteral("date"), QStringLiteral("2026/12/07")}};
    eval.knownWords = {QStringLiteral("計算"), QStringLiteral("Date")};
    struct Row {
        const char* line;
        const char* result; // nullptr: filed as a memo
    } rows[] = {
        {"計算(1)", "10"},
        {"東京-大阪", nullptr},
        {"予定=会議", nullptr},
        {"date", "2026/12/07"},
    };
    for (const Row& row : rows) {
        const QStringList before = memo.filedLines();
        shell.requests.clear();
        const QString line = QString::fromUtf8(row.line);
        run(line);
        EXPECT_EQ(window.inputLine, row.result ? QString::fromUtf8(row.result) : line) << row.line;
        EXPECT_EQ(memo.filedLines(), row.result ? before : before + QStringList{line}) << row.line;
    }
    EXPECT_TRUE(shell.requests.isEmpty()) << "date went to the shell";
}

TEST_F(LineDispatcherTest, MemoThatCannotBeStoredRanNothing) {
    TestMemos unreadable(false);
    DispatcherPorts p = ports();
    p.memos = &unreadable.filer;
    LineDispatcher dispatcher(p, &ini, options);
    const LineRun r = dispatcher.ExecuteLine(QStringLiteral("メモ です"));
    EXPECT_EQ(r.outcomes, QList<PieceOutcome>{PieceOutcome::None});
    EXPECT_FALSE(r.anyRan());
    EXPECT_EQ(window.memoFocusCount, 0);
}

TEST_F(LineDispatcherTest, ScriptErrorShowsTheBox) {
    const LineRun r = run(QStringLiteral("x = 1 +"));
    EXPECT_EQ(r.outcomes, QList<PieceOutcome>{PieceOutcome::None});
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Error Number 1002:構文エラーです。"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Scrivlet Ver.1.73"));
    EXPECT_EQ(boxes[0].style, int(platform::mb::Critical));
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_TRUE(history.calls.isEmpty());
    EXPECT_EQ(window.inputLine, QStringLiteral("x = 1 +"));
}

TEST_F(LineDispatcherTest, ErrorBoxStepsOutOfTheTopmostBand) {
    options.TopMost = true;
    run(QStringLiteral("x = 1 +"));
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(window.calls,
              (QStringList{QStringLiteral("SetTopMost(0)"), QStringLiteral("SetTopMost(1)")}));
}

TEST_F(LineDispatcherTest, ErrorsHiddenWhenAskedTo) {
    options.ShowErrMsg = false;
    options.TopMost = true;
    run(QStringLiteral("x = 1 +|scrivlet-no-such-program|~/missing|1+1"));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(window.inputLine, QStringLiteral("2")); // the other pieces still ran
}

TEST_F(LineDispatcherTest, ExpressionErrorsInTemplatesAreReported) {
    testsupport::writeFile(ini.fileName(), "[Command]\r\nbad=Bad,%{1+}\r\n");
    ASSERT_TRUE(ini.Load(ini.fileName()));
    run(QStringLiteral("bad"));
    // Once for the template, once for the piece "1+" that remains.
    EXPECT_EQ(boxes.size(), 2);
}

// A timer's line runs like a typed one, but what the user is doing stays theirs: the input
// line, the history, the clipboard, the window's visibility and the focus.
TEST_F(LineDispatcherTest, TimerLineLeavesTheUserAlone) {
    options.SetClipboard = true;
    options.HideAfterRun = true;
    const LineRun r = run(QStringLiteral("1+1|prog|今日の予定：買い物。"), LineOrigin::Timer);
    EXPECT_EQ(r.outcomes, (QList<PieceOutcome>{PieceOutcome::Evaluated, PieceOutcome::ShellExecuted,
                                               PieceOutcome::Memo}));
    EXPECT_EQ(r.writeBack, QStringLiteral("2"));
    EXPECT_FALSE(r.wroteBack);
    EXPECT_FALSE(r.hidden);
    EXPECT_EQ(window.inputLine, QStringLiteral("1+1|prog|今日の予定：買い物。"));
    EXPECT_FALSE(window.selected);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(window.memoFocusCount, 0);
    EXPECT_TRUE(clipboard.texts.isEmpty());
    EXPECT_TRUE(history.calls.isEmpty());
    EXPECT_EQ(memo.filedLines(), QStringList{QStringLiteral("今日の予定：買い物。")});
}

TEST_F(LineDispatcherTest, AddMemoTextFilesAsTypedAndNothingWhenEmpty) {
    LineDispatcher dispatcher(ports(), &ini, options);
    EXPECT_FALSE(dispatcher.AddMemoText(QString()));
    EXPECT_EQ(window.memoFocusCount, 0);
    const QString line = QStringLiteral("1+1 「見積」→ ★ 〜 − 한국어 😀");
    EXPECT_TRUE(dispatcher.AddMemoText(line));
    EXPECT_EQ(memo.filedLines(), QStringList{line});
    EXPECT_EQ(window.memoFocusCount, 1);
    EXPECT_TRUE(history.calls.isEmpty());
    EXPECT_TRUE(eval.calls.isEmpty());
}

TEST_F(LineDispatcherTest, NoScriptEngine) {
    NoScriptEngineEvaluator none;
    DispatcherPorts p = ports();
    p.evaluator = &none;
    LineDispatcher dispatcher(p, &ini, options);
    const LineRun r = dispatcher.ExecuteLine(QStringLiteral("1+1|メモ です|x = 1 +|%{1+1}"));
    EXPECT_EQ(r.outcomes, (QList<PieceOutcome>{PieceOutcome::None, PieceOutcome::Memo,
                                               PieceOutcome::None, PieceOutcome::None}));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(history.calls.isEmpty());
}

// When nothing opened, the user learns why in their own terms: a path that is not there, a link
// no application takes, a program that is not installed. Script errors stay the script's.
struct FailureCase {
    const char* name;
    const char* line;
    const char* box; // nullptr: none
    int icon;
    bool evaluated; // the piece reached the evaluator
};

class FailureTable : public LineDispatcherTest,
                     public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTable, SaysWhatFailed) {
    const FailureCase& c = GetParam();
    eval.knownWords = {QStringLiteral("Date")};
    shell.chooserWorks = false;
    const QString line = QString::fromUtf8(c.line);
    const LineRun r = run(line);
    EXPECT_EQ(r.outcomes, QList<PieceOutcome>{PieceOutcome::None});
    if (c.box) {
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].text, QString::fromUtf8(c.box));
        EXPECT_EQ(boxes[0].style, c.icon);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Scrivlet Ver.1.73"));
    } else {
        EXPECT_TRUE(boxes.isEmpty());
    }
    EXPECT_EQ(eval.calls.contains(line), c.evaluated);
    EXPECT_TRUE(memo.filedLines().isEmpty());
    EXPECT_EQ(window.inputLine, line);
    EXPECT_TRUE(history.calls.isEmpty());
}

constexpr int kWarning = platform::mb::Exclamation;
constexpr int kScriptError = platform::mb::Critical;

INSTANTIATE_TEST_SUITE_P(
    Pieces, FailureTable,
    ::testing::Values(
        FailureCase{"missingHomeFolder", "~/Documents", "「~/Documents」が見つかりません。",
                    kWarning, false},
        FailureCase{"missingRelative", "./ビルド/実行", "「./ビルド/実行」が見つかりません。",
                    kWarning, false},
        FailureCase{"missingWithSpaces", "../My Documents/メモ.txt",
                    "「../My Documents/メモ.txt」が見つかりません。", kWarning, false},
        FailureCase{"missingProgramPath", "\"/opt/my tool/run\" -x",
                    "「/opt/my tool/run」が見つかりません。", kWarning, false},
        FailureCase{"folderWithoutApplication", "/", "「/」を開くアプリケーションがありません。",
                    kWarning, false},
        FailureCase{"linkWithoutHandler", "https://example.org/",
                    "「https:」のリンクを開くアプリケーションがありません。", kWarning, false},
        FailureCase{"webAddress", "www.example.org",
                    "「https:」のリンクを開くアプリケーションがありません。", kWarning, false},
        FailureCase{"mail", "mailto:taro@example.jp",
                    "「mailto:」のリンクを開くアプリケーションがありません。", kWarning, false},
        FailureCase{"missingFileLink", "file:///no/such/メモ.txt",
                    "「file:///no/such/メモ.txt」が見つかりません。", kWarning, false},
        FailureCase{"programMissing", "scrivlet-no-such-browser https://example.org/",
                    "プログラム「scrivlet-no-such-browser」が見つかりません。", kWarning, true},
        FailureCase{"bareWordNotFound", "scrivletedit", "「scrivletedit」が見つかりません。",
                    kWarning, true},
        FailureCase{"wordsNotFound", "buy milk", "プログラム「buy」が見つかりません。", kWarning,
                    true},
        FailureCase{"statementError", "x = 1 +", "Error Number 1002:構文エラーです。", kScriptError,
                    true},
        FailureCase{"callError", "f (1", "Error Number 1002:構文エラーです。", kScriptError, true},
        FailureCase{"operatorsAreNoProgram", "1+ 2", "Error Number 1002:構文エラーです。",
                    kScriptError, true},
        FailureCase{"scriptWordKeepsItsError", "Date 1", "Error Number 1002:構文エラーです。",
                    kScriptError, true},
        FailureCase{"knownEmptyWordQuiet", "Date", nullptr, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder or file that nothing opens is offered in the chooser, "~" read as the home folder.
TEST_F(LineDispatcherTest, WithoutAnApplicationTheChooserIsOffered) {
    const QString notes = QDir::homePath() + QStringLiteral("/メモ.scrivlet-unknown");
    testsupport::writeFile(notes, "x");
    for (const QString& line : {QStringLiteral("~"), QStringLiteral("~/メモ.scrivlet-unknown")}) {
        EXPECT_EQ(run(line).outcomes, QList<PieceOutcome>{PieceOutcome::ShellExecuted});
    }
    EXPECT_EQ(shell.openWith, (QStringList{QDir::homePath(), notes}));
    EXPECT_TRUE(boxes.isEmpty());
}

// Cancelling the chooser is the user's answer: nothing opened, nothing to report, the window
// stays as it was, and the chooser is not offered a second time for the same piece.
TEST_F(LineDispatcherTest, ACancelledChooserLeavesEverythingAsItWas) {
    const QString notes = QDir::homePath() + QStringLiteral("/写真.scrivlet-unknown");
    testsupport::writeFile(notes, "x");
    shell.userDeclines = true;
    const auto result = run(QStringLiteral("~/写真.scrivlet-unknown"));
    EXPECT_EQ(result.outcomes, QList<PieceOutcome>{PieceOutcome::None});
    EXPECT_FALSE(result.hidden);
    EXPECT_FALSE(window.calls.contains(QStringLiteral("HideForm")));
    EXPECT_EQ(shell.openWith, QStringList{notes});
    EXPECT_TRUE(boxes.isEmpty());
}

// "Don't forget…" reads as script as the word Don and a comment. A line must never vanish: such
// a piece is a memo; a real calculation with a comment still evaluates.
TEST_F(LineDispatcherTest, WordBeforeACommentIsAMemo) {
    // The real engine's reading; the evaluator fake only knows what it is told.
    struct CommentReader : ScriptedEvaluator {
        bool IsWordBeforeComment(const QString& code) const override {
            return code.startsWith(QStringLiteral("Don't")) || code.startsWith(QLatin1Char('\''));
        }
    } reader;
    reader.results = {{QStringLiteral("1+1 ' check"), QStringLiteral("2")}};
    DispatcherPorts p = ports();
    p.evaluator = &reader;
    LineDispatcher dispatcher(p, &ini, options);
    const LineRun r = dispatcher.ExecuteLine(
        QStringLiteral("Don't forget the dentist at 10:30.|1+1 ' check|' 買い物"));
    EXPECT_EQ(r.outcomes, (QList<PieceOutcome>{PieceOutcome::Memo, PieceOutcome::Evaluated,
                                               PieceOutcome::Memo}));
    EXPECT_EQ(memo.filedLines(), (QStringList{QStringLiteral("Don't forget the dentist at 10:30."),
                                              QStringLiteral("' 買い物")}));
    EXPECT_EQ(r.writeBack, QStringLiteral("2"));
    EXPECT_FALSE(reader.calls.contains(QStringLiteral("Don't forget the dentist at 10:30.")));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST(IsMemoText, ProseTest) {
    struct Case {
        const char* text;
        bool memo;
    } cases[] = {
        {"hello world", false}, {"", false},
        {"ｱｲｳ ｴｵ", true}, // half-width katakana is prose too
        {"café au lait", true}, {"x = \"日本\"", false},
        {"今日は晴れ", true},   {"abc 今日", false}, // plain first word: script
        {"abc今日 x", true},    {"a_b あ", true},    // "_" is outside the plain set
        {" あ", false},                              // the first word is empty
        {"Ａ１ x", true},                            // full-width letters are not plain
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsMemoText(QString::fromUtf8(c.text)), c.memo) << c.text;
}

} // namespace
