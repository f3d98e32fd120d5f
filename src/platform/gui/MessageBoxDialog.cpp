#include "MessageBoxDialog.h"

#include "WindowControl.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace platform {

namespace {

struct ButtonSpec {
    int answer;
    const char* caption; // UTF-8
};

std::vector<ButtonSpec> buttonsFor(int buttons) {
    const ButtonSpec ok{mb::OK, "OK"};
    const ButtonSpec cancel{mb::Cancel, "キャンセル"};
    const ButtonSpec yes{mb::Yes, "はい(&Y)"};
    const ButtonSpec no{mb::No, "いいえ(&N)"};
    switch (buttons) {
    case mb::OKCancel:
        return {ok, cancel};
    case mb::AbortRetryIgnore:
        return {{mb::Abort, "中止(&A)"}, {mb::Retry, "再試行(&R)"}, {mb::Ignore, "無視(&I)"}};
    case mb::YesNoCancel:
        return {yes, no, cancel};
    case mb::YesNo:
        return {yes, no};
    case mb::RetryCancel:
        return {{mb::Retry, "再試行(&R)"}, cancel};
    default:
        return {ok};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QWidget* ownerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        // Windows the window manager does not manage (the tray icon's) own no box.
        if (top->isVisible() && !top->isMinimized() && top->windowType() != Qt::ToolTip &&
            top->windowType() != Qt::Popup &&
            !top->windowFlags().testFlag(Qt::BypassWindowManagerHint))
            return top;
    }
    return nullptr;
}

// The answer of the button a closed box stands for: Cancel, else No, else a lone OK.
int closeAnswer(const std::vector<ButtonSpec>& specs) {
    for (int wanted : {int(mb::Cancel), int(mb::No), int(mb::OK)}) {
        for (const ButtonSpec& spec : specs) {
            if (spec.answer == wanted)
                return wanted;
        }
    }
    return specs.front().answer;
}

} // namespace

int messageBoxTitleRoom(const QFont& font, const QString& title) {
    // Window managers draw titles bold and often larger than the text of the window, beside an
    // icon and up to three buttons about as wide as the title bar is high; they cut what does
    // not fit ("Scrivle…er.1.73").
    QFont titleFont = font;
    titleFont.setBold(true);
    if (font.pointSizeF() > 0)
        titleFont.setPointSizeF(font.pointSizeF() * 1.25);
    else
        titleFont.setPixelSize(font.pixelSize() * 5 / 4);
    const QFontMetrics metrics(titleFont);
    const int barHeight = metrics.height() + 12;
    return metrics.horizontalAdvance(title) + 4 * barHeight + 24;
}

int runMessageBoxDialog(const MessageBoxRequest& request) {
    QWidget* owner = ownerWindow();
    QMessageBox box(owner);
    box.setWindowTitle(request.title);
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    box.setIcon(iconFor(request.style));
    if (isTopMost(owner))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);

    // A box is as wide as its text; keep room for the whole title ("Scrivlet Ver.1.73") as well.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int titleRoom = messageBoxTitleRoom(box.font(), request.title);
        grid->addItem(new QSpacerItem(titleRoom, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }

    const std::vector<ButtonSpec> specs = buttonsFor(request.style & 0xF);
    // One role for all keeps the buttons in the order given, whatever the style's button layout.
    std::vector<QPushButton*> buttons;
    for (const ButtonSpec& spec : specs)
        buttons.push_back(box.addButton(QString::fromUtf8(spec.caption), QMessageBox::AcceptRole));
    const size_t preselected = size_t((request.style >> 8) & 0x3);
    box.setDefaultButton(buttons[preselected < buttons.size() ? preselected : 0]);
    for (size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].answer == closeAnswer(specs))
            box.setEscapeButton(buttons[i]);
    }

    // The program is often in the background when a box comes up (a second start, a timer):
    // bring the box to the front once it is shown.
    QTimer::singleShot(0, &box, [&box] { forceForeground(&box); });
    box.exec();

    for (size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            return specs[i].answer;
    }
    return closeAnswer(specs);
}

void installMessageBoxDialog() {
    setMessageBoxHandler(&runMessageBoxDialog);
}

} // namespace platform
