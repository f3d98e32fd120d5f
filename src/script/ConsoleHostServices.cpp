#include "script/ConsoleHostServices.h"

#include "platform/ShellExecute.h"

#include <QString>

#include <string>
#include <vector>

namespace script {

namespace {

QString qs(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

void writeUtf8(std::ostream& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    out.write(utf8.constData(), utf8.size());
    out.flush();
}

// The buttons of MsgBox's button sets, in order (vbOK 1, vbCancel 2, vbAbort 3, vbRetry 4,
// vbIgnore 5, vbYes 6, vbNo 7).
const std::vector<int>& buttonsOf(int buttonSet) {
    static const std::vector<int> sets[] = {{1}, {1, 2}, {3, 4, 5}, {6, 7, 2}, {6, 7}, {4, 2}};
    return sets[buttonSet >= 0 && buttonSet < 6 ? buttonSet : 0];
}

} // namespace

int ConsoleHostServices::messageBox(std::u16string_view text, int style, std::u16string_view, int) {
    writeUtf8(m_out, qs(text) + u'\n');
    const std::vector<int>& buttons = buttonsOf(style & 0x7);
    const size_t defaultButton = static_cast<size_t>((style >> 8) & 0x3);
    return buttons[std::min(defaultButton, buttons.size() - 1)];
}

std::optional<std::u16string> ConsoleHostServices::inputBox(std::u16string_view prompt,
                                                            std::u16string_view,
                                                            std::u16string_view defaultText,
                                                            BoxPosition) {
    QString shown = qs(prompt);
    if (!defaultText.empty()) {
        shown += QStringLiteral(" [") + qs(defaultText) + u']';
    }
    writeUtf8(m_out, shown + QStringLiteral(": "));
    std::string line;
    if (!std::getline(m_in, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    const QString answer = line.empty() ? qs(defaultText) : QString::fromUtf8(line);
    return answer.toStdU16String();
}

bool ConsoleHostServices::shellExecute(std::u16string_view file, std::u16string_view parameters,
                                       int) {
    return platform::shellExecute(QStringLiteral("open"), qs(file), qs(parameters));
}

} // namespace script
