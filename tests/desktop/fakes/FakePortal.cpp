#include "FakePortal.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
#include <QTimer>

namespace {
const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

QVariantMap mapOf(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}
} // namespace

FakePortal::FakePortal(const QDBusConnection& bus, const Options& options)
    : m_bus(bus), m_options(options) {
    desktop::registerPortalShortcutTypes();
}

QString FakePortal::senderPart(const QDBusMessage& call) const {
    QString sender = call.service();
    return sender.remove(0, 1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

void FakePortal::answer(const QDBusMessage& call, const QString& token,
                        const QVariantMap& results) {
    const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                .arg(senderPart(call), token);
    m_bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    const uint code = m_options.responses.value(call.member(), 0);
    QDBusMessage response = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << code << (code == 0 ? results : QVariantMap());
    m_bus.send(response);
}

void FakePortal::recordShortcuts(const QString& method, const QVariantMap& options,
                                 const desktop::PortalShortcutList& list) {
    QStringList entries;
    for (const desktop::PortalShortcut& s : list)
        entries << s.id + QLatin1Char(':') +
                       s.properties.value(QStringLiteral("preferred_trigger")).toString();
    QString line = method + QStringLiteral(" shortcuts=") + entries.join(QLatin1Char(','));
    if (options.contains(QStringLiteral("session_handle_token")))
        line += QStringLiteral(" session_handle_token=") +
                options.value(QStringLiteral("session_handle_token")).toString();
    m_calls << line;
}

bool FakePortal::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    const QString interface = message.interface();
    const QString member = message.member();
    const QVariantList args = message.arguments();
    if (interface == QLatin1String("org.freedesktop.DBus.Properties") && member == "Get") {
        if (args.value(0).toString() != kShortcuts || m_options.version == 0) {
            m_bus.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error."
                                                               "InvalidArgs"),
                                                QStringLiteral("No such interface")));
            return true;
        }
        m_bus.send(message.createReply(QVariant::fromValue(QDBusVariant(m_options.version))));
        return true;
    }
    if (interface == QLatin1String("org.freedesktop.host.portal.Registry")) {
        if (!m_options.registry)
            return false;
        m_calls << QStringLiteral("Register ") + args.value(0).toString();
        m_bus.send(message.createReply());
        return true;
    }
    if (interface != kShortcuts || m_options.version == 0)
        return false;
    if (member == QLatin1String("CreateSession")) {
        const QVariantMap options = mapOf(args.value(0));
        recordShortcuts(
            member, options,
            desktop::portalShortcutsFromVariant(options.value(QStringLiteral("shortcuts"))));
        m_lastSession = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                            .arg(senderPart(message),
                                 options.value(QStringLiteral("session_handle_token")).toString());
        answer(message, options.value(QStringLiteral("handle_token")).toString(),
               {{QStringLiteral("session_handle"), m_lastSession}});
        return true;
    }
    if (member == QLatin1String("BindShortcuts")) {
        const QVariantMap options = mapOf(args.value(3));
        m_bound = desktop::portalShortcutsFromVariant(args.value(1));
        recordShortcuts(member, options, m_bound);
        for (desktop::PortalShortcut& s : m_bound) {
            const QString given = m_options.givenTrigger.isEmpty()
                                      ? s.properties.value("preferred_trigger").toString()
                                      : m_options.givenTrigger;
            s.properties.insert(QStringLiteral("trigger_description"), given);
        }
        answer(message, options.value(QStringLiteral("handle_token")).toString(),
               {{QStringLiteral("shortcuts"), QVariant::fromValue(m_bound)}});
        return true;
    }
    if (member == QLatin1String("ListShortcuts")) {
        m_calls << member;
        answer(message, mapOf(args.value(1)).value(QStringLiteral("handle_token")).toString(),
               {{QStringLiteral("shortcuts"), QVariant::fromValue(m_bound)}});
        return true;
    }
    if (member == QLatin1String("ConfigureShortcuts") && m_options.version >= 2) {
        m_calls << member;
        m_bus.send(message.createReply());
        return true;
    }
    return false;
}

QString FakePortal::introspect(const QString&) const {
    return QStringLiteral("<interface name=\"org.freedesktop.portal.GlobalShortcuts\">"
                          "<property name=\"version\" type=\"u\" access=\"read\"/>"
                          "</interface>");
}

void FakePortal::activate(const QString& session, const QString& shortcutId, const QString& token) {
    QDBusMessage signal =
        QDBusMessage::createSignal(kPortalPath, kShortcuts, QStringLiteral("Activated"));
    QVariantMap options;
    if (!token.isEmpty())
        options.insert(QStringLiteral("activation_token"), token);
    signal << QVariant::fromValue(QDBusObjectPath(session.isEmpty() ? m_lastSession : session))
           << shortcutId << quint64(QDateTime::currentMSecsSinceEpoch()) << options;
    m_bus.send(signal);
}

void FakePortal::changeTrigger(const QString& trigger) {
    for (desktop::PortalShortcut& s : m_bound)
        s.properties.insert(QStringLiteral("trigger_description"), trigger);
    QDBusMessage signal =
        QDBusMessage::createSignal(kPortalPath, kShortcuts, QStringLiteral("ShortcutsChanged"));
    signal << QVariant::fromValue(QDBusObjectPath(m_lastSession)) << QVariant::fromValue(m_bound);
    m_bus.send(signal);
}

FakePortalControl::FakePortalControl(FakePortal* portal, QDBusConnection bus)
    : m_portal(portal), m_bus(bus) {}

QStringList FakePortalControl::Calls() const {
    return m_portal->calls();
}

QString FakePortalControl::Session() const {
    return m_portal->lastSession();
}

void FakePortalControl::Activate(const QString& session, const QString& shortcutId,
                                 const QString& token) {
    m_portal->activate(session, shortcutId, token);
}

void FakePortalControl::ChangeTrigger(const QString& trigger) {
    m_portal->changeTrigger(trigger);
}

void FakePortalControl::SetResponse(const QString& method, uint code) {
    m_portal->setResponse(method, code);
}

void FakePortalControl::Restart() {
    m_bus.interface()->unregisterService(kPortalService);
    QTimer::singleShot(100, this, [this] { m_bus.registerService(kPortalService); });
}
