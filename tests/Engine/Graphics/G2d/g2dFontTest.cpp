// Fonts from the shared table on the FreeType rasterizer (DejaVu, pinned by the tests' configuration).
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "g2dScreenFixture.h"

namespace {

// The screen's fixture with the real font table and rasterizer in place of the recording text.
class g2dFontTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        plInstallServices({.time = &m_time, .d3d = &m_d3d, .fonts = &m_fonts});
        g2dInitialize();
    }
    void TearDown() override {
        g2dScreen::Deinitialize();
        g2dShutdown();
        plInstallServices({});
        EXPECT_EQ(m_d3d.GetRefCount(), 0u);
        EXPECT_FALSE(m_log.Holds("didn't really release"));
    }
    bool Exists(g2dFont font) {
        envString face;
        i32 size = 0, textId = 0;
        return g2dFont::GetInfo(font, face, size, textId);
    }

    plFreeTypeFonts m_fonts;
    fsTestFolder m_folder;
};

} // namespace

TEST_F(g2dFontTest, FontsAreSharedByFaceAndSizeAndLiveOneReleaseLongerThanTheirUsers) {
    EXPECT_THROW(g2dFont::GetByTextId(5, 16), g2dUnknownFontX);
    m_folder.Write("fontname.tsf", "");
    {
        gfTextSet names(m_folder.Locator("fontname.tsf"), 32, false);
        names.SetText(5, "Arial");
        names.Save();
    }
    g2dLoadFontNameTable(m_folder.Locator("fontname.tsf"));
    const g2dFont byNumber = g2dFont::GetByTextId(5, 16);
    const g2dFont byFace = g2dFont::Get("Arial", 16);
    const g2dFont larger = g2dFont::Get("Arial", 20);
    EXPECT_EQ(byFace, byNumber);
    EXPECT_NE(larger, byFace);
    envString face;
    i32 size = 0, textId = 0;
    ASSERT_TRUE(g2dFont::GetInfo(byFace, face, size, textId));
    EXPECT_EQ(face, envString("Arial"));
    EXPECT_EQ(size, 16);
    EXPECT_EQ(textId, 5);

    // Two users: the third release deletes the font; a later Get makes it again.
    for (int release = 1; release <= 3; ++release) {
        g2dFont::Release(byFace);
        EXPECT_EQ(Exists(byFace), release < 3) << "release " << release;
    }
    g2dFont::Release(byFace);
    const g2dFont again = g2dFont::Get("Arial", 16);
    ASSERT_TRUE(g2dFont::GetInfo(again, face, size, textId));
    EXPECT_EQ(textId, -1);

    u32 width = 0, height = 0;
    g2dFont::MeasureText(again, "gt", width, height);
    EXPECT_EQ(height, 17u);
    EXPECT_GT(width, 0u);
    g2dFont::ReleaseAll();
    EXPECT_FALSE(Exists(larger));
    // Empty text needs no rasterizer at all.
    plInstallServices({.time = &m_time, .d3d = &m_d3d});
    width = height = 7;
    g2dFont::MeasureText(again, "", width, height);
    EXPECT_EQ(width + height, 0u);
}

TEST_F(g2dFontTest, DeviceObjectsGoWithTheDeviceAndTextDrawsAsBeforeAfterAReset) {
    const g2dFont font = g2dFont::Get("Arial", 16);
    g2dScreen::InitWindowed(320, 240, 0, 0);
    const u8 white[3] = {255, 255, 255};
    auto draw = [&] {
        m_d3d.GetLog().clear();
        g2dScreen::DrawText(10, 10, font, "Hi there", white);
        return Calls("DrawPrimitiveUP");
    };
    const std::vector<std::string> before = draw();
    EXPECT_EQ(before, std::vector<std::string>{"DrawPrimitiveUP 4 14"});
    Device().InjectLoss(0);
    m_d3d.GetLog().clear();
    g2dScreen::EndFrame();
    // The atlas was released with the loss and is made again.
    EXPECT_EQ(Calls("Reset"), std::vector<std::string>{"Reset"});
    EXPECT_EQ(Calls("CreateTexture").size(), 2u);
    EXPECT_EQ(draw(), before);
    // The table outlives the device, its device objects do not (checked as the fixture ends).
}
