#include "Engine/App/App/appEventHandler.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/App/App/appWindow.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "g2dScreenFixture.h"

#include <optional>
#include <tuple>

namespace {

std::vector<std::string> g_handlerCalls;

class RecordingHandler : public g2dD3DResetHandler {
  public:
    void OnDeviceLost() override { g_handlerCalls.push_back("lost"); }
    void OnDeviceReset() override { g_handlerCalls.push_back("reset"); }
};

using g2dScreenTest = g2dScreenFixture;

} // namespace

TEST(g2dDXError, ResultsAreLoggedByTheirHeaderNames) {
    EXPECT_STREQ(g2dDXErrorName(plD3dErr::DriverInvalidCall), "D3DERR_DRIVERINVALIDCALL");
    EXPECT_STREQ(g2dDXErrorName(plD3dErr::OutOfMemory), "E_OUTOFMEMORY");
    EXPECT_STREQ(g2dDXErrorName(plD3dErr::False), "Unknown Error");
    dbgLogCapture log;
    g2dReportDXError(plD3dErr::DeviceNotReset);
    EXPECT_TRUE(log.Holds("**Warning** DirectX Error: D3DERR_DEVICENOTRESET"));
}

TEST_F(g2dScreenTest, CreationPicksTheFormatAndFallsBackToSoftwareVertexProcessing) {
    constexpr u32 kHardware = plD3dCreate::HardwareVertexProcessing;
    struct Case {
        const char* label;
        i32 depth; // 0: windowed
        std::vector<plD3dFormat> refused;
        u32 failingCreation;
        std::optional<plD3dFormat> format; // none: creation fails
    };
    const Case cases[] = {
        {"windowed takes the desktop's", 0, {}, 0, plD3dFormat::X8R8G8B8},
        {"32 bits without X8R8G8B8", 32, {plD3dFormat::X8R8G8B8}, 0, plD3dFormat::A8R8G8B8},
        {"16 bits", 16, {}, 0, plD3dFormat::R5G6B5},
        {"16 bits with only X1R5G5B5", 16, {plD3dFormat::R5G6B5}, 0, plD3dFormat::X1R5G5B5},
        {"16 bits with neither", 16, {plD3dFormat::R5G6B5, plD3dFormat::X1R5G5B5}, 0, std::nullopt},
        {"hardware refused", 32, {}, kHardware, plD3dFormat::X8R8G8B8},
        {"both refused", 0, {}, kHardware | plD3dCreate::SoftwareVertexProcessing, std::nullopt},
    };
    for (const Case& c : cases) {
        plFakeD3d d3d;
        for (plD3dFormat format : c.refused)
            d3d.RefuseFormat(format);
        d3d.FailCreation(c.failingCreation);
        plInstallServices({.time = &m_time, .d3d = &d3d});
        m_log.lines.clear();
        const auto create = [&] {
            c.depth ? g2dScreen::InitFullScreen(800, 600, c.depth)
                    : g2dScreen::InitWindowed(800, 600, 10, 20);
        };
        if (c.format) {
            create();
            const plD3dPresentParameters& params = d3d.GetDevice()->GetPresentParameters();
            EXPECT_EQ(params.backBufferFormat, *c.format) << c.label;
            EXPECT_EQ(g2dScreen::GetPixelFormat()->ToD3DFormat(), *c.format) << c.label;
            // Full screen waits for the retrace whatever the vertical-sync choice.
            EXPECT_EQ(params.fullScreenPresentationInterval, c.depth ? plD3dPresentInterval::One : 0u)
                << c.label;
        } else {
            EXPECT_THROW(create(), g2dScreenInitX) << c.label;
        }
        EXPECT_EQ(m_log.Count("try again with D3DCREATE_SOFTWARE_VERTEXPROCESSING"),
                  c.failingCreation ? 1u : 0u)
            << c.label;
        g2dScreen::Deinitialize();
        EXPECT_EQ(d3d.GetRefCount(), 0u) << c.label;
        EXPECT_EQ(g2dScreen::GetPixelFormat()->bitsPerPixel, 0u) << c.label;
    }
    plInstallServices({.time = &m_time, .d3d = &m_d3d});

    // Triple buffering asks for two back buffers.
    g2dScreen::SetTripleBuffering(1);
    g2dScreen::InitWindowed(640, 480, 0, 0);
    g2dScreen::SetTripleBuffering(0);
    EXPECT_EQ(Device().GetPresentParameters().backBufferCount, 2u);
}

TEST_F(g2dScreenTest, DisplayModesAreListedOnceByDepthAndNoFactoryFailsTheStart) {
    g2dShutdown();
    m_d3d.SetModes({{800, 600, 60, plD3dFormat::X8R8G8B8},
                    {800, 600, 75, plD3dFormat::A8R8G8B8},
                    {800, 600, 60, plD3dFormat::R5G6B5},
                    {1024, 768, 60, plD3dFormat::P8},
                    {640, 480, 60, plD3dFormat::X1R5G5B5}});
    g2dInitialize();
    EXPECT_TRUE(g2dScreen::HasDisplayMode(800, 600, 32));
    EXPECT_TRUE(g2dScreen::HasDisplayMode(800, 600, 16));
    EXPECT_TRUE(g2dScreen::HasDisplayMode(640, 480, 16));
    EXPECT_FALSE(g2dScreen::HasDisplayMode(1024, 768, 8));
    EXPECT_FALSE(g2dScreen::HasDisplayMode(640, 480, 32));
    EXPECT_EQ(m_d3d.GetRefCount(), 0u);

    g2dShutdown();
    m_d3d.SetAvailable(false);
    EXPECT_THROW(g2dInitialize(), g2dScreenInitX);
    EXPECT_EQ(g2dGetInitCount(), 0u);
    EXPECT_EQ(appGetInitCount(), 0u);
    m_d3d.SetAvailable(true);
    g2dInitialize();
}

TEST_F(g2dScreenTest, ALostDeviceIsResetOnceAndOnlyAfterASuccessfulReset) {
    g_handlerCalls.clear();
    g2dRegisterResetHandler(std::make_unique<RecordingHandler>());
    g2dScreen::InitWindowed(640, 480, 0, 0);

    // Two frames lost: nothing presented, nobody told; then one lost-and-reset cycle.
    Device().InjectLoss(2);
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::DeviceLost);
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::DeviceLost);
    EXPECT_TRUE(Calls("Present").empty());
    EXPECT_TRUE(g_handlerCalls.empty());
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::Ok);
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::Ok);
    EXPECT_EQ(g_handlerCalls, (std::vector<std::string>{"lost", "reset"}));
    EXPECT_EQ(Calls("Present").size(), 2u);

    // A failed reset tells nobody of a reset, and the next attempt does not repeat the loss.
    g_handlerCalls.clear();
    Device().InjectLoss(0);
    Device().FailResets(1);
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::DeviceLost);
    EXPECT_EQ(g_handlerCalls, (std::vector<std::string>{"lost"}));
    EXPECT_TRUE(m_log.Holds("DirectX Error: D3DERR_DEVICELOST"));
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::Ok);
    EXPECT_EQ(g_handlerCalls, (std::vector<std::string>{"lost", "reset"}));
    EXPECT_EQ(Calls("Reset").size(), 3u);
}

// A full-screen device made or reset while the window is minimised brings the window back to the front.
TEST_F(g2dScreenTest, FullScreenCreationAndResetRestoreAMinimisedWindow) {
    plTestWindowHost host;
    plInstallServices({.time = &m_time, .window = &host, .d3d = &m_d3d});
    appWindow window;
    host.CreateWindow(0, 0, 640, 480, u"", false);
    host.Minimize();
    g2dScreen::InitFullScreen(640, 480, 32);
    EXPECT_FALSE(host.IsMinimized());
    host.Minimize();
    Device().InjectLoss(1);
    g2dScreen::EndFrame();
    g2dScreen::EndFrame();
    EXPECT_EQ(std::tuple(host.IsMinimized(), host.GetRaiseCount()), std::tuple(false, 3u));
    plInstallServices({.time = &m_time, .d3d = &m_d3d});
}

TEST_F(g2dScreenTest, TheFrameRateAndDebugLinesShowOnTheBackquoteKey) {
    EXPECT_FALSE(g2dScreen::GetDefaultFont());
    g2dScreen::InitWindowed(640, 480, 0, 0);
    // The debug lines' font is also the one texts without a font of their own use.
    EXPECT_EQ(g2dScreen::GetDefaultFont(), g2dFont(7));
    g2dScreen::SetDebugLine(3, "triangles");
    for (int frame = 0; frame < 9; ++frame)
        g2dScreen::EndFrame();
    EXPECT_TRUE(m_text.drawn.empty());

    // The first sample measures from -1 s: ten frames by 1.5 s make 4 a second.
    g2dScreen::SetShowFps(true);
    appDispatchChar(u'`');
    m_time.Advance(1.5);
    g2dScreen::EndFrame();
    EXPECT_EQ(m_text.drawn, (std::vector<std::string>{"10 30 fps: 4.00 (avg 4.00)", "10 75 triangles"}));

    m_text.drawn.clear();
    appDispatchChar(u'`');
    g2dScreen::EndFrame();
    EXPECT_TRUE(m_text.drawn.empty());
    appDispatchChar(u'`');
    g2dScreen::SetDebugLine(3, nullptr);
    g2dScreen::EndFrame();
    g2dScreen::SetShowFps(false);
    g2dScreen::EndFrame();
    EXPECT_EQ(m_text.drawn, (std::vector<std::string>{"10 30 fps: 4.00 (avg 4.00)"}));
}

TEST_F(g2dScreenTest, GammaFollowsAPowerCurve) {
    g2dScreen::SetGamma(0.6f);
    EXPECT_TRUE(Calls("SetGammaRamp").empty());
    g2dScreen::InitWindowed(640, 480, 0, 0);
    struct Case {
        f32 brightness;
        int entry;
        u16 value;
    };
    const Case cases[] = {{0.6f, 128, 32896}, {0.6f, 255, 65535}, {0.6f, 0, 0},
                          {0.1f, 51, 2621},   {1.1f, 0, 65535},   {1.1f, 128, 65535}};
    for (const Case& c : cases) {
        g2dScreen::SetGamma(c.brightness);
        plD3dGammaRamp ramp;
        Device().GetGammaRamp(&ramp);
        EXPECT_EQ(ramp.red[c.entry], c.value) << c.brightness << " " << c.entry;
        EXPECT_EQ(ramp.blue[c.entry], c.value);
    }
}
