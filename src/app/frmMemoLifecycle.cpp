#include "frmMemo.h"

#include "AppInfo.h"
#include "frmMemoMembers.h"
#include "memo/pane/uMultiMemo.h"
#include "platform/MessageBox.h"

#include "app/instance/CPrevInstance.h"
#include "config/CIniFile.h"

#include <QApplication>
#include <QComboBox>

void frmMemo::setPrevInstance(CPrevInstance* guard) {
    m_pPI = guard;
    guard->setParent(this);
    connect(guard, &CPrevInstance::RunAnotherInstance, this, [this](qint32) { ShowForm(); });
}

void frmMemo::Initialize(const QStringList& arguments) {
    LoadSettings(*this, arguments);
    m_settingsLoaded = true;

    m_ctlMemo->setFileName(options().MemoFileName);

    UpdateMenuCaptions();

    createDesktopIntegration();
    m_trayReady = true;

    SetMemoView(0);
    if (options().StartUpTray) {
        HideForm();
    } else {
        ShowForm();
        m_cmbMemo->setFocus(Qt::ActiveWindowFocusReason);
    }
    if (options().TopMost)
        SetTopMost(true);
}

// The tray icon, the size limiter, the activation watcher and the global hotkey are created here.
void frmMemo::createDesktopIntegration() {
    // Until the activation watcher exists, Qt's application state tells activation changes.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    onAppActivate();
                else
                    onAppDeactivate();
            });
    SetupHotKey(true);
}

void frmMemo::releaseDesktopIntegration() {}

void frmMemo::SetupHotKey(bool) {}

void frmMemo::Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    hide();
    releaseDesktopIntegration();
    emit unloaded();
}

bool frmMemo::ConfirmQuit() {
    return withTopMostSuspended([this] {
               return platform::showMessageBox(QStringLiteral("常駐解除します。\nよろしいですか？"),
                                               int(platform::mb::YesNo) |
                                                   platform::mb::DefaultButton2 |
                                                   platform::mb::Exclamation,
                                               app::AppTitleWithVersion());
           }) == platform::mb::Yes;
}

bool frmMemo::QuitApp() {
    if (options().UnresidentInfo && !ConfirmQuit())
        return false;
    Unload();
    return true;
}

void frmMemo::SavePosition() {
    CIniFile* ini = iniFile();
    if (!ini || !m_settingsLoaded)
        return;
    ini->setNowSection(QStringLiteral("Position"));
    ini->setData(QStringLiteral("Left"), QString::number(windowLeftTwips()));
    ini->setData(QStringLiteral("Top"), QString::number(windowTopTwips()));
    ini->setData(QStringLiteral("Width"), QString::number(windowWidthTwips()));
    ini->setData(QStringLiteral("Height"), QString::number(memoPaneHeightTwips()));
    ini->Save(QStringLiteral("Position"));
}

void frmMemo::UpdateMenuCaptions() {}

void frmMemo::ShowVersionInfo() {
    withTopMostSuspended([] { app::ShowVersionBox(); });
}
