// Asks the X server (and the clipboard) about the program under test, for the end-to-end
// scripts. Every waiting command polls with a deadline and exits 1 when it runs out.
//
//   main-window PID TIMEOUT_MS       id of PID's mapped top-level window (not a dialog)
//   dialog PID MAINWIN TIMEOUT_MS    id of PID's mapped dialog other than MAINWIN
//   wait WIN STATE TIMEOUT_MS        STATE: viewable, unmapped, active, inactive
//   geometry WIN                     "x y width height" of the window on the screen
//   state WIN                        the window's _NET_WM_STATE atoms, one a line
//   above UPPER LOWER                exit 0 when UPPER is stacked above LOWER
//   active                           the active client window
//   clipboard                        the clipboard text
//   offer-clipboard TEXT SECONDS     owns the clipboard with TEXT until another client takes it
//                                    over or SECONDS pass
//   decode FILE                      a text file as the program reads it (UTF-8 or CP932)
//   missing-glyphs TEXT              the characters of TEXT that the font the program draws
//                                    with (the default one, with its fallbacks) shows as a box,
//                                    one a line; exit 1 when there is any
//   launch-until-active TIMEOUT_MS PROGRAM ARGS...
//                                    starts PROGRAM; prints "PID MS" once a window of it is
//                                    the active one, MS counted from the start
//   second-start WIN TIMEOUT_MS PROGRAM ARGS...
//                                    starts PROGRAM; prints "SHOWN_MS EXIT_CODE": when WIN became
//                                    viewable and active, and how the started process ended;
//                                    a third field counts windows the started process mapped
//   grab-key MODIFIERS KEYSYM SECONDS
//                                    holds a key grab on the root window (X modifier mask, keysym
//                                    in hex) as another program would, for SECONDS
//   tray-icon PID TIMEOUT_MS         "WIN x y width height" of PID's icon once a tray embedded it
//   popup PID TIMEOUT_MS             id of PID's mapped pop-up (override-redirect) window
#include "platform/TextCodec.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QProcess>
#include <QRawFont>
#include <QTextLayout>
#include <QThread>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

xcb_connection_t* g_conn = nullptr;
xcb_window_t g_root = 0;

xcb_atom_t atom(const char* name) {
    auto* reply = xcb_intern_atom_reply(
        g_conn, xcb_intern_atom(g_conn, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : 0;
    std::free(reply);
    return value;
}

std::vector<uint32_t> cardinals(xcb_window_t window, const char* name, xcb_atom_t type) {
    std::vector<uint32_t> values;
    auto* reply = xcb_get_property_reply(
        g_conn, xcb_get_property(g_conn, 0, window, atom(name), type, 0, 4096), nullptr);
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

std::optional<uint32_t> first(const std::vector<uint32_t>& values) {
    if (values.empty())
        return std::nullopt;
    return values.front();
}

bool viewable(xcb_window_t window) {
    auto* reply =
        xcb_get_window_attributes_reply(g_conn, xcb_get_window_attributes(g_conn, window), nullptr);
    const bool result = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    return result;
}

xcb_window_t activeWindow() {
    return first(cardinals(g_root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW)).value_or(0);
}

bool isDialog(xcb_window_t window) {
    if (!cardinals(window, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW).empty())
        return true;
    for (uint32_t type : cardinals(window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM)) {
        if (type == atom("_NET_WM_WINDOW_TYPE_DIALOG"))
            return true;
    }
    return false;
}

// Managed top-level windows of a process.
std::vector<xcb_window_t> clientsOf(uint32_t pid) {
    std::vector<xcb_window_t> result;
    for (uint32_t window : cardinals(g_root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW)) {
        if (first(cardinals(window, "_NET_WM_PID", XCB_ATOM_CARDINAL)) == pid)
            result.push_back(window);
    }
    return result;
}

bool poll(int timeoutMs, const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::usleep(2000);
    }
    return true;
}

std::optional<xcb_window_t> findWindow(uint32_t pid, bool dialog, xcb_window_t except) {
    for (xcb_window_t window : clientsOf(pid)) {
        if (window != except && isDialog(window) == dialog && viewable(window))
            return window;
    }
    return std::nullopt;
}

// Windows of a process anywhere in the tree below `parent` (an embedded tray icon is no top-level).
void windowsOf(uint32_t pid, xcb_window_t parent, std::vector<xcb_window_t>& found) {
    auto* tree = xcb_query_tree_reply(g_conn, xcb_query_tree(g_conn, parent), nullptr);
    if (!tree)
        return;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        if (first(cardinals(children[i], "_NET_WM_PID", XCB_ATOM_CARDINAL)) == pid)
            found.push_back(children[i]);
        windowsOf(pid, children[i], found);
    }
    std::free(tree);
}

xcb_window_t parentOf(xcb_window_t window) {
    auto* tree = xcb_query_tree_reply(g_conn, xcb_query_tree(g_conn, window), nullptr);
    const xcb_window_t parent = tree ? tree->parent : 0;
    std::free(tree);
    return parent;
}

bool overrideRedirect(xcb_window_t window) {
    auto* reply =
        xcb_get_window_attributes_reply(g_conn, xcb_get_window_attributes(g_conn, window), nullptr);
    const bool result = reply && reply->override_redirect;
    std::free(reply);
    return result;
}

int fail(const char* message) {
    std::fprintf(stderr, "e2e tool: %s\n", message);
    return 1;
}

QProcess* launch(int argc, char** argv, int from) {
    auto* process = new QProcess;
    QStringList args;
    for (int i = from + 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(QString::fromLocal8Bit(argv[from]), args);
    return process;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return fail("no command");
    const std::string command = argv[1];
    const auto arg = [&](int i) { return i < argc ? std::strtoul(argv[i], nullptr, 0) : 0ul; };

    if (command == "decode") {
        if (argc < 3)
            return fail("decode FILE");
        const auto text = platform::readTextFile(QString::fromLocal8Bit(argv[2]));
        if (!text)
            return fail("cannot read the file");
        std::fputs(text->text.toUtf8().constData(), stdout);
        return 0;
    }
    if (command == "offer-clipboard") {
        if (argc < 4)
            return fail("offer-clipboard TEXT SECONDS");
        qputenv("QT_QPA_PLATFORM", "xcb");
        QGuiApplication app(argc, argv);
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QString::fromLocal8Bit(argv[2]));
        QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard, &app] {
            if (!clipboard->ownsClipboard())
                app.quit();
        });
        QTimer::singleShot(int(arg(3)) * 1000, &app, &QCoreApplication::quit);
        return app.exec();
    }
    if (command == "missing-glyphs") {
        if (argc < 3)
            return fail("missing-glyphs TEXT");
        qputenv("QT_QPA_PLATFORM", "xcb");
        QGuiApplication app(argc, argv);
        const QString text = QString::fromUtf8(argv[2]);
        QStringList fonts;
        int missing = 0;
        for (const uint c : text.toUcs4()) {
            if (QChar::isSpace(c))
                continue;
            const QString character = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
            // Laid out alone, the character is drawn by the font the fallback chain chooses;
            // glyph 0 is that font's box for characters it lacks.
            QTextLayout layout(character, QGuiApplication::font());
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            bool drawn = !runs.isEmpty();
            for (const QGlyphRun& run : runs) {
                const QRawFont font = run.rawFont();
                if (!fonts.contains(font.familyName()))
                    fonts << font.familyName();
                drawn = drawn && font.supportsCharacter(c) && !run.glyphIndexes().contains(0u);
            }
            if (!drawn) {
                std::printf("U+%04X %s\n", c, character.toUtf8().constData());
                ++missing;
            }
        }
        std::fprintf(stderr, "fonts used: %s\n",
                     fonts.join(QStringLiteral(", ")).toUtf8().constData());
        return missing == 0 ? 0 : 1;
    }
    if (command == "clipboard") {
        qputenv("QT_QPA_PLATFORM", "xcb");
        QGuiApplication app(argc, argv);
        std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
        return 0;
    }

    g_conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(g_conn))
        return fail("cannot reach the X display");
    g_root = xcb_setup_roots_iterator(xcb_get_setup(g_conn)).data->root;

    if (command == "main-window" || command == "dialog") {
        const bool dialog = command == "dialog";
        const auto pid = uint32_t(arg(2));
        const auto except = dialog ? xcb_window_t(arg(3)) : 0;
        std::optional<xcb_window_t> found;
        if (!poll(int(arg(dialog ? 4 : 3)),
                  [&] { return bool(found = findWindow(pid, dialog, except)); }))
            return fail("no such window appeared");
        std::printf("%u\n", *found);
        return 0;
    }
    if (command == "wait") {
        const auto window = xcb_window_t(arg(2));
        const std::string state = argc > 3 ? argv[3] : "";
        const auto reached = [&] {
            if (state == "viewable")
                return viewable(window);
            if (state == "unmapped")
                return !viewable(window);
            if (state == "active")
                return viewable(window) && activeWindow() == window;
            if (state == "inactive")
                return activeWindow() != window;
            return false;
        };
        return poll(int(arg(4)), reached) ? 0 : fail(("window never " + state).c_str());
    }
    if (command == "geometry") {
        const auto window = xcb_window_t(arg(2));
        auto* geometry = xcb_get_geometry_reply(g_conn, xcb_get_geometry(g_conn, window), nullptr);
        auto* translated = xcb_translate_coordinates_reply(
            g_conn, xcb_translate_coordinates(g_conn, window, g_root, 0, 0), nullptr);
        if (!geometry || !translated)
            return fail("no such window");
        std::printf("%d %d %u %u\n", translated->dst_x, translated->dst_y, geometry->width,
                    geometry->height);
        std::free(geometry);
        std::free(translated);
        return 0;
    }
    if (command == "grab-key") {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(g_conn);
        xcb_keycode_t* codes =
            xcb_key_symbols_get_keycode(symbols, xcb_keysym_t(std::strtoul(argv[3], nullptr, 16)));
        if (!codes || !*codes)
            return fail("no key for that keysym");
        xcb_generic_error_t* error = xcb_request_check(
            g_conn, xcb_grab_key_checked(g_conn, 0, g_root, uint16_t(arg(2)), codes[0],
                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(codes);
        xcb_key_symbols_free(symbols);
        if (error)
            return fail("the key is grabbed by another client");
        std::printf("grabbed\n");
        std::fflush(stdout);
        QThread::sleep(arg(4));
        return 0;
    }
    if (command == "tray-icon" || command == "popup") {
        const auto pid = uint32_t(arg(2));
        const bool icon = command == "tray-icon";
        xcb_window_t found = 0;
        const auto search = [&] {
            std::vector<xcb_window_t> windows;
            windowsOf(pid, g_root, windows);
            const std::vector<uint32_t> managed =
                cardinals(g_root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW);
            for (const xcb_window_t window : windows) {
                const bool topLevel = parentOf(window) == g_root;
                const bool isManaged =
                    std::find(managed.begin(), managed.end(), window) != managed.end();
                // An embedded icon: inside another window and not managed (but override-redirect).
                if (viewable(window) &&
                    (icon ? !topLevel && !isManaged : topLevel && overrideRedirect(window))) {
                    found = window;
                    return true;
                }
            }
            return false;
        };
        if (!poll(int(arg(3)), search))
            return fail(icon ? "no tray icon was embedded" : "no pop-up appeared");
        if (!icon) {
            std::printf("%u\n", found);
            return 0;
        }
        auto* geometry = xcb_get_geometry_reply(g_conn, xcb_get_geometry(g_conn, found), nullptr);
        auto* translated = xcb_translate_coordinates_reply(
            g_conn, xcb_translate_coordinates(g_conn, found, g_root, 0, 0), nullptr);
        if (!geometry || !translated)
            return fail("the icon went away");
        std::printf("%u %d %d %u %u\n", found, translated->dst_x, translated->dst_y,
                    geometry->width, geometry->height);
        std::free(geometry);
        std::free(translated);
        return 0;
    }
    if (command == "state") {
        for (uint32_t state : cardinals(xcb_window_t(arg(2)), "_NET_WM_STATE", XCB_ATOM_ATOM)) {
            auto* name = xcb_get_atom_name_reply(g_conn, xcb_get_atom_name(g_conn, state), nullptr);
            if (name)
                std::printf("%.*s\n", xcb_get_atom_name_name_length(name),
                            xcb_get_atom_name_name(name));
            std::free(name);
        }
        return 0;
    }
    if (command == "above") {
        const std::vector<uint32_t> order =
            cardinals(g_root, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        const auto upper = std::find(order.begin(), order.end(), uint32_t(arg(2)));
        const auto lower = std::find(order.begin(), order.end(), uint32_t(arg(3)));
        return upper != order.end() && lower != order.end() && upper > lower ? 0 : 1;
    }
    if (command == "active") {
        std::printf("%u\n", activeWindow());
        return 0;
    }
    if (command == "launch-until-active") {
        if (argc < 4)
            return fail("launch-until-active TIMEOUT_MS PROGRAM ARGS...");
        QElapsedTimer clock;
        clock.start();
        QProcess* process = launch(argc, argv, 3);
        if (!process->waitForStarted(5000))
            return fail("the program did not start");
        const auto pid = uint32_t(process->processId());
        const bool active = poll(int(arg(2)), [&] {
            const xcb_window_t window = activeWindow();
            return window && first(cardinals(window, "_NET_WM_PID", XCB_ATOM_CARDINAL)) == pid &&
                   !isDialog(window);
        });
        if (!active)
            return fail("no window of the program became active");
        std::printf("%u %lld\n", pid, clock.elapsed());
        std::fflush(stdout);
        std::_Exit(0); // leave the program running
    }
    if (command == "second-start") {
        if (argc < 5)
            return fail("second-start WIN TIMEOUT_MS PROGRAM ARGS...");
        const auto window = xcb_window_t(arg(2));
        QElapsedTimer clock;
        clock.start();
        QProcess* process = launch(argc, argv, 4);
        if (!process->waitForStarted(5000))
            return fail("the program did not start");
        const auto pid = uint32_t(process->processId());
        size_t ownWindows = 0;
        const auto watchOwn = [&] {
            ownWindows = std::max(ownWindows, clientsOf(pid).size());
            return true;
        };
        if (!poll(int(arg(3)),
                  [&] { return watchOwn() && viewable(window) && activeWindow() == window; }))
            return fail("the running window did not come up");
        const qint64 shown = clock.elapsed();
        QElapsedTimer ending;
        ending.start();
        while (!process->waitForFinished(5)) {
            watchOwn();
            if (ending.elapsed() > int(arg(3)))
                return fail("the second start did not end");
        }
        std::printf("%lld %d %zu\n", shown,
                    process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                    ownWindows);
        return 0;
    }
    return fail("unknown command");
}
