#include "platform/AssociationRegistry.h"

#include "platform/GioHandles.h"

#include <array>
#include <mutex>

namespace platform {

namespace {

const QString kClassesRoot = QStringLiteral("HKEY_CLASSES_ROOT");
const QString kShell = QStringLiteral("Shell");
const QString kOpen = QStringLiteral("open");
const QString kEdit = QStringLiteral("edit");

bool isTextType(const QString& type) {
    return type.startsWith(QLatin1String("text/"), Qt::CaseInsensitive);
}

bool textEditorExists() {
    GObjectPtr<GAppInfo> editor(g_app_info_get_default_for_type("text/plain", FALSE));
    return editor != nullptr;
}

// The verbs of a type: "open" and the default application's actions when it has one, and "edit"
// for text types while a text editor exists.
QStringList verbsOf(const QString& type) {
    QStringList verbs;
    const QByteArray typeBytes = type.toUtf8();
    GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(typeBytes.constData(), FALSE));
    if (app) {
        verbs.append(kOpen);
        if (G_IS_DESKTOP_APP_INFO(app.get())) {
            const gchar* const* actions =
                g_desktop_app_info_list_actions(G_DESKTOP_APP_INFO(app.get()));
            for (; actions && *actions; ++actions) {
                const QString action = QString::fromUtf8(*actions);
                if (!verbs.contains(action, Qt::CaseInsensitive))
                    verbs.append(action);
            }
        }
    }
    if (isTextType(type) && !verbs.contains(kEdit, Qt::CaseInsensitive) && textEditorExists())
        verbs.append(kEdit);
    return verbs;
}

bool hasDefaultApplication(const QString& type) {
    const QByteArray typeBytes = type.toUtf8();
    GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(typeBytes.constData(), FALSE));
    return app != nullptr;
}

// Splits "type\Shell\verb" style paths below HKEY_CLASSES_ROOT.
struct ClassPath {
    QString first;    // ".ext" or a MIME type
    QStringList rest; // further parts
};

ClassPath parse(const QString& subKey) {
    QStringList parts = subKey.split(QLatin1Char('\\'));
    ClassPath path;
    path.first = parts.takeFirst();
    path.rest = parts;
    return path;
}

bool looksLikeMimeType(const QString& text) {
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    return slash > 0 && slash < text.size() - 1;
}

} // namespace

QString mimeTypeForExtension(const QString& extension) {
    if (extension.size() < 2 || !extension.startsWith(QLatin1Char('.')))
        return QString();
    const QByteArray name = QStringLiteral("file%1").arg(extension).toUtf8();
    gboolean uncertain = FALSE;
    GCharPtr type(g_content_type_guess(name.constData(), nullptr, 0, &uncertain));
    if (!type || uncertain)
        return QString();
    GCharPtr mime(g_content_type_get_mime_type(type.get()));
    if (!mime)
        return QString();
    const QString result = QString::fromUtf8(mime.get());
    if (result == QLatin1String("application/octet-stream"))
        return QString();
    return result;
}

bool isRegistryRootName(const QString& root) {
    static const std::array<QString, 7> roots = {
        QStringLiteral("HKEY_CLASSES_ROOT"),     QStringLiteral("HKEY_CURRENT_USER"),
        QStringLiteral("HKEY_LOCAL_MACHINE"),    QStringLiteral("HKEY_USERS"),
        QStringLiteral("HKEY_PERFORMANCE_DATA"), QStringLiteral("HKEY_CURRENT_CONFIG"),
        QStringLiteral("HKEY_DYN_DATA")};
    for (const QString& name : roots) {
        if (name == root)
            return true;
    }
    return false;
}

bool AssociationRegistry::keyExists(const QString& root, const QString& subKey) const {
    if (!isRegistryRootName(root))
        return false;
    if (subKey.isEmpty())
        return true;
    if (root != kClassesRoot)
        return false;
    const ClassPath path = parse(subKey);
    if (path.first.startsWith(QLatin1Char('.')))
        return path.rest.isEmpty() && !mimeTypeForExtension(path.first).isEmpty();
    if (!looksLikeMimeType(path.first))
        return false;
    if (path.rest.isEmpty())
        return true;
    if (path.rest.first().compare(kShell, Qt::CaseInsensitive) != 0)
        return false;
    const QStringList verbs = verbsOf(path.first);
    if (path.rest.size() == 1)
        return !verbs.isEmpty();
    return path.rest.size() == 2 && verbs.contains(path.rest.at(1), Qt::CaseInsensitive);
}

std::optional<QString> AssociationRegistry::stringValue(const QString& root, const QString& subKey,
                                                        const QString& valueName) const {
    if (root != kClassesRoot || !valueName.isEmpty() || subKey.isEmpty())
        return std::nullopt;
    const ClassPath path = parse(subKey);
    if (path.first.startsWith(QLatin1Char('.'))) {
        if (!path.rest.isEmpty())
            return std::nullopt;
        const QString type = mimeTypeForExtension(path.first);
        return type.isEmpty() ? std::nullopt : std::optional<QString>(type);
    }
    if (looksLikeMimeType(path.first) && path.rest.size() == 1 &&
        path.rest.first().compare(kShell, Qt::CaseInsensitive) == 0 &&
        hasDefaultApplication(path.first))
        return kOpen;
    return std::nullopt;
}

QStringList AssociationRegistry::subKeys(const QString& root, const QString& subKey) const {
    if (root != kClassesRoot || subKey.isEmpty())
        return {};
    const ClassPath path = parse(subKey);
    if (!looksLikeMimeType(path.first))
        return {};
    if (path.rest.isEmpty())
        return verbsOf(path.first).isEmpty() ? QStringList() : QStringList{kShell};
    if (path.rest.size() == 1 && path.rest.first().compare(kShell, Qt::CaseInsensitive) == 0)
        return verbsOf(path.first);
    return {};
}

namespace {

std::mutex& viewMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const RegistryView>& currentView() {
    static std::shared_ptr<const RegistryView> view = std::make_shared<AssociationRegistry>();
    return view;
}

} // namespace

const RegistryView& registryView() {
    std::lock_guard lock(viewMutex());
    return *currentView();
}

std::shared_ptr<const RegistryView> setRegistryView(std::shared_ptr<const RegistryView> view) {
    std::lock_guard lock(viewMutex());
    auto old = currentView();
    currentView() = view ? std::move(view) : std::make_shared<AssociationRegistry>();
    return old;
}

} // namespace platform
