// The functions the key bindings call by name, and the settings dialog's round trip.
#include "frmMemo.h"

#include "TitleStrip.h"
#include "frmMemoMembers.h"
#include "memo/pane/uMultiMemo.h"
#include "platform/AppPaths.h"

#include "engine/ShellExecution.h"

#include <QComboBox>
#include <QFileInfo>
#include <QMenu>

// Enter and Shift+Enter belong to the memo pane while it is the active control.
bool frmMemo::Execute() {
    if (!m->dispatcher || memoPaneIsActive())
        return false;
    m->dispatcher->ExecuteLine(m_cmbMemo->currentText());
    return true;
}

bool frmMemo::AddMemo() {
    if (!m->dispatcher || memoPaneIsActive())
        return false;
    m->dispatcher->AddMemoText(m_cmbMemo->currentText());
    return true;
}

bool frmMemo::ShowProperty() {
    SetupHotKey(false);
    withTopMostSuspended([this] {
        m_trayReady = false;
        runSettingsDialog(0);
        m_trayReady = true;
    });
    // The dialog may have turned always-on-top on or off.
    SetTopMost(config::options().TopMost);
    SetupHotKey(true);
    const QString memoFile = platform::memoFilePath(config::options().MemoFileName);
    memo::MemoList& memos = m->memos.list();
    if (memos.FileName() != memoFile) {
        if (auto error = memos.setFileName(memoFile)) {
            reportMemoFileError(*error, memoFile);
        } else {
            memos.setMemoIndex(1);
            if (auto loadError = memos.Load())
                reportMemoFileError(*loadError, memoFile);
        }
    }
    m->history.setMax(config::options().MRU);
    return true;
}

void frmMemo::setSettingsDialog(std::function<void(frmMemo&, int)> dialog) {
    m_settingsDialog = std::move(dialog);
}

void frmMemo::runSettingsDialog(int tabIndex) {
    if (m_settingsDialog)
        m_settingsDialog(*this, tabIndex);
}

bool frmMemo::RunTimerLine(const QString& line) {
    if (!m->dispatcher || m_unloaded)
        return false;
    m->dispatcher->ExecuteLine(line, engine::LineOrigin::Timer);
    return true;
}

engine::IEvaluator* frmMemo::evaluator() const {
    return m->pEval.get();
}

bool frmMemo::ShowToggleMemo() {
    if (isVisible() && m_memoView == 1) {
        SetMemoView(0);
        m_cmbMemo->setFocus(Qt::OtherFocusReason);
    } else if (isVisible()) {
        SetMemoView(1);
        focusMemoPane();
    } else {
        SetMemoView(1);
        ShowForm();
        focusMemoPane();
    }
    return true;
}

bool frmMemo::ShowMenu() {
    popupMenuAt(mapToGlobal(QPoint(m_picTitleBar->width(), 0)), true);
    return false;
}

bool frmMemo::ShowHelp() {
    // The user's own copy in the program folder first; an installed program keeps its settings
    // in the user's folder and its guide in the installation's doc folder.
    QString file = platform::AppPath() + platform::guideFileName();
    if (!QFileInfo::exists(file))
        file = platform::guideFilePath();
    const QString help = QLatin1Char('"') + file + QLatin1Char('"');
    const bool opened = m_shellOpener(help);
    if (opened)
        HideForm();
    return opened;
}

bool frmMemo::ExitApp() {
    QuitApp();
    return true;
}

bool frmMemo::CreateNewMemo() {
    const bool created = m_ctlMemo->CreateNewMemo();
    focusMemoPane();
    return created;
}

bool frmMemo::DeleteActiveMemo() {
    m_ctlMemo->DeleteActiveMemo();
    return true;
}

bool frmMemo::MovePrevMemo() {
    const bool moved = m_ctlMemo->MovePrevMemo();
    SetMemoView(1);
    return moved;
}

bool frmMemo::MoveNextMemo() {
    const bool moved = m_ctlMemo->MoveNextMemo();
    SetMemoView(1);
    return moved;
}

bool frmMemo::DropdownTitle() {
    SetMemoView(1);
    focusMemoPane();
    return m_ctlMemo->DropdownTitle();
}

bool frmMemo::ExecuteMemoLine() {
    return m_ctlMemo->ExecuteMemoLine();
}

memo::MemoFiler& frmMemo::memos() const {
    return m->memos;
}

bool frmMemo::memoPaneIsActive() const {
    return m_ctlMemo->hasFocusInside();
}

void frmMemo::focusMemoPane() {
    m_ctlMemo->setFocus(Qt::OtherFocusReason);
}

void frmMemo::setShellOpener(std::function<bool(const QString&)> opener) {
    m_shellOpener = std::move(opener);
    m_ctlMemo->setShellOpener(m_shellOpener);
}
