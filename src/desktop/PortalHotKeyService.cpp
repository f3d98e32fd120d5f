#include "PortalHotKeyService.h"

#include "HookRegistry.h"
#include "PortalShortcut.h"
#include "ShortcutTrigger.h"
#include "platform/ActivationToken.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QHash>
#include <QList>

namespace desktop {

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kRegistryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString kSessionToken = QStringLiteral("scrivlet");
// The portal is started on demand by the bus; it answers well within this when it exists.
constexpr int kVersionTimeoutMs = 5000;

struct Registration {
    WindowHandle hWnd = nullptr;
    int id = 0;
    int mask = 0;
    int virtualKey = 0;
    QString shortcutId;
};

namespace Step {
enum { CreateSession, Bind, List };
}

QString objectPathText(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

QVariantMap variantMap(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

} // namespace

struct PortalHotKeyService::Private {
    QDBusConnection bus;
    QString appId;
    QList<Registration> registrations;
    RefusalHandler refusalHandler;
    QDBusServiceWatcher* watcher = nullptr;
    int version = -1; // -1: not asked yet; 0: no portal or no interface
    QString unavailable;
    QString session;
    bool creating = false;
    bool appRegistered = false;
    QString boundShortcuts;      // what the last bind proposed, to skip binding the same again
    QHash<QString, int> pending; // request object path -> what it answers
    QString trigger;
    int tokenCounter = 0;

    explicit Private(const QDBusConnection& connection) : bus(connection) {}

    // Request objects live under the caller's unique name with ':' dropped and '.' as '_'.
    QString requestPath(const QString& token) const {
        QString sender = bus.baseService();
        sender.remove(0, 1).replace(QLatin1Char('.'), QLatin1Char('_'));
        return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    }

    QString nextToken() { return QStringLiteral("scrivlet%1").arg(++tokenCounter); }

    PortalShortcutList shortcuts() const {
        PortalShortcutList list;
        for (const Registration& r : registrations) {
            if (!r.virtualKey)
                continue;
            QVariantMap properties{
                {QStringLiteral("description"),
                 QCoreApplication::translate("PortalHotKeyService", "入力バーを表示する/隠す")}};
            const QString trigger = shortcutTrigger(r.mask, r.virtualKey);
            if (!trigger.isEmpty())
                properties.insert(QStringLiteral("preferred_trigger"), trigger);
            list << PortalShortcut{r.shortcutId, properties};
        }
        return list;
    }

    QString shortcutsSignature() const {
        QStringList parts;
        for (const PortalShortcut& s : shortcuts())
            parts << s.id + QLatin1Char('=') +
                         s.properties.value(QStringLiteral("preferred_trigger")).toString();
        return parts.join(QLatin1Char(';'));
    }

    QDBusMessage shortcutsCall(const QString& method) const {
        return QDBusMessage::createMethodCall(kPortalService, kPortalPath, kShortcutsInterface,
                                              method);
    }
};

PortalHotKeyService::PortalHotKeyService(const QDBusConnection& bus, const QString& appId,
                                         QObject* parent)
    : QObject(parent), d(std::make_unique<Private>(bus)) {
    d->appId = appId;
    registerPortalShortcutTypes();
    // A slot taking the whole message: one with typed arguments was seen to miss the first
    // Activated on a connection that had made no call yet.
    d->bus.connect(kPortalService, kPortalPath, kShortcutsInterface, QStringLiteral("Activated"),
                   this, SLOT(onActivated(QDBusMessage)));
    d->bus.connect(kPortalService, kPortalPath, kShortcutsInterface,
                   QStringLiteral("ShortcutsChanged"), this,
                   SLOT(onShortcutsChanged(QDBusMessage)));
    d->watcher = new QDBusServiceWatcher(kPortalService, d->bus,
                                         QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(d->watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &PortalHotKeyService::onPortalOwnerChanged);
}

PortalHotKeyService::~PortalHotKeyService() = default;

QString PortalHotKeyService::advice() {
    return QCoreApplication::translate(
        "PortalHotKeyService",
        "デスクトップの設定でキーボード ショートカットを作り、コマンド scrivlet を割り当てて"
        "ください。もう一度起動すると、常駐しているウィンドウが表示されます。");
}

bool PortalHotKeyService::portalOffersShortcuts() {
    if (d->version >= 0)
        return d->version > 0;
    // The registry must hear the app id before any other call of ours; older portals have none.
    if (!d->appRegistered && !d->appId.isEmpty()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kPortalService, kPortalPath, kRegistryInterface, QStringLiteral("Register"));
        call << d->appId << QVariantMap();
        d->bus.call(call, QDBus::Block, kVersionTimeoutMs);
        d->appRegistered = true;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kShortcutsInterface << QStringLiteral("version");
    const QDBusMessage reply = d->bus.call(get, QDBus::Block, kVersionTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        d->version = int(reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt());
        d->unavailable.clear();
        if (d->version > 0)
            return true;
    }
    d->version = 0;
    const QString error = reply.errorName();
    const bool noPortal = !d->bus.isConnected() ||
                          error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
                          error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
                          error == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
                          error == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
    d->unavailable =
        (noPortal ? QCoreApplication::translate(
                        "PortalHotKeyService",
                        "デスクトップ ポータル (xdg-desktop-portal) が動いていません。")
                  : QCoreApplication::translate(
                        "PortalHotKeyService",
                        "このデスクトップのポータルは、グローバル ショートカットに"
                        "対応していません。")) +
        QLatin1Char('\n') + advice();
    return false;
}

bool PortalHotKeyService::registerHotKey(WindowHandle hWnd, int id, int mask, int virtualKey) {
    // "No key" is held by nobody and asks the desktop for nothing.
    if (virtualKey && !portalOffersShortcuts())
        return false;
    Registration r{hWnd, id, mask, virtualKey, QString()};
    // Fixed ids, so the binding the user made in the desktop's settings stays the program's.
    r.shortcutId = d->registrations.isEmpty()
                       ? QStringLiteral("show-hide")
                       : QStringLiteral("show-hide-%1").arg(d->registrations.size() + 1);
    d->registrations << r;
    if (virtualKey)
        bindWhenNeeded();
    return true;
}

void PortalHotKeyService::bindWhenNeeded() {
    if (d->shortcuts().isEmpty() || d->creating)
        return;
    if (d->session.isEmpty()) {
        createSession();
    } else if (d->shortcutsSignature() != d->boundShortcuts) {
        QDBusMessage call = d->shortcutsCall(QStringLiteral("BindShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(d->session))
             << QVariant::fromValue(d->shortcuts()) << QString();
        request(call, Step::Bind, QVariantMap());
    }
}

void PortalHotKeyService::createSession() {
    d->creating = true;
    // The list goes along here as well: some desktops bind only from this call.
    const QVariantMap options{{QStringLiteral("session_handle_token"), kSessionToken},
                              {QStringLiteral("shortcuts"), QVariant::fromValue(d->shortcuts())}};
    request(d->shortcutsCall(QStringLiteral("CreateSession")), Step::CreateSession, options);
}

void PortalHotKeyService::request(QDBusMessage call, int step, QVariantMap options) {
    const QString token = d->nextToken();
    const QString path = d->requestPath(token);
    options.insert(QStringLiteral("handle_token"), token);
    call << options;
    if (step == Step::Bind)
        d->boundShortcuts = d->shortcutsSignature();
    d->pending.insert(path, step);
    // Subscribed before the call: the answer may come before the call's reply.
    d->bus.connect(kPortalService, path, kRequestInterface, QStringLiteral("Response"), this,
                   SLOT(onResponse(QDBusMessage)));
    auto* watcher = new QDBusPendingCallWatcher(d->bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path, step](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) {
                    forget(path);
                    if (step == Step::CreateSession)
                        d->creating = false;
                    fail(QCoreApplication::translate("PortalHotKeyService",
                                                     "デスクトップ ポータルがショートカットの登録を"
                                                     "受け付けませんでした (%1)。")
                             .arg(reply.error().message()));
                    return;
                }
                // A portal older than the predictable paths answers on the one it names.
                const QString actual = reply.value().path();
                if (actual != path && d->pending.contains(path)) {
                    forget(path);
                    d->pending.insert(actual, step);
                    d->bus.connect(kPortalService, actual, kRequestInterface,
                                   QStringLiteral("Response"), this,
                                   SLOT(onResponse(QDBusMessage)));
                }
            });
}

void PortalHotKeyService::forget(const QString& requestPath) {
    d->pending.remove(requestPath);
    d->bus.disconnect(kPortalService, requestPath, kRequestInterface, QStringLiteral("Response"),
                      this, SLOT(onResponse(QDBusMessage)));
}

void PortalHotKeyService::fail(const QString& reason) {
    const QString text = reason + QLatin1Char('\n') + advice();
    emit refused(text);
    if (d->refusalHandler)
        d->refusalHandler(text);
}

void PortalHotKeyService::onResponse(const QDBusMessage& message) {
    const QString path = message.path();
    if (!d->pending.contains(path) || message.arguments().size() < 2)
        return;
    const int step = d->pending.value(path);
    forget(path);
    const uint response = message.arguments().at(0).toUInt();
    const QVariantMap results = variantMap(message.arguments().at(1));
    if (step == Step::CreateSession)
        d->creating = false;
    if (response != 0) {
        if (step == Step::Bind)
            d->boundShortcuts.clear();
        fail(response == 1
                 ? QCoreApplication::translate(
                       "PortalHotKeyService",
                       "デスクトップでショートカットの登録が取り消されました。")
                 : QCoreApplication::translate("PortalHotKeyService",
                                               "デスクトップがショートカットの登録を断りました。"));
        return;
    }
    switch (step) {
    case Step::CreateSession:
        d->session = objectPathText(results.value(QStringLiteral("session_handle")));
        d->boundShortcuts.clear();
        bindWhenNeeded();
        break;
    case Step::Bind: {
        takeTriggers(results.value(QStringLiteral("shortcuts")));
        // What the desktop gave may differ from what it said at binding (the user chose).
        QDBusMessage call = d->shortcutsCall(QStringLiteral("ListShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(d->session));
        request(call, Step::List, QVariantMap());
        break;
    }
    case Step::List:
        takeTriggers(results.value(QStringLiteral("shortcuts")));
        break;
    }
}

void PortalHotKeyService::takeTriggers(const QVariant& shortcuts) {
    const PortalShortcutList list = portalShortcutsFromVariant(shortcuts);
    for (const PortalShortcut& shortcut : list) {
        if (d->registrations.isEmpty() || shortcut.id != d->registrations.constFirst().shortcutId)
            continue;
        const QString trigger =
            shortcut.properties.value(QStringLiteral("trigger_description")).toString();
        if (trigger != d->trigger) {
            d->trigger = trigger;
            emit triggerChanged(trigger);
        }
    }
}

void PortalHotKeyService::onActivated(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 3 || d->session.isEmpty() || objectPathText(args.at(0)) != d->session)
        return; // another program's session
    const QString shortcutId = args.at(1).toString();
    for (const Registration& r : QList<Registration>(d->registrations)) {
        if (r.shortcutId != shortcutId || !r.virtualKey)
            continue;
        if (args.size() >= 4) {
            const QVariantMap options = variantMap(args.at(3));
            platform::useActivationToken(
                options.value(QStringLiteral("activation_token")).toString());
        }
        SendWindowMessage(r.hWnd, msg::HotKey, r.id, r.id);
        return;
    }
}

void PortalHotKeyService::onShortcutsChanged(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 2 || d->session.isEmpty() || objectPathText(args.at(0)) != d->session)
        return;
    takeTriggers(args.at(1));
}

void PortalHotKeyService::onPortalOwnerChanged(const QString&, const QString& oldOwner,
                                               const QString& newOwner) {
    // The session died with the old portal.
    if (!oldOwner.isEmpty()) {
        for (const QString& path : d->pending.keys())
            forget(path);
        d->session.clear();
        d->creating = false;
        d->boundShortcuts.clear();
        d->appRegistered = false;
        d->version = -1;
    }
    // A portal the bus started for our own first call needs nothing more; a new one after a
    // restart gets the session made again.
    if (newOwner.isEmpty() || !d->session.isEmpty() || d->creating || d->shortcuts().isEmpty())
        return;
    if (portalOffersShortcuts())
        bindWhenNeeded();
}

void PortalHotKeyService::unregisterHotKey(WindowHandle hWnd, int id) {
    // The session and the desktop's binding stay: presses are ignored until registered again.
    d->registrations.removeIf([&](const Registration& r) { return r.hWnd == hWnd && r.id == id; });
}

QString PortalHotKeyService::unavailableReason() const {
    return d->version == 0 ? d->unavailable : QString();
}

void PortalHotKeyService::setLateRefusalHandler(RefusalHandler handler) {
    d->refusalHandler = std::move(handler);
}

QString PortalHotKeyService::desktopTrigger() const {
    return d->trigger;
}

bool PortalHotKeyService::canOpenDesktopSettings() const {
    return d->version >= 2 && !d->session.isEmpty();
}

void PortalHotKeyService::openDesktopSettings() {
    if (!canOpenDesktopSettings())
        return;
    QDBusMessage call = d->shortcutsCall(QStringLiteral("ConfigureShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(d->session)) << QString() << QVariantMap();
    d->bus.asyncCall(call);
}

QString PortalHotKeyService::sessionHandle() const {
    return d->session;
}

} // namespace desktop
