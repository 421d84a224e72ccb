// The "circuit" scene: the closed R1 circuit (four chained straights of 20 and four right-angle turns
// of radius 15) of a coaster type from the built content, over flat ground with a hill, lifted clear of
// it, with its supports (poles or wooden walls) and its shadows cast along the sun. The track objects
// enter the renderer's lists as the scene's objects. The check: a shadow point beside
// the track is darker than the same ground in a frame drawn without shadows.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coParkWorld.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coSceneTrackObjectMaker.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "Source/TrackGeom/coTrackObjects.h"
#include "Source/TrackGeom/coTrackShadows.h"
#include "rdemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const std::vector<g3dRenderListConfig> kGameLists = {
    {0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};
const u8 kSky[3] = {140, 166, 191};
const maVector3d kSun(0.8f, -1.0f, -0.6f);

// Flat ground at 0 with a cone-shaped hill.
class HillPark : public coParkWorld {
  public:
    bool GetHeightAt(float x, float z, float& height) const override {
        height = Ground(x, z);
        return true;
    }
    bool IntersectSegment(const maVector3d& p0, const maVector3d& p1, maVector3d& point) const override {
        constexpr int kSteps = 2000;
        for (int i = 0; i <= kSteps; ++i) {
            const maVector3d p = p0 + (p1 - p0) * (static_cast<float>(i) / kSteps);
            if (p.y <= Ground(p.x, p.z)) {
                point = p;
                return true;
            }
        }
        return false;
    }
    float Ground(float x, float z) const {
        const float d = std::sqrt((x - hill.x) * (x - hill.x) + (z - hill.z) * (z - hill.z));
        return 6.0f * std::max(0.0f, 1.0f - d / 14.0f);
    }
    maVector3d hill{-30.0f, 0.0f, 30.0f};
};

// The ground as a lit grid over the square around the circuit.
g3dFragment* MakeGround(const HillPark& park, g3dMaterial* material) {
    constexpr int kCells = 100;
    constexpr float kLow = -80.0f, kHigh = 80.0f;
    std::vector<maVector3d> positions, normals;
    std::vector<u16> indices;
    const float step = (kHigh - kLow) / kCells;
    for (int j = 0; j <= kCells; ++j)
        for (int i = 0; i <= kCells; ++i) {
            const float x = kLow + step * static_cast<float>(i), z = kLow + step * static_cast<float>(j);
            positions.emplace_back(x, park.Ground(x, z), z);
            maVector3d n(park.Ground(x - 0.5f, z) - park.Ground(x + 0.5f, z), 1.0f,
                         park.Ground(x, z - 0.5f) - park.Ground(x, z + 0.5f));
            normals.push_back(n / n.Length());
        }
    for (int j = 0; j < kCells; ++j)
        for (int i = 0; i < kCells; ++i) {
            const auto a = static_cast<u16>(j * (kCells + 1) + i);
            const u16 b = a + 1, c = static_cast<u16>(a + kCells + 1), d = c + 1;
            indices.insert(indices.end(), {a, c, b, b, c, d});
        }
    return g3dFragmentManager::CreateFragmentPNT(
        positions.data(), normals.data(), static_cast<u32>(positions.size()), indices.data(),
        static_cast<u32>(indices.size()), &material, nullptr, 1, false);
}

void BuildR1() {
    for (int i = 0; i < 4; ++i) {
        auto straight = std::make_unique<coCoasterPieceStraight>();
        straight->SetRunLength(20.0f);
        straight->SetElement(coElementChainLift);
        straight->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(straight), true);
        auto turn = std::make_unique<coCoasterPieceTurn>();
        turn->SetAngle(coDegrees(90.0f));
        turn->SetRadius(15.0f);
        turn->SetElement(coElementChainLift);
        turn->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(turn), true);
    }
    coCircuitClose();
}

u32 Brightness(u32 pixel) {
    return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
}

std::vector<u32> Frame() {
    g2dScreen::Clear(kSky);
    g3dRenderer::RenderFrame(1.0f);
    std::vector<u32> picture = DemoReadBackBuffer();
    g2dScreen::EndFrame();
    return picture;
}

} // namespace

std::vector<u32> DrawCircuitScene(const std::string& type, bool shadows, int scheme) {
    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize(kGameLists);
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    g3dLightManager::SetAmbientColor(0.35f, 0.35f, 0.35f, 1.0f);
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetDirection(kSun);
    sun->SetColor(0.8f, 0.78f, 0.7f, 1.0f);
    sun->SetEnabled();

    fsLocator tracks, environments;
    fsLocatorFromNativePath(LV_DATA_DIR "/Tracks", tracks);
    fsLocatorFromNativePath(LV_DATA_DIR "/Environments", environments);
    fsAddRootDirectory(coRootTracks, tracks);
    fsAddRootDirectory(coRootEnvironments, environments);
    coPrefs::SetDefaults();
    coPrefs::SetBool(coPrefTrackShadows, true);
    coPakManager::Create();
    coCoasterDefinitionStore().SetCoasterTypeName(type);
    coPakManager::OpenCoasterPaks(envString(type.c_str()));

    HillPark park;
    coSetParkWorld(&park);
    coSceneTrackObjectMaker maker;
    coSetTrackObjectMaker(&maker);
    std::vector<u32> picture;
    bool failed = false;
    g3dMaterial grass;
    grass.SetAmbient({0.35f, 0.55f, 0.3f, 1.0f});
    grass.SetDiffuse({0.35f, 0.55f, 0.3f, 1.0f});
    g3dFragment* ground = nullptr;
    g3dModel* groundModel = nullptr;
    {
        coTrackMeshBuilder builder;
        coSetTrackBuilder(&builder);
        coCoasterDefinitionStore().Load("Coaster.def");
        builder.LoadTrackDefinition("Track.def");
        builder.LoadSupportDefinition("Support.def");
        coMeshBuilderDefinitions definitions(builder);
        if (scheme >= 0) {
            // One of the type's shipped colour schemes in the mountains.
            fsLocator colors(coRootEnvironments);
            for (const char* component : {"Mountain", "Tracks", type.c_str(), "TrkColor.def"})
                fsAppendNativeName(colors, component);
            loadColorSchemes(colors);
            if (scheme >= coTrackColorizer::GetSchemeCount()) {
                std::fprintf(stderr, "rdemo: %s has %d colour schemes\n", type.c_str(),
                             coTrackColorizer::GetSchemeCount());
                failed = true;
            }
            coTrackColorizer::SelectScheme(scheme);
        }
        builder.CreateShadowMaterial();
        coSetShadowDirection(kSun);
        coSetShadowsEnabled(shadows ? coShadowsAlongDirection : coShadowsOff);
        // Laid once on flat ground to find where it runs, then again with the hill under its third straight.
        BuildR1();
        park.hill = coCircuitPieces()[4]->FrameAt(0.5f).GetTranslation();
        coCircuitClear();
        BuildR1();
        ground = MakeGround(park, &grass);
        groundModel = g3dRenderer::AddStaticModel(ground, 0);
        groundModel->SetVisible(true);
        coWorldBox box{};
        builder.GetTrackBounds(box);
        const maVector3d centre((box[0] + box[1]) * 0.5f, 0.0f, (box[4] + box[5]) * 0.5f);
        const float size = std::max(box[1] - box[0], box[5] - box[4]);

        g3dCamera camera;
        camera.SetFieldOfView(60.0f);
        camera.SetAspectRatio(static_cast<f32>(kDemoWidth) / static_cast<f32>(kDemoHeight));
        camera.SetClipPlanes(1.0f, 400.0f);
        camera.LookAt(centre + maVector3d(0.7f, 1.0f, -0.9f) * size, centre, {0, 1, 0});
        camera.Apply();

        picture = Frame();
        if (shadows) {
            // The same frame without shadows: some ground near the track must have been darker.
            coPrefs::SetBool(coPrefTrackShadows, false);
            builder.RefreshShadows();
            const std::vector<u32> bare = Frame();
            size_t darker = 0;
            for (size_t i = 0; i < picture.size(); ++i)
                darker += Brightness(picture[i]) + 60 < Brightness(bare[i]) ? 1 : 0;
            std::fprintf(stderr, "rdemo: %zu pixels darker with the shadows\n", darker);
            if (darker < 500) {
                std::fprintf(stderr, "rdemo: no shadow darker than the bare ground below the track\n");
                failed = true;
            }
        }
        coCircuitClear();
        builder.FreeDefinitions();
        builder.DestroyShadowMaterial();
        coReleaseTrackTextures();
        coSetTrackBuilder(nullptr);
    }
    coSetShadowsEnabled(coShadowsOff);
    coSetTrackObjectMaker(nullptr);
    coSetParkWorld(nullptr);
    g3dRenderer::RemoveModel(groundModel);
    g3dFragmentManager::DestroyFragment(ground);
    coPakManager::Destroy();
    g3dRenderer::Shutdown();
    return failed ? std::vector<u32>{} : picture;
}
