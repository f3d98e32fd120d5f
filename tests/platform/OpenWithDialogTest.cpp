#include "platform/gui/OpenWithDialog.h"
#include "DesktopSandbox.h"
#include "TestEnvironment.h"
#include "platform/ShellExecute.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

using platform::OpenWithDialog;

namespace {

class OpenWithDialogTest : public testsupport::SandboxedDesktopTest {
protected:
    void SetUp() override {
        SandboxedDesktopTest::SetUp();
        file = testsupport::freshFolder(QStringLiteral("doc")) + QStringLiteral("/note.txt");
        testsupport::writeFile(file, "hello\n");
    }
    QString file;
};

TEST_F(OpenWithDialogTest, ListsTheTypesApplicationsFirst) {
    OpenWithDialog dialog(file);
    const QStringList ids = dialog.applicationIds();
    ASSERT_GE(dialog.typeApplicationCount(), 1);
    EXPECT_EQ(ids.first().toStdString(), "scrivlet-test-text.desktop");
    // Everything else follows, once each.
    EXPECT_TRUE(ids.contains(QStringLiteral("scrivlet-test-url.desktop")));
    EXPECT_EQ(ids.count(QStringLiteral("scrivlet-test-text.desktop")), 1);
}

TEST_F(OpenWithDialogTest, ChosenApplicationOpensTheFile) {
    OpenWithDialog dialog(file);
    ASSERT_TRUE(dialog.selectApplication(QStringLiteral("scrivlet-test-text.desktop")));
    dialog.accept();
    EXPECT_TRUE(dialog.started());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto mark = desktop->waitForMark(QStringLiteral("text"));
    ASSERT_TRUE(mark.has_value());
    EXPECT_TRUE(mark->join(QString()).endsWith(QStringLiteral("note.txt")));
}

TEST_F(OpenWithDialogTest, OwnCommandOpensTheFile) {
    OpenWithDialog dialog(file);
    dialog.setCommand(desktop->binDir + QStringLiteral("/scrivlet-mark-prog typed"));
    dialog.accept();
    EXPECT_TRUE(dialog.started());
    const auto mark = desktop->waitForMark(QStringLiteral("typed"));
    ASSERT_TRUE(mark.has_value());
    EXPECT_TRUE(mark->join(QString()).endsWith(QStringLiteral("note.txt")));
}

TEST_F(OpenWithDialogTest, FailedStartKeepsTheDialogOpen) {
    OpenWithDialog dialog(file);
    dialog.show();
    dialog.setCommand(QStringLiteral("/nonexistent/scrivlet-program"));
    dialog.accept();
    EXPECT_FALSE(dialog.started());
    EXPECT_TRUE(dialog.isVisible());
    bool errorShown = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        errorShown = errorShown || (label->isVisible() &&
                                    label->text().contains(QStringLiteral("起動できません")));
    EXPECT_TRUE(errorShown);
}

TEST_F(OpenWithDialogTest, CaptionSaysWhetherAFileOrAFolderOpens) {
    EXPECT_EQ(OpenWithDialog(file).findChildren<QLabel*>().first()->text(),
              QStringLiteral("開くファイル: note.txt"));
    const QString folder = testsupport::freshFolder(QStringLiteral("写真"));
    EXPECT_EQ(OpenWithDialog(folder).findChildren<QLabel*>().first()->text(),
              QStringLiteral("開くフォルダー: ") + QFileInfo(folder).fileName());
}

// The chooser is answered from inside its own event loop, as the user would.
platform::OpenWithResult offerAndAnswer(const QString& target,
                                        const std::function<void(OpenWithDialog&)>& answer) {
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<OpenWithDialog*>(widget);
            if (dialog && dialog->isVisible()) {
                answer(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "no chooser was shown";
    });
    return platform::offerOpenWith(target);
}

TEST_F(OpenWithDialogTest, InstalledChooserWaitsAndCountsOnlyAStartedApplication) {
    platform::installOpenWithDialog();
    EXPECT_EQ(offerAndAnswer(file, [](OpenWithDialog& d) { d.reject(); }),
              platform::OpenWithResult::Declined);
    EXPECT_EQ(offerAndAnswer(file,
                             [](OpenWithDialog& d) {
                                 d.selectApplication(QStringLiteral("scrivlet-test-text.desktop"));
                                 d.accept();
                             }),
              platform::OpenWithResult::Started);
    EXPECT_TRUE(desktop->waitForMark(QStringLiteral("text")).has_value());
    platform::setOpenWithHandler({});
}

} // namespace
