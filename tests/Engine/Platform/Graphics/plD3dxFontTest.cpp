#include "Engine/Platform/Graphics/plD3dxFont.h"
#include "plFakeDevice.h"

#include <array>
#include <vector>

namespace {

// Font 1: every character `advance` wide in a cell `cell` high, drawn as a full box but for the space.
class BoxFonts : public plFontRasterizer {
  public:
    plFontHandle CreateFont(const std::string&, i32) override { return 1; }
    void DeleteFont(plFontHandle) override {}
    bool MeasureText(plFontHandle font, std::u16string_view text, u32& width, u32& height) override {
        width = advance * static_cast<u32>(text.size());
        height = cell;
        return font == 1;
    }
    void DrawText(plFontHandle, std::u16string_view text, i32 x, i32 y, u32* pixels, u32 width,
                  u32 height) override {
        for (u32 i = 0; i < text.size(); ++i)
            for (u32 row = 1; text[i] != u' ' && row + 1 < cell; ++row)
                for (u32 column = 1; column + 1 < advance; ++column) {
                    const i32 px = x + static_cast<i32>(i * advance + column);
                    const i32 py = y + static_cast<i32>(row);
                    if (px >= 0 && py >= 0 && px < static_cast<i32>(width) && py < static_cast<i32>(height))
                        pixels[py * width + px] = 0x00FFFFFF;
                }
    }
    u32 advance = 6;
    u32 cell = 10;
};

struct FontDevice : FakeDevice {
    FontDevice() { plInstallServices({.d3d = &factory, .fonts = &fonts}); }
    std::vector<std::string> Draws() {
        std::vector<std::string> draws;
        for (const std::string& line : factory.GetLog())
            if (line.rfind("DrawPrimitiveUP", 0) == 0 || line.rfind("BeginScene", 0) == 0)
                draws.push_back(line);
        return draws;
    }
    BoxFonts fonts;
};

// Every render state, the first two stages' states, the texture and the vertex format.
std::vector<u32> DeviceState(plD3dDevice& device) {
    std::vector<u32> state;
    u32 value = 0;
    for (u32 rs = 0; rs < plD3dRs::Count; ++rs) {
        device.GetRenderState(rs, &value);
        state.push_back(value);
    }
    for (u32 stage = 0; stage < 2; ++stage)
        for (u32 tss = 0; tss < plD3dTss::Count; ++tss) {
            device.GetTextureStageState(stage, tss, &value);
            state.push_back(value);
        }
    plD3dTexture* texture = nullptr;
    device.GetTexture(0, &texture);
    state.push_back(texture != nullptr);
    device.GetVertexShader(&value);
    state.push_back(value);
    return state;
}

} // namespace

TEST(plD3dxFont, TextIsDrawnAsQuadsOfItsGlyphsAndEveryStateIsPutBack) {
    FontDevice f;
    plD3dxFont* font = nullptr;
    EXPECT_EQ(plD3dxCreateFont(f.device, 2, &font), plD3dErr::InvalidCall);
    ASSERT_EQ(plD3dxCreateFont(f.device, 1, &font), plD3dErr::Ok);
    f.device->SetRenderState(plD3dRs::SrcBlend, plD3dBlend::One);
    f.device->SetVertexShader(plD3dFvf::Xyz);
    const std::vector<u32> before = DeviceState(*f.device);
    f.factory.GetLog().clear();
    // The space needs no quad; a second line starts a cell lower.
    EXPECT_EQ(font->DrawText(u"ab a\nb", {5, 7, 0, 0}, 0xFFFF0000), 20);
    EXPECT_EQ(f.Draws(), (std::vector<std::string>{"BeginScene", "DrawPrimitiveUP 4 8"}));
    EXPECT_EQ(DeviceState(*f.device), before);
    // Inside a scene the font draws in it; known glyphs make no new atlas texels.
    f.device->BeginScene();
    f.factory.GetLog().clear();
    EXPECT_EQ(font->DrawText(u"ba", {0, 0, 0, 0}, 0xFFFFFFFF), 10);
    EXPECT_EQ(f.Draws(), std::vector<std::string>{"DrawPrimitiveUP 4 4"});
    f.device->EndScene();
    EXPECT_EQ(font->Release(), 0u);
}

TEST(plD3dxFont, AFullAtlasIsDrawnAndStartedAgain) {
    FontDevice f;
    plD3dCaps caps;
    caps.maxTextureWidth = caps.maxTextureHeight = 256;
    f.factory.SetCaps(caps);
    f.device->Release();
    ASSERT_EQ(f.d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &f.params,
                                  &f.device),
              plD3dErr::Ok);
    // Cells of 100 with glyphs 60 wide and a pad of 26 on each side: two glyphs a shelf, two shelves.
    f.fonts.cell = 100;
    f.fonts.advance = 60;
    plD3dxFont* font = nullptr;
    ASSERT_EQ(plD3dxCreateFont(f.device, 1, &font), plD3dErr::Ok);
    f.factory.GetLog().clear();
    font->DrawText(u"abcdef", {0, 0, 0, 0}, 0xFFFFFFFF);
    EXPECT_EQ(f.Draws(), (std::vector<std::string>{"BeginScene", "DrawPrimitiveUP 4 8", "BeginScene",
                                                   "DrawPrimitiveUP 4 4"}));
    EXPECT_EQ(font->Release(), 0u);
}
