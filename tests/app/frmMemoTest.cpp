#include "app/frmMemo.h"

#include "FakeHotKeys.h"
#include "ScriptedBoxes.h"
#include "TestEnvironment.h"
#include "app/TitleStrip.h"
#include "app/instance/CPrevInstance.h"
#include "config/CIniFile.h"
#include "desktop/CHotKey.h"
#include "desktop/CTray.h"
#include "desktop/HookRegistry.h"
#include "input/CMRUCombo.h"
#include "memo/MemoFile.h"
#include "memo/pane/MemoFindView.h"
#include "memo/pane/uMultiMemo.h"
#include "platform/AppPaths.h"
#include "platform/FileFaults.h"
#include "platform/MessageBox.h"
#include "platform/gui/Twips.h"
#include "platform/gui/WindowControl.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using platform::MessageBoxRequest;
namespace mb = platform::mb;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::freshFolder(QStringLiteral("program"));
        platform::setProgramIdentity(folder, QStringLiteral("scrivlet"));
    }

    void TearDown() override {
        if (window && !window->isUnloaded())
            window->Unload();
        window.reset();
        platform::setProgramIdentity(QString(), QString());
    }

    void writeSettings(const QByteArray& text) {
        testsupport::writeFile(folder + QStringLiteral("/scrivlet.ini"), text);
    }

    QByteArray settingsOnDisk() const {
        return testsupport::readFile(folder + QStringLiteral("/scrivlet.ini"));
    }

    void start(const QStringList& arguments = {}) {
        window = std::make_unique<frmMemo>();
        window->setShellOpener([this](const QString& target) {
            opened << target;
            return shellSucceeds;
        });
        window->Initialize(arguments);
        if (window->isVisible()) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
        // The tray and the hotkey follow the first show.
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->trayReady(); }));
    }

    int comboHeight() const { return window->inputLine()->sizeHint().height(); }

    QString folder;
    std::unique_ptr<frmMemo> window;
    testsupport::ScriptedBoxes boxes;
    FakeHotKeys hotKeys;
    QStringList opened;
    bool shellSucceeds = true;
};

TEST_F(MainWindow, FirstStartShowsACollapsedCentredBarAndWritesTheSettings) {
    start();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->MemoView(), 0);
    EXPECT_EQ(window->height(), comboHeight());
    EXPECT_EQ(window->maximumHeight(), comboHeight());
    // The collapsed pane lies below the visible area, never over the input line.
    EXPECT_EQ(window->memoPane()->y(), comboHeight());
    EXPECT_EQ(window->minimumWidth(), platform::twipsToPixelsX(window.get(), 3000));
    EXPECT_EQ(window->width(), platform::twipsToPixelsX(window.get(), 3000));
    const QRect screen = window->screen()->geometry();
    EXPECT_NEAR(window->x(), (screen.width() - window->width()) / 2, 1);
    EXPECT_EQ(QApplication::focusWidget(), window->inputLine());
    EXPECT_TRUE(boxes.shown.isEmpty());
    // The empty line says what it takes, whole, in the narrowest bar.
    const QLineEdit* line = window->inputLine()->lineEdit();
    ASSERT_FALSE(line->placeholderText().isEmpty());
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->placeholderText()),
              line->contentsRect().width() - 4)
        << line->placeholderText().toStdString();

    const QByteArray ini = settingsOnDisk();
    EXPECT_TRUE(ini.contains("[Options]"));
    EXPECT_TRUE(ini.contains("[Position]"));
}

TEST_F(MainWindow, StoredPositionAndWidthAreApplied) {
    writeSettings("[Position]\r\nLeft=1500\r\nTop=750\r\nWidth=6000\r\nHeight=2000\r\n");
    start();
    EXPECT_EQ(window->width(), platform::twipsToPixelsX(window.get(), 6000));
    EXPECT_EQ(window->pos(), QPoint(platform::twipsToPixelsX(window.get(), 1500),
                                    platform::twipsToPixelsY(window.get(), 750)));
    EXPECT_EQ(window->memoPane()->height(), platform::twipsToPixelsY(window.get(), 2000));
}

TEST_F(MainWindow, MemoPaneOpensToScreenHeightAndCollapsesToAFixedHeight) {
    start();
    const int paneHeight = window->memoPane()->height();
    EXPECT_TRUE(window->ShowToggleMemo());
    EXPECT_EQ(window->MemoView(), 1);
    EXPECT_EQ(window->height(), comboHeight() + paneHeight);
    const int frame = window->frameGeometry().height() - window->height();
    EXPECT_EQ(window->maximumHeight() + frame, window->screen()->geometry().height());
    EXPECT_TRUE(window->menuLogView()->isChecked());
    EXPECT_TRUE(window->memoPane()->hasFocusInside());
    EXPECT_EQ(window->memoPane()->geometry().top(), comboHeight());

    EXPECT_TRUE(window->ShowToggleMemo());
    EXPECT_EQ(window->MemoView(), 0);
    EXPECT_EQ(window->height(), comboHeight());
    EXPECT_EQ(window->maximumHeight(), comboHeight());
    EXPECT_FALSE(window->menuLogView()->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), window->inputLine());

    // Hidden: the pane opens and the window comes back.
    window->HideForm();
    EXPECT_TRUE(window->ShowToggleMemo());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->MemoView(), 1);
}

TEST_F(MainWindow, EscHidesAndIsNotSwallowed) {
    start();
    EXPECT_FALSE(window->HideForm());
    window->ShowForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window->inputLine(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, EnterRunsTheLineAndWritesTheResultBack) {
    start();
    window->inputLine()->setEditText(QStringLiteral("1+1|2*3"));
    QTest::keyClick(window->inputLine(), Qt::Key_Return);
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("2 |6"));
    EXPECT_EQ(window->inputLine()->lineEdit()->selectedText(), QStringLiteral("2 |6"));
    EXPECT_TRUE(window->isVisible());
}

// What a new user types first: an English note, a calculation in the input method's full-width
// mode, a folder that is not there. Each one does something the user can see.
TEST_F(MainWindow, EnterNeverLetsALineVanish) {
    shellSucceeds = false;
    start();
    struct Row {
        const char* line;
        const char* inputLine; // afterwards
        const char* memoLine;  // filed, or nullptr
        const char* box;       // shown, or nullptr
    } rows[] = {
        {"Don't forget the dentist at 10:30.", "Don't forget the dentist at 10:30.",
         "] Don't forget the dentist at 10:30.\r\n", nullptr},
        {"１＋２＊３", "7", nullptr, nullptr},
        {"~/Documents", "~/Documents", nullptr, "「~/Documents」が見つかりません。"},
    };
    for (const Row& row : rows) {
        boxes.shown.clear();
        window->inputLine()->setFocus(); // a filed memo took it to the pane
        window->inputLine()->setEditText(QString::fromUtf8(row.line));
        QTest::keyClick(window->inputLine(), Qt::Key_Return);
        EXPECT_EQ(window->inputLine()->currentText(), QString::fromUtf8(row.inputLine)) << row.line;
        const QByteArray file = testsupport::readFile(folder + QStringLiteral("/scrivlet.txt"));
        if (row.memoLine) {
            EXPECT_TRUE(file.contains(row.memoLine)) << row.line;
        }
        EXPECT_EQ(boxes.texts(), row.box ? QStringList{QString::fromUtf8(row.box)} : QStringList())
            << row.line;
    }
}

TEST_F(MainWindow, BoundKeysInTheInputLineAreSwallowed) {
    start();
    QTest::keyClick(window->inputLine(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(window->MemoView(), 1);
    EXPECT_TRUE(window->inputLine()->currentText().isEmpty());
}

TEST_F(MainWindow, EnterInTheMemoPaneBelongsToThePane) {
    start();
    window->ShowToggleMemo();
    QPlainTextEdit* text = window->memoPane()->memoText();
    text->setFocus();
    EXPECT_FALSE(window->Execute());
    EXPECT_FALSE(window->AddMemo());
    QTest::keyClicks(text, QStringLiteral("ab"));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("ab\n"));
}

TEST_F(MainWindow, ShiftEnterFilesTheLineAsAMemoEntryAndSavesIt) {
    start();
    window->inputLine()->setEditText(QStringLiteral("buy milk"));
    QTest::keyClick(window->inputLine(), Qt::Key_Return, Qt::ShiftModifier);
    const QString memo = window->memoPane()->memoText()->toPlainText();
    EXPECT_TRUE(memo.endsWith(QStringLiteral("] buy milk\n"))) << memo.toStdString();
    EXPECT_EQ(window->MemoView(), 1);
    const QByteArray file = testsupport::readFile(folder + QStringLiteral("/scrivlet.txt"));
    EXPECT_TRUE(file.contains("] buy milk\r\n"));
}

TEST_F(MainWindow, HandedOverLineKeepsWhatIsBeingTypedInThePane) {
    start();
    window->ShowToggleMemo();
    QPlainTextEdit* text = window->memoPane()->memoText();
    QTest::keyClicks(text, QStringLiteral("draft"));
    auto* guard = new CPrevInstance(folder + QStringLiteral("/instance.sock"), nullptr);
    window->setPrevInstance(guard);
    bool appended = false;
    QString failure;
    emit guard->MemoLineArrived(folder + QStringLiteral("/scrivlet.txt"), QStringLiteral("note"),
                                appended, failure);
    EXPECT_TRUE(appended);
    EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("draft[")));
    EXPECT_TRUE(text->toPlainText().endsWith(QStringLiteral("] note\n")));
    const QByteArray file = testsupport::readFile(folder + QStringLiteral("/scrivlet.txt"));
    EXPECT_TRUE(file.contains("draft[")) << file.toStdString();

    bool elsewhere = false;
    emit guard->MemoLineArrived(folder + QStringLiteral("/other.txt"), QStringLiteral("x"),
                                elsewhere, failure);
    EXPECT_FALSE(elsewhere);
    EXPECT_TRUE(failure.isEmpty()) << "another file is no failure";
}

// Ctrl+F finds the input line's text in every memo; typing narrows, Down moves, Enter jumps to
// the line in its memo; Esc gives back the line and the pane as they were. The file never changes.
TEST_F(MainWindow, FindInMemosFromTheInputLine) {
    const QString memoFile = folder + QStringLiteral("/scrivlet.txt");
    testsupport::writeFile(memoFile, QStringLiteral(
                                         "Title:買い物\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\n"
                                         "[2026/12/01 09:00:00] ﾊﾟﾝと牛乳\r\n"
                                         "[2026/12/04 09:00:00] パン屋「ｶﾌｪ」へ\r\n.\r\n"
                                         "Title:連絡\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\n"
                                         "田中さん 090−1234\r\n"
                                         "[2026/12/03 09:00:00] ぱんの 件 😀\r\n")
                                         .toUtf8());
    const QByteArray before = testsupport::readFile(memoFile);
    start();
    QLineEdit* line = window->inputLine()->lineEdit();
    memo::uMultiMemo* pane = window->memoPane();

    // Japanese arrives from the input method as a committed string.
    const auto commit = [line](const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(line, &event);
    };

    // Nothing to find: the view does not open, the key is not taken.
    commit(QStringLiteral(" 　"));
    QTest::keyClick(line, Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(pane->isFindOpen());
    EXPECT_EQ(window->MemoView(), 0);

    line->clear();
    commit(QStringLiteral("パン"));
    QTest::keyClick(line, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(pane->isFindOpen());
    EXPECT_EQ(window->MemoView(), 1);
    EXPECT_FALSE(pane->memoText()->isVisible());
    memo::MemoFindView* view = pane->findView();
    ASSERT_EQ(view->resultCount(), 3);
    EXPECT_EQ(view->rowText(0), QStringLiteral("買い物\t[2026/12/04 09:00:00] パン屋「ｶﾌｪ」へ"));
    EXPECT_EQ(view->rowText(1), QStringLiteral("連絡\t[2026/12/03 09:00:00] ぱんの 件 😀"));
    EXPECT_EQ(view->rowText(2), QStringLiteral("買い物\t[2026/12/01 09:00:00] ﾊﾟﾝと牛乳"));
    EXPECT_EQ(view->rowHighlights(2), (QList<std::pair<int, int>>{{22, 25}}));

    // Narrowing as the user types; Esc restores the line and the collapsed pane.
    commit(QStringLiteral("の"));
    EXPECT_EQ(view->resultCount(), 1);
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(view->resultCount(), 3);
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_FALSE(pane->isFindOpen());
    EXPECT_TRUE(window->isVisible()) << "Esc closes the view, not the window";
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("パン"));
    EXPECT_EQ(window->MemoView(), 0);
    EXPECT_EQ(pane->MemoIndex(), 1);

    // Down, Down, Up, Down: the second result; Enter shows its memo with the line selected.
    QTest::keyClick(line, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(pane->isFindOpen());
    QTest::keyClick(line, Qt::Key_Down);
    QTest::keyClick(line, Qt::Key_Down);
    QTest::keyClick(line, Qt::Key_Up);
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_FALSE(pane->isFindOpen());
    EXPECT_EQ(pane->MemoIndex(), 2);
    EXPECT_EQ(pane->memoText()->textCursor().selectedText(),
              QStringLiteral("[2026/12/03 09:00:00] ぱんの 件 😀"));
    EXPECT_TRUE(pane->memoText()->hasFocus());
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("パン"));
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(testsupport::readFile(memoFile), before);
}

// A line for a titled memo goes there (made at the end when none has the title); the memo being
// typed in stays as it is, and current.
TEST_F(MainWindow, HandedOverLineForATitledMemo) {
    testsupport::writeFile(folder + QStringLiteral("/scrivlet.txt"),
                           "Title:first\r\nLast-Modified:x\r\nCursorPos:3\r\n\r\none");
    start();
    window->ShowToggleMemo();
    QPlainTextEdit* text = window->memoPane()->memoText();
    QTest::keyClicks(text, QStringLiteral(" draft"));
    auto* guard = new CPrevInstance(folder + QStringLiteral("/instance.sock"), nullptr);
    window->setPrevInstance(guard);
    for (const QString& line : {QStringLiteral("案 その一"), QStringLiteral("案 その二")}) {
        bool appended = false;
        QString failure;
        emit guard->MemoLineArrived(folder + QStringLiteral("/scrivlet.txt"), line, appended,
                                    failure, QStringLiteral("会議 ★"));
        EXPECT_TRUE(appended) << failure.toStdString();
    }
    EXPECT_EQ(text->toPlainText(), QStringLiteral("one draft"));
    EXPECT_EQ(window->memoPane()->MemoIndex(), 1);
    EXPECT_EQ(window->memoPane()->counter()->text(), QStringLiteral("1/2"));
    EXPECT_EQ(window->memoPane()->titleList()->itemText(1), QStringLiteral("会議 ★"));
    const memo::MemoFileContent content =
        memo::ReadMemoFile(folder + QStringLiteral("/scrivlet.txt"));
    ASSERT_EQ(content.memos.size(), 2);
    EXPECT_EQ(content.memos[1].Title, QStringLiteral("会議 ★"));
    EXPECT_TRUE(content.memos[1].Text.endsWith(QStringLiteral("] 案 その二\r\n")));
    EXPECT_EQ(content.memos[1].Text.count(QStringLiteral("] 案 その")), 2);
}

// A line handed over while the memo file cannot be read: the reason goes back with the reply at
// once, and the box about it comes after the handler, one for a run of such lines.
TEST_F(MainWindow, HandedOverLineThatCannotBeFiledIsAnsweredFirstAndBoxedOnce) {
    const QString memo = folder + QStringLiteral("/scrivlet.txt");
    testsupport::writeFile(memo, "old\r\n");
    platform::injectFileFault(memo, platform::FileStep::Read, EACCES);
    start();
    platform::clearFileFaults();
    const qsizetype atStart = boxes.shown.size(); // the start-up report of the unreadable file
    auto* guard = new CPrevInstance(folder + QStringLiteral("/instance.sock"), nullptr);
    window->setPrevInstance(guard);
    for (int line = 1; line <= 3; ++line) {
        bool appended = true;
        QString failure;
        emit guard->MemoLineArrived(memo, QStringLiteral("行%1").arg(line), appended, failure);
        EXPECT_FALSE(appended);
        EXPECT_TRUE(failure.contains(QStringLiteral("メモを保存できません")))
            << failure.toStdString();
        EXPECT_EQ(boxes.shown.size(), atStart) << "a box inside the channel's handler";
    }
    QTest::qWait(50);
    ASSERT_EQ(boxes.shown.size(), atStart + 1);
    EXPECT_TRUE(boxes.shown.last().text.contains(QStringLiteral("メモを保存できません")));
    EXPECT_EQ(testsupport::readFile(memo), QByteArray("old\r\n"));
}

TEST_F(MainWindow, FullDiskDuringAMemoSaveIsReportedOnceAndNothingIsLost) {
    start();
    window->ShowToggleMemo();
    window->memoPane()->memoText()->setPlainText(QString(3000, QLatin1Char('m')));
    {
        testsupport::FileSizeLimit full(256);
        window->onAppDeactivate();
        window->onAppDeactivate();
    }
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("メモの保存に失敗しました。\n")));
    EXPECT_EQ(boxes.shown[0].style, int(mb::OKOnly) | mb::Exclamation);
    EXPECT_EQ(window->memoPane()->memoText()->toPlainText().size(), 3000);

    window->onAppDeactivate();
    EXPECT_TRUE(testsupport::readFile(folder + QStringLiteral("/scrivlet.txt"))
                    .contains(QByteArray(3000, 'm')));
    EXPECT_EQ(boxes.shown.size(), 1);
}

TEST_F(MainWindow, DeclinedExitKeepsEverythingAndAcceptedExitSavesHistoryAndKeys) {
    writeSettings("[MRU]\r\n2=second\r\n1=first\r\n");
    start();
    EXPECT_EQ(window->history().MRUList(),
              (QStringList{QStringLiteral("second"), QStringLiteral("first")}));
    EXPECT_TRUE(window->inputLine()->currentText().isEmpty());

    boxes.answers = {mb::No};
    EXPECT_TRUE(window->ExitApp());
    EXPECT_FALSE(window->isUnloaded());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("常駐解除します。\nよろしいですか？"));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Scrivlet Ver.1.73"));
    EXPECT_EQ(boxes.shown[0].style, int(mb::YesNo) | mb::DefaultButton2 | mb::Exclamation);

    QSignalSpy unloaded(window.get(), &frmMemo::unloaded);
    boxes.answers = {mb::Yes};
    EXPECT_TRUE(window->QuitApp());
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(window->isVisible());

    const QByteArray ini = settingsOnDisk();
    EXPECT_TRUE(ini.contains("[MRU]\r\n1=second\r\n2=first\r\n")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Execute=Enter\r\n"));
    EXPECT_TRUE(ini.contains("MovePrevMemo=Ctrl+Up,Ctrl+K\r\n"));
    EXPECT_TRUE(ini.contains("ExecuteMemoLine=F9\r\n"));
}

TEST_F(MainWindow, TypingCompletesFromTheHistory) {
    writeSettings("[MRU]\r\n1=notepad\r\n2=notes\r\n");
    start();
    QComboBox* line = window->inputLine();
    QTest::keyClicks(line, QStringLiteral("no"));
    EXPECT_EQ(line->currentText(), QStringLiteral("note"));
    EXPECT_EQ(line->lineEdit()->selectedText(), QStringLiteral("te"));
    line->lineEdit()->end(false);
    QTest::keyClicks(line, QStringLiteral("p"));
    EXPECT_EQ(line->currentText(), QStringLiteral("notepad"));
}

TEST_F(MainWindow, NoConfirmationWhenUnresidentInfoIsOff) {
    writeSettings("[Options]\r\nUnresidentInfo=False\r\n");
    start();
    EXPECT_TRUE(window->QuitApp());
    EXPECT_TRUE(window->isUnloaded());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindow, FailedHistorySaveIsReportedAndTheProgramStillEnds) {
    writeSettings("[Options]\r\nUnresidentInfo=False\r\n[MRU]\r\n1=" + QByteArray(4000, 'x') +
                  "\r\n");
    start();
    // Another program shortens the history meanwhile, so ours really has to be written.
    writeSettings("[Options]\r\nUnresidentInfo=False\r\n[MRU]\r\n1=y\r\n");
    QSignalSpy unloaded(window.get(), &frmMemo::unloaded);
    {
        testsupport::FileSizeLimit full(64);
        window->QuitApp();
    }
    EXPECT_EQ(unloaded.count(), 1);
    ASSERT_FALSE(boxes.shown.isEmpty());
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("MRUの保存に失敗しました。"));
    EXPECT_EQ(boxes.shown[0].style, int(mb::OKOnly));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Scrivlet"));
}

TEST_F(MainWindow, CloseRequestUnloadsWithoutAsking) {
    start();
    QSignalSpy unloaded(window.get(), &frmMemo::unloaded);
    window->close();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(settingsOnDisk().contains("[KeyMapping]"));
}

TEST_F(MainWindow, MenuCaptionsCarryTheBoundKeys) {
    start();
    QMenu* menu = window->popupMenu();
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions, (QStringList{QStringLiteral("表示(&V)"), QStringLiteral("-"),
                                     QStringLiteral("ログを表示(&L)\tCtrl+L"), QStringLiteral("-"),
                                     QStringLiteral("設定(&O)\tCtrl+O"), QStringLiteral("-"),
                                     QStringLiteral("ヘルプ(&H)"), QStringLiteral("-"),
                                     QStringLiteral("終了(&X)\tAlt+F4")}));
    QMenu* help = menu->actions()[6]->menu();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->actions()[0]->text(), QStringLiteral("ヘルプ(&H)\tF1"));
    EXPECT_EQ(help->actions()[2]->text(), QStringLiteral("バージョン情報(&A)..."));
    EXPECT_EQ(menu->defaultAction(), window->menuView());

    EXPECT_FALSE(window->ShowMenu());
    EXPECT_EQ(window->menuView()->text(), QStringLiteral("閉じる(&E)"));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(MainWindow, MenuViewItemHidesOrShows) {
    start();
    window->ShowMenu();
    window->popupMenu()->hide();
    window->menuView()->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, DeletingAMemoAsksFirst) {
    start();
    window->CreateNewMemo();
    ASSERT_EQ(window->memoPane()->MemoCount(), 2);

    boxes.answers = {mb::No};
    EXPECT_TRUE(window->DeleteActiveMemo());
    EXPECT_EQ(window->memoPane()->MemoCount(), 2);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("このメモを削除します。よろしいですか？"));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(boxes.shown[0].style, int(mb::YesNo) | mb::DefaultButton2);

    boxes.answers = {mb::Yes};
    window->DeleteActiveMemo();
    EXPECT_EQ(window->memoPane()->MemoCount(), 1);
}

TEST_F(MainWindow, BoxesAppearWithTheWindowOutOfTheTopmostBand) {
    writeSettings("[Options]\r\nTopMost=True\r\n");
    start();
    EXPECT_TRUE(platform::isTopMost(window.get()));
    QList<bool> topMostDuringBox;
    boxes.onBox = [&](const MessageBoxRequest&) {
        topMostDuringBox << platform::isTopMost(window.get());
    };
    boxes.answers = {mb::No, mb::OK, mb::No};
    window->QuitApp();
    window->ShowVersionInfo();
    window->CreateNewMemo();
    window->DeleteActiveMemo();
    EXPECT_EQ(topMostDuringBox, (QList<bool>{false, false, false}));
    EXPECT_TRUE(platform::isTopMost(window.get()));
    EXPECT_FALSE(window->isUnloaded());
}

TEST_F(MainWindow, HelpOpensReadMeBesideTheProgram) {
    testsupport::writeFile(folder + QStringLiteral("/ReadMe.txt"), "help");
    start();
    EXPECT_TRUE(window->ShowHelp());
    EXPECT_EQ(opened,
              QStringList{QLatin1Char('"') + platform::AppPath() + QStringLiteral("ReadMe.txt\"")});
    EXPECT_FALSE(window->isVisible());

    // Without one in the program folder (an installed program keeps its settings in the user's
    // folder), the executable's folder.
    QFile::remove(folder + QStringLiteral("/ReadMe.txt"));
    opened.clear();
    window->ShowHelp();
    EXPECT_EQ(opened, QStringList{QLatin1Char('"') + QCoreApplication::applicationDirPath() +
                                  QStringLiteral("/ReadMe.txt\"")});

    window->ShowForm();
    shellSucceeds = false;
    EXPECT_FALSE(window->ShowHelp());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, OpenedMemoLineHidesWhenHideAfterRunIsOn) {
    start();
    window->ShowToggleMemo();
    window->memoPane()->memoText()->setPlainText(QStringLiteral("prog"));
    EXPECT_TRUE(window->ExecuteMemoLine());
    EXPECT_EQ(opened, QStringList{QStringLiteral("prog")});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, OpenedMemoLineKeepsTheWindowWhenHideAfterRunIsOff) {
    writeSettings("[Options]\r\nHideAfterRun=False\r\n");
    start();
    window->ShowToggleMemo();
    window->memoPane()->memoText()->setPlainText(QStringLiteral("prog"));
    EXPECT_TRUE(window->ExecuteMemoLine());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, InputMethodStartsInDirectInputOnlyWhenIMEStateIsOff) {
    struct Row {
        const char* settings;
        bool preferLatin;
    };
    const Row rows[] = {{"[Options]\r\nIMEState=True\r\n", false},
                        {"[Options]\r\nIMEState=False\r\n", true}};
    for (const Row& row : rows) {
        writeSettings(row.settings);
        start();
        const auto hints =
            window->inputLine()->inputMethodQuery(Qt::ImHints).value<Qt::InputMethodHints>();
        EXPECT_EQ(bool(hints & Qt::ImhPreferLatin), row.preferLatin) << row.settings;
        window->Unload();
    }
}

TEST_F(MainWindow, PositionIsSavedOnDeactivation) {
    start();
    window->move(150, 90);
    window->onAppDeactivate();
    EXPECT_FALSE(window->titleStrip()->activeLook());
    config::CIniFile check;
    ASSERT_TRUE(check.Load(folder + QStringLiteral("/scrivlet.ini")));
    check.setNowSection(QStringLiteral("Position"));
    EXPECT_EQ(check.Data(QStringLiteral("Left")),
              QString::number(platform::pixelsToTwipsX(window.get(), 150)));
    EXPECT_EQ(check.Data(QStringLiteral("Top")),
              QString::number(platform::pixelsToTwipsY(window.get(), 90)));
    EXPECT_EQ(check.Data(QStringLiteral("Width")), QStringLiteral("3000"));
    const QColor inactive = window->titleStrip()->colour();
    window->onAppActivate();
    EXPECT_TRUE(window->titleStrip()->activeLook());
    EXPECT_EQ(window->titleStrip()->colour(),
              window->titleStrip()->palette().color(QPalette::Active, QPalette::Highlight));
    EXPECT_NE(window->titleStrip()->colour(), inactive);
}

TEST_F(MainWindow, BrokenScriptFileIsReportedOnceAndStartUpGoesOn) {
    testsupport::writeFile(folder + QStringLiteral("/scrivlet.vbs"), "Function (\r\n");
    start();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Scrivlet.vbsファイルのロードに失敗しました。"));
    EXPECT_EQ(boxes.shown[0].style, int(mb::OKOnly) | mb::Exclamation);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Scrivlet Ver.1.73"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, DroppedFileIsAppendedQuotedAndTheWindowShows) {
    start();
    window->HideForm();
    window->inputLine()->setEditText(QStringLiteral("open"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.txt")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/c.txt"))});
    QLineEdit* line = window->inputLine()->lineEdit();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(line, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(line, &drop);
    EXPECT_EQ(window->inputLine()->currentText(), QStringLiteral("open \"/tmp/a b.txt\""));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, StartUpTrayLeavesTheWindowHidden) {
    start({QStringLiteral("/tray")});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(settingsOnDisk().contains("StartUpTray=True"));
}

TEST_F(MainWindow, LaterStartShowsTheWindow) {
    start({QStringLiteral("/tray")});
    auto* guard = new CPrevInstance(folder + QStringLiteral("/instance.sock"), nullptr);
    window->setPrevInstance(guard);
    emit guard->RunAnotherInstance(0x1234);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, SettingsDialogRoundTripReloadsAChangedMemoFile) {
    start();
    const QString other = folder + QStringLiteral("/other.txt");
    testsupport::writeFile(other, "Title:a\r\nLast-Modified:\r\nCursorPos:0\r\n\r\nfrom a\r\n.\r\n"
                                  "Title:b\r\nLast-Modified:\r\nCursorPos:0\r\n\r\nfrom b");
    window->CreateNewMemo(); // the old file's memo 2 is current
    bool trayReadyDuringDialog = true;
    window->setSettingsDialog([&](frmMemo& w, int tab) {
        EXPECT_EQ(tab, 0);
        trayReadyDuringDialog = w.trayReady();
        config::options().MemoFileName = other;
        config::options().MRU = 1;
    });
    EXPECT_TRUE(window->ShowProperty());
    EXPECT_FALSE(trayReadyDuringDialog);
    EXPECT_TRUE(window->trayReady());
    EXPECT_EQ(window->memos().list().FileName(), other);
    EXPECT_EQ(window->memoPane()->MemoIndex(), 1);
    EXPECT_EQ(window->memoPane()->memoText()->toPlainText(), QStringLiteral("from a"));
    EXPECT_EQ(window->history().Max(), 1);
}

TEST_F(MainWindow, TitleStripHidesOnDoubleClickAndOffersTheMenuOnRightClick) {
    start();
    TitleStrip* strip = window->titleStrip();
    EXPECT_EQ(strip->width(), platform::twipsToPixelsX(window.get(), 150));
    QTest::mouseClick(strip, Qt::RightButton);
    EXPECT_TRUE(window->popupMenu()->isVisible());
    EXPECT_EQ(window->menuView()->text(), QStringLiteral("閉じる(&E)"));
    window->popupMenu()->hide();
    QTest::mouseDClick(strip, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, FocusInTheMemoPaneOpensIt) {
    start();
    window->memoPane()->memoText()->setFocus();
    EXPECT_EQ(window->MemoView(), 1);
    EXPECT_EQ(window->height(), comboHeight() + window->memoPane()->height());
}

TEST_F(MainWindow, MemoNavigationOpensThePane) {
    start();
    window->CreateNewMemo();
    window->ShowToggleMemo(); // collapse
    EXPECT_EQ(window->MemoView(), 0);
    EXPECT_TRUE(window->MovePrevMemo());
    EXPECT_EQ(window->MemoView(), 1);
    EXPECT_FALSE(window->MovePrevMemo());
    EXPECT_TRUE(window->MoveNextMemo());
    EXPECT_TRUE(window->DropdownTitle());
    window->memoPane()->titleList()->hidePopup();
}

// ---- desktop: hotkey, tray, menu keys --------------------------------------------------------

constexpr int kWindowsZ = 90 * 65536 + 8;

TEST_F(MainWindow, TheHotKeyCallsTheWindowUpAndSendsItAwayAgain) {
    start({QStringLiteral("/tray")});
    EXPECT_EQ(hotKeys.held, QList<int>{kWindowsZ});
    ASSERT_FALSE(window->isVisible());
    desktop::SendWindowMessage(window.get(), desktop::msg::HotKey, kWindowsZ, kWindowsZ);
    ASSERT_TRUE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), window->inputLine());
    desktop::SendWindowMessage(window.get(), desktop::msg::HotKey, kWindowsZ, kWindowsZ);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, ARefusedHotKeyIsReportedAndAHiddenStartStaysReachable) {
    const struct {
        const char* name;
        QString unavailable;
        QString text;
    } rows[] = {
        {"taken by another program", QString(),
         QStringLiteral("ホットキーの登録に失敗しました。\n\nホットキー: Windows + Z\n\n"
                        "他のプログラムが同じキーを使っている可能性があります。\n"
                        "別のキーは「設定」の「全般」タブの「ホットキー」で選べます。")},
        {"no X11 (Wayland)", QStringLiteral("ショートカットに scrivlet を割り当ててください。"),
         QStringLiteral("ホットキーの登録に失敗しました。\n\nホットキー: Windows + Z\n\n"
                        "ショートカットに scrivlet を割り当ててください。")},
    };
    for (const auto& row : rows) {
        boxes.shown.clear();
        hotKeys.refused = {kWindowsZ};
        hotKeys.unavailable = row.unavailable;
        // /tray with neither a hotkey nor a tray (offscreen has none): shown all the same.
        start({QStringLiteral("/tray")});
        ASSERT_EQ(boxes.shown.size(), 1) << row.name;
        EXPECT_EQ(boxes.shown[0].text, row.text) << row.name;
        EXPECT_EQ(boxes.shown[0].style, int(mb::OKOnly) | mb::Exclamation) << row.name;
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Scrivlet")) << row.name;
        EXPECT_TRUE(window->isVisible()) << row.name;
        window->Unload();
    }
}

TEST_F(MainWindow, NoHotKeySwitchNeitherRegistersNorWarns) {
    start({QStringLiteral("/nohotkey")});
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, TheSettingsDialogRunsWithoutHotKeyAndRegistersTheNewOneAfter) {
    start();
    QList<int> heldDuringDialog{-1};
    window->setSettingsDialog([&](frmMemo&, int) {
        heldDuringDialog = hotKeys.held;
        config::options().HotKey = 65; // the dialog's OK writes the option variables
        config::options().HotKeyMask = 3;
    });
    window->ShowProperty();
    EXPECT_TRUE(heldDuringDialog.isEmpty());
    EXPECT_EQ(hotKeys.held, QList<int>{65 * 65536 + 3});
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindow, TrayClicksToggleByTheForegroundSeenWhenThePointerCame) {
    start();
    ASSERT_TRUE(window->tray()->Visible());
    EXPECT_EQ(window->tray()->TooltipText(), QStringLiteral("Scrivlet Ver.1.73"));
    // The program's own icon in the sizes windows show, 16 to 64 px, shared with the window.
    EXPECT_EQ(window->tray()->Icon().availableSizes().size(), 6);
    EXPECT_EQ(window->windowIcon().cacheKey(), window->tray()->Icon().cacheKey());
    auto tray = [this](std::initializer_list<int> messages) {
        for (const int message : messages)
            desktop::SendWindowMessage(window.get(), desktop::msg::TrayCallback, 0, message);
    };
    auto menuCaption = [this] {
        EXPECT_TRUE(window->popupMenu()->isVisible());
        EXPECT_EQ(window->popupMenu()->defaultAction(), window->menuView());
        window->popupMenu()->hide();
        return window->menuView()->text();
    };
    tray({512, 516, 517}); // right click while the window is in front
    EXPECT_EQ(menuCaption(), QStringLiteral("閉じる(&E)"));
    tray({512, 513, 514}); // left click: hides
    EXPECT_FALSE(window->isVisible());
    tray({513, 514}); // no pointer move since: still "was in front", and hidden stays hidden
    EXPECT_FALSE(window->isVisible());
    tray({512, 516, 517});
    EXPECT_EQ(menuCaption(), QStringLiteral("表示(&V)"));
    tray({512, 513, 514});
    EXPECT_TRUE(window->isVisible());

    // While the settings dialog is open: no tray menu, and a click only brings the window up.
    window->setSettingsDialog([&](frmMemo&, int) {
        tray({512, 516, 517});
        EXPECT_FALSE(window->popupMenu()->isVisible());
        tray({513, 514});
        EXPECT_TRUE(window->isVisible());
    });
    window->ShowProperty();
}

TEST_F(MainWindow, NoTrayShowsNoIcon) {
    writeSettings("[Options]\r\nNoTray=True\r\n");
    start();
    EXPECT_FALSE(window->tray()->Visible());
}

TEST_F(MainWindow, MenuKeyAndShiftF10OpenTheWindowMenuFromBothPanes) {
    start();
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool memoPane;
    } rows[] = {
        {"menu key, input line", Qt::Key_Menu, Qt::NoModifier, false},
        {"Shift+F10, input line", Qt::Key_F10, Qt::ShiftModifier, false},
        {"menu key, memo pane", Qt::Key_Menu, Qt::NoModifier, true},
        {"Shift+F10, memo pane", Qt::Key_F10, Qt::ShiftModifier, true},
    };
    for (const auto& row : rows) {
        QWidget* target = row.memoPane ? static_cast<QWidget*>(window->memoPane()->memoText())
                                       : window->inputLine();
        target->setFocus();
        QTest::keyClick(target, row.key, row.modifiers);
        EXPECT_TRUE(window->popupMenu()->isVisible()) << row.name;
        EXPECT_EQ(window->menuView()->text(), QStringLiteral("閉じる(&E)")) << row.name;
        window->popupMenu()->hide();
    }
    // Plain F10 is no menu key.
    window->inputLine()->setFocus();
    QTest::keyClick(window->inputLine(), Qt::Key_F10);
    EXPECT_FALSE(window->popupMenu()->isVisible());
}

} // namespace
