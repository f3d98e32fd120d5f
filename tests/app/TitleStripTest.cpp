#include "app/TitleStrip.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

void send(TitleStrip& strip, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(strip.mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&strip, &event);
}

TEST(TitleStrip, OnlyAPressThatMovesStartsADrag) {
    TitleStrip strip;
    strip.resize(10, 30);
    QSignalSpy drags(&strip, &TitleStrip::dragRequested);
    QSignalSpy releases(&strip, &TitleStrip::released);
    const int far = QApplication::startDragDistance() + 1;

    // A click: no move is handed to the window manager, the release arrives.
    send(strip, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    send(strip, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(drags.count(), 0);
    EXPECT_EQ(releases.count(), 1);

    // A small tremble is still a click; a real move starts one drag.
    send(strip, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    send(strip, QEvent::MouseMove, {6, 5}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(drags.count(), 0);
    send(strip, QEvent::MouseMove, {5, 5 + far}, Qt::NoButton, Qt::LeftButton);
    send(strip, QEvent::MouseMove, {5, 5 + 2 * far}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(drags.count(), 1);
    send(strip, QEvent::MouseButtonRelease, {5, 5 + 2 * far}, Qt::LeftButton, Qt::NoButton);

    // Moving without the left button, or after a right press, drags nothing.
    send(strip, QEvent::MouseMove, {5, 5 + 3 * far}, Qt::NoButton, Qt::NoButton);
    send(strip, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
    send(strip, QEvent::MouseMove, {5, 5 + far}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(drags.count(), 1);
}

} // namespace
