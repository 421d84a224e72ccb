#pragma once
#include "Engine/Platform/Gl/plGlD3d.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTestHelpers.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

inline constexpr u32 kSize = 32;

// Each channel within tolerance of the other's.
inline bool Near(u32 a, u32 b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
            tolerance)
            return false;
    return true;
}

struct ScreenVertex {
    f32 x, y, z, rhw;
    u32 color;
};

struct WorldVertex {
    f32 x, y, z;
    u32 color;
};

// A window of kSize x kSize with a windowed device and its depth buffer.
class GlDevice {
  public:
    GlDevice() {
        EXPECT_TRUE(m_window.CreateWindow(0, 0, kSize, kSize, u"gl", false));
        d3d = m_factory.Create();
        EXPECT_EQ(
            d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &params, &device),
            plD3dErr::Ok);
    }
    ~GlDevice() {
        if (device) {
            EXPECT_EQ(device->Release(), 0u);
        }
        d3d->Release();
    }

    // The back buffer as 0xAARRGGBB, row 0 first, through the device's own copy.
    std::vector<u32> Read() {
        plD3dSurface* back = nullptr;
        plD3dSurface* image = nullptr;
        EXPECT_EQ(device->GetBackBuffer(0, plD3dBackBufferMono, &back), plD3dErr::Ok);
        EXPECT_EQ(device->CreateImageSurface(kSize, kSize, plD3dFormat::A8R8G8B8, &image), plD3dErr::Ok);
        EXPECT_EQ(device->CopyRects(back, nullptr, 0, image, nullptr), plD3dErr::Ok);
        std::vector<u32> pixels(kSize * kSize);
        std::memcpy(pixels.data(), image->Pixels(), pixels.size() * 4);
        image->Release();
        back->Release();
        return pixels;
    }

    // A row of one 16-bit R5G6B5 colour copied onto the back buffer at that row.
    void CopyRow(u16 rgb565, i32 row) {
        plD3dSurface* line = nullptr;
        plD3dSurface* back = nullptr;
        ASSERT_EQ(device->CreateImageSurface(kSize, 1, plD3dFormat::R5G6B5, &line), plD3dErr::Ok);
        std::fill_n(reinterpret_cast<u16*>(line->Pixels()), kSize, rgb565);
        ASSERT_EQ(device->GetBackBuffer(0, plD3dBackBufferMono, &back), plD3dErr::Ok);
        const plD3dPoint at{0, row};
        EXPECT_EQ(device->CopyRects(line, nullptr, 0, back, &at), plD3dErr::Ok);
        back->Release();
        line->Release();
    }

    void DrawScreen(const std::vector<ScreenVertex>& vertices) {
        device->SetVertexShader(plD3dFvf::XyzRhw | plD3dFvf::Diffuse);
        device->BeginScene();
        EXPECT_EQ(device->DrawPrimitiveUP(plD3dPt::TriangleList, static_cast<u32>(vertices.size() / 3),
                                          vertices.data(), sizeof(ScreenVertex)),
                  plD3dErr::Ok);
        device->EndScene();
    }

    void DrawWorld(const std::vector<WorldVertex>& vertices) {
        device->SetVertexShader(plD3dFvf::Xyz | plD3dFvf::Diffuse);
        device->BeginScene();
        EXPECT_EQ(device->DrawPrimitiveUP(plD3dPt::TriangleList, static_cast<u32>(vertices.size() / 3),
                                          vertices.data(), sizeof(WorldVertex)),
                  plD3dErr::Ok);
        device->EndScene();
    }

    plD3d* d3d = nullptr;
    plD3dDevice* device = nullptr;
    plD3dPresentParameters params = Windowed(kSize, kSize);
    plSdlWindowHost m_window;

  private:
    plGlD3d m_factory{m_window};
};

// Each test on a device of its own; without one the test stops at the start.
struct plGlDeviceTest : ::testing::Test {
    void SetUp() override { ASSERT_NE(gl.device, nullptr); }
    GlDevice gl;
};
