#include "script/widgets/WindowHostServices.h"

#include "platform/MessageBox.h"
#include "platform/ShellExecute.h"
#include "script/CEval.h"
#include "script/ConsoleHostServices.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

namespace {

using platform::MessageBoxRequest;
namespace mb = platform::mb;

const QString kProgramTitle = QStringLiteral("Scrivlet Ver.1.73");

// Scripts run through the evaluator with the window's services installed; every box, input box
// and shell request is scripted and recorded.
class ScriptHostServices : public ::testing::Test {
protected:
    void SetUp() override {
        previousBox = platform::setMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes << r;
            boxesInsideGuard << insideGuard;
            if (onBox)
                return onBox(r);
            if (answers.empty())
                return platform::defaultAnswer(r.style);
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
        previousShell = platform::setShellHandler([this](const platform::ShellRequest& r) {
            shellRequests << r;
            return shellSucceeds;
        });
        services.setBoxGuard([this](const std::function<void()>& box) {
            ++guardRuns;
            insideGuard = true;
            box();
            insideGuard = false;
        });
        services.setInputDialog([this](const script::InputBoxRequest& r) {
            inputRequests << r;
            return inputAnswer;
        });
    }

    void TearDown() override {
        platform::setMessageBoxHandler(previousBox);
        platform::setShellHandler(previousShell);
    }

    // The value of an expression, or "error N" when it failed.
    QString eval(const QString& expression) {
        long number = 0;
        evaluator.setErrorHandler([&number](long n, const QString&) { number = n; });
        const bool ran = evaluator.RunCode(expression, true);
        evaluator.setErrorHandler({});
        return ran ? evaluator.Result() : QStringLiteral("error %1").arg(number);
    }

    script::WindowHostServices services{kProgramTitle};
    script::ScopedHostServices installed{&services};
    script::CEval evaluator;

    QList<MessageBoxRequest> boxes;
    QList<bool> boxesInsideGuard;
    std::deque<int> answers;
    std::function<int(const MessageBoxRequest&)> onBox;
    QList<platform::ShellRequest> shellRequests;
    bool shellSucceeds = true;
    QList<script::InputBoxRequest> inputRequests;
    std::optional<QString> inputAnswer;
    int guardRuns = 0;
    bool insideGuard = false;
    platform::MessageBoxHandler previousBox;
    platform::ShellHandler previousShell;
};

TEST_F(ScriptHostServices, BoxesCarryTextStyleAndTitleAndAnswerWithTheButtonPressed) {
    struct Row {
        const char* expression;
        int answer;
        const char* text;
        int style;
        QString title;
        const char* result;
    };
    const Row rows[] = {
        {"MsgBox(\"hi\")", mb::OK, "hi", 0, kProgramTitle, "1"},
        {"MsgBox(\"sure?\", vbYesNo + vbQuestion + vbDefaultButton2, \"確認\")", mb::No, "sure?",
         int(mb::YesNo) | mb::Question | mb::DefaultButton2, QStringLiteral("確認"), "7"},
        // The modality and foreground bits are no part of the box itself.
        {"MsgBox(\"x\", vbOKCancel + vbSystemModal + vbMsgBoxSetForeground)", mb::Cancel, "x",
         mb::OKCancel, kProgramTitle, "2"},
        {"MsgBox(\"a\" & vbCrLf & \"b\", vbCritical, \"\")", mb::OK, "a\r\nb", mb::Critical,
         kProgramTitle, "1"},
        {"CreateObject(\"WScript.Shell\").Popup(\"p\", 0, \"T\", vbInformation + vbYesNoCancel)",
         mb::Yes, "p", int(mb::Information) | mb::YesNoCancel, QStringLiteral("T"), "6"},
        {"CreateObject(\"WScript.Shell\").Popup(\"no title\")", mb::OK, "no title", 0,
         kProgramTitle, "1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expression);
        boxes.clear();
        answers = {row.answer};
        EXPECT_EQ(eval(QString::fromUtf8(row.expression)), QString::fromUtf8(row.result));
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].text, QString::fromUtf8(row.text));
        EXPECT_EQ(boxes[0].style, row.style);
        EXPECT_EQ(boxes[0].title, row.title);
    }
}

TEST_F(ScriptHostServices, EveryBoxRunsInsideTheWindowsGuard) {
    inputAnswer = QStringLiteral("x");
    eval(QStringLiteral("MsgBox(\"one\")"));
    eval(QStringLiteral("CreateObject(\"WScript.Shell\").Popup(\"two\", 5)"));
    eval(QStringLiteral("InputBox(\"three\")"));
    EXPECT_EQ(guardRuns, 3);
    EXPECT_EQ(boxesInsideGuard, (QList<bool>{true, true}));
    EXPECT_FALSE(insideGuard);
}

TEST_F(ScriptHostServices, PopupThatTimesOutClosesItsBoxAndAnswersMinusOne) {
    // The box stands in for the real dialog: it waits until someone closes it.
    onBox = [](const MessageBoxRequest&) {
        QDialog box;
        box.setModal(true);
        return box.exec() == QDialog::Accepted ? int(mb::OK) : int(mb::Cancel);
    };
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(eval(QStringLiteral("CreateObject(\"WScript.Shell\").Popup(\"wait\", 1)")),
              QStringLiteral("-1"));
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ScriptHostServices, PopupAnsweredInTimeKeepsTheAnswerAndLeavesAnOuterBoxAlone) {
    QDialog outer;
    outer.setModal(true);
    outer.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &outer);
    answers = {mb::Yes};
    EXPECT_EQ(eval(QStringLiteral("CreateObject(\"WScript.Shell\").Popup(\"q\", 1, \"\", 4)")),
              QStringLiteral("6"));
    QTest::qWait(1200); // past the wait: nothing is closed late
    EXPECT_TRUE(outer.isVisible());
}

TEST_F(ScriptHostServices, InputBoxAsksWithPromptTitleAndDefaultAndCancelGivesEmpty) {
    inputAnswer = QStringLiteral("Taro");
    EXPECT_EQ(eval(QStringLiteral("InputBox(\"Name?\", , \"guest\")")), QStringLiteral("Taro"));
    ASSERT_EQ(inputRequests.size(), 1);
    EXPECT_EQ(inputRequests[0].prompt, QStringLiteral("Name?"));
    EXPECT_EQ(inputRequests[0].title, kProgramTitle);
    EXPECT_EQ(inputRequests[0].defaultText, QStringLiteral("guest"));

    inputAnswer = QString();
    EXPECT_EQ(eval(QStringLiteral("IsEmpty(InputBox(\"q\", \"名前\"))")), QStringLiteral("False"));
    EXPECT_EQ(inputRequests.last().title, QStringLiteral("名前"));

    inputAnswer.reset();
    EXPECT_EQ(eval(QStringLiteral("IsEmpty(InputBox(\"q\"))")), QStringLiteral("True"));
    EXPECT_FALSE(inputRequests.last().xTwips || inputRequests.last().yTwips);

    // The position the script gives reaches the dialog.
    eval(QStringLiteral("InputBox(\"q\", , , 1440, 720)"));
    EXPECT_EQ(inputRequests.last().xTwips, 1440);
    EXPECT_EQ(inputRequests.last().yTwips, 720);
}

TEST_F(ScriptHostServices, RunOpensThroughTheShellAndAFailedStartRaises53) {
    EXPECT_EQ(eval(QStringLiteral(
                  "CreateObject(\"WScript.Shell\").Run(\"\"\"/opt/my tool\"\" -v a.txt\")")),
              QStringLiteral("0"));
    ASSERT_EQ(shellRequests.size(), 1);
    EXPECT_EQ(shellRequests[0].verb, QStringLiteral("open"));
    EXPECT_EQ(shellRequests[0].file, QStringLiteral("/opt/my tool"));
    EXPECT_EQ(shellRequests[0].parameters, QStringLiteral("-v a.txt"));

    shellSucceeds = false;
    EXPECT_EQ(eval(QStringLiteral("CreateObject(\"WScript.Shell\").Run(\"nothing-here\")")),
              QStringLiteral("error 53"));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST(ScriptHostServicesInstall, WithoutServicesBoxesFailWith17) {
    ASSERT_EQ(vbscript::hostServices(), nullptr);
    script::CEval evaluator;
    long number = 0;
    evaluator.setErrorHandler([&number](long n, const QString&) { number = n; });
    EXPECT_FALSE(evaluator.RunCode(QStringLiteral("MsgBox(\"hi\")"), true));
    EXPECT_EQ(number, 17);
}

// ---- the real input box -----------------------------------------------------------------------

// Runs `act` on the input box once it is up, then returns what the box gave.
std::optional<QString> answerInputBox(const script::InputBoxRequest& request,
                                      const std::function<void(script::InputBoxDialog&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<script::InputBoxDialog*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no input box came up";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        act(*box);
    });
    return script::runInputBoxDialog(request);
}

TEST(InputBoxDialog, ShowsPromptTitleAndSelectedDefault) {
    script::InputBoxRequest request{QStringLiteral("line 1\r\nline 2\rline 3 <b>not bold</b>"),
                                    QStringLiteral("題名"),
                                    QStringLiteral("default"),
                                    {},
                                    {}};
    script::InputBoxDialog box(request);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("題名"));
    EXPECT_EQ(box.promptLabel()->text(), QStringLiteral("line 1\nline 2\nline 3 <b>not bold</b>"));
    EXPECT_EQ(box.promptLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(box.lineEdit()->text(), QStringLiteral("default"));
    EXPECT_EQ(box.lineEdit()->selectedText(), QStringLiteral("default"));
}

TEST(InputBoxDialog, EnterGivesTheTextAndEscCancels) {
    const script::InputBoxRequest request{
        QStringLiteral("Name?"), QStringLiteral("t"), QStringLiteral("old"), {}, {}};
    const auto typed = answerInputBox(request, [](script::InputBoxDialog& box) {
        box.lineEdit()->insert(QStringLiteral("新しい")); // as the input method commits it
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(typed, QStringLiteral("新しい"));

    const auto kept = answerInputBox(request, [](script::InputBoxDialog& box) {
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(kept, QStringLiteral("old"));

    const auto cancelled = answerInputBox(request, [](script::InputBoxDialog& box) {
        QTest::keyClicks(box.lineEdit(), QStringLiteral("x"));
        QTest::keyClick(box.lineEdit(), Qt::Key_Escape);
    });
    EXPECT_EQ(cancelled, std::nullopt);
}

TEST(InputBoxDialog, PlacementFollowsTwipsAndStaysOnTheScreen) {
    const QRect screen(0, 0, 1000, 600);
    const QSize box(200, 100);
    struct Row {
        std::optional<int> x, y;
        QPoint expected;
    };
    const Row rows[] = {
        {{}, {}, {400, 166}},            // centred, a third of the way down
        {1440, 720, {96, 48}},           // one inch and half an inch at 96 dots per inch
        {0, {}, {0, 166}},               // only one coordinate given
        {15000 * 10, 90000, {800, 500}}, // off the screen: pulled back in
        {-2000, -5, {0, 0}},
    };
    for (const Row& row : rows) {
        const script::InputBoxRequest request{{}, {}, {}, row.x, row.y};
        EXPECT_EQ(script::InputBoxDialog::placement(request, box, screen, 96, 96), row.expected)
            << row.x.value_or(-1) << "," << row.y.value_or(-1);
    }
    // A screen that does not start at the origin (a second monitor) is measured from its corner.
    const script::InputBoxRequest request{{}, {}, {}, 1440, 1440};
    EXPECT_EQ(script::InputBoxDialog::placement(request, box, QRect(1000, 100, 800, 600), 96, 96),
              QPoint(1096, 196));
}

} // namespace
