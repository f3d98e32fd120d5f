#include "InputBoxDialog.h"

#include "platform/gui/WindowControl.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace script {

namespace {

constexpr double kTwipsPerInch = 1440.0;

// Scripts separate prompt lines with vbCr, vbLf or vbCrLf.
QString promptLines(QString prompt) {
    prompt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prompt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return prompt;
}

QWidget* ownerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

InputBoxDialog::InputBoxDialog(const InputBoxRequest& request, QWidget* parent) : QDialog(parent) {
    setWindowTitle(request.title);
    setObjectName(QStringLiteral("InputBox"));

    m_prompt = new QLabel(this);
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setText(promptLines(request.prompt));
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_prompt->setMinimumWidth(240);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QCoreApplication::translate("InputBoxDialog", "キャンセル"),
                       QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_edit = new QLineEdit(this);
    m_edit->setText(request.defaultText);
    m_edit->selectAll();

    auto* top = new QHBoxLayout;
    top->addWidget(m_prompt, 1);
    top->addWidget(buttons, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_edit);

    m_edit->setFocus(Qt::OtherFocusReason);
}

QString InputBoxDialog::text() const {
    return m_edit->text();
}

QPoint InputBoxDialog::placement(const InputBoxRequest& request, const QSize& boxSize,
                                 const QRect& available, double dpiX, double dpiY) {
    auto pixels = [](int twips, double dpi) {
        return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
    };
    int x = request.xTwips ? available.left() + pixels(*request.xTwips, dpiX)
                           : available.left() + (available.width() - boxSize.width()) / 2;
    int y = request.yTwips ? available.top() + pixels(*request.yTwips, dpiY)
                           : available.top() + (available.height() - boxSize.height()) / 3;
    // A position off the screen would leave a modal box nobody can reach.
    x = std::clamp(x, available.left(),
                   std::max(available.left(), available.right() + 1 - boxSize.width()));
    y = std::clamp(y, available.top(),
                   std::max(available.top(), available.bottom() + 1 - boxSize.height()));
    return {x, y};
}

std::optional<QString> runInputBoxDialog(const InputBoxRequest& request) {
    const QPointer<QWidget> activeBefore = QApplication::activeWindow();
    QWidget* owner = ownerWindow();
    InputBoxDialog box(request, owner);
    if (owner && platform::isTopMost(owner->window()))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.adjustSize();
    if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        box.move(InputBoxDialog::placement(request, box.frameSize(), screen->geometry(),
                                           screen->logicalDotsPerInchX(),
                                           screen->logicalDotsPerInchY()));
    }
    // The program may be in the background when a script asks: bring the box to the front.
    QTimer::singleShot(0, &box, [&box] { platform::forceForeground(&box); });
    const bool accepted = box.exec() == QDialog::Accepted;
    // Some window managers leave no window active when a box closes: the window the user typed
    // in gets the focus back.
    if (activeBefore && activeBefore->isVisible())
        platform::forceForeground(activeBefore);
    if (!accepted)
        return std::nullopt;
    return box.text();
}

} // namespace script
