#include "Engine/Graphics/G2d/g2dScreen.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEventHandler.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace g2dScreen {

// The debug lines by slot, drawn top to bottom; the backquote key shows and hides them.
class DebugDisplay : public appCharEventHandler {
  public:
    void OnChar(appCharEvent* event) override {
        if (event->GetChar() == m_toggle)
            m_shown = !m_shown;
    }

    void SetLine(i32 slot, const char* text) {
        if (text)
            m_lines[slot] = text;
        else
            m_lines.erase(slot);
    }

    std::string GetLine(i32 slot) const {
        const auto it = m_lines.find(slot);
        return it == m_lines.end() ? std::string() : it->second;
    }

    void Draw() const {
        if (!m_shown)
            return;
        for (const auto& [slot, text] : m_lines)
            g2dScreenPAC::DrawDebugText(text, 10, (slot + 2) * 15);
    }

  private:
    u8 m_shown = 0;
    std::map<i32, std::string> m_lines;
    u16 m_toggle = u'`';
};

} // namespace g2dScreen

namespace {

i32 g_width = 0;
i32 g_height = 0;
u8 g_windowed = 0;
g2dPixelFormat g_format;
std::vector<g2dDisplayMode> g_modes;

// Frame rate: a sample every ten frames; the first measures from -1.0 s.
i32 g_frames = 0;
f32 g_lastSampleTime = -1.0f;
f32 g_lastFrameRate = -1.0f;
f32 g_sampleSum = 0.0f;
i32 g_sampleCount = 0;
bool g_showFps = false;

std::unique_ptr<g2dScreen::DebugDisplay> g_debug;

void CountFrame() {
    if (++g_frames < 10)
        return;
    const auto now = static_cast<f32>(appGetTime());
    // Ten frames within one tick of the clock give no rate.
    if (now > g_lastSampleTime) {
        g_lastFrameRate = 10.0f / (now - g_lastSampleTime);
        ++g_sampleCount;
        g_sampleSum += g_lastFrameRate;
    }
    g_frames = 0;
    g_lastSampleTime = now;
}

} // namespace

namespace g2dScreen {

void Startup() {
    g_modes = g2dScreenPAC::EnumerateDisplayModes();
    g_lastSampleTime = -1.0f;
    g_lastFrameRate = -1.0f;
    g_frames = 0;
    g_debug = std::make_unique<DebugDisplay>();
}

void Shutdown() {
    g_debug.reset();
    g2dFreeResetHandlers();
}

void SetVerticalSync(u8 on) {
    g2dScreenPAC::SetVerticalSync(on);
}

void SetTripleBuffering(u8 on) {
    g2dScreenPAC::SetTripleBuffering(on);
}

void InitWindowed(i32 width, i32 height, i32 x, i32 y) {
    g2dScreenPAC::CreateWindowed(width, height, x, y, g_format);
    g_width = width;
    g_height = height;
    g_windowed = 1;
}

void InitFullScreen(i32 width, i32 height, i32 depth) {
    g2dScreenPAC::CreateFullScreen(width, height, depth, g_format);
    g_width = width;
    g_height = height;
    g_windowed = 0;
}

void Deinitialize() {
    g2dScreenPAC::Deinitialize();
    g_format = {};
}

bool HasDisplayMode(u32 width, u32 height, u32 bitsPerPixel) {
    return std::find(g_modes.begin(), g_modes.end(), g2dDisplayMode{width, height, bitsPerPixel}) !=
           g_modes.end();
}

bool IsWindowed() {
    return g_windowed != 0;
}

void GetSize(i32& width, i32& height) {
    width = g_width;
    height = g_height;
}

const g2dPixelFormat* GetPixelFormat() {
    return &g_format;
}

void SetGamma(f32 brightness) {
    g2dScreenPAC::SetGamma(brightness);
}

void SetShowFps(bool show) {
    g_showFps = show;
}

void ResetFpsAverage() {
    g_sampleSum = 0.0f;
    g_sampleCount = 0;
}

void SetDebugLine(i32 slot, const char* text) {
    if (g_debug)
        g_debug->SetLine(slot, text);
}

std::string GetDebugLine(i32 slot) {
    return g_debug ? g_debug->GetLine(slot) : std::string();
}

plD3dResult EndFrame() {
    CountFrame();
    if (g_showFps && g_debug) {
        char line[64];
        const f32 average = g_sampleCount ? g_sampleSum / static_cast<f32>(g_sampleCount) : 0.0f;
        std::snprintf(line, sizeof line, "fps: %.2f (avg %.2f)", g_lastFrameRate, average);
        g_debug->SetLine(0, line);
        g_debug->Draw();
    }
    return g2dScreenPAC::Present();
}

void Clear(const u8 rgb[3]) {
    g2dScreenPAC::Clear(rgb);
}

g2dFont GetDefaultFont() {
    return g2dScreenPAC::GetDefaultFont();
}

void DrawText(i32 x, i32 y, g2dFont font, const envString& text, const u8 rgb[3]) {
    g2dScreenPAC::DrawText(x, y, font, text, rgb);
}

void DrawImage(i32 x, i32 y, const g2dImage& image) {
    DrawImageRect(x, y, 0, 0, image.GetWidth(), image.GetHeight(), image);
}

void DrawImageRect(i32 x, i32 y, i32 left, i32 top, i32 right, i32 bottom, const g2dImage& image) {
    g2dScreenPAC::DrawImageRect(x, y, left, top, right, bottom, image);
}

} // namespace g2dScreen
