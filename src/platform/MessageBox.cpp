#include "MessageBox.h"
#include "platform/Log.h"

#include <cstdio>

namespace platform {

namespace {
MessageBoxHandler& handlerSlot() {
    static MessageBoxHandler handler;
    return handler;
}
QString& programTitleSlot() {
    static QString title = QStringLiteral("Scrivlet");
    return title;
}
} // namespace

void setProgramBoxTitle(const QString& title) {
    programTitleSlot() = title;
}

QString programBoxTitle() {
    return programTitleSlot();
}

int defaultAnswer(int style) {
    static const int answers[6][3] = {
        {mb::OK, mb::OK, mb::OK},           {mb::OK, mb::Cancel, mb::Cancel},
        {mb::Abort, mb::Retry, mb::Ignore}, {mb::Yes, mb::No, mb::Cancel},
        {mb::Yes, mb::No, mb::No},          {mb::Retry, mb::Cancel, mb::Cancel},
    };
    const int buttons = style & 0xF;
    const int def = (style >> 8) & 0x3;
    if (buttons > 5)
        return mb::OK;
    return answers[buttons][def > 2 ? 0 : def];
}

int showMessageBox(const QString& text, int style, const QString& givenTitle) {
    const QString title = givenTitle.isEmpty() ? programBoxTitle() : givenTitle;
    qCInfo(lcBox).noquote() << title << "|" << text;
    if (MessageBoxHandler& handler = handlerSlot())
        return handler({text, title, style});
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    return defaultAnswer(style);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

} // namespace platform
