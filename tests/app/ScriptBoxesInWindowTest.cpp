// Boxes that scripts show from the window's input line.
#include "app/frmMemo.h"

#include "FakeHotKeys.h"
#include "ScriptedBoxes.h"
#include "TestEnvironment.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/gui/WindowControl.h"
#include "script/widgets/InputBoxDialog.h"
#include "vbscript/objects/HostServices.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using platform::MessageBoxRequest;
namespace mb = platform::mb;

class ScriptBoxesInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::freshFolder(QStringLiteral("program"));
        platform::setProgramIdentity(folder, QStringLiteral("scrivlet"));
        boxes.onBox = [this](const MessageBoxRequest&) {
            topMostDuringBox << (window && platform::isTopMost(window.get()));
        };
    }

    void TearDown() override {
        window.reset();
        platform::setProgramIdentity(QString(), QString());
    }

    void start() {
        window = std::make_unique<frmMemo>();
        window->Initialize({});
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QString run(const QString& line) {
        window->inputLine()->setEditText(line);
        QTest::keyClick(window->inputLine(), Qt::Key_Return);
        return window->inputLine()->currentText();
    }

    QString folder;
    std::unique_ptr<frmMemo> window;
    testsupport::ScriptedBoxes boxes;
    QList<bool> topMostDuringBox;
    FakeHotKeys hotKeys;
};

TEST_F(ScriptBoxesInWindow, MsgBoxFromTheInputLineShowsWithTheProgramTitleOutOfTheTopmostBand) {
    testsupport::writeFile(folder + QStringLiteral("/scrivlet.ini"),
                           "[Options]\r\nTopMost=True\r\n");
    start();
    ASSERT_TRUE(platform::isTopMost(window.get()));

    boxes.answers = {mb::Yes};
    EXPECT_EQ(run(QStringLiteral("MsgBox(\"消しますか\", vbYesNo)")), QStringLiteral("6"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("消しますか"));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Scrivlet Ver.1.73"));
    EXPECT_EQ(boxes.shown[0].style, int(mb::YesNo));
    EXPECT_EQ(topMostDuringBox, QList<bool>{false});
    EXPECT_TRUE(platform::isTopMost(window.get()));
}

TEST_F(ScriptBoxesInWindow, InputBoxAnswerIsWrittenBackToTheInputLine) {
    start();
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<script::InputBoxDialog*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no input box came up";
            return;
        }
        box->lineEdit()->insert(QStringLiteral("花子"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(run(QStringLiteral("\"Hello, \" & InputBox(\"Name?\")")),
              QStringLiteral("Hello, 花子"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(ScriptBoxesInWindow, ScriptFileMayShowABoxWhileItLoads) {
    testsupport::writeFile(folder + QStringLiteral("/scrivlet.vbs"),
                           "MsgBox \"loaded\", vbInformation\r\n");
    start();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("loaded"));
    EXPECT_EQ(boxes.shown[0].style, int(mb::Information));
}

TEST_F(ScriptBoxesInWindow, BrokenScriptFileLeavesTheProgramsObjectsToScripts) {
    testsupport::writeFile(folder + QStringLiteral("/scrivlet.vbs"), "Function (\r\n");
    start();
    ASSERT_EQ(boxes.shown.size(), 1); // the load failure
    EXPECT_EQ(run(QStringLiteral("VBA.Format(1.5, \"0.00\")")), QStringLiteral("1.50"));
    EXPECT_EQ(run(QStringLiteral("TypeName(Clipboard)")), QStringLiteral("Clipboard"));
}

TEST_F(ScriptBoxesInWindow, ServicesAreInstalledFromStartUpToUnload) {
    ASSERT_EQ(vbscript::hostServices(), nullptr);
    start();
    EXPECT_NE(vbscript::hostServices(), nullptr);
    window->Unload();
    EXPECT_EQ(vbscript::hostServices(), nullptr);
}

} // namespace
