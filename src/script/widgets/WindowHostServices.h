#pragma once

#include "script/widgets/InputBoxDialog.h"
#include "vbscript/objects/HostServices.h"

#include <QString>

#include <functional>
#include <optional>

namespace script {

// MsgBox, InputBox, WScript.Shell's Popup and Run for scripts run from the program's window.
// Boxes go through the program's message box (so tests script them as they script every other
// box), carry the script's title or else the program's own, and run inside the window's guard
// (which takes the window out of the topmost band while a box is up).
class WindowHostServices final : public vbscript::HostServices {
public:
    using InputDialog = std::function<std::optional<QString>(const InputBoxRequest&)>;
    // Runs `box` with whatever the window must do around a box of its own.
    using BoxGuard = std::function<void(const std::function<void()>& box)>;

    explicit WindowHostServices(QString programTitle);

    // The input box; the real dialog unless replaced.
    void setInputDialog(InputDialog dialog);
    void setBoxGuard(BoxGuard guard);

    int messageBox(std::u16string_view text, int style, std::u16string_view title,
                   int timeoutSeconds) override;
    std::optional<std::u16string> inputBox(std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText,
                                           BoxPosition position) override;
    bool shellExecute(std::u16string_view file, std::u16string_view parameters,
                      int windowStyle) override;

private:
    QString titleOr(std::u16string_view title) const;
    void guarded(const std::function<void()>& box) const;

    QString m_programTitle;
    InputDialog m_inputDialog;
    BoxGuard m_boxGuard;
};

} // namespace script
