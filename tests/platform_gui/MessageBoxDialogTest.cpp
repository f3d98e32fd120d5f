#include "platform/gui/MessageBoxDialog.h"
#include "X11Probe.h"
#include "platform/gui/WindowControl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList captions;
    QString defaultCaption;
    bool topMost = false;
    bool aboveOwner = false;
    QWidget* parent = nullptr;
    int width = 0;
    int titleRoom = 0;
};

// Waits for the next box, records what it shows, lets `act` answer it, and returns the answer
// the box returned.
int showAndAnswer(const MessageBoxRequest& request, SeenBox& seen,
                  const std::function<void(QMessageBox*)>& act, const QWidget* owner = nullptr) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (owner && x11probe::available() &&
            !x11probe::waitFor([&] { return x11probe::isMapped(box); }, 3000))
            return;
        poll.stop();
        seen.title = box->windowTitle();
        seen.width = box->width();
        seen.titleRoom = messageBoxTitleRoom(box->font(), box->windowTitle());
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.captions << b->text();
        if (box->defaultButton())
            seen.defaultCaption = box->defaultButton()->text();
        seen.topMost = isTopMost(box);
        seen.parent = box->parentWidget();
        if (owner && x11probe::available())
            seen.aboveOwner = x11probe::waitFor([&] { return x11probe::isAbove(box, owner); });
        act(box);
    });
    poll.start();
    return runMessageBoxDialog(request);
}

void click(QMessageBox* box, const char* caption) {
    for (QAbstractButton* b : box->buttons()) {
        if (b->text() == QString::fromUtf8(caption)) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << caption;
    box->reject();
}

struct StyleCase {
    const char* name;
    int style;
    const char* captions; // "|"-separated, in order
    const char* preselected;
    QMessageBox::Icon icon;
    const char* press; // caption to press, or "" for Escape
    int answer;
};

void PrintTo(const StyleCase& c, std::ostream* os) {
    *os << c.name;
}

class BoxStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(BoxStyle, ShowsTheButtonsAndIconOfTheStyleAndReturnsThePressedAnswer) {
    const StyleCase& c = GetParam();
    SeenBox seen;
    const int answer =
        showAndAnswer({QStringLiteral("本文"), QStringLiteral("Scrivlet Ver.1.73"), c.style}, seen,
                      [&](QMessageBox* box) {
                          if (*c.press)
                              click(box, c.press);
                          else
                              QTest::keyClick(box, Qt::Key_Escape);
                      });
    EXPECT_EQ(seen.captions.join(QLatin1Char('|')), QString::fromUtf8(c.captions));
    EXPECT_EQ(seen.defaultCaption, QString::fromUtf8(c.preselected));
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.title, QStringLiteral("Scrivlet Ver.1.73"));
    // A two-letter text still leaves the window manager room for the whole title.
    EXPECT_GE(seen.width, seen.titleRoom);
    EXPECT_EQ(answer, c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BoxStyle,
    ::testing::Values(
        StyleCase{"okExclamation", int(mb::OKOnly) | mb::Exclamation, "OK", "OK",
                  QMessageBox::Warning, "OK", mb::OK},
        StyleCase{"okEscape", mb::OKOnly, "OK", "OK", QMessageBox::NoIcon, "", mb::OK},
        StyleCase{"yesNoDefaultNo", int(mb::YesNo) | mb::Exclamation | mb::DefaultButton2,
                  "はい(&Y)|いいえ(&N)", "いいえ(&N)", QMessageBox::Warning, "はい(&Y)", mb::Yes},
        StyleCase{"yesNoEscapeIsNo", int(mb::YesNo) | mb::DefaultButton2, "はい(&Y)|いいえ(&N)",
                  "いいえ(&N)", QMessageBox::NoIcon, "", mb::No},
        StyleCase{"okCancelCritical", int(mb::OKCancel) | mb::Critical, "OK|キャンセル", "OK",
                  QMessageBox::Critical, "キャンセル", mb::Cancel},
        StyleCase{"yesNoCancelThird", int(mb::YesNoCancel) | mb::Question | mb::DefaultButton3,
                  "はい(&Y)|いいえ(&N)|キャンセル", "キャンセル", QMessageBox::Question, "",
                  mb::Cancel},
        StyleCase{"abortRetryIgnore", int(mb::AbortRetryIgnore) | mb::Information,
                  "中止(&A)|再試行(&R)|無視(&I)", "中止(&A)", QMessageBox::Information, "無視(&I)",
                  mb::Ignore},
        StyleCase{"retryCancel", int(mb::RetryCancel) | mb::DefaultButton2, "再試行(&R)|キャンセル",
                  "キャンセル", QMessageBox::NoIcon, "再試行(&R)", mb::Retry},
        StyleCase{"defaultBeyondTheButtons", int(mb::OKOnly) | mb::DefaultButton3, "OK", "OK",
                  QMessageBox::NoIcon, "OK", mb::OK}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBoxDialog, ShowsTextAsPlainTextNeverAsMarkup) {
    SeenBox seen;
    QString shown;
    showAndAnswer({QStringLiteral("<b>太字</b> & <a href='x'>link</a>\n二行目"), QString(), 0},
                  seen, [&](QMessageBox* box) {
                      for (QLabel* label : box->findChildren<QLabel*>()) {
                          if (label->text().contains(QStringLiteral("太字"))) {
                              EXPECT_EQ(label->textFormat(), Qt::PlainText);
                              shown = label->text();
                          }
                      }
                      click(box, "OK");
                  });
    EXPECT_EQ(shown, QStringLiteral("<b>太字</b> & <a href='x'>link</a>\n二行目"));
}

TEST(MessageBoxDialog, GoesThroughTheProgramWideSeamOnceInstalled) {
    installMessageBoxDialog();
    QTimer::singleShot(50, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            click(box, "はい(&Y)");
    });
    EXPECT_EQ(showMessageBox(QStringLiteral("常駐解除します。\nよろしいですか？"),
                             int(mb::YesNo) | mb::Exclamation | mb::DefaultButton2,
                             QStringLiteral("Scrivlet Ver.1.73")),
              mb::Yes);
    setMessageBoxHandler({});
}

TEST(MessageBoxDialog, StandsAboveATopmostOwner) {
    QWidget owner;
    owner.resize(300, 80);
    setTopMost(&owner, true);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(x11probe::waitFor([&] { return owner.isActiveWindow(); }) ||
                !x11probe::available());

    SeenBox seen;
    showAndAnswer(
        {QStringLiteral("このメモを削除します。よろしいですか？"), QStringLiteral("確認"),
         int(mb::YesNo) | mb::DefaultButton2},
        seen, [](QMessageBox* box) { click(box, "いいえ(&N)"); }, &owner);
    EXPECT_EQ(seen.parent, &owner);
    EXPECT_TRUE(seen.topMost) << "a box over a topmost window must be in the topmost band too";
    if (x11probe::available()) {
        EXPECT_TRUE(seen.aboveOwner) << "the window manager stacks the box below its owner";
    }
}

} // namespace
