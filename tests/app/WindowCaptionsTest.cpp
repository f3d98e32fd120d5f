// Every window of the program shows its texts whole, in the language and at the scale the run
// asks for (SCRIVLET_TEST_LANGUAGE, QT_SCALE_FACTOR; ctest runs Japanese at scale 1 and English at
// scales 1 and 2): the main window with its memo pane, the message boxes with every set of
// buttons, the open-with chooser and the script's input box. The settings dialog's three tabs are
// checked the same way by its own caption test, run in the same languages and scales.
// With SCRIVLET_SCREENSHOT_DIR set, each window is also saved there as a picture.
#include "app/PropertyDialog.h"
#include "app/frmMemo.h"

#include "CaptionCheck.h"
#include "TestEnvironment.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/UiLanguage.h"
#include "platform/gui/MessageBoxDialog.h"
#include "platform/gui/OpenWithDialog.h"
#include "script/widgets/InputBoxDialog.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

bool english() {
    return platform::uiLanguage() == platform::UiLanguage::English;
}

QString runName() {
    return QStringLiteral("%1-scale%2")
        .arg(english() ? QStringLiteral("en") : QStringLiteral("ja"))
        .arg(qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")));
}

void saveScreenshot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("SCRIVLET_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        window->grab().save(folder + QLatin1Char('/') + name + QLatin1Char('-') + runName() +
                            QStringLiteral(".png"));
}

void expectWhole(QWidget* window, const QString& name, int atLeast) {
    QApplication::processEvents();
    saveScreenshot(window, name);
    const testsupport::CaptionReport report = testsupport::checkCaptions(window);
    EXPECT_GE(report.checked, atLeast) << name.toStdString();
    EXPECT_TRUE(report.problems.isEmpty())
        << name.toStdString() << " (" << runName().toStdString() << "):\n"
        << report.problems.join(QLatin1Char('\n')).toStdString();
}

class WindowCaptions : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::freshFolder(QStringLiteral("program"));
        platform::setProgramIdentity(folder, QStringLiteral("scrivlet"));
        platform::installMessageBoxDialog();
    }
    void TearDown() override {
        if (window && !window->isUnloaded())
            window->Unload();
        window.reset();
        platform::setProgramIdentity(QString(), QString());
    }
    void start() {
        window = std::make_unique<frmMemo>();
        window->setShellOpener([](const QString&) { return false; });
        window->setSettingsDialog(&app::showPropertyDialog);
        window->Initialize({QStringLiteral("/nohotkey")});
    }
    // Runs `inside` on the modal window that is up next, then closes it.
    static void onNextModal(std::function<void(QWidget*)> inside) {
        QTimer::singleShot(50, [inside] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            const QPointer<QWidget> open(modal);
            inside(modal);
            if (auto* dialog = qobject_cast<QDialog*>(open.data()); dialog && dialog->isVisible())
                dialog->reject();
        });
    }

    QString folder;
    std::unique_ptr<frmMemo> window;
};

TEST_F(WindowCaptions, MainWindowWithItsMemoPaneAndMenu) {
    start();
    window->SetMemoView(1);
    expectWhole(window.get(), QStringLiteral("main-window"), 1);
    // The menu speaks the run's language.
    QStringList captions;
    for (QAction* action : window->popupMenu()->actions())
        captions << action->text();
    const QString exit = english() ? QStringLiteral("E&xit") : QStringLiteral("終了(&X)");
    EXPECT_TRUE(std::any_of(captions.begin(), captions.end(), [&](const QString& c) {
        return c.startsWith(exit);
    })) << captions.join(QLatin1Char('|')).toStdString();
}

TEST_F(WindowCaptions, MessageBoxesWithEveryButtonSet) {
    namespace mb = platform::mb;
    const struct {
        const char* context;
        const char* text;
        int style;
    } boxes[] = {
        {"frmMemo", "常駐解除します。\nよろしいですか？", int(mb::YesNo) | mb::Exclamation},
        {"frmProperty", "履歴を削除します。\nこの操作は元に戻せませんがよろしいですか？",
         int(mb::YesNo) | mb::DefaultButton2},
        {"TimerPage", "タイマーを開始します。", int(mb::OKCancel) | mb::Information},
        {"HotKeyWarning", "ホットキーの登録に失敗しました。", int(mb::OKOnly) | mb::Exclamation},
        {"frmMemo", "メモの保存に失敗しました。\n%1", int(mb::RetryCancel) | mb::Critical},
        {"frmMemo", "確認", int(mb::AbortRetryIgnore)},
        {"frmMemo", "確認", int(mb::YesNoCancel) | mb::Question},
    };
    int index = 0;
    for (const auto& box : boxes) {
        const QString text = QCoreApplication::translate(box.context, box.text);
        onNextModal([index](QWidget* modal) {
            expectWhole(modal, QStringLiteral("message-box%1").arg(index), 2);
        });
        platform::runMessageBoxDialog({text, QStringLiteral("Scrivlet Ver.1.73"), box.style});
        ++index;
    }
}

TEST_F(WindowCaptions, OpenWithChooserAndInputBox) {
    const QString file = folder + QStringLiteral("/議事録 notes.txt");
    testsupport::writeFile(file, "x");
    platform::OpenWithDialog chooser(file);
    chooser.show();
    expectWhole(&chooser, QStringLiteral("open-with"), 4);

    script::InputBoxDialog input(
        {QStringLiteral("Name?"), QStringLiteral("Scrivlet"), QStringLiteral("default")});
    input.show();
    expectWhole(&input, QStringLiteral("input-box"), 3);
}

} // namespace
