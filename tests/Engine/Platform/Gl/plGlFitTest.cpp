#include "Engine/Platform/Gl/plGlFit.h"

#include <gtest/gtest.h>

TEST(plGlFit, ThePictureKeepsItsShapeCentredWithBarsOnOneAxis) {
    const struct {
        i32 drawableWidth, drawableHeight;
        u32 pictureWidth, pictureHeight;
        plGlRect shown;
    } cases[] = {
        {800, 600, 640, 480, {0, 0, 800, 600}},    // same shape, scaled up
        {1000, 600, 640, 480, {100, 0, 800, 600}}, // bars left and right
        {800, 800, 640, 480, {0, 100, 800, 600}},  // bars above and below
        {801, 600, 640, 480, {0, 0, 800, 600}},    // an odd pixel stays on the right
        {0, 600, 640, 480, {}},                    // a minimised window shows nothing
    };
    for (const auto& c : cases) {
        const plGlRect shown =
            plGlFitCentred(c.drawableWidth, c.drawableHeight, c.pictureWidth, c.pictureHeight);
        EXPECT_EQ(shown.left, c.shown.left) << c.drawableWidth << "x" << c.drawableHeight;
        EXPECT_EQ(shown.bottom, c.shown.bottom) << c.drawableWidth << "x" << c.drawableHeight;
        EXPECT_EQ(shown.width, c.shown.width) << c.drawableWidth << "x" << c.drawableHeight;
        EXPECT_EQ(shown.height, c.shown.height) << c.drawableWidth << "x" << c.drawableHeight;
    }
}

TEST(plGlFit, PointerPositionsMapThroughTheFitBothWays) {
    const struct {
        plGlView view;
        i32 windowX, windowY;
        i32 x, y;
    } cases[] = {
        {{800, 600, 800, 600, 800, 600}, 400, 300, 400, 300}, // a window: identity
        {{800, 600, 800, 600, 800, 600}, 799, 599, 799, 599},
        {{1000, 600, 1000, 600, 640, 480}, 100, 0, 0, 0}, // bars left and right, scale 1.25
        {{1000, 600, 1000, 600, 640, 480}, 899, 599, 639, 479},
        {{1000, 600, 1000, 600, 640, 480}, 50, 300, -40, 240},  // in the bar: off the picture
        {{800, 600, 1600, 1200, 800, 600}, 400, 300, 400, 300}, // a dense display
        {{800, 600, 1600, 1200, 400, 300}, 10, 20, 5, 10},
    };
    for (const auto& c : cases) {
        i32 x = 0, y = 0;
        plGlWindowToPicture(c.view, c.windowX, c.windowY, x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.windowX << ", " << c.windowY;
        i32 windowX = 0, windowY = 0;
        plGlPictureToWindow(c.view, x, y, windowX, windowY);
        plGlWindowToPicture(c.view, windowX, windowY, x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y))
            << "back from " << windowX << ", " << windowY;
    }
    i32 x = 1, y = 1;
    plGlWindowToPicture({800, 600, 0, 0, 800, 600}, 10, 10, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));
}

TEST(plGlFit, TheGuardFactorIsTheLargestOddOneOpenGlTakesUnclamped) {
    const plGlViewportLimits limits{16384, 16384, -32768, 32767};
    const struct {
        plGlRect view;
        plGlViewportLimits limits;
        i32 factor;
    } cases[] = {
        {{0, 0, 800, 600}, limits, 7},
        {{0, 0, 2560, 1440}, limits, 5},                     // 7 x 2560 is wider than OpenGL allows
        {{0, 0, 800, 600}, {16384, 16384, -1600, 32767}, 5}, // the left corner would pass the bounds
        {{0, 0, 800, 600}, {16384, 16384, -32768, 2399}, 3}, // and here the right one
        {{0, 0, 800, 600}, {2000, 2000, -32768, 32767}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plGlGuardFactor(c.view, c.limits, 7), c.factor) << c.view.width << "x" << c.view.height;
}
