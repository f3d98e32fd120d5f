#include "X11HotKeyService.h"

#include "HookRegistry.h"
#include "HotKeyModifiers.h"
#include "platform/VirtualKey.h"
#include "platform/gui/X11Support.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>

namespace desktop {

namespace {

struct Registration {
    WindowHandle hWnd = nullptr;
    int id = 0;
    int mask = 0;
    int virtualKey = 0;
    std::uint16_t modifiers = 0;
    QList<xcb_keycode_t> keycodes; // grabbed; empty for "no key" and while a re-grab failed
};

} // namespace

struct X11HotKeyService::Private : QAbstractNativeEventFilter {
    QList<Registration> registrations;
    ModifierBits bits;
    xcb_key_symbols_t* keysyms = nullptr;
    bool filterInstalled = false;
    bool regrabPending = false;
    // Auto-repeat: a held hotkey toggles the window once, not at the keyboard's repeat rate.
    xcb_keycode_t heldKey = 0;
    xcb_timestamp_t lastReleaseTime = 0;
    xcb_keycode_t lastReleasedKey = 0;

    ~Private() override {
        if (keysyms)
            xcb_key_symbols_free(keysyms);
    }

    void readKeyboard(xcb_connection_t* c) {
        if (keysyms)
            xcb_key_symbols_free(keysyms);
        keysyms = xcb_key_symbols_alloc(c);
        ModifierKeysyms perModifier;
        xcb_get_modifier_mapping_reply_t* reply =
            xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
        if (reply && keysyms) {
            const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply);
            const int perMod = reply->keycodes_per_modifier;
            for (int mod = 0; mod < 8; ++mod) {
                for (int i = 0; i < perMod; ++i) {
                    const xcb_keycode_t code = codes[mod * perMod + i];
                    if (!code)
                        continue;
                    for (int column = 0; column < 2; ++column) {
                        if (const xcb_keysym_t sym =
                                xcb_key_symbols_get_keysym(keysyms, code, column))
                            perModifier[mod].push_back(sym);
                    }
                }
            }
        }
        std::free(reply);
        bits = modifierBitsFromKeysyms(perModifier);
    }

    // The first event number of the keyboard extension, 0 without it. A client that listens to
    // the extension's keymap notices (Qt does, on the same connection) is sent those instead of
    // the core MappingNotify.
    uint8_t xkbFirstEvent = 0;

    void ensureReady(xcb_connection_t* c) {
        if (!keysyms) {
            readKeyboard(c);
            const char name[] = "XKEYBOARD";
            xcb_query_extension_reply_t* xkb = xcb_query_extension_reply(
                c, xcb_query_extension(c, sizeof name - 1, name), nullptr);
            if (xkb && xkb->present)
                xkbFirstEvent = xkb->first_event;
            std::free(xkb);
        }
        if (!filterInstalled && QCoreApplication::instance()) {
            QCoreApplication::instance()->installNativeEventFilter(this);
            filterInstalled = true;
            // Installed after this filter, so it runs before it (the latest filter runs first):
            // the press that shows the window is the user time its activation request carries,
            // instead of a server time fetched over a connection of its own.
            platform::x11::watchUserTimestamps();
        }
    }

    // Grabs every key that produces the registration's keysym, with every lock combination.
    // False, with nothing left grabbed, when any grab is refused.
    bool grab(xcb_connection_t* c, Registration& r) {
        r.keycodes.clear();
        const xcb_keysym_t sym = platform::keysymFromVirtualKey(r.virtualKey);
        xcb_keycode_t* found = sym ? xcb_key_symbols_get_keycode(keysyms, sym) : nullptr;
        QList<xcb_keycode_t> codes;
        for (xcb_keycode_t* k = found; k && *k != XCB_NO_SYMBOL; ++k) {
            if (!codes.contains(*k))
                codes << *k;
        }
        std::free(found);
        if (codes.isEmpty())
            return false;
        r.modifiers = grabModifiers(r.mask, bits);
        const xcb_window_t root = platform::x11::rootWindow();
        QList<xcb_void_cookie_t> cookies;
        for (const xcb_keycode_t code : codes) {
            for (const std::uint16_t locks : lockCombinations(bits, r.modifiers)) {
                // owner_events false: the press goes to the root window even while one of the
                // program's own windows has the focus, so the hotkey also hides the window.
                cookies << xcb_grab_key_checked(c, 0, root, r.modifiers | locks, code,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            }
        }
        bool refused = false;
        // The last one first: its answer settles the earlier ones in a single round trip.
        std::reverse(cookies.begin(), cookies.end());
        for (const xcb_void_cookie_t cookie : cookies) {
            if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
                refused = true;
                std::free(error);
            }
        }
        r.keycodes = codes;
        if (refused)
            ungrab(c, r);
        return !refused;
    }

    void ungrab(xcb_connection_t* c, Registration& r) {
        const xcb_window_t root = platform::x11::rootWindow();
        for (const xcb_keycode_t code : r.keycodes) {
            for (const std::uint16_t locks : lockCombinations(bits, r.modifiers))
                xcb_ungrab_key(c, code, root, r.modifiers | locks);
        }
        r.keycodes.clear();
        xcb_flush(c);
    }

    // A changed keyboard may put the keysym on other keys and the locks on other modifiers.
    void regrabAll() {
        regrabPending = false;
        xcb_connection_t* c = platform::x11::connection();
        if (!c)
            return;
        for (Registration& r : registrations)
            ungrab(c, r);
        readKeyboard(c);
        for (Registration& r : registrations) {
            if (r.virtualKey)
                grab(c, r);
        }
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t" || registrations.isEmpty())
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_KEY_PRESS:
            onKeyPress(reinterpret_cast<const xcb_key_press_event_t*>(event));
            break;
        case XCB_KEY_RELEASE: {
            const auto* release = reinterpret_cast<const xcb_key_release_event_t*>(event);
            if (release->detail == heldKey)
                heldKey = 0;
            lastReleasedKey = release->detail;
            lastReleaseTime = release->time;
            break;
        }
        case XCB_MAPPING_NOTIFY:
            if (reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request !=
                XCB_MAPPING_POINTER)
                scheduleRegrab();
            break;
        default: {
            // The keyboard extension's new-keyboard (0) and keymap (1) notices.
            const uint8_t xkbType = event->pad0;
            if (xkbFirstEvent && (event->response_type & 0x7f) == xkbFirstEvent && xkbType <= 1)
                scheduleRegrab();
            break;
        }
        }
        // Qt sees every event as well: it records the press time for the activation request.
        return false;
    }

    // Several notices come in a row (a layout switch, a tool remapping keys for each character
    // it types): one re-grab once they are through.
    void scheduleRegrab() {
        if (regrabPending)
            return;
        regrabPending = true;
        QTimer::singleShot(0, QCoreApplication::instance(), [this] { regrabAll(); });
    }

    void onKeyPress(const xcb_key_press_event_t* press) {
        if (press->event != platform::x11::rootWindow())
            return;
        const bool repeated = press->detail == heldKey ||
                              (press->detail == lastReleasedKey && press->time == lastReleaseTime);
        heldKey = press->detail;
        if (repeated)
            return;
        const std::uint16_t state = press->state & significantModifiers(bits);
        for (const Registration& r : QList<Registration>(registrations)) {
            if (r.modifiers == state && r.keycodes.contains(press->detail)) {
                SendWindowMessage(r.hWnd, msg::HotKey, r.id, r.id);
                return;
            }
        }
    }
};

X11HotKeyService::X11HotKeyService() : d(std::make_unique<Private>()) {}

X11HotKeyService::~X11HotKeyService() {
    if (xcb_connection_t* c = platform::x11::connection()) {
        for (Registration& r : d->registrations)
            d->ungrab(c, r);
    }
    if (d->filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(d.get());
}

bool X11HotKeyService::registerHotKey(WindowHandle hWnd, int id, int mask, int virtualKey) {
    xcb_connection_t* c = platform::x11::connection();
    if (!c)
        return false;
    d->ensureReady(c);
    Registration r;
    r.hWnd = hWnd;
    r.id = id;
    r.mask = mask;
    r.virtualKey = virtualKey;
    // "No key" is held by nobody and registered as nothing.
    if (virtualKey && !d->grab(c, r))
        return false;
    d->registrations << r;
    return true;
}

void X11HotKeyService::unregisterHotKey(WindowHandle hWnd, int id) {
    xcb_connection_t* c = platform::x11::connection();
    for (qsizetype i = 0; i < d->registrations.size(); ++i) {
        Registration& r = d->registrations[i];
        if (r.hWnd != hWnd || r.id != id)
            continue;
        if (c)
            d->ungrab(c, r);
        d->registrations.removeAt(i);
        return;
    }
}

QString X11HotKeyService::unavailableReason() const {
    if (platform::x11::connection())
        return QString();
    return QCoreApplication::translate(
        "X11HotKeyService",
        "このデスクトップ (Wayland など) では、ほかのプログラムが使うキーを登録できません。\n"
        "デスクトップの設定でキーボード ショートカットを作り、コマンド scrivlet を割り当てて"
        "ください。もう一度起動すると、常駐しているウィンドウが表示されます。");
}

} // namespace desktop
