#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// A session bus of the test's own (no service folders, so nothing real is started on demand) and,
// on request, the fake portal on it. Both end with the object.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();

    bool isUp() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A new connection of this process to the bus, under its own name.
    QDBusConnection connect(const QString& name);

    // Starts the fake portal with `arguments`; true once it owns the portal's name.
    bool startPortal(const QStringList& arguments = {});
    void stopPortal();
    // Starts a real desktop service (offscreen, on this bus); true once it owns `busName`.
    bool startService(const QString& program, const QString& busName);
    // A call on the fake portal's control interface.
    QDBusMessage control(const QString& method, const QVariantList& arguments = {});

private:
    QProcess m_daemon;
    std::unique_ptr<QProcess> m_portal;
    std::vector<std::unique_ptr<QProcess>> m_services;
    QString m_address;
    QStringList m_connections;
};

// Runs the event loop until `done` holds or `ms` pass; returns `done()`.
bool waitUntil(const std::function<bool()>& done, int ms = 5000);
