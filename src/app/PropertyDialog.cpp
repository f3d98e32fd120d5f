#include "PropertyDialog.h"

#include "AppInfo.h"
#include "DropText.h"
#include "ProgramIcon.h"
#include "frmMemo.h"

#include "config/Settings.h"
#include "platform/gui/WindowControl.h"
#include "script/CEval.h"
#include "settings_dialog/PropertyHost.h"
#include "settings_dialog/TimerList.h"
#include "settings_dialog/frmProperty.h"

#include <QComboBox>
#include <QPointer>

namespace app {

namespace {

class WindowPropertyHost final : public settings_dialog::IPropertyHost {
public:
    explicit WindowPropertyHost(frmMemo& window) : m_window(window) {}

    QString appTitleWithVersion() const override { return AppTitleWithVersion(); }
    QIcon programIcon() const override { return ProgramIcon(); }
    engine::IEvaluator* evaluator() const override { return m_window.evaluator(); }

    bool scriptEngineAvailable() const override {
        const auto* eval = dynamic_cast<const script::CEval*>(m_window.evaluator());
        return eval && eval->Executable();
    }

    bool reloadScriptFile(const QString& path) override {
        auto* eval = dynamic_cast<script::CEval*>(m_window.evaluator());
        if (!eval)
            return false;
        eval->setAddCodeFile(path);
        if (!eval->AddCodeFile().isEmpty())
            return true;
        // A failed load stopped before the host objects came back; they are loaded without it.
        eval->setAddCodeFile(QString());
        return false;
    }

    void clearHistoryList() override { m_window.ClearHistory(); }

    QString textAfterDrop(const QString& boxText, const QMimeData* dropped) const override {
        return appendDroppedText(boxText, droppedText(dropped));
    }

private:
    frmMemo& m_window;
};

} // namespace

void showPropertyDialog(frmMemo& window, int tabIndex) {
    config::CIniFile* ini = config::iniFile();
    if (!ini)
        return;
    WindowPropertyHost host(window);
    settings_dialog::frmProperty dialog(host, *ini, config::options(), settings_dialog::timerList(),
                                        &window);
    dialog.Show2(tabIndex, true);
    // Not every window manager gives the focus back to the window a dialog was over (openbox
    // leaves no window active); the user goes on typing in the input line.
    if (window.isVisible())
        platform::forceForeground(&window);
}

void connectTimers(frmMemo& window) {
    settings_dialog::timerList().setRunner([w = QPointer<frmMemo>(&window)](const QString& line) {
        if (w)
            w->RunTimerLine(line);
    });
}

} // namespace app
