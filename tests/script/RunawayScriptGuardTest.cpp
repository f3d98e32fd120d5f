// A script that runs too long, stopped by the user with the real engine behind the evaluator.
#include "script/widgets/RunawayScriptGuard.h"
#include "QStringPrinter.h"
#include "TestEnvironment.h"
#include "script/ClipboardAccess.h"
#include "script/ProgramEvaluator.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

const char kScript[] = "Function Forever()\r\n"
                       "    On Error Resume Next\r\n"
                       "    Do\r\n"
                       "        n = n + 1\r\n"
                       "    Loop\r\n"
                       "End Function\r\n"
                       "Function Briefly()\r\n"
                       "    For i = 1 To 20000\r\n"
                       "        n = n + 1\r\n"
                       "    Next\r\n"
                       "    Briefly = n\r\n"
                       "End Function\r\n";

class RunawayScript : public ::testing::Test {
protected:
    void SetUp() override {
        const QString file =
            testsupport::freshFolder(QStringLiteral("runaway")) + QStringLiteral("/user.vbs");
        testsupport::writeFile(file, kScript);
        eval = script::createProgramEvaluator(file, clipboard, nullptr, &guard);
        ASSERT_EQ(eval->AddCodeFile(), file);
        eval->setErrorHandler([this](long number, const QString&) { errors << number; });
        window.show();
    }

    // Runs `code` while `user` acts on the stop box once it shows; how long the run took.
    qint64 runWhile(const QString& code, const std::function<void(QDialog*)>& user) {
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QDialog* box = guard.stopBox(); box && box->isVisible()) {
                boxShownAfter = clock.elapsed();
                poll.stop();
                user(box);
            }
        });
        poll.start();
        clock.start();
        ok = eval->RunCode(code, true);
        return clock.elapsed();
    }

    script::RunawayScriptGuard guard{QStringLiteral("Scrivlet Ver.1.73")};
    script::MemoryClipboard clipboard;
    std::unique_ptr<script::CEval> eval;
    QWidget window; // the program's window, which must take no input meanwhile
    QList<long> errors;
    QElapsedTimer clock;
    qint64 boxShownAfter = -1;
    bool ok = true;
};

// 中止, Esc in the box and Esc in the program's window each stop the run as error 18, about a
// second after it began; the evaluator works on afterwards and the box is gone.
TEST_F(RunawayScript, StoppedByTheUser) {
    struct Row {
        const char* name;
        std::function<void(QDialog*)> user;
    } rows[] = {
        {"中止",
         [](QDialog* box) {
             QPushButton* stop = box->findChild<QPushButton*>();
             ASSERT_NE(stop, nullptr);
             EXPECT_EQ(stop->text(), QStringLiteral("中止"));
             stop->click();
         }},
        {"Esc in the box",
         [](QDialog* box) {
             QApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
         }},
        {"Esc in the window",
         [this](QDialog*) {
             QApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
         }},
    };
    for (const Row& row : rows) {
        errors.clear();
        boxShownAfter = -1;
        const qint64 took = runWhile(QStringLiteral("Forever()"), row.user);
        EXPECT_FALSE(ok) << row.name;
        EXPECT_EQ(errors, QList<long>{18}) << row.name;
        EXPECT_GE(boxShownAfter, script::RunawayScriptGuard::kPatienceMs) << row.name;
        EXPECT_LT(took, 10000) << row.name;
        EXPECT_EQ(guard.stopBox(), nullptr) << row.name;
        EXPECT_TRUE(eval->RunCode(QStringLiteral("1+1"), true)) << row.name;
        EXPECT_EQ(eval->Result(), QStringLiteral("2")) << row.name;
    }
}

// While the box is up, the program's window takes no keys or clicks: nothing the user does
// there can start another line in the middle of the run.
TEST_F(RunawayScript, TheWindowTakesNoInputMeanwhile) {
    int keysReachingTheWindow = 0;
    struct KeyCounter : QObject {
        int& count;
        explicit KeyCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress)
                ++count;
            return false;
        }
    } counter(keysReachingTheWindow);
    window.installEventFilter(&counter);
    runWhile(QStringLiteral("Forever()"), [this](QDialog* box) {
        QApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, {}));
        QTimer::singleShot(100, box, [box] { box->findChild<QPushButton*>()->click(); });
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(keysReachingTheWindow, 0);
}

// A run that ends within the second shows nothing.
TEST_F(RunawayScript, ShortRunShowsNoBox) {
    const qint64 took = runWhile(QStringLiteral("Briefly()"), [](QDialog*) {});
    ASSERT_LT(took, script::RunawayScriptGuard::kPatienceMs) << "too slow a machine to tell";
    EXPECT_TRUE(ok);
    EXPECT_EQ(eval->Result(), QStringLiteral("20000"));
    EXPECT_EQ(boxShownAfter, -1);
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace
