// The functions the key bindings call by name.
#include "frmMemo.h"

#include "TitleStrip.h"
#include "frmMemoMembers.h"
#include "memo/pane/uMultiMemo.h"

#include <QComboBox>
#include <QMenu>

bool frmMemo::memoPaneIsActive() const {
    return m_ctlMemo->hasFocusInside();
}

bool frmMemo::Execute() {
    return false;
}

bool frmMemo::AddMemo() {
    return false;
}

bool frmMemo::ShowProperty() {
    return true;
}

bool frmMemo::ShowToggleMemo() {
    if (isVisible() && m_memoView == 1) {
        SetMemoView(0);
        m_cmbMemo->setFocus(Qt::OtherFocusReason);
    } else if (isVisible()) {
        SetMemoView(1);
        m_ctlMemo->setFocus(Qt::OtherFocusReason);
    } else {
        SetMemoView(1);
        ShowForm();
        m_ctlMemo->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

bool frmMemo::ShowMenu() {
    popupMenuAt(mapToGlobal(QPoint(m_picTitleBar->width(), 0)), true);
    return false;
}

bool frmMemo::ShowHelp() {
    return false;
}

bool frmMemo::ExitApp() {
    QuitApp();
    return true;
}

bool frmMemo::CreateNewMemo() {
    return false;
}

bool frmMemo::DeleteActiveMemo() {
    return true;
}

bool frmMemo::MovePrevMemo() {
    return false;
}

bool frmMemo::MoveNextMemo() {
    return false;
}

bool frmMemo::DropdownTitle() {
    SetMemoView(1);
    m_ctlMemo->setFocus(Qt::OtherFocusReason);
    return m_ctlMemo->DropdownTitle();
}

bool frmMemo::ExecuteMemoLine() {
    return m_ctlMemo->ExecuteMemoLine();
}
