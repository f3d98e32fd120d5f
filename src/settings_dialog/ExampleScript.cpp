#include "settings_dialog/ExampleScript.h"

#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace settings_dialog {

QString exampleScriptText() {
    const QString text = QCoreApplication::translate(
        "ExampleScript",
        "' Scrivlet.vbs: 入力欄から呼び出せる関数を書くファイルです (VBScript)。\n"
        "' 書き換えたら保存し、設定の「Scrivlet.vbs の再読込」で読み込み直します。\n"
        "'\n"
        "' 例: 入力欄に Tax(1200) と入力して Enter を押すと、税込みの 1320 になります。\n"
        "Function Tax(price)\n"
        "    Tax = Int(price * 1.1)\n"
        "End Function\n");
    // Script files keep the line ends of the platform they came from.
    QString crlf = text;
    return crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

bool createExampleScriptIfMissing(const QString& path) {
    if (QFileInfo::exists(path))
        return true;
    return bool(platform::writeFileAtomically(path, exampleScriptText().toUtf8()));
}

} // namespace settings_dialog
