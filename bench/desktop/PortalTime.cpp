// Desktop shortcut (the portal's Activated) to the window focused, as the compositor reports it,
// for one program. This process is the desktop portal on the session bus: it starts the program,
// waits for it to bind its shortcut (or, for a program that only listens, for its window to be
// known), then per press fetches a fresh activation token (untimed), sends Activated with it and
// waits for sway's focus event of the program's app id; a second Activated hides the window again.
// Prints the median and the 90th percentile in ms. Not a test.
//   portaltime PRESSES APP_ID SHORTCUT_ID TOKEN_TOOL -- PROGRAM [ARGUMENTS...]
#include "FakePortal.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// sway's IPC: "i3-ipc", payload length and type in the host's byte order, then the payload.
class SwayEvents {
public:
    bool connectAndSubscribe() {
        m_socket.connectToServer(qEnvironmentVariable("SWAYSOCK"));
        if (!m_socket.waitForConnected(2000))
            return false;
        send(2, "[\"window\"]");
        return true;
    }
    // Waits for a window event of `change` for `appId`; false after `ms`.
    bool waitFor(const QString& change, const QString& appId, int ms) {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            QJsonObject event;
            while (takeEvent(event)) {
                if (event.value("change").toString() == change &&
                    event.value("container").toObject().value("app_id").toString() == appId)
                    return true;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            // What the event loop read already sits in the socket: take it whether or not more
            // comes.
            m_socket.waitForReadyRead(1);
            m_buffer += m_socket.readAll();
        }
        return false;
    }
    // Forgets the events that came so far (a message only partly read stays).
    void drain() {
        QCoreApplication::processEvents();
        m_buffer += m_socket.readAll();
        QJsonObject event;
        while (takeEvent(event)) {
        }
    }

private:
    void send(quint32 type, const QByteArray& payload) {
        QByteArray message("i3-ipc");
        const quint32 header[2] = {quint32(payload.size()), type};
        message.append(reinterpret_cast<const char*>(header), sizeof header);
        m_socket.write(message + payload);
        m_socket.flush();
    }
    // One complete window event off the front of the buffer; replies and other events are skipped.
    bool takeEvent(QJsonObject& event) {
        while (m_buffer.size() >= 14) {
            quint32 length = 0;
            quint32 type = 0;
            std::memcpy(&length, m_buffer.constData() + 6, sizeof length);
            std::memcpy(&type, m_buffer.constData() + 10, sizeof type);
            if (quint32(m_buffer.size()) < 14 + length)
                return false;
            const QByteArray payload = m_buffer.mid(14, length);
            m_buffer.remove(0, 14 + length);
            if (type == 0x80000003u) {
                event = QJsonDocument::fromJson(payload).object();
                return true;
            }
        }
        return false;
    }

    QLocalSocket m_socket;
    QByteArray m_buffer;
};

QString freshToken(const QString& tool) {
    QProcess process;
    process.start(tool, {});
    process.waitForFinished(3000);
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

void waitMs(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList args = application.arguments().mid(1);
    const qsizetype separator = args.indexOf(QStringLiteral("--"));
    if (separator != 4 || args.size() < 6) {
        std::fprintf(stderr,
                     "usage: portaltime PRESSES APP_ID SHORTCUT_ID TOKEN_TOOL -- PROGRAM [ARGS]\n");
        return 2;
    }
    const int presses = args[0].toInt();
    const QString appId = args[1];
    const QString shortcutId = args[2];
    const QString tokenTool = args[3];

    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePortal portal(bus, FakePortal::Options{});
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "portaltime: cannot be the portal on this bus\n");
        return 1;
    }
    SwayEvents sway;
    if (!sway.connectAndSubscribe()) {
        std::fprintf(stderr, "portaltime: no sway IPC at SWAYSOCK\n");
        return 1;
    }
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(args[5], args.mid(6));
    // A program that binds its shortcut has a session; a bare listener only needs time to start.
    QDeadlineTimer ready(10000);
    while (portal.lastSession().isEmpty() && !ready.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const QString session =
        portal.lastSession().isEmpty() ? QStringLiteral("/bare") : portal.lastSession();
    waitMs(1500);

    QList<double> times;
    int misses = 0;
    for (int i = 0; i < presses; ++i) {
        const QString token = freshToken(tokenTool);
        sway.drain();
        QElapsedTimer clock;
        clock.start();
        portal.activate(session, shortcutId, token);
        if (sway.waitFor(QStringLiteral("focus"), appId, 3000))
            times << clock.nsecsElapsed() / 1e6;
        else
            ++misses;
        // The program learns of its focus a moment after the compositor gives it.
        waitMs(400);
        portal.activate(session, shortcutId, QString());
        if (!sway.waitFor(QStringLiteral("close"), appId, 3000)) {
            std::fprintf(stderr, "portaltime: the window did not hide after press %d\n", i + 1);
            return 1;
        }
        waitMs(150);
    }
    program.terminate();
    program.waitForFinished(3000);
    if (times.isEmpty()) {
        std::printf("no press gave the focus (%d misses)\n", misses);
        return 1;
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2
                              ? times[times.size() / 2]
                              : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    const double p90 = times[std::min<qsizetype>(times.size() - 1, times.size() * 9 / 10)];
    std::printf("focused: median %.2f ms, p90 %.2f ms (%lld presses, %d missed)\n", median, p90,
                static_cast<long long>(times.size()), misses);
    return 0;
}
