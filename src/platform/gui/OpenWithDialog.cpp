#include "platform/gui/OpenWithDialog.h"

#include "platform/GioHandles.h"
#include "platform/ShellExecute.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

namespace {

constexpr int kIdRole = Qt::UserRole;

QString contentTypeOf(const QString& file) {
    const QByteArray path = QFile::encodeName(file);
    GObjectPtr<GFile> gfile(g_file_new_for_path(path.constData()));
    GObjectPtr<GFileInfo> info(g_file_query_info(gfile.get(),
                                                 G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    const char* type = info ? g_file_info_get_content_type(info.get()) : nullptr;
    return type ? QString::fromUtf8(type) : QString();
}

// Applications of a GList, in order, skipping hidden ones and ids already seen.
void appendApplications(GList* apps, QListWidget* list, QStringList& seen) {
    for (GList* node = apps; node; node = node->next) {
        auto* app = static_cast<GAppInfo*>(node->data);
        const char* id = g_app_info_get_id(app);
        if (!id || !g_app_info_should_show(app))
            continue;
        const QString desktopId = QString::fromUtf8(id);
        if (seen.contains(desktopId))
            continue;
        seen.append(desktopId);
        auto* item = new QListWidgetItem(QString::fromUtf8(g_app_info_get_name(app)), list);
        item->setData(kIdRole, desktopId);
        item->setToolTip(desktopId);
    }
    g_list_free_full(apps, g_object_unref);
}

bool launchWith(GAppInfo* app, const QString& file) {
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded();
    GList* uris = g_list_append(nullptr, const_cast<char*>(uri.constData()));
    GError* rawError = nullptr;
    const gboolean ok = g_app_info_launch_uris(app, uris, nullptr, &rawError);
    GErrorPtr error(rawError);
    g_list_free(uris);
    return ok == TRUE;
}

bool programExists(const QByteArray& commandLine) {
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(commandLine.constData(), nullptr, &argv, nullptr))
        return false;
    GCharPtr found(argv && argv[0] ? g_find_program_in_path(argv[0]) : nullptr);
    g_strfreev(argv);
    return found != nullptr;
}

} // namespace

OpenWithDialog::OpenWithDialog(const QString& file, QWidget* parent)
    : QDialog(parent), m_file(file) {
    setWindowTitle(QStringLiteral("プログラムから開く"));
    auto* layout = new QVBoxLayout(this);
    const QFileInfo info(file);
    const QString what =
        info.isDir() ? QStringLiteral("開くフォルダー: %1") : QStringLiteral("開くファイル: %1");
    auto* fileLabel =
        new QLabel(what.arg(info.fileName().isEmpty() ? file : info.fileName()), this);
    fileLabel->setToolTip(file);
    layout->addWidget(fileLabel);
    layout->addWidget(new QLabel(QStringLiteral("使うプログラム:"), this));
    m_list = new QListWidget(this);
    layout->addWidget(m_list);
    layout->addWidget(new QLabel(QStringLiteral("またはコマンド:"), this));
    m_command = new QLineEdit(this);
    layout->addWidget(m_command);
    m_error = new QLabel(this);
    m_error->hide();
    layout->addWidget(m_error);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &OpenWithDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OpenWithDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &OpenWithDialog::accept);
    fillApplications();
    resize(420, 480);
}

void OpenWithDialog::fillApplications() {
    QStringList seen;
    const QString type = contentTypeOf(m_file);
    if (!type.isEmpty()) {
        // The default application leads, then the others registered for the type.
        const QByteArray typeBytes = type.toUtf8();
        if (GAppInfo* preferred = g_app_info_get_default_for_type(typeBytes.constData(), FALSE))
            appendApplications(g_list_append(nullptr, preferred), m_list, seen);
        appendApplications(g_app_info_get_all_for_type(typeBytes.constData()), m_list, seen);
    }
    m_typeCount = m_list->count();
    if (m_typeCount > 0) {
        // A line between the type's applications and the rest.
        auto* separator = new QListWidgetItem(m_list);
        separator->setFlags(Qt::NoItemFlags);
        separator->setSizeHint(QSize(1, 8));
    }
    appendApplications(g_app_info_get_all(), m_list, seen);
    if (m_typeCount > 0)
        m_list->setCurrentRow(0);
}

QStringList OpenWithDialog::applicationIds() const {
    QStringList ids;
    for (int i = 0; i < m_list->count(); ++i) {
        const QString id = m_list->item(i)->data(kIdRole).toString();
        if (!id.isEmpty())
            ids.append(id);
    }
    return ids;
}

bool OpenWithDialog::selectApplication(const QString& desktopId) {
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->data(kIdRole).toString() == desktopId) {
            m_list->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void OpenWithDialog::setCommand(const QString& commandLine) {
    m_command->setText(commandLine);
}

bool OpenWithDialog::startChoice() {
    const QString command = m_command->text().trimmed();
    if (!command.isEmpty()) {
        const QByteArray commandBytes = command.toUtf8();
        GError* rawError = nullptr;
        GObjectPtr<GAppInfo> app(g_app_info_create_from_commandline(
            commandBytes.constData(), nullptr, G_APP_INFO_CREATE_NONE, &rawError));
        GErrorPtr error(rawError);
        // A program that is not there would only fail after the start was reported.
        return app && programExists(commandBytes) && launchWith(app.get(), m_file);
    }
    const QListWidgetItem* item = m_list->currentItem();
    const QString id = item ? item->data(kIdRole).toString() : QString();
    if (id.isEmpty())
        return false;
    const QByteArray idBytes = id.toUtf8();
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new(idBytes.constData()));
    return app && launchWith(G_APP_INFO(app.get()), m_file);
}

void OpenWithDialog::accept() {
    m_started = startChoice();
    if (!m_started) {
        m_error->setText(QStringLiteral("起動できませんでした。"));
        m_error->show();
        return;
    }
    QDialog::accept();
}

void installOpenWithDialog() {
    // The caller waits for the choice: only a started application counts as opened, so a
    // cancelled chooser leaves the window as it was.
    setOpenWithHandler([](const QString& file) {
        OpenWithDialog dialog(file);
        dialog.exec();
        return dialog.started() ? OpenWithResult::Started : OpenWithResult::Declined;
    });
}

} // namespace platform
