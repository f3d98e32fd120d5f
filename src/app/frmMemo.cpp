#include "frmMemo.h"

#include "AppInfo.h"
#include "DropText.h"
#include "TitleStrip.h"
#include "WindowOps.h"
#include "frmMemoMembers.h"
#include "memo/pane/uMultiMemo.h"
#include "platform/MessageBox.h"
#include "platform/gui/KeyStroke.h"
#include "platform/gui/Twips.h"

#include "engine/ShellExecution.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScreen>

namespace {

// Design sizes in twips.
constexpr int kTitleStripWidth = 150;
constexpr int kMemoPaneDesignHeight = 1215;
constexpr int kMinimumWidth = 3000;

} // namespace

frmMemo::frmMemo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint), m(std::make_unique<Members>()) {
    setWindowTitle(app::AppTitleWithVersion());
    setObjectName(QStringLiteral("frmMemo"));
    // Off the task bar from the first show on.
    app::keepOffTaskbar(this);

    m_picTitleBar = new TitleStrip(this);
    m_picTitleBar->setObjectName(QStringLiteral("picTitleBar"));
    m_cmbMemo = new QComboBox(this);
    m_cmbMemo->setObjectName(QStringLiteral("cmbMemo"));
    m_cmbMemo->setEditable(true);
    m_cmbMemo->setInsertPolicy(QComboBox::NoInsert);
    m_cmbMemo->setCompleter(nullptr);
    m_cmbMemo->setAcceptDrops(true);
    m_cmbMemo->lineEdit()->setAcceptDrops(true);
    // What the line takes, while it is empty: short enough for the narrowest bar, the whole
    // sentence on hover.
    m_cmbMemo->lineEdit()->setPlaceholderText(tr("式・パス・URL・メモ (F1)"));
    m_cmbMemo->setToolTip(tr("計算式、ファイルやフォルダーのパス、URL、またはメモを入力して Enter。"
                             "\nF1 でヘルプを表示します。"));
    m_ctlMemo = new memo::uMultiMemo(m->memos.list(), this);
    m_ctlMemo->setObjectName(QStringLiteral("ctlMemo"));

    m_picTitleBar->resize(platform::twipsToPixelsX(this, kTitleStripWidth), 1);
    m_ctlMemo->resize(m_ctlMemo->width(), platform::twipsToPixelsY(this, kMemoPaneDesignHeight));

    m_cmbMemo->installEventFilter(this);
    m_cmbMemo->lineEdit()->installEventFilter(this);

    connect(m_picTitleBar, &TitleStrip::dragRequested, this,
            [this] { app::BeginWindowDrag(this); });
    connect(m_picTitleBar, &TitleStrip::released, this, &frmMemo::onTitleStripReleased);
    connect(m_picTitleBar, &TitleStrip::doubleClicked, this, [this] { HideForm(); });

    connect(m_ctlMemo, &memo::uMultiMemo::GotFocus, this, [this] {
        SetMemoView(1);
        endFind(false); // a click into the pane leaves the find view for the memo
    });
    connect(m_ctlMemo, &memo::uMultiMemo::findHitClicked, this, [this] { jumpToFoundLine(); });
    connect(m_cmbMemo->lineEdit(), &QLineEdit::textEdited, this, [this] { onInputLineEdited(); });
    connect(m_ctlMemo, &memo::uMultiMemo::LostFocus, this, [this] {
        if (m_settingsLoaded && !m_unloaded)
            m->memos.save(false);
    });
    connect(m_ctlMemo, &memo::uMultiMemo::KeyDown, this, &frmMemo::routeMemoPaneKeyDown);
    connect(m_ctlMemo, &memo::uMultiMemo::KeyPress, this, &frmMemo::routeMemoPaneKeyPress);
    connect(m_ctlMemo, &memo::uMultiMemo::BeforeDelete, this, &frmMemo::confirmMemoDelete);
    connect(m_ctlMemo, &memo::uMultiMemo::AfterExecuteFile, this, [this] {
        if (config::options().HideAfterRun)
            HideForm();
    });
    setShellOpener([](const QString& target) { return engine::ExecuteShell(target, QString()); });

    buildMenu();
    resize(platform::twipsToPixelsX(this, kMinimumWidth),
           m_cmbMemo->sizeHint().height() + m_ctlMemo->height());
    layoutControls();
}

frmMemo::~frmMemo() {
    Unload();
}

void frmMemo::buildMenu() {
    m_mnuPopup = new QMenu(this);
    m_mnuPopupView = m_mnuPopup->addAction(tr("表示(&V)"));
    m_mnuPopup->addSeparator();
    m_mnuPopupLogView = m_mnuPopup->addAction(tr("ログを表示(&L)"));
    m_mnuPopupLogView->setCheckable(true);
    m_mnuPopup->addSeparator();
    m_mnuPopupProperty = m_mnuPopup->addAction(tr("設定(&O)"));
    m_mnuPopup->addSeparator();
    m_mnuPopupHelp = m_mnuPopup->addMenu(tr("ヘルプ(&H)"));
    m_mnuPopupHelpHelp = m_mnuPopupHelp->addAction(tr("ヘルプ(&H)"));
    m_mnuPopupHelp->addSeparator();
    m_mnuPopupHelpVerInfo = m_mnuPopupHelp->addAction(tr("バージョン情報(&A)..."));
    m_mnuPopup->addSeparator();
    m_mnuPopupExit = m_mnuPopup->addAction(tr("終了(&X)"));
    m_mnuPopup->setDefaultAction(m_mnuPopupView);

    connect(m_mnuPopupView, &QAction::triggered, this, [this] {
        if (m_mnuPopupView->text() == tr("閉じる(&E)"))
            HideForm();
        else
            ShowForm();
    });
    connect(m_mnuPopupLogView, &QAction::triggered, this, [this] {
        // The check mark follows MemoView, not the click.
        ShowToggleMemo();
        m_mnuPopupLogView->setChecked(m_memoView == 1);
    });
    connect(m_mnuPopupProperty, &QAction::triggered, this, [this] { ShowProperty(); });
    connect(m_mnuPopupHelpHelp, &QAction::triggered, this, [this] { ShowHelp(); });
    connect(m_mnuPopupHelpVerInfo, &QAction::triggered, this, [this] { ShowVersionInfo(); });
    connect(m_mnuPopupExit, &QAction::triggered, this, [this] { QuitApp(); });
}

void frmMemo::popupMenuAt(const QPoint& globalPosition, bool viewClosesWindow) {
    m_mnuPopupView->setText(viewClosesWindow ? tr("閉じる(&E)") : tr("表示(&V)"));
    m_mnuPopup->setDefaultAction(m_mnuPopupView);
    m_mnuPopup->popup(globalPosition);
}

// ---- geometry ---------------------------------------------------------------------------------

int frmMemo::frameWidth() const {
    return qMax(0, frameGeometry().width() - width());
}

int frmMemo::frameHeight() const {
    return qMax(0, frameGeometry().height() - height());
}

void frmMemo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

void frmMemo::layoutControls() {
    const int strip = m_picTitleBar->width();
    const int gap = frameWidth() / 4;
    const int comboHeight = m_cmbMemo->sizeHint().height();
    m_picTitleBar->setGeometry(0, 0, strip, height());
    const int lineWidth = qMax(0, width() - strip - gap);
    m_cmbMemo->setGeometry(strip + gap, 0, lineWidth, comboHeight);
    // Collapsed, the pane keeps its height and lies below the visible area.
    const int paneHeight = m_memoView == 1 ? qMax(0, height() - comboHeight) : m_ctlMemo->height();
    m_ctlMemo->setGeometry(strip + gap, comboHeight, lineWidth, paneHeight);
}

void frmMemo::applySizeLimits(int minWidth, int maxWidth, int minHeight, int maxHeight) {
    if (CLimitForm* limiter = m->sizeLimiter.get()) {
        limiter->setLimits(minWidth, maxWidth, minHeight, maxHeight);
        return;
    }
    // Qt's limits are of the inner area; the window manager adds its frame.
    setMinimumSize(qMax(0, minWidth - frameWidth()), qMax(0, minHeight - frameHeight()));
    setMaximumSize(qMax(0, maxWidth - frameWidth()), qMax(0, maxHeight - frameHeight()));
}

void frmMemo::SetMemoView(int mode) {
    m_memoView = mode;
    const int collapsedHeight = frameHeight() + m_cmbMemo->sizeHint().height();
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1920, 1080);
    const int minWidth = platform::twipsToPixelsX(this, kMinimumWidth);
    if (mode == 0) {
        applySizeLimits(minWidth, screenRect.width(), collapsedHeight, collapsedHeight);
        resize(width(), collapsedHeight - frameHeight());
        m_mnuPopupLogView->setChecked(false);
    } else {
        m_ctlMemo->ensureControls();
        applySizeLimits(minWidth, screenRect.width(), collapsedHeight, screenRect.height());
        resize(width(), collapsedHeight + m_ctlMemo->height() - frameHeight());
        m_mnuPopupLogView->setChecked(true);
    }
    layoutControls();
}

// ---- app::IPlacedWindow -----------------------------------------------------------------------

int frmMemo::frameHeightTwips() const {
    return platform::pixelsToTwipsY(this, frameHeight());
}
int frmMemo::inputLineHeightTwips() const {
    return platform::pixelsToTwipsY(this, m_cmbMemo->sizeHint().height());
}
int frmMemo::memoPaneHeightTwips() const {
    return platform::pixelsToTwipsY(this, m_ctlMemo->height());
}
QList<QRect> frmMemo::availableAreasTwips() const {
    QList<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect a = s->availableGeometry();
        areas.append(QRect(
            platform::pixelsToTwipsX(this, a.x()), platform::pixelsToTwipsY(this, a.y()),
            platform::pixelsToTwipsX(this, a.width()), platform::pixelsToTwipsY(this, a.height())));
    }
    return areas;
}

int frmMemo::screenWidthTwips() const {
    const QScreen* s = screen();
    return platform::pixelsToTwipsX(this, s ? s->geometry().width() : 0);
}
int frmMemo::screenHeightTwips() const {
    const QScreen* s = screen();
    return platform::pixelsToTwipsY(this, s ? s->geometry().height() : 0);
}
// Widths are those of the inner area: the frame is the window manager's, is unknown before the
// first show, and must not make the stored width creep from one start to the next.
void frmMemo::setWindowHeightTwips(int height) {
    resize(width(), qMax(1, platform::twipsToPixelsY(this, height) - frameHeight()));
}
int frmMemo::windowHeightTwips() const {
    return platform::pixelsToTwipsY(this, height() + frameHeight());
}
void frmMemo::setWindowWidthTwips(int width) {
    resize(qMax(1, platform::twipsToPixelsX(this, width)), height());
}
int frmMemo::windowWidthTwips() const {
    return platform::pixelsToTwipsX(this, width());
}
void frmMemo::setMemoPaneHeightTwips(int height) {
    m_ctlMemo->resize(m_ctlMemo->width(), qMax(0, platform::twipsToPixelsY(this, height)));
}
void frmMemo::setWindowLeftTwips(int left) {
    move(platform::twipsToPixelsX(this, left), pos().y());
}
int frmMemo::windowLeftTwips() const {
    return platform::pixelsToTwipsX(this, pos().x());
}
void frmMemo::setWindowTopTwips(int top) {
    move(pos().x(), platform::twipsToPixelsY(this, top));
}
int frmMemo::windowTopTwips() const {
    return platform::pixelsToTwipsY(this, pos().y());
}

// ---- showing and hiding -----------------------------------------------------------------------

bool frmMemo::ShowForm() {
    app::ForceForeground(this);
    if (m_trayReady)
        focusInputLine();
    return true;
}

void frmMemo::focusInputLine() {
    m_cmbMemo->setFocus(Qt::ActiveWindowFocusReason);
    // The line left from before is selected, so what the user types next replaces it.
    m_cmbMemo->lineEdit()->selectAll();
    // Qt has no "input method off" state; preferring Latin input is the nearest: the input
    // method starts in direct input and the user may still switch it on. Never undone.
    // The combo box holds the focus and answers the input method for its line edit.
    if (!config::options().IMEState)
        m_cmbMemo->setInputMethodHints(m_cmbMemo->inputMethodHints() | Qt::ImhPreferLatin);
}

bool frmMemo::HideForm() {
    endFind(true);
    hide();
    return false;
}

void frmMemo::SetTopMost(bool on) {
    app::SetTopMost(this, on);
}

// ---- title strip ------------------------------------------------------------------------------

void frmMemo::onTitleStripReleased(Qt::MouseButton button, const QPoint& globalPosition) {
    m_cmbMemo->setFocus(Qt::MouseFocusReason);
    if (button == Qt::RightButton)
        popupMenuAt(globalPosition, true);
}

// ---- activation -------------------------------------------------------------------------------

void frmMemo::onAppActivate() {
    m_picTitleBar->setActiveLook(true);
}

void frmMemo::onAppDeactivate() {
    m_picTitleBar->setActiveLook(false);
    SavePosition();
    if (m_settingsLoaded && !m_unloaded)
        m->memos.save(false);
}

// ---- drops and keys ---------------------------------------------------------------------------

void frmMemo::AppendDropText(const QMimeData* data) {
    QLineEdit* line = m_cmbMemo->lineEdit();
    line->setText(app::appendDroppedText(line->text(), app::droppedText(data)));
    line->end(false);
}

bool frmMemo::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (app::canAcceptDrop(drag->mimeData())) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        ShowForm(); // first: showing selects the line, the dropped text then ends it
        AppendDropText(drop->mimeData());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    case QEvent::KeyPress:
        if (watched == m_cmbMemo)
            return routeInputLineKey(static_cast<QKeyEvent*>(event));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// The window sees the input line's keys first: a bound function that handles the key swallows
// it, and the character of a bound keystroke is not typed.
bool frmMemo::routeInputLineKey(QKeyEvent* event) {
    if (routeFindKey(event))
        return true;
    input::CKeyMapping* keys = m->KeyMapping.get();
    if (!keys)
        return false;
    const platform::KeyStroke stroke = platform::keyStrokeFromEvent(*event);
    int keyCode = stroke.keyCode;
    int shift = stroke.shift;
    keys->Exec(keyCode, shift);
    if (keyCode == 0 && stroke.keyCode != 0)
        return true;
    if (isMenuKey(keyCode, shift)) {
        ShowMenu();
        return true;
    }
    const int character = platform::typedCharacter(*event);
    return character != 0 && keys->IsKeyMappingAscii(character);
}

void frmMemo::routeMemoPaneKeyDown(int& keyCode, int& shift) {
    if (input::CKeyMapping* keys = m->KeyMapping.get())
        keys->Exec(keyCode, shift);
    if (isMenuKey(keyCode, shift)) {
        ShowMenu();
        keyCode = 0;
    }
}

void frmMemo::routeMemoPaneKeyPress(int& keyAscii) {
    if (input::CKeyMapping* keys = m->KeyMapping.get(); keys && keys->IsKeyMappingAscii(keyAscii))
        keyAscii = 0;
}

void frmMemo::confirmMemoDelete(int&, bool& cancel) {
    const int answer = withTopMostSuspended([] {
        return platform::showMessageBox(tr("このメモを削除します。よろしいですか？"),
                                        int(platform::mb::YesNo) | platform::mb::DefaultButton2,
                                        tr("確認"));
    });
    cancel = answer == platform::mb::No;
}

void frmMemo::closeEvent(QCloseEvent* event) {
    // Window managers take Alt+F4 for themselves and turn it into a close request, so a close
    // from the window manager is the user's ExitApp and asks as it does. Any other close (the
    // program's own, the end of a session) unloads without a question.
    if (event->spontaneous() && !m_unloaded && m_settingsLoaded) {
        if (!QuitApp())
            event->ignore();
        return;
    }
    Unload();
    event->accept();
}
