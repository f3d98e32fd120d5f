#include "controls/uHoverButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Mouse events go straight to the button: what it draws depends only on the events it receives.
void sendMove(controls::uHoverButton& button, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent move(QEvent::MouseMove, at, button.mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
}

void sendEnter(controls::uHoverButton& button, QPointF at) {
    QEnterEvent enter(at, at, button.mapToGlobal(at));
    QApplication::sendEvent(&button, &enter);
}

void sendLeave(controls::uHoverButton& button) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
}

void sendButton(controls::uHoverButton& button, QEvent::Type type, QPointF at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, at, button.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&button, &event);
}

QImage render(controls::uHoverButton& button) {
    QImage image(button.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

class HoverButton : public ::testing::Test {
protected:
    void SetUp() override {
        button.resize(40, 30);
        button.show();
    }
    controls::uHoverButton button;
};

TEST_F(HoverButton, HoverRaisesAndLeavingFlattens) {
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Flat);
    sendEnter(button, {10, 10});
    sendMove(button, {10, 10}, Qt::NoButton);
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Raised);
    sendMove(button, {60, 10}, Qt::NoButton);
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Flat);
    sendEnter(button, {5, 5});
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Raised);
    sendLeave(button);
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Flat);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(HoverButton, PressedAndDraggedOutShowsRaisedThenSunkenAgain) {
    sendEnter(button, {10, 10});
    sendButton(button, QEvent::MouseButtonPress, {10, 10});
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Sunken);
    sendMove(button, {100, 10}, Qt::LeftButton);
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Raised);
    // A leave while the button is held does not end the press.
    sendLeave(button);
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Raised);
    sendMove(button, {12, 12}, Qt::LeftButton);
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Sunken);
}

TEST_F(HoverButton, InsideTestExcludesTopEdgeAndIncludesFarEdges) {
    struct Row {
        QPointF at;
        controls::uHoverButton::VisualState expected;
    };
    const Row rows[] = {
        {{0, 1}, controls::uHoverButton::Sunken},   {{40, 30}, controls::uHoverButton::Sunken},
        {{20, 0}, controls::uHoverButton::Raised},  {{-1, 10}, controls::uHoverButton::Raised},
        {{41, 10}, controls::uHoverButton::Raised}, {{20, 31}, controls::uHoverButton::Raised},
    };
    sendButton(button, QEvent::MouseButtonPress, {10, 10});
    for (const Row& row : rows) {
        sendMove(button, row.at, Qt::LeftButton);
        EXPECT_EQ(button.visualState(), row.expected) << row.at.x() << "," << row.at.y();
    }
}

// What makes a click on the 40x30 button: a press and a release anywhere on it, the top pixel
// row and the far pixels included; a double click is one click, as on the native controls.
TEST_F(HoverButton, ClicksAsTheNativeControlsCount) {
    using T = QEvent::Type;
    struct Step {
        T type;
        QPointF at;
    };
    struct Row {
        const char* name;
        std::vector<Step> steps;
        int clicks;
    };
    const T press = T::MouseButtonPress, release = T::MouseButtonRelease,
            dbl = T::MouseButtonDblClick;
    const Row rows[] = {
        {"press and release inside", {{press, {10, 10}}, {release, {10, 10}}}, 1},
        {"released outside", {{press, {10, 10}}, {release, {90, 10}}}, 0},
        {"released on the top row", {{press, {20, 0}}, {release, {20, 0}}}, 1},
        {"released on the last pixel", {{press, {10, 10}}, {release, {39, 29}}}, 1},
        {"released just right of it", {{press, {10, 10}}, {release, {40, 10}}}, 0},
        {"released just below it", {{press, {10, 10}}, {release, {10, 30}}}, 0},
        {"release without a press", {{release, {10, 10}}}, 0},
        {"press after a double click whose release was lost",
         {{dbl, {10, 10}}, {press, {10, 10}}, {release, {10, 10}}},
         1},
        {"double click",
         {{press, {10, 10}}, {release, {10, 10}}, {dbl, {10, 10}}, {release, {10, 10}}},
         1},
        {"two double clicks",
         {{press, {10, 10}},
          {release, {10, 10}},
          {dbl, {10, 10}},
          {release, {10, 10}},
          {press, {10, 10}},
          {release, {10, 10}},
          {dbl, {10, 10}},
          {release, {10, 10}}},
         2},
    };
    for (const Row& row : rows) {
        QSignalSpy clicks(&button, &controls::uHoverButton::Click);
        for (const Step& step : row.steps)
            sendButton(button, step.type, step.at);
        EXPECT_EQ(clicks.count(), row.clicks) << row.name;
        EXPECT_EQ(button.visualState(), controls::uHoverButton::Flat) << row.name;
    }
}

TEST_F(HoverButton, DisabledButtonStaysFlatAndDrawsNoBorder) {
    button.setCaption(QStringLiteral("Go"));
    QImage enabledFlat = render(button);
    button.setEnabled(false);
    sendEnter(button, {10, 10});
    sendButton(button, QEvent::MouseButtonPress, {10, 10});
    EXPECT_EQ(button.visualState(), controls::uHoverButton::Flat);

    // No border: the frame pixels stay untouched.
    const QImage disabled = render(button);
    for (int x = 0; x < disabled.width(); ++x) {
        EXPECT_EQ(qAlpha(disabled.pixel(x, 0)), 0);
        EXPECT_EQ(qAlpha(disabled.pixel(x, disabled.height() - 1)), 0);
    }
    // The embossed caption draws in the light colour one pixel off, so the image differs from the
    // enabled caption.
    EXPECT_NE(disabled, enabledFlat);
    bool hasLight = false;
    const QRgb light = button.palette().color(QPalette::Light).rgb();
    for (int y = 0; y < disabled.height() && !hasLight; ++y)
        for (int x = 0; x < disabled.width() && !hasLight; ++x)
            hasLight = disabled.pixel(x, y) == light;
    EXPECT_TRUE(hasLight);
}

TEST_F(HoverButton, BordersFollowState) {
    const QRgb light = button.palette().color(QPalette::Light).rgb();
    const QRgb dark = button.palette().color(QPalette::Dark).rgb();
    sendEnter(button, {10, 10});
    QImage raised = render(button);
    EXPECT_EQ(raised.pixel(5, 0), light);
    EXPECT_EQ(raised.pixel(5, 29), dark);
    sendButton(button, QEvent::MouseButtonPress, {10, 10});
    QImage sunken = render(button);
    EXPECT_EQ(sunken.pixel(5, 0), dark);
    EXPECT_EQ(sunken.pixel(39, 5), light);
}

TEST_F(HoverButton, PictureIsRaisedAboveTheCaption) {
    QPixmap picture(10, 10);
    picture.fill(Qt::red);
    button.resize(40, 60);
    button.setPicture(picture);
    const QImage alone = render(button);
    auto topOfRed = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == QColor(Qt::red).rgb())
                    return y;
        return -1;
    };
    EXPECT_EQ(topOfRed(alone), (60 - 10) / 2);
    button.setCaption(QStringLiteral("Go"));
    const int textHeight = QFontMetrics(button.font()).height();
    EXPECT_EQ(topOfRed(render(button)), (60 - 10) / 2 - (textHeight + 2) / 2);
}

} // namespace
