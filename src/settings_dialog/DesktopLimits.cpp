#include "DesktopLimits.h"

#include "desktop/HotKeyService.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

namespace settings_dialog {

namespace {
QString x11OnlyText() {
    return QCoreApplication::translate("DesktopLimits",
                                       "Wayland のデスクトップでは使えません (X11 のみ)。");
}
} // namespace

void showDesktopOwnedHotKey(QWidget* dialog) {
    desktop::IHotKeyService& service = desktop::hotKeyService();
    if (!service.desktopOwnsKeys())
        return;
    auto* box = dialog->findChild<QWidget*>(QStringLiteral("txtHotKey"));
    auto* info = dialog->findChild<QLabel*>(QStringLiteral("lblHotKeyInfo"));
    if (!box || !info)
        return;
    // The key typed here would only be a proposal the desktop ignores once it bound one.
    box->setEnabled(false);
    const QString trigger = service.desktopTrigger();
    info->setText(
        QCoreApplication::translate(
            "DesktopLimits", "このデスクトップでは、ホットキーはデスクトップが管理します。\n"
                             "割り当てられたキー: %1\n"
                             "変更はデスクトップの設定 (キーボード ショートカット) で行います。")
            .arg(trigger.isEmpty() ? QCoreApplication::translate("DesktopLimits", "(なし)")
                                   : trigger));
    if (!service.canOpenDesktopSettings())
        return;
    auto* open = new QPushButton(
        QCoreApplication::translate("DesktopLimits", "デスクトップの設定を開く(&D)"),
        info->parentWidget());
    open->setObjectName(QStringLiteral("cmdDesktopShortcuts"));
    open->setAutoDefault(false);
    QObject::connect(open, &QPushButton::clicked,
                     [] { desktop::hotKeyService().openDesktopSettings(); });
    if (auto* layout = qobject_cast<QBoxLayout*>(info->parentWidget()->layout())) {
        const int at = layout->indexOf(info);
        layout->insertWidget(at + 1, open, 0, Qt::AlignLeft);
    }
}

void markX11OnlyOptions(QWidget* dialog) {
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        return;
    for (const char* name : {"chkTopMost", "chkToggleTopMost"}) {
        if (auto* button = dialog->findChild<QAbstractButton*>(QLatin1String(name))) {
            button->setEnabled(false);
            button->setToolTip(x11OnlyText());
        }
    }
}

} // namespace settings_dialog
