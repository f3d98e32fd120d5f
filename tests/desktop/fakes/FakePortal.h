#pragma once

#include "desktop/PortalShortcut.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QHash>
#include <QObject>
#include <QStringList>

// A desktop portal with only the GlobalShortcuts interface, for tests on a private bus. It
// records the calls it gets, answers every request through its Request object's Response, and is
// driven through a small control interface (see FakePortalControl).
class FakePortal : public QDBusVirtualObject {
    Q_OBJECT

public:
    struct Options {
        uint version = 1;      // 0: the portal has no GlobalShortcuts interface
        bool registry = false; // offers org.freedesktop.host.portal.Registry
        QString givenTrigger;  // the trigger the "desktop" gives; "" takes the preferred one
        QHash<QString, uint> responses; // method -> Response code (0 when not listed)
    };

    FakePortal(const QDBusConnection& bus, const Options& options);

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

    QStringList calls() const { return m_calls; }
    QString lastSession() const { return m_lastSession; }
    void setResponse(const QString& method, uint code) { m_options.responses[method] = code; }

    void activate(const QString& session, const QString& shortcutId, const QString& token);
    void changeTrigger(const QString& trigger);

private:
    void answer(const QDBusMessage& call, const QString& token, const QVariantMap& results);
    void recordShortcuts(const QString& method, const QVariantMap& options,
                         const desktop::PortalShortcutList& list);
    QString senderPart(const QDBusMessage& call) const;

    QDBusConnection m_bus;
    Options m_options;
    QStringList m_calls;
    QString m_lastSession;
    desktop::PortalShortcutList m_bound;
};

// The control interface the tests call: org.scrivlet.test.FakePortal on /org/scrivlet/test.
class FakePortalControl : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.scrivlet.test.FakePortal")

public:
    FakePortalControl(FakePortal* portal, QDBusConnection bus);

public slots:
    QStringList Calls() const;
    QString Session() const;
    // Activated for the current session (or `session` when not empty) with an optional token.
    void Activate(const QString& session, const QString& shortcutId, const QString& token);
    void ChangeTrigger(const QString& trigger);
    void SetResponse(const QString& method, uint code);
    // Gives up the portal's name and takes it again, as a restarted portal would.
    void Restart();

private:
    FakePortal* m_portal;
    QDBusConnection m_bus;
};
