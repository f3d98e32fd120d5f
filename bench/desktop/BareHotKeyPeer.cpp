// The floor for the hotkey figures: a bare Qt program with one editable combo box that grabs
// Windows+Z on the root window (every lock combination) and shows its hidden window with the
// focus in the combo box, or hides it when it is in front. Nothing else.
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QComboBox>
#include <QVBoxLayout>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace {

class Grab : public QAbstractNativeEventFilter {
public:
    Grab(xcb_connection_t* c, QWidget* window) : m_c(c), m_window(window) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 'z');
        m_key = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
        constexpr uint16_t kMod4 = XCB_MOD_MASK_4;
        for (const uint16_t locks :
             {0, int(XCB_MOD_MASK_LOCK), int(XCB_MOD_MASK_2), XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2})
            xcb_grab_key(c, 0, m_root, kMod4 | locks, m_key, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC);
        xcb_flush(c);
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
            return false;
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (press->event != m_root || press->detail != m_key)
            return false;
        if (m_window->isVisible() && m_window->isActiveWindow()) {
            m_window->hide();
        } else {
            m_window->show();
            m_window->raise();
            m_window->activateWindow();
        }
        return false;
    }

private:
    xcb_connection_t* m_c;
    QWidget* m_window;
    xcb_window_t m_root = 0;
    xcb_keycode_t m_key = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* combo = new QComboBox;
    combo->setEditable(true);
    layout->addWidget(combo);
    window.winId();
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return 1;
    Grab grab(x11->connection(), &window);
    app.installNativeEventFilter(&grab);
    return app.exec();
}
