#include "PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

bool waitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

PrivateBus::PrivateBus() {
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=" SCRIVLET_TEST_BUS_CONFIG),
                    QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(5000))
        return;
    waitUntil([this] { return m_daemon.canReadLine(); });
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    stopPortal();
    for (const auto& service : m_services) {
        service->terminate();
        service->waitForFinished(3000);
    }
    for (const QString& name : m_connections)
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    m_daemon.waitForFinished(3000);
}

QDBusConnection PrivateBus::connect(const QString& name) {
    m_connections << name;
    return QDBusConnection::connectToBus(m_address, name);
}

bool PrivateBus::startPortal(const QStringList& arguments) {
    stopPortal();
    m_portal = std::make_unique<QProcess>();
    m_portal->setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_portal->setProcessEnvironment(env);
    m_portal->start(QStringLiteral(SCRIVLET_FAKE_PORTAL), arguments);
    QDBusConnection probe = connect(QStringLiteral("portal-probe"));
    return waitUntil([&] {
        return probe.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal."
                                                                     "Desktop"));
    });
}

bool PrivateBus::startService(const QString& program, const QString& busName) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(program, {});
    m_services.push_back(std::move(process));
    QDBusConnection probe = connect(QStringLiteral("service-probe"));
    return waitUntil([&] { return probe.interface()->isServiceRegistered(busName); }, 10000);
}

void PrivateBus::stopPortal() {
    if (!m_portal)
        return;
    m_portal->terminate();
    m_portal->waitForFinished(3000);
    m_portal.reset();
}

QDBusMessage PrivateBus::control(const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/scrivlet/test"),
        QStringLiteral("org.scrivlet.test.FakePortal"), method);
    call.setArguments(arguments);
    return connect(QStringLiteral("portal-control")).call(call, QDBus::Block, 5000);
}
