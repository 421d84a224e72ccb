// Texture objects and formats on the test device.
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/private/g3dTextureLoaders.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <cstring>
#include <optional>

namespace {

// A BMP of one colour on the left half and another on the right.
std::string Halves(i32 width, i32 height, std::array<u8, 3> left, std::array<u8, 3> right) {
    std::vector<u8> rgb;
    for (i32 y = 0; y < height; ++y)
        for (i32 x = 0; x < width; ++x) {
            const auto& colour = x < width / 2 ? left : right;
            rgb.insert(rgb.end(), colour.begin(), colour.end());
        }
    return g2dImageBuilder::Bmp(width, height, rgb);
}

std::vector<u16> Texels16(const g3dTexture& texture, u32 level = 0) {
    const plD3dSurface& surface = *texture.GetPAC()->GetTexture()->Level(level);
    std::vector<u16> texels(surface.Desc().width * surface.Desc().height);
    for (u32 y = 0; y < surface.Desc().height; ++y)
        std::memcpy(&texels[y * surface.Desc().width], surface.Pixels() + y * surface.Pitch(),
                    surface.Desc().width * 2);
    return texels;
}

class g3dTextureTest : public g2dScreenFixture {
  protected:
    // The device made with the caps given (largest texture), the formats chosen.
    void Start(u32 largest = 2048) {
        plD3dCaps caps;
        caps.maxTextureWidth = caps.maxTextureHeight = largest;
        caps.maxTextureBlendStages = 4;
        m_d3d.SetCaps(caps);
        g2dScreen::InitWindowed(640, 480, 0, 0);
        g3dSelectTextureFormats();
    }
    fsTestFolder m_folder;
};

} // namespace

TEST_F(g3dTextureTest, FormatsAreTheFirstTheDeviceAcceptsAndTheSixteenBitOnesAreRequired) {
    using F = plD3dFormat;
    const struct {
        std::vector<F> refused;
        std::optional<std::array<F, 3>> chosen; // opaque16, alphaHigh, opaqueHigh; none: refused
    } cases[] = {
        {{}, std::array{F::R5G6B5, F::A8R8G8B8, F::X8R8G8B8}},
        {{F::R5G6B5, F::X8R8G8B8}, std::array{F::X1R5G5B5, F::A8R8G8B8, F::X1R5G5B5}},
        {{F::A8R8G8B8}, std::array{F::R5G6B5, F::A4R4G4B4, F::X8R8G8B8}},
        {{F::A4R4G4B4}, std::nullopt},
        {{F::R5G6B5, F::X1R5G5B5}, std::nullopt},
    };
    for (const auto& c : cases) {
        plFakeD3d d3d;
        for (F format : c.refused)
            d3d.RefuseTextureFormat(format);
        plInstallServices({.time = &m_time, .d3d = &d3d});
        g2dScreen::InitWindowed(640, 480, 0, 0);
        if (!c.chosen) {
            EXPECT_THROW(g3dSelectTextureFormats(), g3dNo3DHardwareX);
        } else {
            g3dSelectTextureFormats();
            EXPECT_EQ(*g3dGetAlpha16Format(), FormatOf(F::A4R4G4B4));
            EXPECT_EQ(*g3dGetOpaque16Format(), FormatOf((*c.chosen)[0]));
            EXPECT_EQ(*g3dGetAlphaHighFormat(), FormatOf((*c.chosen)[1]));
            EXPECT_EQ(*g3dGetOpaqueHighFormat(), FormatOf((*c.chosen)[2]));
        }
        g2dScreen::Deinitialize();
    }
    plInstallServices({.time = &m_time, .d3d = &m_d3d});
    Start();
    EXPECT_EQ(g3dGetMaxTextureBlendStages(), 4u);
    EXPECT_EQ(Calls("SetViewport"), std::vector<std::string>{"SetViewport"});
}

TEST_F(g3dTextureTest, FileTexturesAreShiftedCappedAndCopiedOrAveragedDown) {
    Start(256);
    const struct {
        i32 width, height, shiftX, shiftY;
        i32 expectedWidth, expectedHeight;
    } cases[] = {
        {1024, 1024, 0, 0, 256, 256},
        {256, 128, 1, 1, 128, 64},
        {8, 4, -3, 0, 8, 4},
        {4, 4, 5, 1, 1, 2},
    };
    for (const auto& c : cases) {
        const fsLocator file = m_folder.Write("a.bmp", Halves(c.width, c.height, {255, 0, 0}, {0, 0, 255}));
        g3dPlainTexture texture;
        g3dLoadPlainTextureBMP(texture, file, false, c.shiftX, c.shiftY);
        EXPECT_EQ(texture.GetWidth(), c.expectedWidth) << c.width << " >> " << c.shiftX;
        EXPECT_EQ(texture.GetHeight(), c.expectedHeight) << c.height << " >> " << c.shiftY;
        EXPECT_EQ(texture.GetPixelFormat(), FormatOf(plD3dFormat::R5G6B5));
        // The far left stays red however far the image is averaged down.
        if (c.expectedWidth > 1) {
            EXPECT_EQ(Texels16(texture)[0], 0xF800);
        }
    }
    // The image's own size is a straight copy of its texels.
    const std::vector<u8> rgb = {255, 0, 0, 8, 16, 24, 200, 100, 50, 1, 2, 3, 0, 255, 0, 9, 9, 9};
    g3dPlainTexture same;
    m_d3d.GetLog().clear();
    g3dLoadPlainTextureBMP(same, m_folder.Write("b.bmp", g2dImageBuilder::Bmp(3, 2, rgb)), false, 0, 0);
    EXPECT_EQ(Calls("CopyRects").size(), 1u);
    std::vector<u16> expected;
    for (size_t i = 0; i < rgb.size(); i += 3)
        expected.push_back(static_cast<u16>(FormatOf(plD3dFormat::R5G6B5).PackRGB(&rgb[i])));
    EXPECT_EQ(Texels16(same), expected);
}

TEST_F(g3dTextureTest, MipTexturesHoldTheWholeChainOfBoxAverages) {
    Start();
    g3dMipTexture texture;
    g3dLoadMipTexture(texture, m_folder.Write("m.bmp", Halves(64, 64, {255, 0, 0}, {0, 0, 255})), false,
                      false, 0, 0);
    plD3dTexture* d3dTexture = texture.GetPAC()->GetTexture();
    ASSERT_NE(d3dTexture, nullptr);
    ASSERT_EQ(d3dTexture->GetLevelCount(), 7u);
    EXPECT_EQ(Texels16(texture, 5), (std::vector<u16>{0xF800, 0x001F, 0xF800, 0x001F}));
    // Red 255 and blue 0 average to 128 each, packed to five bits.
    EXPECT_EQ(Texels16(texture, 6), std::vector<u16>{0x8010});
    EXPECT_EQ(d3dTexture->Level(0)->Desc().pool, plD3dPool::Managed);
}

TEST_F(g3dTextureTest, ARefusedTextureStopsTheLoadingAndStaysEmpty) {
    Start();
    const fsLocator file = m_folder.Write("a.bmp", Halves(4, 4, {255, 0, 0}, {0, 0, 255}));
    m_d3d.RefuseTextureFormat(plD3dFormat::R5G6B5);
    m_d3d.GetLog().clear();
    g3dPlainTexture plain;
    g3dLoadPlainTextureBMP(plain, file, false, 0, 0);
    g3dMipTexture mip;
    g3dLoadMipTexture(mip, file, false, false, 0, 0);
    EXPECT_EQ(plain.GetPAC()->GetTexture(), nullptr);
    EXPECT_EQ(mip.GetPAC()->GetTexture(), nullptr);
    EXPECT_EQ(plain.GetWidth(), 0);
    EXPECT_TRUE(Calls("CopyRects").empty());
    EXPECT_TRUE(m_log.Holds("DirectX Error: D3DERR_INVALIDCALL"));
}

TEST_F(g3dTextureTest, MasksMarkTheTexelsAtMostTheThresholdAndOnlyForAlphaFormats) {
    Start();
    // Alpha 0, 16 and 255 are 0, 1 and 15 in four bits.
    const std::string pixels("\xFF\x00\x00\x00\xFF\x00\x00\x10\xFF\x00\x00\xFF", 12);
    g3dPlainTexture texture;
    g3dLoadPlainTexturePNG(texture, m_folder.Write("a.png", g2dImageBuilder::Png(3, 8, 6, {pixels})), false,
                           0, 0);
    ASSERT_EQ(texture.GetPixelFormat(), FormatOf(plD3dFormat::A4R4G4B4));
    for (const auto& [threshold, expected] :
         {std::pair{0.0f, std::vector<u8>{1, 0, 0}}, std::pair{0.5f, std::vector<u8>{1, 1, 0}}}) {
        texture.BuildTransparencyMask(threshold);
        ASSERT_NE(texture.GetTransparencyMask(), nullptr);
        EXPECT_EQ(std::vector<u8>(texture.GetTransparencyMask(), texture.GetTransparencyMask() + 3),
                  expected);
    }
    g3dPlainTexture opaque;
    g3dLoadPlainTextureBMP(opaque, m_folder.Write("b.bmp", Halves(2, 2, {1, 2, 3}, {4, 5, 6})), false, 0, 0);
    opaque.BuildTransparencyMask(1.0f);
    EXPECT_EQ(opaque.GetTransparencyMask(), nullptr);
}
