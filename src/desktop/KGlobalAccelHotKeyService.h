#pragma once

#include "HotKeyService.h"

#include <QDBusConnection>
#include <QObject>

#include <memory>

class QDBusMessage;

namespace desktop {

// Global shortcuts through KDE's shortcut service (org.kde.kglobalaccel), for Plasma sessions
// whose desktop portal has no shortcut backend. The program's action is registered under the
// component "scrivlet"; the service keeps a key the user set in System Settings and gives the
// proposed one otherwise. A press arrives as the component's globalShortcutPressed signal, which
// becomes msg::HotKey.
class KGlobalAccelHotKeyService : public QObject, public IHotKeyService {
    Q_OBJECT

public:
    explicit KGlobalAccelHotKeyService(const QDBusConnection& bus, QObject* parent = nullptr);
    ~KGlobalAccelHotKeyService() override;

    // Whether KDE's shortcut service answers on the bus.
    static bool isAvailable(const QDBusConnection& bus);

    bool registerHotKey(WindowHandle hWnd, int id, int mask, int virtualKey) override;
    void unregisterHotKey(WindowHandle hWnd, int id) override;
    QString unavailableReason() const override;
    bool desktopOwnsKeys() const override { return true; }
    QString desktopTrigger() const override;

private slots:
    void onPressed(const QDBusMessage& message);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace desktop
