// The window's desktop side: tray icon, size limiter, activation watcher and global hotkey.
#include "frmMemo.h"

#include "AppInfo.h"
#include "ProgramIcon.h"
#include "WindowOps.h"
#include "frmMemoMembers.h"
#include "platform/MessageBox.h"
#include "platform/gui/WindowResize.h"

#include "config/Settings.h"
#include "controls/uHotKey.h"
#include "desktop/HotKeyService.h"

#include <QCoreApplication>

#include <QAction>
#include <QMenu>

namespace {
// The warning names the combination and where to choose another: the refusal usually means
// that another program holds the same keys.
void showHotKeyWarning(frmMemo* window, const QString& reason) {
    const config::Options& options = config::options();
    QString text = QStringLiteral("ホットキーの登録に失敗しました。");
    const QString keys = controls::uHotKey::modifierText(options.HotKeyMask) +
                         controls::uHotKey::keyName(options.HotKey);
    if (!keys.isEmpty())
        text += QCoreApplication::translate("HotKeyWarning", "\n\nホットキー: %1").arg(keys);
    // Where the desktop manages the keys, its reason says what to do instead.
    text += reason.isEmpty() ? QCoreApplication::translate(
                                   "HotKeyWarning",
                                   "\n\n他のプログラムが同じキーを使っている可能性があります。"
                                   "\n別のキーは「設定」の「全般」タブの「ホットキー」で選べます。")
                             : QStringLiteral("\n\n") + reason;
    window->withTopMostSuspended([&] {
        platform::showMessageBox(text, int(platform::mb::OKOnly) | platform::mb::Exclamation,
                                 app::ProductName());
    });
}
} // namespace

void frmMemo::createWindowHooks() {
    m->sizeLimiter = std::make_unique<CLimitForm>();
    m->mActive = std::make_unique<CAppActive>();
    m->sizeLimiter->Initialize(this);
    // The bar has no frame of the window manager's to take hold of.
    platform::installResizeEdges(this);
    connect(m->mActive.get(), &CAppActive::Activate, this, [this] {
        if (!m_unloaded)
            onAppActivate();
    });
    connect(m->mActive.get(), &CAppActive::Deactivate, this, [this] {
        if (!m_unloaded)
            onAppDeactivate();
    });
    m->mActive->StartSubClass(this);
}

// Created in this order; TrayReady is set between the tray and the hotkey.
void frmMemo::createCallBackPaths() {
    app::InstallProgramIcon();
    setWindowIcon(app::ProgramIcon());
    m->mTray = std::make_unique<CTray>();
    m->mTray->setIcon(windowIcon());
    m->mTray->setTooltipText(app::AppTitleWithVersion());
    connect(m->mTray.get(), &CTray::MouseMove, this,
            [this] { m_wasForeground = app::IsForeground(this); });
    connect(m->mTray.get(), &CTray::MouseDown, this, &frmMemo::onTrayMouseDown);
    connect(m->mTray.get(), &CTray::DblClick, this, [this] { onTrayMouseDown(1); });
    connect(m->mTray.get(), &CTray::MouseUp, this, &frmMemo::onTrayMouseUp);
    if (m->mTray->hostDrawsMenu()) {
        // The tray host draws this menu itself; it holds the same actions as the window's.
        auto* hostMenu = new QMenu(this);
        hostMenu->addActions(m_mnuPopup->actions());
        connect(hostMenu, &QMenu::aboutToShow, this, [this] {
            m_mnuPopupView->setText(app::IsForeground(this) ? QStringLiteral("閉じる(&E)")
                                                            : QStringLiteral("表示(&V)"));
        });
        m->mTray->setHostMenu(hostMenu, m_mnuPopupView);
    }
    if (!config::options().NoTray)
        m->mTray->AddIcon(this);
    m_trayReady = true;

    m->mHotKey = std::make_unique<CHotKey>();
    // A desktop that answers later (its portal may ask the user) can still say no.
    desktop::hotKeyService().setLateRefusalHandler(
        [this](const QString& reason) { showHotKeyWarning(this, reason); });
    connect(m->mHotKey.get(), &CHotKey::HotKey, this, [this] {
        if (app::IsForeground(this))
            HideForm();
        else
            ShowForm();
    });
    SetupHotKey(true);
}

void frmMemo::releaseDesktopIntegration() {
    m->mHotKey.reset();
    m->mActive.reset();
    m->sizeLimiter.reset();
    m->mTray.reset();
}

void frmMemo::SetupHotKey(bool enable) {
    if (!m->mHotKey)
        return;
    if (!enable) {
        m->mHotKey->ResetHotKeys();
        return;
    }
    if (m->mHotKey->SetHotKey(this, config::options().HotKey, config::options().HotKeyMask)) {
        m->mHotKey->StartHotKeys();
        return;
    }
    // Where no program can register keys at all, the box says what works there.
    showHotKeyWarning(this, desktop::hotKeyService().unavailableReason());
}

bool frmMemo::canBeCalledBack() const {
    const bool trayShown = m->mTray && m->mTray->Visible() && CTray::isTrayAvailable();
    const bool hotKeyHeld =
        m->mHotKey && config::options().HotKey != 0 && !m->mHotKey->registeredIds().isEmpty();
    return trayShown || hotKeyHeld;
}

void frmMemo::onTrayMouseDown(int button) {
    if (button != 1)
        return;
    if (m_trayReady && m_wasForeground)
        HideForm();
    else
        ShowForm();
}

void frmMemo::onTrayMouseUp(int button) {
    if (button != 2 || !m_trayReady)
        return;
    m_mnuPopupView->setText(m_wasForeground ? QStringLiteral("閉じる(&E)")
                                            : QStringLiteral("表示(&V)"));
    m->mTray->PopupMenu(this, m_mnuPopup, m_mnuPopupView);
}

// The keyboard's menu key and Shift+F10 open the window menu too: window managers keep
// Alt+Space for their own menu. A binding of either key comes first.
bool frmMemo::isMenuKey(int keyCode, int shift) const {
    constexpr int kAppsKey = 93;
    constexpr int kF10 = 121;
    constexpr int kShiftBit = 1;
    return (keyCode == kAppsKey && shift == 0) || (keyCode == kF10 && shift == kShiftBit);
}

CTray* frmMemo::tray() const {
    return m->mTray.get();
}

CHotKey* frmMemo::hotKey() const {
    return m->mHotKey.get();
}
