// The "textures" scene: files made for the demo and loaded through the texture manager, drawn as
// pre-transformed quads. Top row: a BMP, an RGBA PNG over a checker, a text texture; bottom row: a
// mip texture at full, half and quarter size, and frame 9 of a flip-book of 16 coloured cells on two
// pages. The frame-rate line comes with the last frame. The scene is drawn once more after the
// device's resources went through a reset, and must come out the same.
#include "Engine/App/App/appEventHandler.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "rdemo.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

struct TexturedVertex {
    f32 x, y, z, rhw;
    u32 colour;
    f32 u, v;
};

// Pixels 0xAARRGGBB of a picture made by a function of x and y.
template <class Colour> std::vector<u32> Picture(i32 width, i32 height, Colour colour) {
    std::vector<u32> argb;
    for (i32 y = 0; y < height; ++y)
        for (i32 x = 0; x < width; ++x)
            argb.push_back(colour(x, y));
    return argb;
}

std::string Le(u32 value, int bytes = 4) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return static_cast<bool>(file);
}

// A 24-bit BMP, rows bottom up.
std::string Bmp(i32 width, i32 height, const std::vector<u32>& argb) {
    std::string pixels;
    for (i32 y = height - 1; y >= 0; --y) {
        for (i32 x = 0; x < width; ++x)
            pixels += Le(argb[static_cast<size_t>(y * width + x)], 3);
        pixels.append(static_cast<size_t>((4 - width * 3 % 4) % 4), '\0');
    }
    return "BM" + Le(54 + static_cast<u32>(pixels.size())) + Le(0) + Le(54) + Le(40) +
           Le(static_cast<u32>(width)) + Le(static_cast<u32>(height)) + Le(1, 2) + Le(24, 2) +
           std::string(24, '\0') + pixels;
}

std::string Chunk(const std::string& id, const std::string& body) {
    return id + Le(static_cast<u32>(body.size())) + Le(1, 2) + body;
}

// 16 frames at 10 per second on two pages of 4 x 2 cells, looping.
std::string FlipBook() {
    f32 rate = 10.0f;
    u32 rateBits = 0;
    std::memcpy(&rateBits, &rate, 4);
    const std::string data = Le(16) + Le(4) + Le(2) + Le(rateBits) + '\1' + '\0';
    return "KSFB" + Le(2) +
           Chunk("TUVA", Chunk("UDAT", data) + Chunk("TPAG", std::string("page0.bmp") + '\0') +
                             Chunk("TPAG", std::string("page1.bmp") + '\0'));
}

// A page of the flip-book: cell c of page p in hue (8p + c) / 16, with a white bar as wide as its number.
std::vector<u32> Page(i32 page) {
    return Picture(256, 128, [page](i32 x, i32 y) {
        const i32 cell = y / 64 * 4 + x / 64;
        const i32 frame = page * 8 + cell;
        if (y % 64 >= 48 && y % 64 < 56 && x % 64 >= 4 && x % 64 < 4 + 3 * (frame + 1))
            return 0xFFFFFFFFu;
        const f64 hue = frame / 16.0 * 6.283185;
        auto channel = [&](f64 shift) { return static_cast<u32>(127.5 + 127.5 * std::cos(hue + shift)); };
        return 0xFF000000u | channel(0.0) << 16 | channel(2.094) << 8 | channel(4.189);
    });
}

bool WriteFiles(const std::filesystem::path& folder) {
    const std::vector<u32> gradient = Picture(
        128, 96, [](i32 x, i32 y) { return 0xFF000000u | u32(x * 2) << 16 | u32(y * 2) << 8 | 0x60u; });
    // A disc whose alpha falls off towards its rim.
    const std::vector<u32> disc = Picture(96, 96, [](i32 x, i32 y) {
        const f64 distance = std::hypot(x - 47.5, y - 47.5) / 48.0;
        const u32 alpha = distance >= 1.0 ? 0u : static_cast<u32>(255.0 * (1.0 - distance * distance));
        return alpha << 24 | 0x00FF8020u;
    });
    // Thin stripes, which the smaller levels average into grey.
    const std::vector<u32> stripes =
        Picture(128, 128, [](i32 x, i32 y) { return (x / 2 + y / 8) % 2 ? 0xFFFFFFFFu : 0xFF2040A0u; });
    return WriteFile(folder / "picture.bmp", Bmp(128, 96, gradient)) &&
           DemoWritePng((folder / "sprite.png").string(), disc, 96, 96, true) &&
           DemoWritePng((folder / "stripes.png").string(), stripes, 128, 128, false) &&
           WriteFile(folder / "page0.bmp", Bmp(256, 128, Page(0))) &&
           WriteFile(folder / "page1.bmp", Bmp(256, 128, Page(1))) &&
           WriteFile(folder / "book.tuv", FlipBook());
}

// A quad over pixels [x, x + width) x [y, y + height), its texels centred on the pixels.
void Quad(const g3dTexture* texture, f32 x, f32 y, f32 width, f32 height, u32 colour = 0xFFFFFFFF,
          f32 u0 = 0.0f, f32 v0 = 0.0f, f32 u1 = 1.0f, f32 v1 = 1.0f) {
    const f32 x0 = x - 0.5f, y0 = y - 0.5f, x1 = x0 + width, y1 = y0 + height;
    const TexturedVertex quad[4] = {{x0, y0, 0, 1, colour, u0, v0},
                                    {x1, y0, 0, 1, colour, u1, v0},
                                    {x0, y1, 0, 1, colour, u0, v1},
                                    {x1, y1, 0, 1, colour, u1, v1}};
    g_pdevice->SetTexture(0, texture ? texture->GetPAC()->GetTexture() : nullptr);
    g_pdevice->DrawPrimitiveUP(plD3dPt::TriangleStrip, 2, quad, sizeof(TexturedVertex));
}

struct Textures {
    g3dPlainTexture* picture = nullptr;
    g3dPlainTexture* sprite = nullptr;
    g3dMipTexture* stripes = nullptr;
    g3dPlainTexture* text = nullptr;
    g3dUVATexture* book = nullptr;
};

void DrawScene(const Textures& textures) {
    const u8 clear[3] = {40, 44, 52};
    g2dScreen::Clear(clear);
    g_pdevice->BeginScene();
    g_pdevice->SetRenderState(plD3dRs::ZEnable, 0);
    g_pdevice->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    g_pdevice->SetRenderState(plD3dRs::AlphaBlendEnable, 1);
    g_pdevice->SetRenderState(plD3dRs::SrcBlend, plD3dBlend::SrcAlpha);
    g_pdevice->SetRenderState(plD3dRs::DestBlend, plD3dBlend::InvSrcAlpha);
    g_pdevice->SetVertexShader(plD3dFvf::XyzRhw | plD3dFvf::Diffuse | plD3dFvf::Tex1);

    Quad(textures.picture, 40, 80, 128, 96);
    for (i32 square = 0; square < 36; ++square)
        Quad(nullptr, 200.0f + static_cast<f32>(square % 6 * 16), 80.0f + static_cast<f32>(square / 6 * 16),
             16, 16, (square % 6 + square / 6) % 2 ? 0xFFC0C0C0 : 0xFF606060);
    Quad(textures.sprite, 200, 80, 96, 96);
    Quad(textures.text, 340, 80, 256, 64);

    // The mip levels take over as the quads shrink.
    g_pdevice->SetTextureStageState(0, plD3dTss::MinFilter, plD3dTexf::Linear);
    g_pdevice->SetTextureStageState(0, plD3dTss::MipFilter, plD3dTexf::Point);
    Quad(textures.stripes, 40, 240, 128, 128);
    Quad(textures.stripes, 184, 240, 64, 64);
    Quad(textures.stripes, 264, 240, 32, 32);
    g_pdevice->SetTextureStageState(0, plD3dTss::MinFilter, plD3dTexf::Point);
    g_pdevice->SetTextureStageState(0, plD3dTss::MipFilter, plD3dTexf::None);

    const i32 frame = textures.book->GetFrameAt(0.95f);
    f32 u = 0.0f, v = 0.0f;
    textures.book->GetCellOffset(frame, u, v);
    Quad(textures.book->GetPageOfFrame(frame), 340, 240, 128, 128, 0xFFFFFFFF, u, v,
         u + textures.book->GetCellWidth(), v + textures.book->GetCellHeight());
    g_pdevice->EndScene();
}

// The device's resources released and made again, as a lost device's reset does.
void ResetResources() {
    g2dBroadcastDeviceLost();
    plD3dPresentParameters params;
    g2dScreenPAC::FillPresentParameters(true, kDemoWidth, kDemoHeight, params);
    if (plD3dFailed(g_pdevice->Reset(&params)))
        std::fprintf(stderr, "rdemo: the device refused the reset\n");
    g2dBroadcastDeviceReset();
}

} // namespace

std::vector<u32> DrawTexturesScene() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("rdemo-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::vector<u32> picture;
    if (!WriteFiles(folder)) {
        std::fprintf(stderr, "rdemo: cannot write the demo's files in %s\n", folder.c_str());
        std::filesystem::remove_all(folder);
        return picture;
    }
    g3dTextureManager::Initialize();
    g3dSelectTextureFormats();
    namespace tm = g3dTextureManager;
    const g2dFont font = g2dFont::Get("Arial", 24);
    Textures textures;
    textures.picture = tm::LoadPlainTexture(DemoLocator(folder / "picture.bmp"), 0, 0);
    textures.sprite = tm::LoadPlainTexture(DemoLocator(folder / "sprite.png"), 0, 0);
    textures.stripes = tm::LoadMipTexture(DemoLocator(folder / "stripes.png"), 0, 0);
    textures.text = tm::CreateTextTextureRuns({font, font}, {"Loopvane", "textures\nand text"}, {0, 120},
                                              {{255, 210, 60}, {120, 200, 255}}, 256, 64);
    textures.book = tm::LoadUVATexture(DemoLocator(folder / "book.tuv"), 0, 0);

    // Ten frames give the first frame rate; the backquote shows the debug lines.
    g2dScreen::SetShowFps(true);
    appDispatchChar(u'`');
    for (int frame = 0; frame < 10; ++frame) {
        DrawScene(textures);
        g2dScreen::EndFrame();
    }
    DrawScene(textures);
    const std::vector<u32> before = DemoReadBackBuffer();
    ResetResources();
    DrawScene(textures);
    if (DemoReadBackBuffer() != before) {
        std::fprintf(stderr, "rdemo: the textures differ after the reset\n");
    } else {
        g2dScreen::EndFrame();
        picture = DemoReadBackBuffer();
    }
    for (g3dTexture* texture : std::initializer_list<g3dTexture*>{
             textures.picture, textures.sprite, textures.stripes, textures.text, textures.book})
        tm::ReleaseTexture(texture);
    g2dFont::Release(font);
    std::filesystem::remove_all(folder);
    return picture;
}
