// Draws a rendering scene through the engine on the real device and saves the back buffer as a PNG:
//   rdemo --scene <name> [--seed n] [--time seconds] [--theme folder] [--name prop] --out picture.png
//   rdemo --scene circuit --recipe r1 --type Steel|Wooden --terrain hill [--shadows 0|1] [--scheme n]
//         --out picture.png
//   rdemo --scene ride [--type Steel] [--time seconds] --out picture.png
//   rdemo --scene track [--type Steel] [--pieces straight,turn90,loop,corkscrew,roll180] --out picture.png
//   rdemo --scene circuit --recipe r1 --type Steel [--grab] [--thumb] --out folder
//   rdemo --scene environment [--env Mountain] [--variant n] [--dock Ironvale] --out picture.png
//   rdemo --scene props [--env Mountain] [--variant n] --props p.cprl --rings r.ctrl [--ride-time seconds]
//         --out picture.png
// "screen": a clear colour, an image of a gradient copied to the back buffer, a triangle shaded between
// its three vertex colours. The others are listed in Scenes() and drawn in rdemo<Scene>.cpp.
#include "rdemo.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/System/plSystemServices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr i32 kWidth = kDemoWidth;
constexpr i32 kHeight = kDemoHeight;

struct ScreenVertex {
    f32 x, y, z, rhw;
    u32 colour;
};

// Red rises to the right, green downwards, blue falls to the right.
void FillGradient(g2dImage& image) {
    const g2dPixelFormat& format = image.GetPixelFormat();
    u8* texels = image.Lock();
    if (!texels)
        return;
    const u32 bytes = format.bitsPerPixel / 8;
    for (i32 y = 0; y < image.GetHeight(); ++y)
        for (i32 x = 0; x < image.GetWidth(); ++x) {
            const u8 rgb[3] = {static_cast<u8>(x), static_cast<u8>(y * 2), static_cast<u8>(255 - x)};
            const u32 texel = format.PackRGB(rgb);
            std::memcpy(texels + y * image.GetPitch() + x * bytes, &texel, bytes);
        }
    image.Unlock();
}

void DrawTriangle() {
    const ScreenVertex triangle[3] = {
        {420, 120, 0.5f, 1, 0xFFFFD000}, {580, 400, 0.5f, 1, 0xFFFF2000}, {300, 400, 0.5f, 1, 0xFF20A020}};
    g_pdevice->BeginScene();
    // The screen's clear leaves depth alone: the triangle needs no depth test.
    g_pdevice->SetRenderState(plD3dRs::ZEnable, 0);
    g_pdevice->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    g_pdevice->SetVertexShader(plD3dFvf::XyzRhw | plD3dFvf::Diffuse);
    g_pdevice->DrawPrimitiveUP(plD3dPt::TriangleList, 1, triangle, sizeof(ScreenVertex));
    g_pdevice->EndScene();
}

// What the command line gives the scenes.
struct SceneOptions {
    f32 time = 0.0f;
    u32 seed = 1;
    std::string theme = "Ironvale", name = "fountain";
    // The circuit scene knows one recipe over one terrain.
    std::string recipe = "r1", type = "Steel", terrain = "hill";
    bool shadows = true;
    // One of the type's shipped colour schemes; below 0 the definitions' own colours.
    int scheme = -1;
    // The track scene's pieces in order.
    std::vector<std::string> pieces = {"straight", "turn90", "loop", "corkscrew", "roll180"};
    // The environment scene's environment, variant and dock theme.
    std::string env = "Mountain", dock = "Ironvale";
    int variant = 1;
    // The props scene's chunk files and how long the train rides before the picture.
    std::string props, rings;
    f32 rideTime = 6.0f;
};

std::vector<std::string> SplitAtCommas(const std::string& list) {
    std::vector<std::string> items;
    for (size_t start = 0; start <= list.size();) {
        const size_t end = std::min(list.find(',', start), list.size());
        items.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

using SceneDrawer = std::function<std::vector<u32>(const SceneOptions&)>;

const std::map<std::string, SceneDrawer>& Scenes() {
    static const std::map<std::string, SceneDrawer> scenes = {
        {"screen", [](const SceneOptions&) { return DrawScreenScene(); }},
        {"textures", [](const SceneOptions&) { return DrawTexturesScene(); }},
        {"shapes", [](const SceneOptions&) { return DrawShapesScene(); }},
        {"materials", [](const SceneOptions&) { return DrawMaterialsScene(); }},
        {"frame", [](const SceneOptions&) { return DrawFrameScene(); }},
        {"skin", [](const SceneOptions& o) { return DrawSkinScene(o.time); }},
        {"particles", [](const SceneOptions& o) { return DrawParticlesScene(o.seed, o.time); }},
        {"projshadow", [](const SceneOptions&) { return DrawProjShadowScene(); }},
        {"prop", [](const SceneOptions& o) { return DrawPropScene(o.theme, o.name, o.time); }},
        {"circuit", [](const SceneOptions& o) { return DrawCircuitScene(o.type, o.shadows, o.scheme); }},
        {"grid", [](const SceneOptions&) { return DrawGridScene(); }},
        {"ride", [](const SceneOptions& o) { return DrawRideScene(o.type, o.time); }},
        {"track", [](const SceneOptions& o) { return DrawTrackScene(o.type, o.pieces); }},
        {"environment", [](const SceneOptions& o) { return DrawEnvironmentScene(o.env, o.variant, o.dock); }},
        {"props",
         [](const SceneOptions& o) {
             return DrawPropsScene(o.env, o.variant, o.props, o.rings, o.rideTime);
         }},
    };
    return scenes;
}

int Usage() {
    std::string names;
    for (const auto& [name, draw] : Scenes())
        names += (names.empty() ? "" : "|") + name;
    std::fprintf(
        stderr,
        "usage: rdemo --scene %s [--seed n] [--time seconds] [--theme folder] [--name prop] [--recipe r1 "
        "--type <coaster type> --terrain hill --shadows 0|1 [--scheme n] [--grab] [--thumb]] [--pieces "
        "a,b,...] [--env name --variant n --dock theme] [--props file --rings file --ride-time seconds] "
        "--out <file.png or, with --grab or --thumb, folder>\n",
        names.c_str());
    return 2;
}

} // namespace

// The back buffer as 0xAARRGGBB through the device's own copy into an image.
std::vector<u32> DemoReadBackBuffer() {
    g2dPixelFormat argb;
    g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
    g2dImage capture(kWidth, kHeight, argb);
    plD3dSurface* back = nullptr;
    std::vector<u32> pixels(static_cast<size_t>(kWidth) * kHeight);
    if (plD3dFailed(g_pdevice->GetBackBuffer(0, plD3dBackBufferMono, &back)))
        return pixels;
    g_pdevice->CopyRects(back, nullptr, 0, capture.GetSurface(), nullptr);
    back->Release();
    if (const u8* texels = capture.Lock()) {
        for (i32 y = 0; y < kHeight; ++y)
            std::memcpy(&pixels[static_cast<size_t>(y) * kWidth], texels + y * capture.GetPitch(),
                        kWidth * 4);
        capture.Unlock();
    }
    return pixels;
}

bool DemoWritePng(const std::string& path, const std::vector<u32>& pixels, i32 width, i32 height,
                  bool alpha) {
    g2dPixelRows rows{static_cast<u32>(width), static_cast<u32>(height), alpha, {}};
    for (u32 pixel : pixels) {
        rows.bytes.insert(rows.bytes.end(), {static_cast<u8>(pixel >> 16), static_cast<u8>(pixel >> 8),
                                             static_cast<u8>(pixel)});
        if (alpha)
            rows.bytes.push_back(static_cast<u8>(pixel >> 24));
    }
    try {
        std::ofstream file(path, std::ios::binary);
        file << g2dEncodePNG(rows);
        return static_cast<bool>(file.flush());
    } catch (const envExceptionX&) {
        return false;
    }
}

maMatrix4d DemoProjection(f32 far, i32 width) {
    const f32 near = 1.0f;
    const f32 yScale = 1.0f / std::tan(std::numbers::pi_v<f32> / 6.0f);
    const f32 xScale = yScale * static_cast<f32>(kDemoHeight) / static_cast<f32>(width);
    return {xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, far / (far - near), 1, 0, 0, -near * far / (far - near),
            0};
}

const std::vector<g3dRenderListConfig>& DemoGameLists() {
    static const std::vector<g3dRenderListConfig> lists = {
        {0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};
    return lists;
}

std::vector<u32> DemoRenderFrame(u32 sky, f32 time) {
    // The renderer mirrors the projection in x; the demo's is mirrored first so the picture is not.
    maMatrix4d projection = DemoProjection();
    projection.Scale(-1.0f, 1.0f, 1.0f);
    g3dRenderer::SetProjectionMatrix(projection);
    g3dRenderer::SetViewMatrix(maMatrix4d());
    g_pdevice->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    g_pdevice->Clear(0, nullptr, plD3dClear::Target, sky, 1.0f, 0);
    g3dRenderer::RenderFrame(time);
    return DemoReadBackBuffer();
}

u32 DemoPixelAt(const std::vector<u32>& picture, const maVector3d& p) {
    const maMatrix4d m = DemoProjection();
    const i32 column = static_cast<i32>((p.x * m.m[0] / p.z + 1.0f) * 0.5f * kDemoWidth);
    const i32 row = static_cast<i32>((1.0f - p.y * m.m[5] / p.z) * 0.5f * kDemoHeight);
    return picture[static_cast<size_t>(row * kDemoWidth + column)];
}

u32 DemoPixelOf(const std::vector<u32>& picture, const maVector3d& world) {
    f32 screen[4];
    g3dRenderer::ProjectToScreen(world, screen);
    const i32 x = std::clamp(static_cast<i32>(screen[0]), 0, kDemoWidth - 1);
    const i32 y = std::clamp(static_cast<i32>(screen[1]), 0, kDemoHeight - 1);
    return picture[static_cast<size_t>(y * kDemoWidth + x)];
}

u32 DemoBrightness(u32 pixel) {
    return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
}

g3dFragment* DemoMakeGround(const std::function<float(float, float)>& ground, const maVector3d& centre,
                            f32 half, int cells, g3dMaterial* material) {
    std::vector<maVector3d> positions, normals;
    std::vector<u16> indices;
    const float step = 2.0f * half / static_cast<float>(cells);
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            const float x = centre.x - half + step * static_cast<float>(i);
            const float z = centre.z - half + step * static_cast<float>(j);
            positions.emplace_back(x, ground(x, z), z);
            maVector3d n(ground(x - 0.5f, z) - ground(x + 0.5f, z), 1.0f,
                         ground(x, z - 0.5f) - ground(x, z + 0.5f));
            normals.push_back(n / n.Length());
        }
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const auto a = static_cast<u16>(j * (cells + 1) + i);
            const u16 b = a + 1, c = static_cast<u16>(a + cells + 1), d = c + 1;
            indices.insert(indices.end(), {a, c, b, b, c, d});
        }
    return g3dFragmentManager::CreateFragmentPNT(
        positions.data(), normals.data(), static_cast<u32>(positions.size()), indices.data(),
        static_cast<u32>(indices.size()), &material, nullptr, 1, false);
}

fsLocator DemoLocator(const std::filesystem::path& path) {
    fsLocator locator;
    fsLocatorFromNativePath(path.string().c_str(), locator);
    return locator;
}

fsLocator DemoInData(const std::string& relative) {
    return DemoLocator(std::string(LV_DATA_DIR) + "/" + relative);
}

bool DemoAllHold(std::initializer_list<DemoCheck> checks) {
    bool ok = true;
    for (const DemoCheck& check : checks)
        if (!check.ok) {
            std::fprintf(stderr, "rdemo: not so: %s\n", check.what);
            ok = false;
        }
    return ok;
}

std::vector<u32> DrawScreenScene() {
    const u8 clear[3] = {32, 64, 96};
    g2dScreen::Clear(clear);
    g2dImage gradient(256, 128, *g2dScreen::GetPixelFormat());
    FillGradient(gradient);
    g2dScreen::DrawImage(40, 40, gradient);
    DrawTriangle();
    std::vector<u32> pixels = DemoReadBackBuffer();
    g2dScreen::EndFrame();
    return pixels;
}

int main(int argc, char** argv) {
    std::string scene, out;
    SceneOptions options;
    bool grab = false, thumb = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--grab" || option == "--thumb") {
            (option == "--grab" ? grab : thumb) = true;
            continue;
        }
        if (i + 1 == argc)
            return Usage();
        const char* value = argv[++i];
        if (option == "--scene")
            scene = value;
        else if (option == "--out")
            out = value;
        else if (option == "--time")
            options.time = std::strtof(value, nullptr);
        else if (option == "--seed")
            options.seed = static_cast<u32>(std::strtoul(value, nullptr, 10));
        else if (option == "--theme")
            options.theme = value;
        else if (option == "--name")
            options.name = value;
        else if (option == "--recipe")
            options.recipe = value;
        else if (option == "--type")
            options.type = value;
        else if (option == "--terrain")
            options.terrain = value;
        else if (option == "--shadows")
            options.shadows = std::string(value) != "0";
        else if (option == "--pieces")
            options.pieces = SplitAtCommas(value);
        else if (option == "--env")
            options.env = value;
        else if (option == "--variant")
            options.variant = static_cast<int>(std::strtol(value, nullptr, 10));
        else if (option == "--dock")
            options.dock = value;
        else if (option == "--props")
            options.props = value;
        else if (option == "--rings")
            options.rings = value;
        else if (option == "--ride-time")
            options.rideTime = std::strtof(value, nullptr);
        else if (option == "--scheme")
            options.scheme = static_cast<int>(std::strtol(value, nullptr, 10));
        else
            return Usage();
    }
    const auto draw = Scenes().find(scene);
    // The capture run grabs the circuit scene into the folder named by --out.
    const bool capture = grab || thumb;
    if (draw == Scenes().end() || out.empty() || !std::isfinite(options.time) ||
        !std::isfinite(options.rideTime) ||
        (scene == "props" && (options.props.empty() || options.rings.empty())) || options.recipe != "r1" ||
        options.terrain != "hill" || (capture && scene != "circuit"))
        return Usage();
    const i32 width = capture ? kCaptureWidth : kWidth, height = capture ? kCaptureHeight : kHeight;

    plSystemServices services;
    plInstallServices(services.GetServices());
    int status = 1;
    if (plGetWindowHost().CreateWindow(0, 0, width, height, u"rdemo", false)) {
        try {
            g2dInitialize();
            g2dScreen::InitWindowed(width, height, 0, 0);
            if (capture) {
                status = RunCaptureScene(options.type, grab, thumb, out) ? 0 : 1;
            } else {
                const std::vector<u32> picture = draw->second(options);
                status = !picture.empty() && DemoWritePng(out, picture, kWidth, kHeight, false) ? 0 : 1;
            }
            g2dScreen::Deinitialize();
            g2dShutdown();
        } catch (const envExceptionX& exception) {
            std::fprintf(stderr, "rdemo: error 0x%08X\n", exception.GetCode());
        }
    }
    plInstallServices({});
    if (status != 0)
        std::fprintf(stderr, "rdemo: no picture written\n");
    return status;
}
