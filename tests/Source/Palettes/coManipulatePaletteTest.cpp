// The tool box beside the selection, placed from the camera's defaults on the 800 x 600 GUI screen.
#include "Source/Palettes/coManipulatePalette.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Scene/coObject.h"
#include "Source/Screens/coScreenTestKit.h"

#include <cmath>

namespace {

struct Cube : coObject {
    Cube(const maVector3d& centre, f32 edge)
        : box(centre - maVector3d{edge / 2, edge / 2, edge / 2},
              centre + maVector3d{edge / 2, edge / 2, edge / 2}) {}
    bool RayTest(const maVector3d&, const maVector3d&, f32&) const override { return false; }
    maBoundingBox GetBoundingBox() const override { return box; }
    maBoundingBox box;
};

using coManipulatePaletteTest = coScreenTest;

TEST_F(coManipulatePaletteTest, SitsBesideTheObjectAndHidesBehindTheEye) {
    struct Case {
        maVector3d centre;
        f32 edge;
        bool shown;
        f32 x, y;
    };
    // A 10-unit cube's diagonal is below 25, so every offset is that of 25: s = 25 / (15 d / 5).
    const Case cases[] = {{{0, 0, 100}, 10, true, 366.6667f, 275.0f},
                          {{0, 0, 50}, 10, true, 333.3333f, 250.0f},
                          // 60 sqrt 3 / 900 = 0.1154701
                          {{0, 0, 300}, 60, true, 353.8120f, 265.3590f},
                          {{0, 0, -100}, 10, false, 0, 0}};
    for (const Case& c : cases) {
        coManipulatePalette palette;
        g3dCamera camera;
        const Cube cube(c.centre, c.edge);
        palette.AttachToObject(camera, cube);
        EXPECT_EQ(palette.IsVisible(), c.shown) << c.centre.z;
        if (!c.shown)
            continue;
        EXPECT_NEAR(palette.GetPosition().x, c.x, 1e-3) << c.centre.z;
        EXPECT_NEAR(palette.GetPosition().y, c.y, 1e-3) << c.centre.z;
    }
}

TEST_F(coManipulatePaletteTest, TheEyeAtTheCentreHidesWithoutDividingByZero) {
    coManipulatePalette palette;
    g3dCamera camera;
    palette.AttachToObject(camera, Cube({0, 0, 0}, 10));
    EXPECT_FALSE(palette.IsVisible());
    EXPECT_TRUE(std::isfinite(palette.GetPosition().x) && std::isfinite(palette.GetPosition().y));
    // Back in front, it shows again.
    palette.AttachToObject(camera, Cube({0, 0, 100}, 10));
    EXPECT_TRUE(palette.IsVisible());
}

TEST_F(coManipulatePaletteTest, AnObjectOtherThanAPropShowsThreeButtons) {
    coManipulatePalette palette;
    g3dCamera camera;
    palette.AttachToObject(camera, Cube({0, 0, 100}, 10));
    EXPECT_TRUE(palette.GetRotateButton()->IsVisible());
    EXPECT_TRUE(palette.GetTranslateButton()->IsVisible());
    EXPECT_TRUE(palette.GetDeleteButton()->IsVisible());
    EXPECT_FALSE(palette.GetChooseAnimButton()->IsVisible());
    EXPECT_FALSE(palette.GetChooseAnimButton()->IsEnabled());
}

} // namespace
