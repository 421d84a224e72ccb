// Textures on the OpenGL device: uploads of every layout, mip levels, render targets and stages.
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Gl/plGlD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "Engine/Platform/Graphics/plD3dxFont.h"
#include "Engine/Platform/plServices.h"
#include "plGlDevice.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>

namespace {

struct TexturedVertex {
    f32 x, y, z, rhw;
    u32 color;
    f32 u, v;
};

// The texture drawn over pixels [left, left + width) x [top, top + height), in the vertex colour.
void DrawTexture(GlDevice& gl, plD3dTexture* texture, i32 left, i32 top, i32 width, i32 height,
                 u32 colour = 0xFFFFFFFF) {
    const f32 x0 = static_cast<f32>(left) - 0.5f;
    const f32 y0 = static_cast<f32>(top) - 0.5f;
    const f32 x1 = x0 + static_cast<f32>(width);
    const f32 y1 = y0 + static_cast<f32>(height);
    const TexturedVertex quad[4] = {{x0, y0, 0, 1, colour, 0, 0},
                                    {x1, y0, 0, 1, colour, 1, 0},
                                    {x0, y1, 0, 1, colour, 0, 1},
                                    {x1, y1, 0, 1, colour, 1, 1}};
    gl.device->SetRenderState(plD3dRs::ZEnable, 0);
    gl.device->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    gl.device->SetTexture(0, texture);
    gl.device->SetVertexShader(plD3dFvf::XyzRhw | plD3dFvf::Diffuse | plD3dFvf::Tex1);
    gl.device->BeginScene();
    EXPECT_EQ(gl.device->DrawPrimitiveUP(plD3dPt::TriangleStrip, 2, quad, sizeof(TexturedVertex)),
              plD3dErr::Ok);
    gl.device->EndScene();
}

// Channels within 2 of each other: drivers widen 4- and 5-bit channels each in their own way.
bool Near(u32 a, u32 b) {
    return ::Near(a, b, 2);
}

plD3dTexture* MakeTexture(GlDevice& gl, u32 width, u32 height, u32 levels, plD3dFormat format) {
    plD3dTexture* texture = nullptr;
    EXPECT_EQ(gl.device->CreateTexture(width, height, levels, 0, format, plD3dPool::Managed, &texture),
              plD3dErr::Ok);
    return texture;
}

} // namespace

using plGlD3dTextureTest = plGlDeviceTest;

TEST_F(plGlD3dTextureTest, EveryLayoutIsDrawnAsItsTexelsSay) {
    const struct {
        plD3dFormat format;
        u32 texels[2];
        u32 argb[2];
    } cases[] = {
        {plD3dFormat::A8R8G8B8, {0x80FF8000, 0xFF0000FF}, {0x80FF8000, 0xFF0000FF}},
        {plD3dFormat::X8R8G8B8, {0x0012A0FF, 0x55FFFFFF}, {0xFF12A0FF, 0xFFFFFFFF}},
        {plD3dFormat::R5G6B5, {0xF800, 0x07FF}, {0xFFFF0000, 0xFF00FFFF}},
        {plD3dFormat::X1R5G5B5, {0x7C00, 0x801F}, {0xFFFF0000, 0xFF0000FF}},
        {plD3dFormat::A1R5G5B5, {0x03E0, 0x801F}, {0x0000FF00, 0xFF0000FF}},
        {plD3dFormat::A4R4G4B4, {0x8F00, 0xF0F0}, {0x88FF0000, 0xFF00FF00}},
    };
    for (const auto& c : cases) {
        plD3dTexture* texture = MakeTexture(gl, 2, 1, 1, c.format);
        ASSERT_NE(texture, nullptr);
        plD3dLockedRect locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), plD3dErr::Ok);
        const u32 bytes = c.format == plD3dFormat::A8R8G8B8 || c.format == plD3dFormat::X8R8G8B8 ? 4 : 2;
        for (int i = 0; i < 2; ++i)
            std::memcpy(static_cast<u8*>(locked.bits) + i * bytes, &c.texels[i], bytes);
        ASSERT_EQ(texture->UnlockRect(0), plD3dErr::Ok);
        gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF000000, 1.0f, 0);
        DrawTexture(gl, texture, 3, 4, 2, 1);
        const std::vector<u32> pixels = gl.Read();
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(Near(pixels[4 * kSize + 3 + i], c.argb[i]))
                << static_cast<int>(c.format) << " texel " << i << ": " << std::hex
                << pixels[4 * kSize + 3 + i];
        EXPECT_EQ(texture->Release(), 0u);
    }
}

TEST_F(plGlD3dTextureTest, SmallerDrawsTakeSmallerLevelsAndRenderTargetsHaveAFrameBuffer) {
    // Drivers that do not tell (Mesa) count as 256 MiB: no world texture loses levels for want of memory.
    EXPECT_GE(gl.device->GetAvailableTextureMem(), 18874368u);
    plD3dTexture* texture = MakeTexture(gl, 8, 8, 0, plD3dFormat::X8R8G8B8);
    ASSERT_EQ(texture->GetLevelCount(), 4u);
    const u32 colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    for (u32 level = 0; level < 4; ++level) {
        plD3dLockedRect locked;
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), plD3dErr::Ok);
        const u32 side = 8 >> level;
        for (u32 i = 0; i < side * side; ++i)
            static_cast<u32*>(locked.bits)[i] = colours[level];
        ASSERT_EQ(texture->UnlockRect(level), plD3dErr::Ok);
    }
    gl.device->SetTextureStageState(0, plD3dTss::MipFilter, plD3dTexf::Point);
    for (u32 level = 0; level < 4; ++level) {
        const i32 side = 8 >> level;
        DrawTexture(gl, texture, 0, 0, side, side);
        EXPECT_TRUE(Near(gl.Read()[0], colours[level])) << "level " << level;
    }
    EXPECT_EQ(texture->Release(), 0u);

    // A render target takes copies in and is drawn from like any texture.
    plD3dTexture* target = nullptr;
    ASSERT_EQ(gl.device->CreateTexture(4, 4, 1, plD3dUsage::RenderTarget, plD3dFormat::X8R8G8B8,
                                       plD3dPool::Default, &target),
              plD3dErr::Ok);
    const u32 framebuffer = static_cast<plGlD3dDevice*>(gl.device)->GetTextureFramebuffer(*target);
    ASSERT_NE(framebuffer, 0u);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    plD3dSurface* image = nullptr;
    ASSERT_EQ(gl.device->CreateImageSurface(4, 4, plD3dFormat::X8R8G8B8, &image), plD3dErr::Ok);
    for (u32 i = 0; i < 16; ++i)
        reinterpret_cast<u32*>(image->Pixels())[i] = 0xFF336699;
    plD3dSurface* level = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &level), plD3dErr::Ok);
    ASSERT_EQ(gl.device->CopyRects(image, nullptr, 0, level, nullptr), plD3dErr::Ok);
    level->Release();
    image->Release();
    DrawTexture(gl, target, 0, 0, 4, 4);
    EXPECT_TRUE(Near(gl.Read()[kSize + 1], 0xFF336699));
    // Released while bound: the stage is empty and the next draw shows the vertex colour.
    EXPECT_EQ(target->Release(), 0u);
    DrawTexture(gl, nullptr, 0, 0, 4, 4, 0xFF204060);
    EXPECT_EQ(gl.Read()[kSize + 1], 0xFF204060u);
}

TEST_F(plGlD3dTextureTest, StagesCombineTextureColourAndFactorAsTheyAreSet) {
    plD3dTexture* texture = MakeTexture(gl, 1, 1, 1, plD3dFormat::A8R8G8B8);
    plD3dLockedRect locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), plD3dErr::Ok);
    *static_cast<u32*>(locked.bits) = 0x80FF8040;
    ASSERT_EQ(texture->UnlockRect(0), plD3dErr::Ok);
    constexpr u32 kDiffuse = 0xFF808080;
    gl.device->SetRenderState(plD3dRs::TextureFactor, 0xFF00FF00);
    const struct {
        u32 colorOp, colorArg2, alphaOp;
        u32 expected;
    } cases[] = {
        {plD3dTop::Modulate, plD3dTa::Current, plD3dTop::SelectArg1, 0x80804020},
        {plD3dTop::SelectArg2, plD3dTa::Current, plD3dTop::SelectArg2, kDiffuse},
        {plD3dTop::Disable, plD3dTa::Current, plD3dTop::Disable, kDiffuse},
        {plD3dTop::Modulate, plD3dTa::TFactor, plD3dTop::SelectArg1, 0x80008000},
        {plD3dTop::Add, plD3dTa::Diffuse, plD3dTop::SelectArg1, 0x80FFFFC0},
    };
    for (const auto& c : cases) {
        gl.device->SetTextureStageState(0, plD3dTss::ColorOp, c.colorOp);
        gl.device->SetTextureStageState(0, plD3dTss::ColorArg2, c.colorArg2);
        gl.device->SetTextureStageState(0, plD3dTss::AlphaOp, c.alphaOp);
        DrawTexture(gl, texture, 0, 0, 2, 2, kDiffuse);
        const u32 pixel = gl.Read()[0];
        EXPECT_TRUE(Near(pixel, c.expected))
            << "op " << c.colorOp << " arg " << c.colorArg2 << ": " << std::hex << pixel;
    }
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(plGlD3dTextureTest, FontsDrawTheirGlyphsInTheColourGiven) {
    plFreeTypeFonts fonts;
    plInstallServices({.fonts = &fonts});
    const plFontHandle handle = fonts.CreateFont("Arial", 16);
    plD3dxFont* font = nullptr;
    ASSERT_EQ(plD3dxCreateFont(gl.device, handle, &font), plD3dErr::Ok);
    gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF000000, 1.0f, 0);
    u32 width = 0, height = 0;
    fonts.MeasureText(handle, u"HH", width, height);
    EXPECT_EQ(font->DrawText(u"HH", {2, 3, 0, 0}, 0xFFFF0000), static_cast<i32>(height));
    const std::vector<u32> pixels = gl.Read();
    u32 red = 0;
    for (u32 y = 0; y < kSize; ++y)
        for (u32 x = 0; x < kSize; ++x) {
            const u32 pixel = pixels[y * kSize + x] & 0xFFFFFF;
            const bool inCell = x >= 2 && x < 2 + width && y >= 3 && y < 3 + height;
            EXPECT_TRUE(inCell || pixel == 0) << x << ", " << y;
            EXPECT_EQ(pixel & 0xFFFF, 0u) << x << ", " << y;
            red += pixel >= 0xF00000;
        }
    // Four stems, each some pixels of full red.
    EXPECT_GE(red, 20u);
    EXPECT_EQ(font->Release(), 0u);
    fonts.DeleteFont(handle);
    plInstallServices({});
}

TEST_F(plGlD3dTextureTest, ATargetTextureIsDrawnInRowOrderWithTheDepthBuffer) {
    plD3dTexture* target = nullptr;
    ASSERT_EQ(gl.device->CreateTexture(16, 16, 1, plD3dUsage::RenderTarget, plD3dFormat::X8R8G8B8,
                                       plD3dPool::Default, &target),
              plD3dErr::Ok);
    plD3dSurface* level = nullptr;
    plD3dSurface* depth = nullptr;
    plD3dSurface* back = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &level), plD3dErr::Ok);
    ASSERT_EQ(gl.device->GetDepthStencilSurface(&depth), plD3dErr::Ok);
    ASSERT_EQ(gl.device->GetRenderTarget(&back), plD3dErr::Ok);
    ASSERT_EQ(gl.device->SetRenderTarget(level, depth), plD3dErr::Ok);
    plD3dViewport viewport;
    gl.device->GetViewport(&viewport);
    EXPECT_EQ(viewport.width, 16u);

    // Red over the top half, then green behind it over everything: the depth buffer keeps the red.
    gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0xFF000000, 1.0f, 0);
    gl.device->SetRenderState(plD3dRs::Lighting, 0);
    gl.device->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    const u32 red = 0xFFFF0000;
    const u32 green = 0xFF00FF00;
    gl.DrawWorld({{-1, 1, 0.5f, red},
                  {1, 1, 0.5f, red},
                  {-1, 0, 0.5f, red},
                  {1, 1, 0.5f, red},
                  {1, 0, 0.5f, red},
                  {-1, 0, 0.5f, red}});
    gl.DrawWorld({{-1, 1, 0.9f, green},
                  {1, 1, 0.9f, green},
                  {-1, -1, 0.9f, green},
                  {1, 1, 0.9f, green},
                  {1, -1, 0.9f, green},
                  {-1, -1, 0.9f, green}});

    ASSERT_EQ(gl.device->SetRenderTarget(back, depth), plD3dErr::Ok);
    level->Release();
    depth->Release();
    back->Release();
    gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF000000, 1.0f, 0);
    DrawTexture(gl, target, 0, 0, 16, 16);
    const std::vector<u32> pixels = gl.Read();
    EXPECT_TRUE(Near(pixels[1 * kSize + 8], red)) << std::hex << pixels[1 * kSize + 8];
    EXPECT_TRUE(Near(pixels[14 * kSize + 8], green)) << std::hex << pixels[14 * kSize + 8];
    EXPECT_EQ(target->Release(), 0u);
}
