// A bare Qt window on Wayland: the "other program" of the focus tests and the floor of the
// call-up figures. It shows itself (with the token the portal hands over) on every Activated
// signal the desktop portal sends, and hides again on the next one, like the program's bar.
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLineEdit>
#include <QWindow>

class Toggle : public QObject {
    Q_OBJECT

public:
    explicit Toggle(QWidget* window) : m_window(window) {}

public slots:
    void onActivated(const QDBusMessage& message) {
        if (message.arguments().value(1).toString() != QLatin1String("bare"))
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
        // The compositor ignores activation of a surface that is not mapped yet.
        if (event->type() == QEvent::Expose && m_pending && m_window->windowHandle()->isExposed()) {
            m_pending = false;
            m_window->windowHandle()->requestActivate();
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_pending = false;

    friend int main(int, char**);
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("bare"));
    QLineEdit window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(400, 40);
    Toggle toggle(&window);
    window.winId();
    window.windowHandle()->installEventFilter(&toggle);
    QDBusConnection::sessionBus().connect(
        QString(), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"),
        &toggle, SLOT(onActivated(QDBusMessage)));
    if (!application.arguments().contains(QStringLiteral("--hidden")))
        window.show();
    return application.exec();
}

#include "BareWindow.moc"
