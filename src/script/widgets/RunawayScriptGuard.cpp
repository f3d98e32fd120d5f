#include "script/widgets/RunawayScriptGuard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace script {

namespace {

// Longer than this between two checks, and the run was waiting (a box of the script), not busy.
constexpr qint64 kWaitGapMs = 250;
// How often the busy run lets the event loop paint the box and take the user's answer.
constexpr qint64 kPumpEveryMs = 30;

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Close:
    case QEvent::Drop:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

} // namespace

RunawayScriptGuard::RunawayScriptGuard(QString title, QObject* parent)
    : QObject(parent), m_title(std::move(title)) {}

RunawayScriptGuard::~RunawayScriptGuard() {
    hideBox();
}

void RunawayScriptGuard::runStarted() {
    m_clock.start();
    m_busySince = m_lastCheck = m_lastPump = 0;
    m_stop = false;
}

bool RunawayScriptGuard::stopRequested() {
    if (!m_clock.isValid())
        return false;
    const qint64 now = m_clock.elapsed();
    if (now - m_lastCheck > kWaitGapMs)
        m_busySince = now;
    m_lastCheck = now;
    if (now - m_busySince < kPatienceMs || m_stop)
        return m_stop;
    if (!m_box)
        showBox();
    if (now - m_lastPump >= kPumpEveryMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // Taking the events is no waiting of the run's own.
        m_lastPump = m_lastCheck = m_clock.elapsed();
    }
    return m_stop;
}

void RunawayScriptGuard::runEnded() {
    hideBox();
    m_clock.invalidate();
}

QDialog* RunawayScriptGuard::stopBox() const {
    return m_box.get();
}

void RunawayScriptGuard::showBox() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    m_box = std::make_unique<QDialog>(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    m_box->setObjectName(QStringLiteral("RunawayScriptBox"));
    m_box->setWindowTitle(m_title);
    auto* layout = new QVBoxLayout(m_box.get());
    layout->addWidget(new QLabel(QCoreApplication::translate(
        "RunawayScriptGuard", "スクリプトの実行に時間がかかっています。\n"
                              "中止するには[中止]を押すか Esc キーを押してください。")));
    auto* buttons = new QDialogButtonBox(m_box.get());
    QPushButton* stop = buttons->addButton(
        QCoreApplication::translate("RunawayScriptGuard", "中止"), QDialogButtonBox::RejectRole);
    stop->setDefault(true);
    layout->addWidget(buttons);
    connect(stop, &QPushButton::clicked, this, [this] { m_stop = true; });
    // Closing the box is an answer too.
    connect(m_box.get(), &QDialog::rejected, this, [this] { m_stop = true; });
    QCoreApplication::instance()->installEventFilter(this);
    m_activeBefore = QApplication::activeWindow();
    m_box->show();
    m_box->activateWindow();
}

void RunawayScriptGuard::hideBox() {
    if (!m_box)
        return;
    QCoreApplication::instance()->removeEventFilter(this);
    m_box->disconnect(this);
    const bool boxWasActive = m_box->isActiveWindow();
    m_box.reset();
    // The window the user worked in gets the keyboard back, not whatever the window manager picks.
    if (boxWasActive && m_activeBefore)
        m_activeBefore->activateWindow();
    m_activeBefore = nullptr;
}

bool RunawayScriptGuard::belongsToBox(QObject* object) const {
    if (!m_box)
        return false;
    if (auto* widget = qobject_cast<QWidget*>(object))
        return widget->window() == m_box.get();
    if (auto* window = qobject_cast<QWindow*>(object))
        return window == m_box->windowHandle();
    return false;
}

bool RunawayScriptGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!isUserInput(type))
        return false;
    // A box the script itself shows (MsgBox, InputBox) takes its answer, Esc included.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != m_box.get())
        return false;
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_stop = true;
        return true;
    }
    return !belongsToBox(watched);
}

} // namespace script
