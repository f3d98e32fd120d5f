#pragma once

#include "HotKeyService.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <memory>

class QDBusMessage;

namespace desktop {

// Global shortcuts through the XDG desktop portal (org.freedesktop.portal.GlobalShortcuts), the
// way a Wayland desktop hands them out: the program proposes its key, the desktop (and the user,
// in its settings) decides, and a press arrives as the portal's Activated signal, which becomes
// the same msg::HotKey an X11 grab delivers.
//
// The session is made with a fixed token, so the desktop keeps the user's binding from one run
// to the next. registerHotKey answers at once whether the portal offers the interface at all;
// the desktop's own answer (it may ask the user) comes later and a refusal goes to the
// late-refusal handler. A portal that restarts gets the session made again.
class PortalHotKeyService : public QObject, public IHotKeyService {
    Q_OBJECT

public:
    // `appId` is the desktop file's name without ".desktop"; the portal's registry is told it
    // where the portal has one.
    PortalHotKeyService(const QDBusConnection& bus, const QString& appId,
                        QObject* parent = nullptr);
    ~PortalHotKeyService() override;

    bool registerHotKey(WindowHandle hWnd, int id, int mask, int virtualKey) override;
    void unregisterHotKey(WindowHandle hWnd, int id) override;
    QString unavailableReason() const override;
    void setLateRefusalHandler(RefusalHandler handler) override;
    bool desktopOwnsKeys() const override { return true; }
    QString desktopTrigger() const override;
    bool canOpenDesktopSettings() const override;
    void openDesktopSettings() override;

    // The portal's session object, "" while there is none.
    QString sessionHandle() const;
    // Whether a portal with the interface answers on the bus (asks it when not known yet).
    bool portalOffersShortcuts();

    // What to do where the desktop gives no key: a desktop shortcut that starts the program.
    static QString advice();

signals:
    // The desktop bound (or listed, or changed) the program's shortcut to `trigger`.
    void triggerChanged(const QString& trigger);
    void refused(const QString& reason);

private slots:
    void onResponse(const QDBusMessage& message);
    void onActivated(const QDBusMessage& message);
    void onShortcutsChanged(const QDBusMessage& message);
    void onPortalOwnerChanged(const QString& service, const QString& oldOwner,
                              const QString& newOwner);

private:
    void bindWhenNeeded();
    void createSession();
    void request(QDBusMessage call, int step, QVariantMap options);
    void forget(const QString& requestPath);
    void fail(const QString& reason);
    void takeTriggers(const QVariant& shortcuts);

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace desktop
