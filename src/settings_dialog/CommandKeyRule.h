#pragma once

#include <QString>

namespace settings_dialog {

// Why the settings file cannot hold `command` as a key of section "Command" (a key with "=", or
// one that would read back as a comment or a section header); empty when it can.
QString commandKeyProblem(const QString& command);

} // namespace settings_dialog
