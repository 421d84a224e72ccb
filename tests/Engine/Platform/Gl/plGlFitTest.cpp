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
