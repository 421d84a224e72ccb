#pragma once
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/g2dTextService.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Text "drawn" as lines "x y text"; every text measures 8 x 12 a character.
class g2dRecordingText : public g2dTextService {
  public:
    g2dFont GetFont(const envString&, i32) override { return g2dFont(7); }
    void ReleaseFont(g2dFont) override {}
    void MeasureText(g2dFont, const envString& text, u32& width, u32& height) override {
        width = 8 * text.GetLength();
        height = 12;
    }
    void DrawText(g2dFont, const envString& text, const plD3dRect& rect, u32) override {
        drawn.push_back(std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
                        envStringToNarrow(text));
    }

    std::vector<std::string> drawn;
};

// The engine's description of a device format.
inline g2dPixelFormat FormatOf(plD3dFormat d3dFormat) {
    g2dPixelFormat format;
    g2dGetPixelFormat(d3dFormat, format);
    return format;
}

// The test device factory and clock installed, the package started, the debug log captured.
class g2dScreenFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        plInstallServices({.time = &m_time, .d3d = &m_d3d});
        g2dSetTextService(&m_text);
        g2dInitialize();
    }
    void TearDown() override {
        g2dScreen::Deinitialize();
        g2dShutdown();
        g2dSetTextService(nullptr);
        plInstallServices({});
        EXPECT_EQ(m_d3d.GetRefCount(), 0u);
    }

    // The device's calls whose log line starts with the name.
    std::vector<std::string> Calls(const std::string& name) {
        std::vector<std::string> calls;
        for (const std::string& line : m_d3d.GetLog())
            if (line.rfind(name, 0) == 0)
                calls.push_back(line);
        return calls;
    }
    plFakeD3dDevice& Device() { return *m_d3d.GetDevice(); }

    plTestTimeSource m_time;
    plFakeD3d m_d3d;
    g2dRecordingText m_text;
    dbgLogCapture m_log;
};
