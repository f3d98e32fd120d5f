// Start-up, unload and the end of the program.
#include "frmMemo.h"

#include "AppInfo.h"
#include "EvaluatorSetup.h"
#include "TitleStrip.h"
#include "frmMemoMembers.h"
#include "memo/MemoList.h"
#include "memo/pane/uMultiMemo.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/gui/AfterFirstExpose.h"
#include "platform/gui/KeyStroke.h"

#include "app/instance/CPrevInstance.h"
#include "config/CIniFile.h"
#include "input/MRUSection.h"

#include <QApplication>
#include <QComboBox>

void frmMemo::setPrevInstance(CPrevInstance* guard) {
    m_pPI = guard;
    guard->setParent(this);
    connect(guard, &CPrevInstance::RunAnotherInstance, this, [this](qint32) { ShowForm(); });
    // A prose line handed over by the console companion joins the memo shown here, when it is
    // the same file, and is saved at once so that it is on disk when the companion returns.
    connect(guard, &CPrevInstance::MemoLineArrived, this,
            [this](const QString& file, const QString& line, bool& appended) {
                if (!m_settingsLoaded || m_unloaded ||
                    !CPrevInstance::isSameFile(file, m->memos.list().FileName()))
                    return;
                appended = m->memos.fileLine(line);
            });
}

void frmMemo::Initialize(const QStringList& arguments) {
    app::LoadSettingsAndPlacement(*this, arguments);
    m_settingsLoaded = true;

    createEvaluator();

    m->historyAdapter = std::make_unique<HistoryComboAdapter>(*m_cmbMemo, m->history);
    m->history.setMax(options().MRU);
    if (CIniFile* ini = iniFile())
        LoadMRUSection(m->history, *ini);
    m_cmbMemo->setEditText(QString());

    const QString memoFile = platform::memoFilePath(options().MemoFileName);
    m->memos.setFailureReporter(
        [this](MemoFiler::Failure failure, const MemoFileError& error, const QString& fileName) {
            reportMemoFailure(failure, error, fileName);
        });
    if (auto error = m->memos.open(memoFile))
        reportMemoFileError(*error, memoFile);

    m->KeyMapping = std::make_unique<CKeyMapping>();
    m->KeyMapping->setCapsLockProbe(&platform::isCapsLockOn);
    if (CIniFile* ini = iniFile()) {
        ini->setNowSection(kKeyMappingSection);
        m->KeyMapping->Initialize(this, ini);
    } else {
        m->KeyMapping->Initialize(this);
    }
    m->KeyMapping->AddDefaultBindings();

    createDispatcher();
    UpdateMenuCaptions();

    createWindowHooks();

    SetMemoView(0);
    if (options().StartUpTray) {
        // Hidden only when the tray or the hotkey can bring it back.
        createCallBackPaths();
        if (canBeCalledBack())
            HideForm();
        else
            ShowForm();
    } else {
        // The tray (a bus query and a docking handshake) and the icon's decoding take longer
        // than everything else the start adds to a bare window: they follow the first show. Until
        // they are there, ShowForm leaves the focus to the caller.
        ShowForm();
        focusInputLine();
        platform::flushWindowSystem();
        platform::runAfterFirstExpose(this, [this] {
            if (!m_unloaded)
                createCallBackPaths();
        });
    }
    if (options().TopMost)
        SetTopMost(true);
}

void frmMemo::createEvaluator() {
    // Installed first: the script file may show a box while it loads.
    m->hostServices = app::createWindowHostServices(
        [this](const std::function<void()>& box) { withTopMostSuspended(box); });
    m->hostServicesInstalled = std::make_unique<script::ScopedHostServices>(m->hostServices.get());
    bool scriptLoaded = true;
    m->runGuard = std::make_unique<script::RunawayScriptGuard>(app::AppTitleWithVersion());
    m->pEval = app::createProgramEvaluator(platform::userScriptFilePath(), scriptLoaded,
                                           m->runGuard.get());
    if (!scriptLoaded)
        platform::showMessageBox(QStringLiteral("Scrivlet.vbsファイルのロードに失敗しました。"),
                                 int(platform::mb::OKOnly) | platform::mb::Exclamation,
                                 app::AppTitleWithVersion());
}

void frmMemo::createDispatcher() {
    m->historyPort = std::make_unique<app::HistoryPort>(m->history);
    m->clipboardPort = std::make_unique<app::SystemClipboardPort>();
    m->windowPort = std::make_unique<app::WindowPort>(*this, *m_cmbMemo);
    engine::DispatcherPorts ports;
    ports.evaluator = m->pEval.get();
    ports.memos = &m->memos;
    ports.history = m->historyPort.get();
    ports.clipboard = m->clipboardPort.get();
    ports.window = m->windowPort.get();
    m->dispatcher = std::make_unique<engine::LineDispatcher>(ports, iniFile(), options());
}

void frmMemo::Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_settingsLoaded) {
        if (CIniFile* ini = iniFile()) {
            if (m->historyAdapter && !SaveMRUSection(m->history, *ini))
                platform::showMessageBox(QStringLiteral("MRUの保存に失敗しました。"),
                                         platform::mb::OKOnly, app::ProductName());
            if (m->KeyMapping) {
                ini->setNowSection(kKeyMappingSection);
                m->KeyMapping->SaveMapping(*ini);
            }
        }
        // Text typed into the memo since the last focus change is not lost at the end.
        m->memos.save(true);
    }
    hide();
    // The pane's focus signals fire while the window's children are destroyed; nothing of ours
    // may answer them then.
    disconnect(m_ctlMemo, nullptr, this, nullptr);
    m->dispatcher.reset();
    m->KeyMapping.reset();
    m->historyAdapter.reset();
    m->pEval.reset();
    m->hostServicesInstalled.reset();
    m->hostServices.reset();
    releaseDesktopIntegration();
    emit unloaded();
}

bool frmMemo::ConfirmQuit() {
    return withTopMostSuspended([] {
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
    app::SaveWindowPlacement(*ini, *this);
}

void frmMemo::reportMemoFailure(MemoFiler::Failure failure, const MemoFileError& error,
                                const QString& fileName) {
    const QString text =
        failure == MemoFiler::Failure::NotReadable
            ? memoNotWritableText(error.description)
            : QStringLiteral("メモの保存に失敗しました。\n%1\n%2").arg(fileName, error.description);
    withTopMostSuspended([&] {
        platform::showMessageBox(text, int(platform::mb::OKOnly) | platform::mb::Exclamation,
                                 app::AppTitleWithVersion());
    });
}

void frmMemo::reportMemoFileError(const MemoFileError& error, const QString& fileName) {
    withTopMostSuspended([&] {
        platform::showMessageBox(QStringLiteral("メモファイルを読み込めませんでした。\n%1\n%2")
                                     .arg(fileName, error.description),
                                 int(platform::mb::OKOnly) | platform::mb::Exclamation,
                                 app::AppTitleWithVersion());
    });
}

void frmMemo::UpdateMenuCaptions() {
    auto withKey = [this](const QString& caption, const QString& function) {
        const QString key = m->KeyMapping ? m->KeyMapping->GetKeyMapping(function) : QString();
        return key.isEmpty() ? caption : caption + QLatin1Char('\t') + key;
    };
    m_mnuPopupLogView->setText(
        withKey(QStringLiteral("ログを表示(&L)"), QStringLiteral("ShowToggleMemo")));
    m_mnuPopupProperty->setText(
        withKey(QStringLiteral("設定(&O)"), QStringLiteral("ShowProperty")));
    m_mnuPopupHelpHelp->setText(withKey(QStringLiteral("ヘルプ(&H)"), QStringLiteral("ShowHelp")));
    m_mnuPopupExit->setText(withKey(QStringLiteral("終了(&X)"), QStringLiteral("ExitApp")));
}

void frmMemo::ShowVersionInfo() {
    withTopMostSuspended([] { app::ShowVersionBox(); });
}

CKeyMapping* frmMemo::keyMapping() const {
    return m->KeyMapping.get();
}

const CMRUCombo& frmMemo::history() const {
    return m->history;
}
