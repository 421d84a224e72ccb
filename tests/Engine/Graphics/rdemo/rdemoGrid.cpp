// The "grid" scene: the placement grid built over a generated hill, its outline of free cells (the
// hill's steep cells left open) and the footprint of the cursor, once placeable on the flat ground and
// once refused on the hill's slope. The two frames differ only in the footprint; the picture is the
// green one's half beside the red one's. The check: both a green and a red footprint show.
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Source/Track/coParkWorld.h"
#include "Source/World/coPlacementGrid.h"
#include "rdemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const u8 kSky[3] = {140, 166, 191};
constexpr f32 kExtent = 40.0f;
constexpr i32 kCells = 40;
// Corners of neighbouring cells further apart than this block the cell: the hill's slope does.
constexpr f32 kMaxStep = 0.5f;

// Flat ground at 0 with a cone-shaped hill at the origin.
class HillPark : public coParkWorld {
  public:
    bool GetHeightAt(float x, float z, float& height) const override {
        height = Ground(x, z);
        return true;
    }
    bool IntersectSegment(const maVector3d&, const maVector3d&, maVector3d&) const override { return false; }
    static float Ground(float x, float z) { return 8.0f * std::max(0.0f, 1.0f - std::hypot(x, z) / 14.0f); }
};

// The cursor over the box, its footprint made anew and drawn in place of the last one.
g3dModel* ShowFootprint(coPlacementGrid& grid, g3dModel* previous, const maBoundingBox& box) {
    g3dRenderer::RemoveModel(previous);
    grid.SetCursorBox(box, grid.CanPlaceBox(box));
    grid.SetCursorVisible(true);
    grid.UpdateOverlay(0.0f);
    g3dModel* model = g3dRenderer::AddStaticModel(grid.GetFootprintFragment(), 0);
    model->SetVisible(true);
    return model;
}

std::vector<u32> Frame() {
    g2dScreen::Clear(kSky);
    g3dRenderer::RenderFrame(1.0f);
    std::vector<u32> picture = DemoReadBackBuffer();
    g2dScreen::EndFrame();
    return picture;
}

i32 Channel(u32 pixel, int shift) {
    return static_cast<i32>((pixel >> shift) & 0xFF);
}

size_t CountDominant(const std::vector<u32>& picture, int shift, int other1, int other2) {
    return static_cast<size_t>(std::count_if(picture.begin(), picture.end(), [&](u32 pixel) {
        const i32 c = Channel(pixel, shift);
        return c > Channel(pixel, other1) + 50 && c > Channel(pixel, other2) + 50;
    }));
}

} // namespace

std::vector<u32> DrawGridScene() {
    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize();
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    g3dLightManager::SetAmbientColor(0.35f, 0.35f, 0.35f, 1.0f);
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetDirection({0.8f, -1.0f, -0.6f});
    sun->SetColor(0.8f, 0.78f, 0.7f, 1.0f);
    sun->SetEnabled();

    HillPark park;
    coSetParkWorld(&park);
    coPlacementGrid grid;
    grid.Build(-kExtent, kExtent, -kExtent, kExtent, kCells, kCells);
    grid.MarkSteepCells(kMaxStep);
    grid.ShowOverlay();
    std::vector<g3dModel*> models;
    for (g3dFragment* block : grid.GetOverlayFragments())
        models.push_back(g3dRenderer::AddStaticModel(block, 0));
    // Bare earth, so that only the footprints are strongly green or red.
    g3dMaterial earth;
    earth.SetAmbient({0.55f, 0.5f, 0.42f, 1.0f});
    earth.SetDiffuse({0.55f, 0.5f, 0.42f, 1.0f});
    g3dFragment* ground = DemoMakeGround(HillPark::Ground, maVector3d(0.0f, 0.0f, 0.0f), kExtent, 80, &earth);
    models.push_back(g3dRenderer::AddStaticModel(ground, 0));
    for (g3dModel* model : models)
        model->SetVisible(true);

    g3dCamera camera;
    camera.SetFieldOfView(60.0f);
    camera.SetAspectRatio(static_cast<f32>(kDemoWidth) / static_cast<f32>(kDemoHeight));
    camera.SetClipPlanes(1.0f, 400.0f);
    camera.LookAt({0.0f, 50.0f, -55.0f}, {0.0f, 0.0f, 0.0f}, {0, 1, 0});
    camera.Apply();

    // On the flat ground beside the hill, then on its slope.
    const maBoundingBox flat({-27.0f, 0.0f, -4.0f}, {-19.0f, 5.0f, 4.0f});
    const maBoundingBox slope({3.0f, 0.0f, -4.0f}, {11.0f, 5.0f, 4.0f});
    g3dModel* footprint = ShowFootprint(grid, nullptr, flat);
    const std::vector<u32> green = Frame();
    footprint = ShowFootprint(grid, footprint, slope);
    std::vector<u32> picture = Frame();
    for (i32 y = 0; y < kDemoHeight; ++y)
        std::copy_n(green.begin() + y * kDemoWidth + kDemoWidth / 2, kDemoWidth / 2,
                    picture.begin() + y * kDemoWidth + kDemoWidth / 2);

    g3dRenderer::RemoveModel(footprint);
    for (g3dModel* model : models)
        g3dRenderer::RemoveModel(model);
    grid.HideOverlay();
    g3dFragmentManager::DestroyFragment(ground);
    coSetParkWorld(nullptr);
    g3dRenderer::Shutdown();

    const size_t greens = CountDominant(picture, 8, 16, 0), reds = CountDominant(picture, 16, 8, 0);
    std::fprintf(stderr, "rdemo: %zu green and %zu red footprint pixels\n", greens, reds);
    if (!grid.CanPlaceBox(flat) || grid.CanPlaceBox(slope) || greens < 100 || reds < 100) {
        std::fprintf(stderr, "rdemo: the placeable footprint is not green beside a red one on the slope\n");
        return {};
    }
    return picture;
}
