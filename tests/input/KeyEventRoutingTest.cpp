#include "input/CKeyMapping.h"
#include "platform/gui/KeyStroke.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

class Window : public QObject {
    Q_OBJECT
public:
    QStringList calls;
    Q_INVOKABLE bool ShowProperty() {
        calls << "ShowProperty";
        return true;
    }
    Q_INVOKABLE bool MovePrevMemo() {
        calls << "MovePrevMemo";
        return false;
    }
};

} // namespace

// Key events as Qt delivers them reach the bound functions by name, and the typed characters of
// bound keystrokes are recognised.
TEST(KeyEventRouting, QtKeyEventsRunTheBoundFunctions) {
    Window window;
    input::CKeyMapping map;
    map.Initialize(&window);
    map.setCapsLockProbe(platform::isCapsLockOn);
    map.AddDefaultBindings();
    map.Add("ShowProperty", "Ctrl+O");

    const struct {
        QKeyEvent event;
        bool swallowed;
    } rows[] = {{QKeyEvent(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, "\x0f"), true},
                {QKeyEvent(QEvent::KeyPress, Qt::Key_K, Qt::ControlModifier, "\x0b"), false},
                {QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::ControlModifier), false},
                {QKeyEvent(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, "o"), false}};
    for (const auto& row : rows) {
        const platform::KeyStroke stroke = platform::keyStrokeFromEvent(row.event);
        int key = stroke.keyCode, shift = stroke.shift;
        map.Exec(key, shift);
        EXPECT_EQ(key == 0, row.swallowed) << row.event.key();
    }
    EXPECT_EQ(window.calls, QStringList({"ShowProperty", "MovePrevMemo", "MovePrevMemo"}));
    EXPECT_TRUE(map.IsKeyMappingAscii(platform::typedCharacter(rows[0].event)));
    EXPECT_FALSE(map.IsKeyMappingAscii(platform::typedCharacter(rows[3].event)));
}

#include "KeyEventRoutingTest.moc"
