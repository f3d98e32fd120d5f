#include "platform/gui/KeyStroke.h"

#include "platform/VirtualKey.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

namespace platform {

namespace {

xcb_connection_t* x11Connection() {
    auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

int virtualKeyFromScanCode(quint32 scanCode) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || scanCode == 0 || scanCode > 255)
        return 0;
    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(
        xcb_key_symbols_alloc(connection), &xcb_key_symbols_free);
    if (!symbols)
        return 0;
    return virtualKeyFromKeysym(
        xcb_key_symbols_get_keysym(symbols.get(), xcb_keycode_t(scanCode), 0));
}

} // namespace

KeyStroke keyStrokeFromEvent(const QKeyEvent& event) {
    KeyStroke stroke;
    stroke.shift = shiftStateFromQtModifiers(event.modifiers());
    stroke.keyCode = virtualKeyFromQtKey(event.key(), event.modifiers());
    const bool isLetterOrDigit = (stroke.keyCode >= 'A' && stroke.keyCode <= 'Z') ||
                                 (stroke.keyCode >= '0' && stroke.keyCode <= '9');
    if (!isLetterOrDigit && !(event.modifiers() & Qt::KeypadModifier)) {
        if (const int physical = virtualKeyFromScanCode(event.nativeScanCode()))
            stroke.keyCode = physical;
    }
    return stroke;
}

int typedCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    if (!text.isEmpty())
        return text.at(0).unicode();
    // Some platforms give no text for Ctrl+letter; the character is still the control code.
    if ((event.modifiers() & Qt::ControlModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    return 0;
}

bool isCapsLockOn() {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    if (!screens.rem)
        return false;
    // The pointer query reports the keyboard's modifier state, locks included.
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(
        connection, xcb_query_pointer(connection, screens.data->root), nullptr);
    if (!reply)
        return false;
    const bool on = reply->mask & XCB_MOD_MASK_LOCK;
    std::free(reply);
    return on;
}

} // namespace platform
