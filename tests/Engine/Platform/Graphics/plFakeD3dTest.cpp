#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "plFakeDevice.h"

#include <gtest/gtest.h>

#include <cstring>

struct plFakeD3dTest : ::testing::Test {
    FakeDevice f;
};

TEST(plFakeD3d, CreationHonoursRefusalsAndFailures) {
    plFakeD3d factory;
    plInstallServices({.d3d = &factory});
    factory.SetAvailable(false);
    EXPECT_EQ(plDirect3DCreate(), nullptr);
    factory.SetAvailable(true);
    plD3d* d3d = plDirect3DCreate();
    ASSERT_NE(d3d, nullptr);

    factory.RefuseFormat(plD3dFormat::R5G6B5);
    EXPECT_EQ(d3d->CheckDeviceType(0, plD3dDevType::Hal, plD3dFormat::R5G6B5, plD3dFormat::R5G6B5, false),
              plD3dErr::NotAvailable);
    EXPECT_EQ(d3d->CheckDeviceType(0, plD3dDevType::Hal, plD3dFormat::X1R5G5B5, plD3dFormat::X1R5G5B5, false),
              plD3dErr::Ok);

    factory.FailCreation(plD3dCreate::HardwareVertexProcessing);
    plD3dPresentParameters params = Windowed(0, 0);
    plD3dDevice* device = nullptr;
    EXPECT_EQ(
        d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &params, &device),
        plD3dErr::NotAvailable);
    EXPECT_EQ(device, nullptr);
    // Windowed devices take the desktop's format and the window's size when left open.
    ASSERT_EQ(
        d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::SoftwareVertexProcessing, &params, &device),
        plD3dErr::Ok);
    EXPECT_EQ(params.backBufferFormat, plD3dFormat::X8R8G8B8);
    EXPECT_EQ(params.backBufferWidth, 640u);
    // The device holds the factory: its last release is the device's.
    EXPECT_EQ(d3d->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(factory.GetRefCount(), 0u);
    plInstallServices({});
}

TEST_F(plFakeD3dTest, LossThenNotResetUntilAResetSucceeds) {
    f.Fake().InjectLoss(2);
    EXPECT_EQ(f.device->TestCooperativeLevel(), plD3dErr::DeviceLost);
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::DeviceLost);
    EXPECT_EQ(f.device->Present(), plD3dErr::DeviceLost);
    EXPECT_EQ(f.device->TestCooperativeLevel(), plD3dErr::DeviceLost);
    EXPECT_EQ(f.device->TestCooperativeLevel(), plD3dErr::DeviceNotReset);

    // A back buffer held is a default-pool resource: Reset is refused until it is released.
    plD3dSurface* back = nullptr;
    ASSERT_EQ(f.device->GetBackBuffer(0, plD3dBackBufferMono, &back), plD3dErr::Ok);
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::InvalidCall);
    EXPECT_EQ(f.device->TestCooperativeLevel(), plD3dErr::DeviceNotReset);
    EXPECT_EQ(back->Release(), 0u);
    // Image surfaces live in system memory and do not stand in the way.
    plD3dSurface* image = nullptr;
    ASSERT_EQ(f.device->CreateImageSurface(4, 4, plD3dFormat::R5G6B5, &image), plD3dErr::Ok);
    f.Fake().FailResets(1);
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::DeviceLost);
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::Ok);
    EXPECT_EQ(f.device->TestCooperativeLevel(), plD3dErr::Ok);
    EXPECT_EQ(f.device->Present(), plD3dErr::Ok);
    // A surface left alive keeps the device.
    EXPECT_EQ(f.device->Release(), 1u);
    f.device = nullptr;
    EXPECT_EQ(image->Release(), 0u);
}

TEST_F(plFakeD3dTest, ResetRestoresEveryDefaultState) {
    maMatrix4d moved;
    moved.SetTranslation(1.0f, 2.0f, 3.0f);
    const plD3dViewport corner{1, 1, 4, 4, 0.0f, 1.0f};
    ASSERT_EQ(f.device->SetRenderState(plD3dRs::CullMode, plD3dCull::None), plD3dErr::Ok);
    ASSERT_EQ(f.device->SetRenderState(plD3dRs::ZWriteEnable, 0), plD3dErr::Ok);
    ASSERT_EQ(f.device->SetTransform(plD3dTs::World, &moved), plD3dErr::Ok);
    ASSERT_EQ(f.device->SetViewport(&corner), plD3dErr::Ok);
    ASSERT_EQ(f.device->Reset(&f.params), plD3dErr::Ok);

    u32 value = 0;
    const std::pair<u32, u32> defaults[] = {
        {plD3dRs::CullMode, plD3dCull::Ccw},   {plD3dRs::ZWriteEnable, 1}, {plD3dRs::ZEnable, 1},
        {plD3dRs::ZFunc, plD3dCmp::LessEqual}, {plD3dRs::Lighting, 1},     {plD3dRs::ColorWriteEnable, 0xF}};
    for (const auto& [state, expected] : defaults) {
        ASSERT_EQ(f.device->GetRenderState(state, &value), plD3dErr::Ok);
        EXPECT_EQ(value, expected) << "state " << state;
    }
    maMatrix4d world;
    ASSERT_EQ(f.device->GetTransform(plD3dTs::World, &world), plD3dErr::Ok);
    const maMatrix4d identity;
    EXPECT_EQ(std::memcmp(&world, &identity, sizeof world), 0);
    plD3dViewport viewport;
    ASSERT_EQ(f.device->GetViewport(&viewport), plD3dErr::Ok);
    EXPECT_EQ(viewport.width, 32u);
    EXPECT_EQ(viewport.height, 16u);
}

TEST_F(plFakeD3dTest, CopyRectsConvertsAndRefusesRectanglesOutside) {
    plD3dSurface* image = nullptr;
    ASSERT_EQ(f.device->CreateImageSurface(2, 2, plD3dFormat::R5G6B5, &image), plD3dErr::Ok);
    plD3dLockedRect locked;
    ASSERT_EQ(image->LockRect(&locked, nullptr, plD3dLock::NoSysLock), plD3dErr::Ok);
    static_cast<u16*>(locked.bits)[1] = 0xF800; // top right: full red
    ASSERT_EQ(image->UnlockRect(), plD3dErr::Ok);

    plD3dSurface* back = nullptr;
    ASSERT_EQ(f.device->GetBackBuffer(0, plD3dBackBufferMono, &back), plD3dErr::Ok);
    const plD3dRect refused[] = {{1, 0, 3, 1}, {-1, 0, 1, 1}, {1, 1, 1, 2}};
    for (const plD3dRect& rect : refused) {
        const plD3dPoint at{0, 0};
        EXPECT_EQ(f.device->CopyRects(image, &rect, 1, back, &at), plD3dErr::InvalidCall);
    }
    // Points and rectangles far outside are refused without their sizes overflowing.
    const plD3dRect offScreen{0, 0, 2, 2};
    for (const plD3dPoint edge : {plD3dPoint{31, 15}, plD3dPoint{INT32_MAX, 0}, plD3dPoint{0, INT32_MAX}}) {
        EXPECT_EQ(f.device->CopyRects(image, &offScreen, 1, back, &edge), plD3dErr::InvalidCall);
        EXPECT_EQ(f.device->CopyRects(back, &offScreen, 1, image, &edge), plD3dErr::InvalidCall);
    }
    const plD3dRect huge{INT32_MIN, INT32_MIN, 1, 1};
    const plD3dPoint origin{0, 0};
    EXPECT_EQ(f.device->CopyRects(image, &huge, 1, back, &origin), plD3dErr::InvalidCall);
    EXPECT_EQ(f.Fake().GetPixel(0, 0), 0xFF000000u);

    const plD3dRect whole{0, 0, 2, 2};
    const plD3dPoint at{30, 14};
    ASSERT_EQ(f.device->CopyRects(image, &whole, 1, back, &at), plD3dErr::Ok);
    // Five bits of red widen to 255, as the card widens them.
    EXPECT_EQ(f.Fake().GetPixel(31, 14), 0xFFFF0000u);
    EXPECT_EQ(f.Fake().GetPixel(30, 14), 0xFF000000u);
    EXPECT_EQ(f.factory.GetLog().back(), "CopyRects 0 0 2 2 -> 30 14");
    back->Release();
    image->Release();
}

// Rectangles are cut to the viewport; one wholly outside it, or empty, clears nothing.
TEST_F(plFakeD3dTest, ClearsReachOnlyTheirRectanglesWithinTheViewport) {
    ASSERT_EQ(f.device->Clear(0, nullptr, plD3dClear::Target, 0xFF000000, 1.0f, 0), plD3dErr::Ok);
    const plD3dViewport view{4, 4, 20, 10, 0.0f, 1.0f};
    ASSERT_EQ(f.device->SetViewport(&view), plD3dErr::Ok);
    const plD3dRect rects[] = {{0, 0, 8, 6}, {0, 8, 2, 14}, {12, 5, 12, 14}, {22, 12, 40, 40}};
    ASSERT_EQ(f.device->Clear(4, rects, plD3dClear::Target, 0xFFFFFFFF, 1.0f, 0), plD3dErr::Ok);
    const struct {
        u32 x, y, argb;
    } pixels[] = {{4, 4, 0xFFFFFFFF},   {7, 5, 0xFFFFFFFF},  {8, 5, 0xFF000000},  {3, 4, 0xFF000000},
                  {4, 6, 0xFF000000},   {3, 10, 0xFF000000}, {12, 8, 0xFF000000}, {23, 13, 0xFFFFFFFF},
                  {24, 13, 0xFF000000}, {23, 14, 0xFF000000}};
    for (const auto& p : pixels)
        EXPECT_EQ(f.Fake().GetPixel(p.x, p.y), p.argb) << p.x << "," << p.y;
}

TEST_F(plFakeD3dTest, FrontBufferHoldsTheFramePresentedLast) {
    plD3dSurface* image = nullptr;
    plD3dSurface* small = nullptr;
    plD3dSurface* back = nullptr;
    ASSERT_EQ(f.device->CreateImageSurface(32, 16, plD3dFormat::X8R8G8B8, &image), plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateImageSurface(16, 16, plD3dFormat::X8R8G8B8, &small), plD3dErr::Ok);
    ASSERT_EQ(f.device->GetBackBuffer(0, plD3dBackBufferMono, &back), plD3dErr::Ok);
    for (plD3dSurface* refused : {small, back, static_cast<plD3dSurface*>(nullptr)})
        EXPECT_EQ(f.device->GetFrontBuffer(refused), plD3dErr::InvalidCall);

    auto frontPixel = [&] {
        EXPECT_EQ(f.device->GetFrontBuffer(image), plD3dErr::Ok);
        return plD3dReadArgb(plD3dFormat::X8R8G8B8, image->Pixels() + 5 * image->Pitch() + 7 * 4) & 0xFFFFFF;
    };
    ASSERT_EQ(f.device->Clear(0, nullptr, plD3dClear::Target, 0xFF102030, 1.0f, 0), plD3dErr::Ok);
    EXPECT_EQ(frontPixel(), 0u); // nothing presented yet
    ASSERT_EQ(f.device->Present(), plD3dErr::Ok);
    ASSERT_EQ(f.device->Clear(0, nullptr, plD3dClear::Target, 0xFF405060, 1.0f, 0), plD3dErr::Ok);
    EXPECT_EQ(frontPixel(), 0x102030u);
    back->Release();
    small->Release();
    image->Release();
}

TEST_F(plFakeD3dTest, DrawsWhoseCountsOverflowAreRefused) {
    const f32 vertices[3][4] = {};
    const u16 indices[3] = {1, 2, 3};
    f.device->SetVertexShader(plD3dFvf::XyzRhw);
    f.device->BeginScene();
    const auto draw = [&](u32 type, u32 minIndex, u32 vertexCount, u32 primitiveCount) {
        return f.device->DrawIndexedPrimitiveUP(type, minIndex, vertexCount, primitiveCount, indices,
                                                plD3dFormat::Index16, vertices, 16);
    };
    EXPECT_EQ(draw(plD3dPt::TriangleList, 1, 3, 1), plD3dErr::Ok);
    // Three times 0x55555556 and 0xFFFFFFFF + 2 wrap to 2 and 1 in 32 bits.
    EXPECT_EQ(draw(plD3dPt::TriangleList, 1, 3, 0x55555556), plD3dErr::InvalidCall);
    EXPECT_EQ(draw(plD3dPt::TriangleStrip, 1, 3, UINT32_MAX), plD3dErr::InvalidCall);
    EXPECT_EQ(draw(plD3dPt::TriangleList, 1, UINT32_MAX, 1), plD3dErr::InvalidCall);
    EXPECT_EQ(f.device->DrawPrimitiveUP(plD3dPt::TriangleList, 0x55555556, vertices, 16),
              plD3dErr::InvalidCall);
    f.device->EndScene();
}

TEST_F(plFakeD3dTest, LightsAreKeptBelowTheLimitUntilAReset) {
    plD3dDevice& device = *f.device;
    plD3dLight point;
    point.type = plD3dLightType::Point;
    point.range = 12.5f;
    plD3dLight spot = point;
    spot.type = plD3dLightType::Spot;
    // Point and directional lights below the eight of the fake; a spot or an index past them is refused.
    EXPECT_EQ(device.SetLight(7, &point), plD3dErr::Ok);
    EXPECT_EQ(device.SetLight(8, &point), plD3dErr::InvalidCall);
    EXPECT_EQ(device.SetLight(1, &spot), plD3dErr::InvalidCall);
    EXPECT_EQ(device.LightEnable(8, true), plD3dErr::InvalidCall);
    f.Fake().SetMaxActiveLights(9);
    EXPECT_EQ(device.LightEnable(8, true), plD3dErr::Ok);

    plD3dLight got;
    bool on = true;
    EXPECT_EQ(device.GetLight(7, &got), plD3dErr::Ok);
    EXPECT_EQ(got.range, 12.5f);
    EXPECT_EQ(device.GetLightEnable(7, &on), plD3dErr::Ok);
    EXPECT_FALSE(on);
    // Enabling a light never set makes a white one travelling along +z.
    EXPECT_EQ(device.GetLight(8, &got), plD3dErr::Ok);
    EXPECT_EQ(got.type, plD3dLightType::Directional);
    EXPECT_EQ(got.direction.z, 1.0f);
    EXPECT_EQ(got.diffuse.g, 1.0f);
    EXPECT_EQ(device.GetLight(2, &got), plD3dErr::InvalidCall);
    EXPECT_EQ(f.factory.GetLog().back(), "LightEnable 8 1");

    EXPECT_EQ(device.Reset(&f.params), plD3dErr::Ok);
    EXPECT_EQ(device.GetLight(7, &got), plD3dErr::InvalidCall);
}

TEST_F(plFakeD3dTest, RenderTargetsTakeTheirSizeAndTheDepthBufferWhereItFits) {
    plD3dDevice& device = *f.device;
    const auto makeTexture = [&](u32 side, u32 levels, u32 usage, u32 pool) {
        plD3dTexture* texture = nullptr;
        EXPECT_EQ(device.CreateTexture(side, side, levels, usage, plD3dFormat::X8R8G8B8, pool, &texture),
                  plD3dErr::Ok);
        return texture;
    };
    plD3dTexture* small = makeTexture(8, 2, plD3dUsage::RenderTarget, plD3dPool::Default);
    plD3dTexture* large = makeTexture(64, 1, plD3dUsage::RenderTarget, plD3dPool::Default);
    plD3dTexture* plain = makeTexture(8, 1, 0, plD3dPool::Managed);
    plD3dSurface* depth = nullptr;
    plD3dSurface* back = nullptr;
    ASSERT_EQ(device.GetDepthStencilSurface(&depth), plD3dErr::Ok);
    ASSERT_EQ(device.GetRenderTarget(&back), plD3dErr::Ok);
    EXPECT_TRUE(back->IsBackBuffer());
    // The depth buffer is neither locked nor copied, and holds Reset off while it is held.
    plD3dLockedRect locked;
    EXPECT_EQ(depth->LockRect(&locked, nullptr, 0), plD3dErr::InvalidCall);
    EXPECT_EQ(device.CopyRects(depth, nullptr, 0, back, nullptr), plD3dErr::InvalidCall);

    // Level 0 of a render-target texture, with the depth buffer only where it covers the target.
    const struct {
        plD3dSurface* target;
        plD3dSurface* depth;
        plD3dResult result;
        u32 width;
    } cases[] = {
        {small->Level(0), depth, plD3dErr::Ok, 8},
        {nullptr, nullptr, plD3dErr::Ok, 8},
        {small->Level(1), depth, plD3dErr::InvalidCall, 8},
        {plain->Level(0), nullptr, plD3dErr::InvalidCall, 8},
        {back, back, plD3dErr::InvalidCall, 8},
        {large->Level(0), depth, plD3dErr::InvalidCall, 8},
        {large->Level(0), nullptr, plD3dErr::Ok, 64},
        {back, depth, plD3dErr::Ok, 32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(device.SetRenderTarget(c.target, c.depth), c.result) << c.width;
        plD3dViewport viewport;
        device.GetViewport(&viewport);
        EXPECT_EQ(viewport.width, c.width);
    }

    // Without the depth buffer no depth is cleared; a texture target's clear leaves the back buffer.
    ASSERT_EQ(device.SetRenderTarget(small->Level(0), nullptr), plD3dErr::Ok);
    EXPECT_EQ(device.Clear(0, nullptr, plD3dClear::ZBuffer, 0, 1.0f, 0), plD3dErr::InvalidCall);
    EXPECT_EQ(device.Clear(0, nullptr, plD3dClear::Target, 0xFFFFFFFF, 1.0f, 0), plD3dErr::Ok);
    EXPECT_EQ(f.Fake().GetPixel(0, 0), 0xFF000000u);
    plD3dSurface* current = nullptr;
    ASSERT_EQ(device.GetRenderTarget(&current), plD3dErr::Ok);
    EXPECT_EQ(current, small->Level(0));
    current->Release();
    plD3dViewport wide{0, 0, 16, 8, 0.0f, 1.0f};
    EXPECT_EQ(device.SetViewport(&wide), plD3dErr::InvalidCall);
    // Released while set, the target gives way to the back buffer.
    EXPECT_EQ(small->Release(), 0u);
    EXPECT_EQ(device.SetViewport(&wide), plD3dErr::Ok);

    EXPECT_EQ(large->Release(), 0u);
    EXPECT_EQ(plain->Release(), 0u);
    back->Release();
    EXPECT_EQ(device.Reset(&f.params), plD3dErr::InvalidCall);
    depth->Release();
    EXPECT_EQ(device.Reset(&f.params), plD3dErr::Ok);
}

TEST_F(plFakeD3dTest, TheCursorTakesUnlockedArgbImagesWithTheHotSpotInsideAndAResetForgetsIt) {
    plD3dSurface* argb = nullptr;
    plD3dSurface* rgb = nullptr;
    ASSERT_EQ(f.device->CreateImageSurface(4, 2, plD3dFormat::A8R8G8B8, &argb), plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateImageSurface(4, 2, plD3dFormat::X8R8G8B8, &rgb), plD3dErr::Ok);
    reinterpret_cast<u32*>(argb->Pixels())[5] = 0x80112233u;
    plD3dLockedRect locked;
    ASSERT_EQ(argb->LockRect(&locked, nullptr, 0), plD3dErr::Ok);
    const struct {
        u32 x, y;
        plD3dSurface* image;
        plD3dResult result;
    } calls[] = {
        {0, 0, nullptr, plD3dErr::InvalidCall},
        {0, 0, rgb, plD3dErr::InvalidCall},
        {0, 0, argb, plD3dErr::InvalidCall}, // locked
    };
    for (const auto& c : calls)
        EXPECT_EQ(f.device->SetCursorProperties(c.x, c.y, c.image), c.result);
    argb->UnlockRect();
    EXPECT_EQ(f.device->SetCursorProperties(4, 0, argb), plD3dErr::InvalidCall);
    EXPECT_EQ(f.device->SetCursorProperties(1, 2, argb), plD3dErr::InvalidCall);
    EXPECT_FALSE(f.device->GetCursorImage());
    EXPECT_EQ(f.device->SetCursorProperties(3, 1, argb), plD3dErr::Ok);
    EXPECT_EQ(f.device->GetCursorImage()->argb[5], 0x80112233u);
    EXPECT_EQ(f.factory.GetLog().back(), "SetCursorProperties 3 1");

    f.device->SetCursorPosition(-5, 700, 0);
    i32 x = 0, y = 0;
    f.device->GetCursorPosition(x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(-5, 700));
    EXPECT_FALSE(f.device->ShowCursor(true));
    EXPECT_TRUE(f.device->ShowCursor(false));
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::Ok);
    EXPECT_FALSE(f.device->GetCursorImage());
    argb->Release();
    rgb->Release();
}

TEST(plD3dPixels, ChannelsWidenByRepeatingTheirHighBits) {
    const struct {
        plD3dFormat format;
        u32 texel;
        u32 argb;
    } cases[] = {
        {plD3dFormat::R5G6B5, 0xF800, 0xFFFF0000},   {plD3dFormat::R5G6B5, 0x8410, 0xFF848284},
        {plD3dFormat::X1R5G5B5, 0x7FFF, 0xFFFFFFFF}, {plD3dFormat::A1R5G5B5, 0x001F, 0x000000FF},
        {plD3dFormat::A4R4G4B4, 0x8F00, 0x88FF0000}, {plD3dFormat::X8R8G8B8, 0x00123456, 0xFF123456},
        {plD3dFormat::R8G8B8, 0x123456, 0xFF123456},
    };
    for (const auto& c : cases) {
        u8 bytes[4];
        std::memcpy(bytes, &c.texel, 4);
        EXPECT_EQ(plD3dReadArgb(c.format, bytes), c.argb) << static_cast<int>(c.format);
        u8 written[4] = {};
        plD3dWriteArgb(c.format, c.argb, written);
        EXPECT_EQ(plD3dReadArgb(c.format, written), c.argb) << static_cast<int>(c.format);
    }
}
