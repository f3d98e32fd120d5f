#pragma once

#include <QString>

#include <functional>

namespace platform {

// Style bits and answers of a message box, with the values the script language uses for them.
namespace mb {
enum Buttons : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5
};
enum Icon : int { Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum DefaultButton : int { DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512 };
enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
} // namespace mb

struct MessageBoxRequest {
    QString text;
    QString title;
    int style = 0; // buttons | icon | default button
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Every box of the program goes through here. The window layer installs the real dialog; tests
// install a scripted answerer; without a handler the box is written to standard error and answered
// with its default button. An empty title is the program's own (programBoxTitle).
int showMessageBox(const QString& text, int style, const QString& title = QString());

// The title of the program's own boxes: the name and version once the program has set it, so that
// the parts below the window (memo file, settings file) need not know them.
void setProgramBoxTitle(const QString& title);
QString programBoxTitle();

// Installs a handler and returns the previous one (so a scope can restore it).
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// The answer the default button gives for a style, used when nobody can be asked.
int defaultAnswer(int style);

} // namespace platform
