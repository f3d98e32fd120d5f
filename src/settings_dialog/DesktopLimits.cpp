#include "DesktopLimits.h"

#include "desktop/HotKeyService.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

namespace settings_dialog {

namespace {
const QString kX11Only = QStringLiteral("Wayland のデスクトップでは使えません (X11 のみ)。");
}

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
        QStringLiteral("このデスクトップでは、ホットキーはデスクトップが管理します。\n"
                       "割り当てられたキー: %1\n"
                       "変更はデスクトップの設定 (キーボード ショートカット) で行います。")
            .arg(trigger.isEmpty() ? QStringLiteral("(なし)") : trigger));
    if (!service.canOpenDesktopSettings())
        return;
    auto* open =
        new QPushButton(QStringLiteral("デスクトップの設定を開く(&D)"), info->parentWidget());
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
            button->setToolTip(kX11Only);
        }
    }
}

} // namespace settings_dialog
