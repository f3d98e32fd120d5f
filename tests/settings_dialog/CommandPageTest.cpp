#include "DialogFixture.h"

#include "settings_dialog/CommandPage.h"

#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

using dialogtest::DialogTest;
namespace mb = platform::mb;

const QString kTwoLines = QStringLiteral(
    "コマンドには半角英数字以外は使用できません\n(但し、数字のみのコマンドは受け付けません)");

struct AddCase {
    const char* name;
    const char* commandName;
    const char* command;
    const char* content;
    const char* message;    // "" when the row is added, "*" for the two-line refusal
    const char* focusedBox; // object name of the box that gets the focus, "" for the list
};

class CommandAdd : public DialogTest, public ::testing::WithParamInterface<AddCase> {};

TEST_P(CommandAdd, ChecksInOrderAndFocusesTheBoxAtFault) {
    const AddCase& c = GetParam();
    settings_dialog::frmProperty& d =
        open({QStringLiteral("[Command]"), QStringLiteral("gg=Google,g %a")});
    d.Show2(2, false);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    settings_dialog::CommandPage* page = d.commandPage();
    page->txtCommandName()->setText(QString::fromUtf8(c.commandName));
    page->txtCommand()->setText(QString::fromUtf8(c.command));
    page->txtCommandContent()->setText(QString::fromUtf8(c.content));
    page->cmdAdd_Click();
    const QString message = QString::fromUtf8(c.message) == QLatin1String("*")
                                ? kTwoLines
                                : QString::fromUtf8(c.message);
    if (message.isEmpty()) {
        EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join(QLatin1Char('|')).toStdString();
        ASSERT_EQ(page->lsvCommand()->topLevelItemCount(), 2);
        const QTreeWidgetItem* row = page->lsvCommand()->topLevelItem(1);
        EXPECT_EQ(row->text(1), QString::fromUtf8(c.command).toLower());
        EXPECT_EQ(page->lsvCommand()->currentItem(), row);
        EXPECT_TRUE(d.cmdApp()->isEnabled());
    } else {
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].text, message);
        EXPECT_EQ(boxes.shown[0].style, int(mb::OKOnly) | mb::Exclamation);
        EXPECT_EQ(page->lsvCommand()->topLevelItemCount(), 1);
        EXPECT_FALSE(d.cmdApp()->isEnabled());
    }
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName().toStdString(),
              *c.focusedBox ? std::string(c.focusedBox) : std::string("lsvCommand"));
    d.cmdCancel()->click();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandAdd,
    ::testing::Values(
        AddCase{"noName", "", "w", "c", "コマンド名が入力されていません", "txtCommandName"},
        AddCase{"commaInName", "Web, search", "w", "c", "コマンド名に「,」は使用できません",
                "txtCommandName"},
        AddCase{"noCommand", "n", "", "c", "コマンドが入力されていません", "txtCommand"},
        AddCase{"hyphen", "n", "g-1", "c", "*", "txtCommand"},
        AddCase{"blank", "n", "g 1", "c", "*", "txtCommand"},
        AddCase{"fullWidthLetter", "n", "ｇ", "c", "*", "txtCommand"},
        AddCase{"digitsOnly", "n", "123", "c", "*", "txtCommand"},
        AddCase{"equalsSign", "n", "a=b", "c", "*", "txtCommand"},
        AddCase{"japanese", "検索", "検索", "c", "*", "txtCommand"},
        AddCase{"noContent", "n", "a123", "", "コマンドの内容が入力されていません",
                "txtCommandContent"},
        AddCase{"letterAndDigits", "n", "a123", "c", "", ""},
        AddCase{"blanksPass", " ", "WiKi", " ", "", ""},
        AddCase{"japaneseNameAndContent", "辞書「広辞苑」", "jisho",
                "https://example.jp/?q=%B&x=〜−", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, AddingAnExistingCommandInAnotherCaseAsksToReplace) {
    settings_dialog::frmProperty& d = open();
    settings_dialog::CommandPage* page = d.commandPage();
    page->txtCommandName()->setText(QStringLiteral("検索"));
    page->txtCommand()->setText(QStringLiteral("GG"));
    page->txtCommandContent()->setText(QStringLiteral("one %a"));
    page->cmdAdd_Click();
    EXPECT_EQ(page->txtCommand()->text(), QStringLiteral("gg"));
    page->txtCommand()->setText(QStringLiteral("Gg"));
    page->txtCommandContent()->setText(QStringLiteral("two %a"));
    boxes.answers = {mb::No, mb::Yes};
    page->cmdAdd_Click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("コマンドggは既に登録されています。\n"
                                                  "既存のコマンドと置き換えますか？"));
    EXPECT_EQ(boxes.shown[0].style, int(mb::YesNo) | mb::Exclamation | mb::DefaultButton2);
    EXPECT_EQ(page->templateOf(QStringLiteral("gg")), QStringLiteral("one %a"));
    page->cmdAdd_Click();
    EXPECT_EQ(page->lsvCommand()->topLevelItemCount(), 1);
    EXPECT_EQ(page->templateOf(QStringLiteral("GG")), QStringLiteral("two %a"));
}

TEST_F(DialogTest, DeletingAsksAndTheLastRowDisablesDelete) {
    settings_dialog::frmProperty& d =
        open({QStringLiteral("[Command]"), QStringLiteral("a=A,1"), QStringLiteral("b=B,2")});
    d.Show2(2, false);
    settings_dialog::CommandPage* page = d.commandPage();
    EXPECT_TRUE(page->cmdDelete()->isEnabled());
    page->selectRow(1);
    EXPECT_EQ(page->txtCommand()->text(), QStringLiteral("b"));
    boxes.answers = {mb::Cancel, mb::OK};
    page->cmdDelete_Click();
    EXPECT_EQ(page->lsvCommand()->topLevelItemCount(), 2);
    EXPECT_EQ(boxes.shown.last().text, QStringLiteral("コマンドbを削除します。\nよろしいですか？"));
    EXPECT_EQ(boxes.shown.last().style, int(mb::OKCancel) | mb::Exclamation | mb::DefaultButton2);
    page->cmdDelete_Click();
    EXPECT_EQ(page->lsvCommand()->topLevelItemCount(), 1);
    EXPECT_TRUE(page->cmdDelete()->isEnabled());
    // The Delete key in the list does the same.
    page->selectRow(0);
    page->lsvCommand()->setFocus();
    boxes.answers = {mb::OK};
    QTest::keyClick(page->lsvCommand(), Qt::Key_Delete);
    EXPECT_EQ(page->lsvCommand()->topLevelItemCount(), 0);
    EXPECT_FALSE(page->cmdDelete()->isEnabled());
    d.cmdOK()->click();
    EXPECT_TRUE(sectionOnDisk(QStringLiteral("Command")).isEmpty());
    EXPECT_FALSE(open().commandPage()->cmdDelete()->isEnabled()) << "an empty list starts so";
}

struct TestCase {
    const char* name;
    const char* line;
    const char* result;
    bool notRegisteredBox;
};

class CommandTest : public DialogTest, public ::testing::WithParamInterface<TestCase> {};

TEST_P(CommandTest, TriesTheUnsavedList) {
    const TestCase& c = GetParam();
    settings_dialog::frmProperty& d =
        open({QStringLiteral("[Command]"), QStringLiteral("gg=Google,g?q=%B|%c")});
    settings_dialog::CommandPage* page = d.commandPage();
    // An unsaved command takes part in the test.
    page->txtCommandName()->setText(QStringLiteral("辞書"));
    page->txtCommand()->setText(QStringLiteral("jp"));
    page->txtCommandContent()->setText(QStringLiteral("https://example.jp/?q=%B"));
    page->cmdAdd_Click();
    page->txtCommandTest()->setText(QString::fromUtf8(c.line));
    page->cmdCommandTest_Click();
    EXPECT_EQ(page->txtCommandResult()->toPlainText(), QString::fromUtf8(c.result));
    EXPECT_EQ(boxes.texts().contains(QStringLiteral("このコマンドは登録されていませんでした。")),
              c.notRegisteredBox);
    EXPECT_EQ(page->txtCommandTest()->selectedText(), page->txtCommandTest()->text());
    EXPECT_TRUE(sectionOnDisk(QStringLiteral("Command")).size() == 1) << "nothing saved";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandTest,
    ::testing::Values(TestCase{"emptyLine", "", "", true},
                      TestCase{"unknownWordUnchanged", "zz 予定", "zz 予定", false},
                      TestCase{"storedCommandSplitsAtBar", "gg a b", "g?q=a\nb", false},
                      // Arguments in upper-case placeholders are encoded from UTF-8 bytes.
                      TestCase{"unsavedCommandEncodes", "jp 東京",
                               "https://example.jp/?q=%E6%9D%B1%E4%BA%AC", false},
                      TestCase{"caseOfTheWordIgnored", "JP a", "https://example.jp/?q=a", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, EditBoxesMakeAddTheDefaultButtonAndTakeDrops) {
    settings_dialog::frmProperty& d = open();
    d.Show2(2, false);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    settings_dialog::CommandPage* page = d.commandPage();
    EXPECT_TRUE(d.cmdOK()->isDefault());
    page->txtCommandContent()->setFocus();
    EXPECT_TRUE(page->cmdAdd()->isDefault());
    page->txtCommandTest()->setFocus();
    EXPECT_TRUE(page->cmdCommandTest()->isDefault());
    page->lsvCommand()->setFocus();
    EXPECT_TRUE(d.cmdOK()->isDefault());

    page->txtCommandContent()->setText(QStringLiteral("open"));
    QMimeData data;
    data.setText(QStringLiteral("/tmp/a b.txt"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page->txtCommandContent(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page->txtCommandContent(), &drop);
    EXPECT_EQ(page->txtCommandContent()->text(), QStringLiteral("open /tmp/a b.txt"));
    d.cmdCancel()->click();
}

} // namespace
