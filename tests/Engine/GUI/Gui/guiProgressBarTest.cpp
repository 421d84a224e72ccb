#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "guiWidgetFixture.h"

#include <limits>

// A 200 x 20 bar whose picture has a texture, so its tiling shows.
class guiProgressBarTest : public guiWidgetTest {
  protected:
    guiProgressBar* MakeBar(i32 axes) {
        folder.Write("bar.png", g2dImageBuilder::Png(1, 8, 6, {std::string("\xFF\x00\x00\xFF", 4)}));
        auto* bar = Add<guiProgressBar>();
        bar->GetProgress()->SetImage(folder.Locator("bar.png"), guiStateIdle);
        bar->SetAxes(axes);
        bar->SetTiles(2, 4);
        bar->SetSize(200, 20);
        return bar;
    }
    static maVector2d Tile(const guiProgressBar& bar) {
        f32 u = 0, v = 0;
        bar.GetProgress()->GetTile(u, v, guiStateIdle);
        return {u, v};
    }
};

TEST_F(guiProgressBarTest, ThePictureIsScaledAndCutAlongItsAxes) {
    const float full = 401.0f / 800.0f;
    const float high = 41.0f / 600.0f;
    const struct {
        i32 axes;
        float scaleX, scaleY, tileU, tileV;
    } cases[] = {{1, full * 0.5f, high, 1.0f, 1.0f},
                 {2, full, high * 0.5f, 1.0f, 2.0f},
                 {3, full * 0.5f, high * 0.5f, 1.0f, 2.0f},
                 {0, full, high, 1.0f, 1.0f}};
    for (const auto& c : cases) {
        guiProgressBar* bar = MakeBar(c.axes);
        bar->SetValue(0.5f);
        const maVector3d scale = bar->GetProgress()->GetScale();
        EXPECT_FLOAT_EQ(scale.x, c.scaleX) << c.axes;
        EXPECT_FLOAT_EQ(scale.y, c.scaleY) << c.axes;
        EXPECT_EQ(Tile(*bar).x, c.tileU) << c.axes;
        EXPECT_EQ(Tile(*bar).y, c.tileV) << c.axes;
    }
    // One tile across: half the texture at half the bar.
    guiProgressBar* bar = MakeBar(1);
    bar->SetTiles(1, 1);
    bar->SetValue(0.5f);
    EXPECT_FLOAT_EQ(bar->GetProgress()->GetScale().x, 0.250625f);
    EXPECT_EQ(Tile(*bar).x, 0.5f);
    EXPECT_EQ(Tile(*bar).y, 1.0f);
}

TEST_F(guiProgressBarTest, ValuesClampAndAResizeAtZeroShowsTheFullPicture) {
    guiProgressBar* bar = MakeBar(1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float set, expected;
    } values[] = {{1.5f, 1.0f}, {-0.2f, 0.0f}, {0.25f, 0.25f}, {nan, 0.25f}};
    for (const auto& v : values) {
        bar->SetValue(v.set);
        EXPECT_EQ(bar->GetValue(), v.expected) << v.set;
    }
    bar->Increase();
    EXPECT_FLOAT_EQ(bar->GetValue(), 0.26f);
    bar->SetValue(0.0f);
    bar->SetSize(100, 20);
    EXPECT_FLOAT_EQ(bar->GetProgress()->GetScale().x, 201.0f / 800.0f);
    bar->SetValue(0.0f);
    EXPECT_EQ(bar->GetProgress()->GetScale().x, 0.0f);
    // A positive value is applied again to the new size.
    bar->SetValue(0.5f);
    bar->SetSize(200, 20);
    EXPECT_FLOAT_EQ(bar->GetProgress()->GetScale().x, 0.250625f);
}
