#include "Engine/Platform/Gl/plGlD3d.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#include <gtest/gtest.h>

// The headless dummy driver has displays but no OpenGL: the factory answers, devices are refused.
TEST(plGlD3dDummy, ModesAnswerButNoDeviceIsMade) {
    plSdlWindowHost window;
    ASSERT_TRUE(window.CreateWindow(0, 0, 64, 48, u"dummy", false));
    window.SetFullScreen(true);
    EXPECT_TRUE(window.IsFullScreen());
    window.SetFullScreen(false);
    EXPECT_FALSE(window.IsFullScreen());

    plGlD3d factory(window);
    plD3d* d3d = factory.Create();
    ASSERT_NE(d3d, nullptr);
    plD3dDisplayMode desktop;
    ASSERT_EQ(d3d->GetAdapterDisplayMode(0, &desktop), plD3dErr::Ok);
    EXPECT_GT(desktop.width, 0u);
    EXPECT_GT(d3d->GetAdapterModeCount(0), 0u);
    plD3dPresentParameters params;
    params.windowed = true;
    plD3dDevice* device = nullptr;
    EXPECT_EQ(
        d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &params, &device),
        plD3dErr::NotAvailable);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(d3d->Release(), 0u);
}
