// Real starts through the dispatcher, against the sandboxed desktop of DesktopSandbox: the
// associations are the real GIO lookup, the started programs only leave marks.

#include "DesktopSandbox.h"
#include "EngineFakes.h"
#include "TestEnvironment.h"
#include "config/CIniFile.h"
#include "config/Settings.h"
#include "engine/LineDispatcher.h"
#include "engine/ShellExecution.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace engine;
using namespace enginetest;

namespace {

class ShellLaunch : public testsupport::SandboxedDesktopTest {
protected:
    void SetUp() override {
        SandboxedDesktopTest::SetUp();
        dir = testsupport::freshFolder(QStringLiteral("launch"));
        dispatcher = std::make_unique<LineDispatcher>(
            DispatcherPorts{&eval, &memo.filer, &history, &clipboard, &window}, &ini, options);
        m_oldBox = platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes.append(r.text);
            return int(platform::mb::OK);
        });
    }
    void TearDown() override { platform::setMessageBoxHandler(std::move(m_oldBox)); }

    QString dir;
    ScriptedEvaluator eval;
    TestMemos memo;
    RecordingHistory history;
    RecordingClipboard clipboard;
    RecordingWindow window;
    config::Options options;
    config::CIniFile ini;
    std::unique_ptr<LineDispatcher> dispatcher;
    QStringList boxes;

private:
    platform::MessageBoxHandler m_oldBox;
};

// A registered command's text reaches the program as the user typed it: apostrophes and
// backslashes are plain characters, double quotes group words.
TEST_F(ShellLaunch, ProgramOnPathWithItsArgumentsAsTyped) {
    testsupport::writeFile(dir + QStringLiteral("/s.ini"),
                           "[Command]\r\ns=Say,scrivlet-mark-prog said %a\r\n");
    ASSERT_TRUE(ini.Load(dir + QStringLiteral("/s.ini")));
    struct Row {
        const char* line;
        const char* tag;
        QStringList arguments;
    } rows[] = {
        {"scrivlet-mark-prog piece x \"y z\"", "piece", {"x", "y z"}},
        {"s don't stop", "said", {"don't", "stop"}},
        {"scrivlet-mark-prog path C:\\dir\\file 'a b'", "path", {"C:\\dir\\file", "'a", "b'"}},
        {"scrivlet-mark-prog open \"unclosed", "open", {"\"unclosed"}},
    };
    for (const Row& row : rows) {
        const LineRun run = dispatcher->ExecuteLine(QString::fromUtf8(row.line));
        EXPECT_EQ(run.outcomes, QList<PieceOutcome>{PieceOutcome::ShellExecuted}) << row.line;
        EXPECT_EQ(desktop->waitForMark(QString::fromUtf8(row.tag)), row.arguments) << row.line;
    }
    EXPECT_TRUE(eval.calls.isEmpty()) << "a line reached the evaluator";
}

TEST_F(ShellLaunch, PathWithSpacesOpensThroughTheQuotedTry) {
    const QString folder = dir + QStringLiteral("/with space");
    const QString note = folder + QStringLiteral("/my note.txt");
    testsupport::writeFile(note, "text\n");
    EXPECT_EQ(dispatcher->ExecutePiece(note), PieceOutcome::ShellExecuted);
    const auto mark = desktop->waitForMark(QStringLiteral("text"));
    ASSERT_TRUE(mark.has_value());
    EXPECT_TRUE(mark->join(QString()).contains(QStringLiteral("note.txt")));

    const QString program = folder + QStringLiteral("/run me");
    testsupport::DesktopSandbox::writeExecutable(
        program, "#!/bin/sh\nexec scrivlet-mark-prog spaced \"$@\"\n");
    EXPECT_EQ(dispatcher->ExecutePiece(program), PieceOutcome::ShellExecuted);
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("spaced")), QStringList{QString()});
}

// The handler receives UTF-8, or Shift_JIS from a command that asks for it.
TEST_F(ShellLaunch, RegisteredCommandReachesTheUrlHandler) {
    testsupport::writeFile(dir + QStringLiteral("/s.ini"),
                           "[Command]\r\ng=Search,scrivlet-test://find?q=%A\r\n"
                           "j=Old site,%[Shift_JIS]scrivlet-test://old?q=%A\r\n");
    ASSERT_TRUE(ini.Load(dir + QStringLiteral("/s.ini")));
    const LineRun run = dispatcher->ExecuteLine(QStringLiteral("g 東京 café"));
    EXPECT_EQ(run.outcomes, QList<PieceOutcome>{PieceOutcome::ShellExecuted});
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("url")),
              QStringList{QStringLiteral("scrivlet-test://find?q=%E6%9D%B1%E4%BA%AC%20caf%C3%A9")});
    EXPECT_EQ(history.calls, QStringList{QStringLiteral("AddMRU(1)")});
    EXPECT_EQ(window.calls, QStringList{QStringLiteral("HideForm")});

    QFile::remove(desktop->markDir + QStringLiteral("/url"));
    dispatcher->ExecuteLine(QStringLiteral("j 東京"));
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("url")),
              QStringList{QStringLiteral("scrivlet-test://old?q=%93%8C%8B%9E")});
}

TEST_F(ShellLaunch, DocumentAndFolderThroughTheirAssociations) {
    const QString note = dir + QStringLiteral("/a.txt");
    testsupport::writeFile(note, "x\n");
    EXPECT_EQ(GetAssociatedVerb(note), QStringLiteral("open"));
    EXPECT_TRUE(ExecuteShell(QLatin1Char('"') + note + QLatin1Char('"'), QString()));
    EXPECT_TRUE(desktop->waitForMark(QStringLiteral("text")).has_value());

    EXPECT_TRUE(ExecuteShell(note, QStringLiteral("edit")));
    EXPECT_TRUE(ExecuteShell(dir, QString()));
    EXPECT_TRUE(desktop->waitForMark(QStringLiteral("folder")).has_value());
}

// What the desktop could not open is said in the user's words; what it can open opens.
TEST_F(ShellLaunch, WhatDidNotOpenIsSaidInTheUsersWords) {
    testsupport::writeFile(QDir::homePath() + QStringLiteral("/data.scrivlet-unknown"),
                           QByteArray("\x01\x02\x00\xff", 4));
    struct Row {
        const char* line;
        const char* box;  // nullptr: opened, no box
        const char* mark; // what started, if anything
        QStringList arguments;
    } rows[] = {
        {"www.example.org/検索?q=1", nullptr, "web", {"https://www.example.org/検索?q=1"}},
        {"scrivlet-mark-prog bare", nullptr, "bare", {""}},
        {"scrivlet-nohandler://x",
         "「scrivlet-nohandler:」のリンクを開くアプリケーションがありません。",
         nullptr,
         {}},
        {"~/scrivlet-missing/メモ", "「~/scrivlet-missing/メモ」が見つかりません。", nullptr, {}},
        {"~/data.scrivlet-unknown",
         "「~/data.scrivlet-unknown」を開くアプリケーションがありません。",
         nullptr,
         {}},
        {"scrivlet-no-such-thing arg",
         "プログラム「scrivlet-no-such-thing」が見つかりません。",
         nullptr,
         {}},
        {"scrivlet-no-such-thing", "「scrivlet-no-such-thing」が見つかりません。", nullptr, {}},
    };
    for (const Row& row : rows) {
        boxes.clear();
        const LineRun run = dispatcher->ExecuteLine(QString::fromUtf8(row.line));
        EXPECT_EQ(run.outcomes,
                  QList<PieceOutcome>{row.box ? PieceOutcome::None : PieceOutcome::ShellExecuted})
            << row.line;
        EXPECT_EQ(boxes, row.box ? QStringList{QString::fromUtf8(row.box)} : QStringList())
            << row.line;
        if (row.mark) {
            EXPECT_EQ(desktop->waitForMark(QString::fromUtf8(row.mark)), row.arguments) << row.line;
        }
    }
    QThread::msleep(100);
    EXPECT_EQ(QDir(desktop->markDir).entryList(QDir::Files),
              (QStringList{QStringLiteral("bare"), QStringLiteral("web")}));
}

// An application starts by its menu name; a terminal program opens in the user's terminal, and
// without one it is not started and the user is told why.
TEST_F(ShellLaunch, ApplicationsByNameAndTerminalPrograms) {
    EXPECT_EQ(dispatcher->ExecuteLine(QStringLiteral("scrivlet viewer")).outcomes,
              QList<PieceOutcome>{PieceOutcome::ShellExecuted});
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("viewer")), QStringList{QString()});

    // No terminal on PATH: the stand-ins' folder alone.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", desktop->binDir.toUtf8());
    for (const char* line : {"scrivlet-term-prog", "Scrivlet Term"}) {
        boxes.clear();
        EXPECT_EQ(dispatcher->ExecuteLine(QString::fromUtf8(line)).outcomes,
                  QList<PieceOutcome>{PieceOutcome::None})
            << line;
        EXPECT_EQ(boxes.size(), 1) << line;
        EXPECT_TRUE(boxes.value(0).endsWith(QStringLiteral("を開く端末がありません。")))
            << line << ": " << boxes.value(0).toStdString();
    }
    qputenv("PATH", path);
    QThread::msleep(100);
    EXPECT_FALSE(desktop->hasMark(QStringLiteral("term")));

    // With the user's terminal (a stand-in, first on PATH, that records what it runs).
    testsupport::DesktopSandbox::writeExecutable(
        desktop->binDir + QStringLiteral("/xdg-terminal-exec"),
        "#!/bin/sh\nexec scrivlet-mark-prog terminal \"$@\"\n");
    boxes.clear();
    EXPECT_EQ(dispatcher->ExecuteLine(QStringLiteral("scrivlet-term-prog -x \"a b\"")).outcomes,
              QList<PieceOutcome>{PieceOutcome::ShellExecuted});
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("terminal")),
              (QStringList{desktop->binDir + QStringLiteral("/scrivlet-term-prog"),
                           QStringLiteral("-x"), QStringLiteral("a b")}));
    EXPECT_TRUE(boxes.isEmpty());
    QFile::remove(desktop->binDir + QStringLiteral("/xdg-terminal-exec"));
}

} // namespace
