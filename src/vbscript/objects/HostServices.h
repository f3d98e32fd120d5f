#pragma once

// What the script library needs from the program around it: message boxes, the input box and
// opening things through the desktop. The engine is free of any GUI, so the program installs
// an implementation at start-up; without one these calls fail with error 17 (the requested
// operation cannot be performed) instead of blocking or guessing.

#include <optional>
#include <string>
#include <string_view>

namespace vbscript {

class HostServices {
public:
    virtual ~HostServices() = default;

    // Shows a modal box. `style` is MsgBox's buttons argument (button set, icon, default button
    // and modality bits as the vb* constants combine them). An empty title asks for the
    // program's own. Returns the button pressed (vbOK 1 .. vbNo 7), or -1 when
    // `timeoutSeconds` > 0 ran out first.
    virtual int messageBox(std::u16string_view text, int style, std::u16string_view title,
                           int timeoutSeconds) = 0;

    // Where a box goes: twips from the screen's left and top edges, where the script says.
    struct BoxPosition {
        std::optional<int32_t> xTwips;
        std::optional<int32_t> yTwips;
    };

    // Asks for one line of text; nullopt when the user cancelled.
    virtual std::optional<std::u16string> inputBox(std::u16string_view prompt,
                                                   std::u16string_view title,
                                                   std::u16string_view defaultText,
                                                   BoxPosition position) = 0;

    // Opens a file, folder, URL or program with its parameters the way the program opens the
    // pieces of its input line. `windowStyle` is WScript.Shell's Run style (1 normal ...).
    // Returns false when nothing could be started.
    virtual bool shellExecute(std::u16string_view file, std::u16string_view parameters,
                              int windowStyle) = 0;
};

// The services in use; nullptr until the program installs some. Not owned.
HostServices* hostServices();
void setHostServices(HostServices* services);

// hostServices(), raising error 17 when none is installed.
HostServices& requireHostServices();

} // namespace vbscript
