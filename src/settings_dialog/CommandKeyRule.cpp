#include "CommandKeyRule.h"

#include "config/CIniFile.h"
#include <QCoreApplication>

namespace settings_dialog {

QString commandKeyProblem(const QString& command) {
    const QString reason = config::CIniFile::KeyError(command);
    if (reason.isEmpty())
        return QString();
    return QCoreApplication::translate("CommandKeyRule",
                                       "コマンド「%1」は設定ファイルに保存できません。\n%2")
        .arg(command, reason);
}

} // namespace settings_dialog
