// Start-up, unload and the end of the program.
#include "frmMemo.h"

#include "AppInfo.h"
#include "EvaluatorSetup.h"
#include "TitleStrip.h"
#include "frmMemoMembers.h"
#include "memo/MemoList.h"
#include "memo/pane/uMultiMemo.h"
#include "platform/AppPaths.h"
#include "platform/DesktopApplications.h"
#include "platform/MessageBox.h"
#include "platform/gui/AfterFirstExpose.h"
#include "platform/gui/KeyStroke.h"

#include "app/instance/CPrevInstance.h"
#include "config/CIniFile.h"
#include "input/MRUSection.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

void frmMemo::setPrevInstance(CPrevInstance* guard) {
    m_pPI = guard;
    guard->setParent(this);
    connect(guard, &CPrevInstance::RunAnotherInstance, this, [this](qint32) { ShowForm(); });
    // A prose line handed over by the console companion joins the memo shown here, when it is
    // the same file, and is saved at once so that it is on disk when the companion returns.
    connect(guard, &CPrevInstance::MemoLineArrived, this,
            [this](const QString& file, const QString& line, bool& appended, QString& failure,
                   const QString& memoTitle) {
                if (!m_settingsLoaded || m_unloaded ||
                    !CPrevInstance::isSameFile(file, m->memos.list().FileName()))
                    return;
                // The sender waits for the reply: the reason goes back now, a box comes after.
                m_handOffFailure = &failure;
                appended = m->memos.fileLineInto(memoTitle, line);
                m_handOffFailure = nullptr;
                // Never "another file" for a file held here: the sender would write it itself.
                if (!appended && failure.isEmpty())
                    failure = tr("メモの保存に失敗しました。\n%1").arg(m->memos.list().FileName());
            });
}

void frmMemo::Initialize(const QStringList& arguments) {
    app::LoadSettingsAndPlacement(*this, arguments);
    m_settingsLoaded = true;

    createEvaluator();

    m->historyAdapter = std::make_unique<input::HistoryComboAdapter>(*m_cmbMemo, m->history);
    m->history.setMax(config::options().MRU);
    // Names that start an application (ASCII ones; GIO is read only when first needed).
    m->history.setFallbackCompletions([] {
        QStringList names;
        for (const platform::DesktopApplication& application : platform::installedApplications())
            if (platform::isApplicationName(application.name))
                names << application.name;
        return names;
    });
    if (config::CIniFile* ini = config::iniFile())
        input::LoadMRUSection(m->history, *ini);
    m_cmbMemo->setEditText(QString());

    const QString memoFile = platform::memoFilePath(config::options().MemoFileName);
    m->memos.setFailureReporter(
        [this](memo::MemoFiler::Failure failure, const memo::MemoFileError& error,
               const QString& fileName) { reportMemoFailure(failure, error, fileName); });
    if (auto error = m->memos.open(memoFile))
        reportMemoFileError(*error, memoFile);

    m->KeyMapping = std::make_unique<input::CKeyMapping>();
    m->KeyMapping->setCapsLockProbe(&platform::isCapsLockOn);
    if (config::CIniFile* ini = config::iniFile()) {
        ini->setNowSection(input::kKeyMappingSection);
        m->KeyMapping->Initialize(this, ini);
    } else {
        m->KeyMapping->Initialize(this);
    }
    m->KeyMapping->AddDefaultBindings();

    createDispatcher();
    UpdateMenuCaptions();

    createWindowHooks();

    SetMemoView(0);
    if (config::options().StartUpTray) {
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
    if (config::options().TopMost)
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
        platform::showMessageBox(tr("Scrivlet.vbsファイルのロードに失敗しました。"),
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
    m->dispatcher =
        std::make_unique<engine::LineDispatcher>(ports, config::iniFile(), config::options());
}

void frmMemo::Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_settingsLoaded) {
        if (config::CIniFile* ini = config::iniFile()) {
            if (m->historyAdapter)
                saveHistory(*ini);
            if (m->KeyMapping) {
                ini->setNowSection(input::kKeyMappingSection);
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
               return platform::showMessageBox(tr("常駐解除します。\nよろしいですか？"),
                                               int(platform::mb::YesNo) |
                                                   platform::mb::DefaultButton2 |
                                                   platform::mb::Exclamation,
                                               app::AppTitleWithVersion());
           }) == platform::mb::Yes;
}

bool frmMemo::QuitApp() {
    if (config::options().UnresidentInfo && !ConfirmQuit())
        return false;
    Unload();
    return true;
}

void frmMemo::SavePosition() {
    config::CIniFile* ini = config::iniFile();
    if (!ini || !m_settingsLoaded)
        return;
    app::SaveWindowPlacement(*ini, *this);
}

void frmMemo::reportMemoFailure(memo::MemoFiler::Failure failure, const memo::MemoFileError& error,
                                const QString& fileName) {
    const QString text =
        failure == memo::MemoFiler::Failure::NotReadable
            ? memo::memoNotWritableText(error.description)
            : tr("メモの保存に失敗しました。\n%1\n%2").arg(fileName, error.description);
    if (m_handOffFailure)
        *m_handOffFailure = text;
    tellUser(text, m_handOffFailure != nullptr);
}

void frmMemo::tellUser(const QString& text, bool afterReply) {
    const auto show = [this, text] {
        withTopMostSuspended([&] {
            platform::showMessageBox(text, int(platform::mb::OKOnly) | platform::mb::Exclamation,
                                     app::AppTitleWithVersion());
        });
    };
    if (!afterReply) {
        show();
        return;
    }
    // Inside the channel's handler: a box would keep the sender waiting. One box stands for every
    // line that fails until the user has closed it.
    if (m_boxAfterReplyPending)
        return;
    m_boxAfterReplyPending = true;
    QTimer::singleShot(0, this, [this, show] {
        show();
        m_boxAfterReplyPending = false;
    });
}

void frmMemo::reportMemoFileError(const memo::MemoFileError& error, const QString& fileName) {
    withTopMostSuspended([&] {
        platform::showMessageBox(
            tr("メモファイルを読み込めませんでした。\n%1\n%2").arg(fileName, error.description),
            int(platform::mb::OKOnly) | platform::mb::Exclamation, app::AppTitleWithVersion());
    });
}

void frmMemo::UpdateMenuCaptions() {
    auto withKey = [this](const QString& caption, const QString& function) {
        const QString key = m->KeyMapping ? m->KeyMapping->GetKeyMapping(function) : QString();
        return key.isEmpty() ? caption : caption + QLatin1Char('\t') + key;
    };
    m_mnuPopupLogView->setText(withKey(tr("ログを表示(&L)"), QStringLiteral("ShowToggleMemo")));
    m_mnuPopupProperty->setText(withKey(tr("設定(&O)"), QStringLiteral("ShowProperty")));
    m_mnuPopupHelpHelp->setText(withKey(tr("ヘルプ(&H)"), QStringLiteral("ShowHelp")));
    m_mnuPopupExit->setText(withKey(tr("終了(&X)"), QStringLiteral("ExitApp")));
}

void frmMemo::ShowVersionInfo() {
    withTopMostSuspended([] { app::ShowVersionBox(); });
}

input::CKeyMapping* frmMemo::keyMapping() const {
    return m->KeyMapping.get();
}

const input::CMRUCombo& frmMemo::history() const {
    return m->history;
}

void frmMemo::ClearHistory() {
    m->history.ClearMRU();
    if (config::CIniFile* ini = config::iniFile())
        saveHistory(*ini);
}

void frmMemo::saveHistory(config::CIniFile& ini) {
    if (!input::SaveMRUSection(m->history, ini))
        platform::showMessageBox(tr("MRUの保存に失敗しました。"), platform::mb::OKOnly,
                                 app::ProductName());
}
