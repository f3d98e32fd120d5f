// A bare Qt window on Wayland: the "other program" of the focus tests and the floor of the
// call-up figures. It shows itself (with the token the portal hands over) on every Activated
// signal the desktop portal sends for its shortcut id (its app id, "bare" unless --app-id names
// another), and hides again on the next one, like the program's bar.
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLineEdit>
#include <QWindow>

class Toggle : public QObject {
    Q_OBJECT

public:
    Toggle(QWidget* window, const QString& shortcutId)
        : m_window(window), m_shortcutId(shortcutId) {}

public slots:
    void onActivated(const QDBusMessage& message) {
        if (message.arguments().value(1).toString() != m_shortcutId)
            return;
        if (m_window->isVisible() && m_window->isActiveWindow()) {
            m_window->hide();
            return;
        }
        const QVariantMap options =
            qdbus_cast<QVariantMap>(message.arguments().value(3).value<QDBusArgument>());
        qputenv("XDG_ACTIVATION_TOKEN", options.value("activation_token").toString().toLatin1());
        m_window->show();
        m_pending = true;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // The compositor ignores activation of a surface that is not mapped yet: ask once the
        // expose's own handling has committed the first frame.
        if (event->type() == QEvent::Expose && m_pending && m_window->windowHandle()->isExposed()) {
            m_pending = false;
            QMetaObject::invokeMethod(
                m_window, [this] { m_window->windowHandle()->requestActivate(); },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* m_window;
    QString m_shortcutId;
    bool m_pending = false;
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const qsizetype named = arguments.indexOf(QStringLiteral("--app-id"));
    const QString appId = named > 0 ? arguments.value(named + 1) : QStringLiteral("bare");
    QGuiApplication::setDesktopFileName(appId);
    QLineEdit window;
    window.setWindowTitle(appId);
    // A fixed size, like the bar's: sway floats it instead of tiling it to half the screen.
    window.setFixedSize(400, 40);
    Toggle toggle(&window, appId);
    window.winId();
    window.windowHandle()->installEventFilter(&toggle);
    QDBusConnection::sessionBus().connect(
        QString(), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"),
        &toggle, SLOT(onActivated(QDBusMessage)));
    if (!arguments.contains(QStringLiteral("--hidden")))
        window.show();
    return application.exec();
}

#include "BareWindow.moc"
