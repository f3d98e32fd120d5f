#pragma once

#include "vbscript/objects/HostServices.h"

#include <istream>
#include <ostream>

namespace script {

// MsgBox, InputBox and WScript.Shell's Run for a script run from a terminal: a box prints its
// text and answers with its default button, an input box prompts on `out` and reads one line
// from `in` (end of input cancels), and Run opens things the way the program does.
class ConsoleHostServices final : public vbscript::HostServices {
public:
    ConsoleHostServices(std::istream& in, std::ostream& out) : m_in(in), m_out(out) {}

    int messageBox(std::u16string_view text, int style, std::u16string_view title,
                   int timeoutSeconds) override;
    std::optional<std::u16string> inputBox(std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText,
                                           BoxPosition position) override;
    bool shellExecute(std::u16string_view file, std::u16string_view parameters,
                      int windowStyle) override;

private:
    std::istream& m_in;
    std::ostream& m_out;
};

// Installs services for the life of the object and puts the previous ones back.
class ScopedHostServices {
public:
    explicit ScopedHostServices(vbscript::HostServices* services)
        : m_previous(vbscript::hostServices()) {
        vbscript::setHostServices(services);
    }
    ~ScopedHostServices() { vbscript::setHostServices(m_previous); }
    ScopedHostServices(const ScopedHostServices&) = delete;
    ScopedHostServices& operator=(const ScopedHostServices&) = delete;

private:
    vbscript::HostServices* m_previous;
};

} // namespace script
