#include "CommandKeyRule.h"

QString commandKeyProblem(const QString& command) {
    const bool writable = !command.contains(QLatin1Char('=')) &&
                          !command.startsWith(QLatin1Char(';')) &&
                          !command.startsWith(QLatin1Char('['));
    if (writable)
        return QString();
    return QStringLiteral("コマンド「%1」は設定ファイルに保存できません。\n"
                          "(「=」を含むコマンドや「;」「[」で始まるコマンドは使えません)")
        .arg(command);
}
