#include "ActivationToken.h"

#include <QByteArray>

namespace platform {

namespace {
const char kVariable[] = "XDG_ACTIVATION_TOKEN";
}

bool isValidActivationToken(const QString& token) {
    if (token.isEmpty() || token.size() > kMaxActivationTokenLength)
        return false;
    for (const QChar c : token) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f || c == QLatin1Char('"') ||
            c == QLatin1Char('\\'))
            return false;
    }
    return true;
}

QString takeActivationToken() {
    const QString token = qEnvironmentVariable(kVariable);
    qunsetenv(kVariable);
    return isValidActivationToken(token) ? token : QString();
}

void useActivationToken(const QString& token) {
    if (isValidActivationToken(token))
        qputenv(kVariable, token.toLatin1());
}

} // namespace platform
