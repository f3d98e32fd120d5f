#include "KGlobalAccelHotKeyService.h"

#include "HookRegistry.h"
#include "PortalHotKeyService.h"
#include "ShortcutTrigger.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QKeySequence>
#include <QList>

namespace desktop {

namespace {

const QString kService = QStringLiteral("org.kde.kglobalaccel");
const QString kPath = QStringLiteral("/kglobalaccel");
const QString kInterface = QStringLiteral("org.kde.KGlobalAccel");
const QString kComponentInterface = QStringLiteral("org.kde.kglobalaccel.Component");
const QString kComponent = QStringLiteral("scrivlet");
constexpr int kTimeoutMs = 5000;
// setShortcut's flags: take the key the user saved when there is one, else the given one.
constexpr uint kSetPresent = 2;

struct Registration {
    WindowHandle hWnd = nullptr;
    int id = 0;
    int virtualKey = 0;
};

QStringList actionId(const QString& action) {
    return {kComponent, action, QStringLiteral("Scrivlet"),
            QCoreApplication::translate("KGlobalAccelHotKeyService", "入力バーを表示する/隠す")};
}

} // namespace

struct KGlobalAccelHotKeyService::Private {
    QDBusConnection bus;
    QList<Registration> registrations;
    QString trigger;
    QString unavailable;
    bool listening = false;

    explicit Private(const QDBusConnection& connection) : bus(connection) {}

    QDBusMessage call(const QString& method, const QVariantList& arguments) const {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        message.setArguments(arguments);
        return bus.call(message, QDBus::Block, kTimeoutMs);
    }
};

KGlobalAccelHotKeyService::KGlobalAccelHotKeyService(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), d(std::make_unique<Private>(bus)) {}

KGlobalAccelHotKeyService::~KGlobalAccelHotKeyService() = default;

bool KGlobalAccelHotKeyService::isAvailable(const QDBusConnection& bus) {
    return bus.isConnected() && bus.interface()->isServiceRegistered(kService);
}

bool KGlobalAccelHotKeyService::registerHotKey(WindowHandle hWnd, int id, int mask,
                                               int virtualKey) {
    if (virtualKey) {
        const QStringList action = actionId(QStringLiteral("show-hide"));
        d->call(QStringLiteral("doRegister"), {action});
        const QDBusMessage reply =
            d->call(QStringLiteral("setShortcut"),
                    {action, QVariant::fromValue(QList<int>{qtKeyCombination(mask, virtualKey)}),
                     kSetPresent});
        if (reply.type() != QDBusMessage::ReplyMessage) {
            d->unavailable =
                QCoreApplication::translate("KGlobalAccelHotKeyService",
                                            "KDE のショートカット サービスがキーを受け付けません"
                                            "でした (%1)。\n")
                    .arg(reply.errorMessage()) +
                PortalHotKeyService::advice();
            return false;
        }
        const QList<int> keys = qdbus_cast<QList<int>>(reply.arguments().value(0));
        d->trigger = keys.isEmpty() || keys.constFirst() == 0
                         ? QString()
                         : QKeySequence(keys.constFirst()).toString(QKeySequence::NativeText);
        if (!d->listening) {
            const QDBusMessage component = d->call(QStringLiteral("getComponent"), {kComponent});
            const QString path = component.arguments().value(0).value<QDBusObjectPath>().path();
            d->listening =
                !path.isEmpty() && d->bus.connect(kService, path, kComponentInterface,
                                                  QStringLiteral("globalShortcutPressed"), this,
                                                  SLOT(onPressed(QDBusMessage)));
        }
    }
    d->unavailable.clear();
    d->registrations << Registration{hWnd, id, virtualKey};
    return true;
}

void KGlobalAccelHotKeyService::unregisterHotKey(WindowHandle hWnd, int id) {
    // The action and its key stay with the service, as the user set them; presses are ignored
    // until registered again.
    d->registrations.removeIf([&](const Registration& r) { return r.hWnd == hWnd && r.id == id; });
}

QString KGlobalAccelHotKeyService::unavailableReason() const {
    return d->unavailable;
}

QString KGlobalAccelHotKeyService::desktopTrigger() const {
    return d->trigger;
}

void KGlobalAccelHotKeyService::onPressed(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.value(0).toString() != kComponent ||
        args.value(1).toString() != QLatin1String("show-hide"))
        return;
    for (const Registration& r : QList<Registration>(d->registrations)) {
        if (r.virtualKey) {
            SendWindowMessage(r.hWnd, msg::HotKey, r.id, r.id);
            return;
        }
    }
}

} // namespace desktop
