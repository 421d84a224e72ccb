// The OpenGL device in a real window under Xvfb.
#include "Engine/Platform/Gl/plGlMovieHost.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "plGlDevice.h"
#include "plShownPicture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr u32 kBlack = 0xFF000000;
constexpr u32 kWhite = 0xFFFFFFFF;

// Top left, top right, bottom left: clockwise on the screen.
std::vector<ScreenVertex> ClockwiseOnScreen(f32 z = 0.5f) {
    return {{0, 0, z, 1, kWhite}, {30, 0, z, 1, kWhite}, {0, 30, z, 1, kWhite}};
}

} // namespace

// Each case on both back buffers: the window's own buffers, which llvmpipe draws into from the
// first Present on while the window shows the picture at its size, and the frame-buffer objects,
// kept while the window is wider. Both must give the same pixels.
struct plGlD3dTest : plGlDeviceTest, ::testing::WithParamInterface<bool> {
    void SetUp() override {
        plGlDeviceTest::SetUp();
        if (!GetParam())
            SDL_SetWindowSize(gl.m_window.GetSdlWindow(), kSize + 8, kSize);
        ASSERT_EQ(gl.device->Present(), plD3dErr::Ok);
    }
};

INSTANTIATE_TEST_SUITE_P(BackBuffers, plGlD3dTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Window" : "FrameBufferObject"; });

TEST(plGlD3d, TheFactoryNamesTheRendererAndListsModesAtBothDepths) {
    plSdlWindowHost window;
    plGlD3d factory(window);
    plD3d* d3d = factory.Create();
    ASSERT_NE(d3d, nullptr);
    plD3dAdapterIdentifier identifier;
    ASSERT_EQ(d3d->GetAdapterIdentifier(0, 0, &identifier), plD3dErr::Ok);
    EXPECT_FALSE(identifier.description.empty());
    bool found32 = false;
    bool found16 = false;
    for (u32 i = 0; i < d3d->GetAdapterModeCount(0); ++i) {
        plD3dDisplayMode mode;
        ASSERT_EQ(d3d->EnumAdapterModes(0, i, &mode), plD3dErr::Ok);
        found32 |= mode.width == 800 && mode.height == 600 && mode.format == plD3dFormat::X8R8G8B8;
        found16 |= mode.width == 800 && mode.height == 600 && mode.format == plD3dFormat::R5G6B5;
    }
    EXPECT_TRUE(found32 && found16);
    // No window with OpenGL: no device.
    plD3dPresentParameters params;
    params.windowed = true;
    params.backBufferWidth = kSize;
    params.backBufferHeight = kSize;
    plD3dDevice* device = nullptr;
    EXPECT_EQ(
        d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &params, &device),
        plD3dErr::NotAvailable);
    EXPECT_EQ(d3d->Release(), 0u);
}

TEST_P(plGlD3dTest, ClearsAreExactAndRowsKeepTheDeviceOrder) {
    ASSERT_EQ(gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF123456, 1.0f, 0), plD3dErr::Ok);
    const plD3dRect top{0, 0, static_cast<i32>(kSize), 4};
    ASSERT_EQ(gl.device->Clear(1, &top, plD3dClear::Target, 0xFFFF0000, 1.0f, 0), plD3dErr::Ok);
    // A green row copied in at row 10.
    gl.CopyRow(0x07E0, 10);

    const std::vector<u32> pixels = gl.Read();
    for (u32 y = 0; y < kSize; ++y) {
        const u32 expected = y < 4 ? 0xFFFF0000 : y == 10 ? 0xFF00FF00 : 0xFF123456;
        EXPECT_EQ(pixels[y * kSize + 5], expected) << "row " << y;
    }
    // On the window, row 0 is at the top.
    ASSERT_EQ(gl.device->Present(), plD3dErr::Ok);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    u8 upper[4] = {};
    u8 lower[4] = {};
    glReadPixels(kSize / 2, kSize - 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, upper);
    glReadPixels(kSize / 2, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, lower);
    EXPECT_EQ(upper[0], 255);
    EXPECT_EQ(lower[0], 0x12);

    // The front buffer keeps the frame presented, in the device's row order, however many frames were
    // presented before (the two buffers take turns); the frame-buffer objects keep it while the next one
    // is drawn, the window only until then.
    plD3dSurface* front = nullptr;
    ASSERT_EQ(gl.device->CreateImageSurface(kSize, kSize, plD3dFormat::X8R8G8B8, &front), plD3dErr::Ok);
    const auto frontPixel = [&](u32 y) {
        u32 pixel = 0;
        EXPECT_EQ(gl.device->GetFrontBuffer(front), plD3dErr::Ok);
        std::memcpy(&pixel, front->Pixels() + y * front->Pitch() + 5 * 4, 4);
        return pixel & 0xFFFFFF;
    };
    const bool window = GetParam();
    for (u32 y : {0u, 10u, kSize - 1})
        EXPECT_EQ(frontPixel(y), y == 0 ? 0xFF0000u : y == 10 ? 0x00FF00u : 0x123456u) << "row " << y;
    for (u32 colour : {0xFF0000FFu, 0xFF00FFFFu, 0xFFFFFF00u}) {
        ASSERT_EQ(gl.device->Clear(0, nullptr, plD3dClear::Target, colour, 1.0f, 0), plD3dErr::Ok);
        ASSERT_EQ(gl.device->Present(), plD3dErr::Ok);
        EXPECT_EQ(frontPixel(kSize - 1), colour & 0xFFFFFF);
        ASSERT_EQ(gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF808080, 1.0f, 0), plD3dErr::Ok);
        EXPECT_EQ(frontPixel(kSize - 1), window ? 0x808080u : colour & 0xFFFFFF);
        EXPECT_EQ(gl.Read()[5], 0xFF808080u);
        if (!window)
            continue;
        // Read while the next frame is drawn, the window gave that frame; the device keeps no more
        // frames there, and the frame-buffer objects keep them from the next frame on.
        ASSERT_EQ(gl.device->Present(), plD3dErr::Ok);
        ASSERT_EQ(gl.device->Clear(0, nullptr, plD3dClear::Target, colour, 1.0f, 0), plD3dErr::Ok);
        ASSERT_EQ(gl.device->Present(), plD3dErr::Ok);
        ASSERT_EQ(gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF808080, 1.0f, 0), plD3dErr::Ok);
        EXPECT_EQ(frontPixel(kSize - 1), colour & 0xFFFFFF);
        break;
    }
    front->Release();
}

TEST_P(plGlD3dTest, SquaresCoverThePixelsWhoseCentresTheyHold) {
    gl.device->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    // Pixel centres lie on integer coordinates; an edge through a centre takes it on the top and left.
    const struct {
        f32 from, to;
        u32 first, last;
    } cases[] = {{10.0f, 20.0f, 10, 19}, {10.25f, 20.25f, 11, 20}, {9.75f, 19.75f, 10, 19}};
    for (const auto& c : cases)
        for (bool transformed : {false, true}) {
            gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, kBlack, 1.0f, 0);
            const f32 corners[6][2] = {{c.from, c.from}, {c.to, c.from}, {c.from, c.to},
                                       {c.to, c.from},   {c.to, c.to},   {c.from, c.to}};
            std::vector<ScreenVertex> screen;
            std::vector<WorldVertex> world;
            for (const auto& [x, y] : corners) {
                screen.push_back({x, y, 0.5f, 1.0f, kWhite});
                // The same place through identity transforms: clip space, y up.
                world.push_back({x * 2.0f / kSize - 1.0f, 1.0f - y * 2.0f / kSize, 0.5f, kWhite});
            }
            if (transformed)
                gl.DrawWorld(world);
            else
                gl.DrawScreen(screen);
            const std::vector<u32> pixels = gl.Read();
            for (u32 y = 0; y < kSize; ++y)
                for (u32 x = 0; x < kSize; ++x) {
                    const bool inside = x >= c.first && x <= c.last && y >= c.first && y <= c.last;
                    EXPECT_EQ(pixels[y * kSize + x], inside ? kWhite : kBlack)
                        << x << ", " << y << " in " << c.from
                        << (transformed ? " transformed" : " on screen");
                }
        }
    // A viewport on the lower right quarter takes the whole clip square there, rows counted from the top;
    // what reaches past it, a little or far past the clip square, ends at the viewport's edges.
    const plD3dViewport whole{0, 0, kSize, kSize, 0.0f, 1.0f};
    const plD3dViewport quarter{kSize / 2, kSize / 2, kSize / 2, kSize / 2, 0.0f, 1.0f};
    const auto at = [](f32 x, f32 y) { return WorldVertex{x, y, 0.5f, kWhite}; };
    for (f32 reach : {1.0f, 3.0f, 40.0f}) {
        gl.device->SetViewport(&whole);
        gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, kBlack, 1.0f, 0);
        gl.device->SetViewport(&quarter);
        const std::vector<WorldVertex> square = {at(-reach, reach), at(reach, reach),  at(-reach, -reach),
                                                 at(reach, reach),  at(reach, -reach), at(-reach, -reach)};
        // Again after a depth clear, as a frame begins.
        gl.DrawWorld(square);
        gl.device->Clear(0, nullptr, plD3dClear::ZBuffer, kBlack, 1.0f, 0);
        gl.DrawWorld(square);
        const std::vector<u32> pixels = gl.Read();
        for (u32 y = 0; y < kSize; ++y)
            for (u32 x = 0; x < kSize; ++x)
                EXPECT_EQ(pixels[y * kSize + x], x >= kSize / 2 && y >= kSize / 2 ? kWhite : kBlack)
                    << x << ", " << y << " reaching " << reach;
    }
    // Copies into the back buffer and pre-transformed vertices reach the whole target still.
    gl.CopyRow(0xFFFF, 0);
    gl.DrawScreen(ClockwiseOnScreen());
    const std::vector<u32> pixels = gl.Read();
    EXPECT_EQ(pixels[5 * kSize + 5], kWhite);
    EXPECT_EQ(pixels[kSize - 1], kWhite);
}

TEST_P(plGlD3dTest, CullingFollowsTheWindingOnTheScreen) {
    // Top left, top right, bottom left in clip space (y up): clockwise on the screen too.
    const std::vector<WorldVertex> world = {
        {-1, 1, 0.5f, kWhite}, {1, 1, 0.5f, kWhite}, {-1, -1, 0.5f, kWhite}};
    const struct {
        u32 cull;
        bool shown;
    } cases[] = {{plD3dCull::Cw, false}, {plD3dCull::Ccw, true}, {plD3dCull::None, true}};
    for (const auto& c : cases)
        for (bool transformed : {false, true}) {
            gl.device->SetRenderState(plD3dRs::CullMode, c.cull);
            gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, kBlack, 1.0f, 0);
            if (transformed)
                gl.DrawWorld(world);
            else
                gl.DrawScreen(ClockwiseOnScreen());
            EXPECT_EQ(gl.Read()[2 * kSize + 2], c.shown ? kWhite : kBlack)
                << "cull " << c.cull << (transformed ? " transformed" : " on screen");
        }
}

TEST_P(plGlD3dTest, ATargetTextureDestroyedWhileSetLeavesTheBackBufferItsViewportAndWinding) {
    plD3dTexture* target = nullptr;
    ASSERT_EQ(gl.device->CreateTexture(16, 16, 1, plD3dUsage::RenderTarget, plD3dFormat::X8R8G8B8,
                                       plD3dPool::Default, &target),
              plD3dErr::Ok);
    plD3dSurface* level = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &level), plD3dErr::Ok);
    ASSERT_EQ(gl.device->SetRenderTarget(level, nullptr), plD3dErr::Ok);
    gl.DrawScreen(ClockwiseOnScreen());
    level->Release();
    ASSERT_EQ(target->Release(), 0u);
    // Beyond the texture's 16 pixels, and clockwise: neither its viewport nor its winding holds.
    gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, kBlack, 1.0f, 0);
    gl.DrawScreen(ClockwiseOnScreen());
    const std::vector<u32> pixels = gl.Read();
    EXPECT_EQ(pixels[2 * kSize + 2], kWhite);
    EXPECT_EQ(pixels[5 * kSize + 20], kWhite);
}

// A window uncovered while nothing draws (the game waits unfocused) shows the last frame again.
TEST_P(plGlD3dTest, AnExposedWindowShowsTheLastFrameAgain) {
    SDL_Window* window = gl.m_window.GetSdlWindow();
    ASSERT_TRUE(plWaitViewable(window));
    ASSERT_EQ(gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF20C040, 1.0f, 0), plD3dErr::Ok);
    ASSERT_EQ(gl.device->Present(), plD3dErr::Ok);
    ASSERT_EQ(plShownPixel(window, kSize / 2, kSize / 2), 0x20C040u);
    plLoseShownPicture(window);
    ASSERT_NE(plShownPixel(window, kSize / 2, kSize / 2), 0x20C040u);
    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    exposed.window.windowID = SDL_GetWindowID(gl.m_window.GetSdlWindow());
    ASSERT_EQ(SDL_PushEvent(&exposed), 1);
    plMessage message;
    while (gl.m_window.PeekMessage(message)) {
    }
    glFinish();
    EXPECT_EQ(plShownPixel(window, kSize / 2, kSize / 2), 0x20C040u);
}

TEST_P(plGlD3dTest, ClearsIgnoreTheDepthAndColourWriteStates) {
    gl.device->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    gl.device->SetRenderState(plD3dRs::ZWriteEnable, 0);
    gl.device->SetRenderState(plD3dRs::ColorWriteEnable, 0);
    // Depth 0 hides a triangle at 0.5, depth 1 shows it; colour is cleared with colour writes off.
    for (const f32 depth : {0.0f, 1.0f}) {
        gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0xFF0000FF, depth, 0);
        EXPECT_EQ(gl.Read()[2 * kSize + 2], 0xFF0000FFu);
        gl.device->SetRenderState(plD3dRs::ColorWriteEnable, 0xF);
        gl.DrawScreen(ClockwiseOnScreen());
        gl.device->SetRenderState(plD3dRs::ColorWriteEnable, 0);
        EXPECT_EQ(gl.Read()[2 * kSize + 2], depth == 0.0f ? 0xFF0000FFu : kWhite) << "depth " << depth;
    }
}

TEST_P(plGlD3dTest, AMovieBetweenTwoFramesLeavesTheSecondAsTheFirst) {
    // A moved and scaled triangle, culled and depth-tested: any state lost would show.
    maMatrix4d world;
    world.SetScale(0.5f, 0.5f, 1.0f);
    world.Translate(0.25f, 0.0f, 0.0f);
    maMatrix4d projection;
    projection.SetScale(1.0f, 1.0f, 0.5f);
    gl.device->SetTransform(plD3dTs::World, &world);
    gl.device->SetTransform(plD3dTs::Projection, &projection);
    gl.device->SetRenderState(plD3dRs::CullMode, plD3dCull::Ccw);
    const std::vector<WorldVertex> triangle = {
        {-1, 1, 0.5f, 0xFF20C040}, {1, 1, 0.5f, 0xFF20C040}, {-1, -1, 0.5f, 0xFF20C040}};
    auto frame = [&] {
        gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0xFF102030, 1.0f, 0);
        gl.DrawWorld(triangle);
        std::vector<u32> pixels = gl.Read();
        gl.device->Present();
        return pixels;
    };
    const std::vector<u32> first = frame();
    EXPECT_NE(std::count(first.begin(), first.end(), 0xFF20C040u), 0);

    plGlVideoSink sink(gl.m_window);
    ASSERT_TRUE(sink.Begin(64, 48));
    plVideoFrame picture;
    picture.width = 64;
    picture.height = 48;
    picture.rgba = plColourBars(64, 48);
    sink.Present(picture);
    sink.End();
    EXPECT_EQ(frame(), first);
}

TEST_P(plGlD3dTest, AResetWhoseBackBufferCannotBeMadeLeavesTheDeviceWaitingForAnother) {
    plD3dCaps caps;
    gl.device->GetDeviceCaps(&caps);
    plD3dPresentParameters tooWide = gl.params;
    tooWide.backBufferWidth = caps.maxTextureWidth + 1;
    // Asked twice: the second time the parameters are unchanged, but there is still no back buffer.
    EXPECT_EQ(gl.device->Reset(&tooWide), plD3dErr::OutOfVideoMemory);
    EXPECT_EQ(gl.device->Reset(&tooWide), plD3dErr::OutOfVideoMemory);
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_EQ(gl.device->TestCooperativeLevel(), plD3dErr::DeviceNotReset);
        EXPECT_EQ(gl.device->Clear(0, nullptr, plD3dClear::Target, kWhite, 1.0f, 0), plD3dErr::Ok);
        EXPECT_EQ(gl.device->Present(), plD3dErr::DeviceLost);
    }
    plD3dPresentParameters again = gl.params;
    ASSERT_EQ(gl.device->Reset(&again), plD3dErr::Ok);
    EXPECT_EQ(gl.device->TestCooperativeLevel(), plD3dErr::Ok);
    gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF0000FF, 1.0f, 0);
    EXPECT_EQ(gl.Read()[5], 0xFF0000FFu);
    EXPECT_EQ(gl.device->Present(), plD3dErr::Ok);
}
