// The "skin" scene at a given time: the generated tube skin bent by its animation, the generated arm
// posed by a swing of its forearm, and a sun's lens flare across the screen, drawn with the game's
// render lists. The models are written by the model generator into a temporary folder and read back
// through the engine's readers. A few pixels are checked against where each thing must be.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Engine/Graphics/Sc/scHierarchyObject.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"
#include "Tools/Model/toolAnimatedModels.h"
#include "rdemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include <unistd.h>

namespace {

const u8 kSky[3] = {70, 90, 130};
// The ring's band (0.8 of its radius) for the middle element: 0.3 x 0.4 of the width across.
constexpr i32 kRingRadius = static_cast<i32>(kDemoWidth * 0.3f * 0.4f / 2 * 0.8f);
const maVector3d kTubePlace{-1.2f, 0, 0}, kArmPlace{1.2f, 0, 0}, kSun{-14, 26, 80};

// The flare's textures by name: a soft disc and a ring.
class DemoTextureLoader : public g3dTextureLoader {
  public:
    DemoTextureLoader() {
        m_textures["disc"] = DemoMakeTexture(64, 64, Round(64, false));
        m_textures["ring"] = DemoMakeTexture(64, 64, Round(64, true));
        // The format tells materials that the texture's alpha makes them transparent.
        g2dPixelFormat argb;
        g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
        for (const auto& entry : m_textures)
            entry.second->SetPixelFormat(argb);
    }
    g3dTexture* GetTexture(const envString& name) override {
        for (const auto& [key, texture] : m_textures)
            if (name == envString(key.c_str()))
                return texture.get();
        return nullptr;
    }
    void ReleaseTexture(g3dTexture*) override {}

  private:
    // White, its alpha highest at the centre (a disc) or on a band near the rim (a ring).
    static std::vector<u32> Round(i32 size, bool ring) {
        std::vector<u32> texels(static_cast<size_t>(size * size));
        for (i32 y = 0; y < size; ++y)
            for (i32 x = 0; x < size; ++x) {
                const f32 dx = (static_cast<f32>(x) + 0.5f) / static_cast<f32>(size) * 2.0f - 1.0f;
                const f32 dy = (static_cast<f32>(y) + 0.5f) / static_cast<f32>(size) * 2.0f - 1.0f;
                const f32 r = std::sqrt(dx * dx + dy * dy);
                const f32 alpha = std::clamp(ring ? 1.0f - std::abs(r - 0.8f) * 6.0f : 1.0f - r, 0.0f, 1.0f);
                texels[static_cast<size_t>(y * size + x)] = static_cast<u32>(alpha * 255.0f) << 24 | 0xFFFFFF;
            }
        return texels;
    }
    std::map<std::string, std::unique_ptr<g3dPlainTexture>> m_textures;
};

bool IsSky(u32 pixel) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(static_cast<int>((pixel >> (16 - 8 * i)) & 0xFF) - static_cast<int>(kSky[i])) > 8)
            return false;
    return true;
}

// The tube's orange: far more red than blue.
bool IsTube(u32 pixel) {
    return static_cast<int>((pixel >> 16) & 0xFF) > static_cast<int>(pixel & 0xFF) + 80;
}

// The brightest channel's gain over the sky.
int Brightening(u32 pixel) {
    int gain = -255;
    for (int i = 0; i < 3; ++i)
        gain = std::max(gain, static_cast<int>((pixel >> (16 - 8 * i)) & 0xFF) - static_cast<int>(kSky[i]));
    return gain;
}

// The skinned position of the ring below the tube's open top nearest the camera (the least z), in the tube's
// own space: a point of the near wall, which faces the camera, where the open end may show the sky.
maVector3d TipOf(const scSingleSkinObject& tube, const mayMesh& bind) {
    maVector3d nearest(0, 0, 0);
    bool found = false;
    for (u32 v = 0; v < bind.positions.size(); ++v)
        if (bind.positions[v].y > 1.7f && bind.positions[v].y < 1.8f) {
            g3dVertexPNT vertex;
            std::memcpy(&vertex, tube.GetFragment()->GetVertices() + v * sizeof vertex, sizeof vertex);
            if (!found || vertex.position.z < nearest.z)
                nearest = vertex.position;
            found = true;
        }
    return nearest;
}

} // namespace

std::vector<u32> DrawSkinScene(f32 time) {
    g3dFragmentManager::Initialize();
    g3dRenderer::Initialize(DemoGameLists());
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    g3dLightManager::SetAmbientColor(0.25f, 0.25f, 0.25f, 1.0f);
    scLensFlarePackageStart();

    g3dCamera camera;
    camera.SetFieldOfView(70.0f);
    camera.SetAspectRatio(static_cast<f32>(kDemoWidth) / static_cast<f32>(kDemoHeight));
    camera.SetClipPlanes(0.5f, 300.0f);
    camera.LookAt({0, 1.2f, -5}, {0, 1.0f, 0}, {0, 1, 0});
    camera.Apply();
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetDirection({-0.5f, -0.6f, 1});
    sun->SetColor(0.9f, 0.85f, 0.75f, 1.0f);
    sun->SetEnabled();

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("rdemo-skin-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    toolWriteAnimatedModels(folder.string());
    DemoTextureLoader* textures = nullptr;
    {
        auto loader = std::make_unique<DemoTextureLoader>();
        textures = loader.get();
        scSetLensFlareTextureLoader(std::move(loader));
    }

    // The tube, bent by its animation.
    g3dMaterial orange;
    orange.SetDiffuse({1.0f, 0.5f, 0.15f, 1.0f});
    g3dMaterial* tubeMaterials[1] = {&orange};
    mayModelParts parts;
    mayMesh bind;
    std::unique_ptr<scJoint> joints;
    mayReadSingleSkin(DemoLocator(folder / "skintube.mx"), *textures, parts, bind, joints);
    g3dFragment* skin = g3dFragmentManager::CreateFragmentPNT(
        bind.positions.data(), bind.normals.data(), static_cast<u32>(bind.positions.size()),
        bind.indices.data(), static_cast<u32>(bind.indices.size()), tubeMaterials, nullptr, 1, true);
    auto tube = std::make_unique<scSingleSkinObject>(skin, bind.positions, bind.normals, 0);
    tube->SetJointTree(std::move(joints));
    mayAnimationTree bendTree;
    mayAnimationTracks bendTracks;
    mayReadAnimation(DemoLocator(folder / "skintubebend.mx"), bendTree, bendTracks);
    scGeoFrameAnimation bend(bendTree.root.get());
    tube->SetPosition(kTubePlace);
    tube->PlayAnimation(bend, 0);
    tube->Update(time);

    // The arm, its forearm kept one unit up and swung about z over two seconds.
    g3dHFragment armRoot;
    mayReadHierarchy(DemoLocator(folder / "arm.mhx"), *textures, armRoot, parts, nullptr);
    anKeyData<maVector3d> forearmPositions;
    forearmPositions.AddKey(0, {0, 1, 0});
    anKeyData<maRotation> forearmTurns;
    forearmTurns.AddKey(0, maRotation({0, 0, 1}, 0.0f));
    forearmTurns.AddKey(48, maRotation({0, 0, 1}, -1.6f));
    mayAnimationNode swing;
    swing.children.push_back(std::make_unique<mayAnimationNode>());
    swing.children[0]->positions = &forearmPositions;
    swing.children[0]->rotations = &forearmTurns;
    scGeoFrameAnimation swingAnimation(&swing);
    auto arm = std::make_unique<scHierarchyObject>(armRoot, 0);
    arm->SetPosition(kArmPlace);
    arm->PlayAnimation(swingAnimation, 0);
    arm->Update(time);
    tube->SetVisible(true);
    arm->SetVisible(true);

    // The sun's flare: a glow on the sun, rings and discs along the line through the centre.
    auto flare = std::make_unique<scLensFlare>();
    flare->SetSourcePosition(kSun);
    flare->SetSizeScale(0.3f);
    const struct {
        const char* texture;
        f32 axis, size;
        g3dARGBColor colour;
    } elements[] = {{"disc", 0.0f, 1.0f, {1.0f, 0.9f, 0.6f, 1}},
                    {"ring", 0.5f, 0.4f, {0.4f, 0.6f, 1.0f, 1}},
                    {"disc", 0.8f, 0.25f, {0.6f, 1.0f, 0.5f, 1}},
                    {"ring", 1.2f, 0.6f, {1.0f, 0.5f, 0.7f, 1}}};
    for (const auto& e : elements) {
        auto element = std::make_unique<scLensFlareElement>(3);
        element->GetMaterial().SetDiffuse(e.colour);
        element->SetTexture(e.texture);
        element->SetAxisPosition(e.axis);
        element->SetSize(e.size);
        flare->AddElement(std::move(element));
    }
    scAddLensFlare(std::move(flare));
    scUpdateLensFlares();

    const u8 sky[3] = {kSky[0], kSky[1], kSky[2]};
    g2dScreen::Clear(sky);
    g3dRenderer::RenderFrame(time);
    const std::vector<u32> picture = DemoReadBackBuffer();

    // The bent tip is drawn where the straight tube's tip is not (its near wall, lit by the ambient light
    // alone against the sun, need not show its orange); the swung forearm is drawn; the flare glows on the
    // sun and its ring lies around the centre.
    const maVector3d tip = TipOf(*tube, bind) + kTubePlace;
    maMatrix4d forearm;
    arm->GetModel()->GetNode()->GetChild(0)->GetChild(0)->GetWorldMatrix(forearm);
    const u32 tipPixel = DemoPixelOf(picture, tip),
              straightPixel = DemoPixelOf(picture, kTubePlace + maVector3d(0, 1.95f, 0)),
              forearmPixel = DemoPixelOf(picture, forearm.TransformPoint({0, 0.5f, 0})),
              sunPixel = DemoPixelOf(picture, kSun),
              ringPixel =
                  picture[static_cast<size_t>(kDemoHeight / 2 * kDemoWidth + kDemoWidth / 2 + kRingRadius)];
    const bool ok = DemoAllHold({
        {"the tube's tip is bent aside", std::abs(tip.x - kTubePlace.x) > 0.3f},
        {"the bent tip is drawn", !IsSky(tipPixel)},
        {"the straight tube's tip is empty", !IsTube(straightPixel)},
        {"the swung forearm is drawn", !IsSky(forearmPixel)},
        {"the flare glows on the sun", Brightening(sunPixel) > 60},
        {"the flare's ring lies around the centre", Brightening(ringPixel) > 40},
    });
    std::fprintf(stderr, "rdemo: tip (%.2f, %.2f) %06x, straight %06x, forearm %06x, sun %06x, ring %06x\n",
                 tip.x, tip.y, tipPixel & 0xFFFFFF, straightPixel & 0xFFFFFF, forearmPixel & 0xFFFFFF,
                 sunPixel & 0xFFFFFF, ringPixel & 0xFFFFFF);

    g2dScreen::EndFrame();
    scLensFlarePackageStop();
    tube.reset();
    arm.reset();
    for (g3dFragment* fragment : parts.fragments)
        g3dFragmentManager::DestroyFragment(fragment);
    std::filesystem::remove_all(folder);
    g3dLightManager::Shutdown();
    g3dRenderer::Shutdown();
    return ok ? picture : std::vector<u32>{};
}
