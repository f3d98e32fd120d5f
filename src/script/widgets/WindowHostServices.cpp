#include "WindowHostServices.h"

#include "platform/MessageBox.h"
#include "platform/ShellExecute.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <limits>

namespace script {

namespace {

QString qs(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// Buttons, icon and default button; the modality and foreground bits have no meaning for a box
// that is always modal to the program and always brought to the front.
constexpr int kBoxStyleMask = 0xF | 0xF0 | 0xF00;

constexpr int kTimedOut = -1;
// Beyond this the wait does not fit a timer; nobody waits that long (about 24 days) anyway.
constexpr int kLongestWaitSeconds = std::numeric_limits<int>::max() / 1000;

} // namespace

WindowHostServices::WindowHostServices(QString programTitle)
    : m_programTitle(std::move(programTitle)), m_inputDialog(&runInputBoxDialog) {}

void WindowHostServices::setInputDialog(InputDialog dialog) {
    m_inputDialog = dialog ? std::move(dialog) : InputDialog(&runInputBoxDialog);
}

void WindowHostServices::setBoxGuard(BoxGuard guard) {
    m_boxGuard = std::move(guard);
}

QString WindowHostServices::titleOr(std::u16string_view title) const {
    return title.empty() ? m_programTitle : qs(title);
}

void WindowHostServices::guarded(const std::function<void()>& box) const {
    if (m_boxGuard)
        m_boxGuard(box);
    else
        box();
}

int WindowHostServices::messageBox(std::u16string_view text, int style, std::u16string_view title,
                                   int timeoutSeconds) {
    const QString boxText = qs(text);
    const QString boxTitle = titleOr(title);
    int answer = platform::defaultAnswer(style);
    guarded([&] {
        if (timeoutSeconds <= 0 || timeoutSeconds > kLongestWaitSeconds) {
            answer = platform::showMessageBox(boxText, style & kBoxStyleMask, boxTitle);
            return;
        }
        // Popup's wait: when the time runs out, the box that came up for this call is closed
        // and the answer is -1. A box that was already up before (an outer one) is never touched.
        QPointer<QWidget> outer = QApplication::activeModalWidget();
        bool timedOut = false;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || box == outer)
                return;
            timedOut = true;
            if (auto* dialog = qobject_cast<QDialog*>(box))
                dialog->reject();
            else
                box->close();
        });
        timer.start(std::chrono::seconds(timeoutSeconds));
        answer = platform::showMessageBox(boxText, style & kBoxStyleMask, boxTitle);
        if (timedOut)
            answer = kTimedOut;
    });
    return answer;
}

std::optional<std::u16string> WindowHostServices::inputBox(std::u16string_view prompt,
                                                           std::u16string_view title,
                                                           std::u16string_view defaultText,
                                                           BoxPosition position) {
    const InputBoxRequest request{qs(prompt), titleOr(title), qs(defaultText), position.xTwips,
                                  position.yTwips};
    std::optional<QString> answer;
    guarded([&] { answer = m_inputDialog(request); });
    if (!answer)
        return std::nullopt;
    return answer->toStdU16String();
}

bool WindowHostServices::shellExecute(std::u16string_view file, std::u16string_view parameters,
                                      int) {
    return platform::shellExecute(QStringLiteral("open"), qs(file), qs(parameters));
}

} // namespace script
