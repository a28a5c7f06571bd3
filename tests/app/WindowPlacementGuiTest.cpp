#include "shell/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace kestrova::testing {

namespace {

std::unique_ptr<QWidget> BorderlessWindow(int width, int height) {
    auto window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    window->resize(width, height);
    return window;
}

}  // namespace

TEST(WindowPlacementTest, CentresOnTheDesktopRectangle) {
    auto window = BorderlessWindow(800, 500);
    CentreWindow(*window, QRect(0, 0, 1024, 768));
    EXPECT_EQ(window->pos(), QPoint(112, 134));
    EXPECT_EQ(window->size(), QSize(800, 500));
}

TEST(WindowPlacementTest, HalvesAreTruncatedAndMeasuredFromTheScreenOrigin) {
    auto window = BorderlessWindow(801, 501);
    CentreWindow(*window, QRect(300, 200, 1025, 769));
    EXPECT_EQ(window->pos(), QPoint(512 - 400, 384 - 250));

    auto wide = BorderlessWindow(800, 500);
    CentreWindow(*wide, QRect(0, 0, 640, 480));
    EXPECT_EQ(wide->pos(), QPoint(-80, -10));
}

TEST(WindowPlacementTest, CentresOnAReferenceWindowsSize) {
    auto reference = BorderlessWindow(600, 400);
    auto window = BorderlessWindow(200, 100);
    CentreWindow(*window, *reference);
    EXPECT_EQ(window->pos(), QPoint(200, 150));
}

TEST(WindowPlacementTest, CentresOnTheWorkAreaAndTheDesktopOfItsScreen) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    auto window = BorderlessWindow(200, 100);

    CentreOnWorkArea(*window);
    EXPECT_EQ(window->frameGeometry().center(), screen->availableGeometry().center());
    CentreOnDesktop(*window);
    EXPECT_EQ(window->frameGeometry().center(), screen->geometry().center());
}

TEST(WindowPlacementTest, AWindowNotShownCannotBeDragged) {
    auto window = BorderlessWindow(200, 100);
    EXPECT_FALSE(DragWindow(*window));
}

}  // namespace kestrova::testing
