#pragma once

#include <QString>

// Wayland activation tokens: the proof a launcher or the desktop hands a program that the user
// asked for it, without which the compositor refuses to give a window the focus. Qt's Wayland
// side takes the token from XDG_ACTIVATION_TOKEN when the window asks for activation.
namespace platform {

// Tokens are short opaque ASCII texts; anything longer or with spaces or control characters is
// not one and is never passed on.
inline constexpr int kMaxActivationTokenLength = 256;
bool isValidActivationToken(const QString& token);

// This process's token from its launcher, read and removed from the environment so that nothing
// else spends it. "" when there is none or it is not valid.
QString takeActivationToken();

// Lets the next activation request of a window use `token`. An invalid token is dropped.
void useActivationToken(const QString& token);

} // namespace platform
