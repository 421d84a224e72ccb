#include "rdemoCoaster.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackObjects.h"
#include "Source/TrackGeom/coTrackShadows.h"
#include "rdemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const u8 kSky[3] = {140, 166, 191};
const maVector3d kSun(0.8f, -1.0f, -0.6f);

} // namespace

bool DemoHillPark::GetHeightAt(float x, float z, float& height) const {
    height = Ground(x, z);
    return true;
}

bool DemoHillPark::IntersectSegment(const maVector3d& p0, const maVector3d& p1, maVector3d& point) const {
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

float DemoHillPark::Ground(float x, float z) const {
    if (flat)
        return 0.0f;
    const float d = std::sqrt((x - hill.x) * (x - hill.x) + (z - hill.z) * (z - hill.z));
    return 6.0f * std::max(0.0f, 1.0f - d / 14.0f);
}

DemoCoaster::DemoCoaster(const std::string& type, int scheme, bool shadows, const std::function<void()>& lay,
                         int hillPiece) {
    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize(DemoGameLists());
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    g3dLightManager::SetAmbientColor(0.35f, 0.35f, 0.35f, 1.0f);
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetDirection(kSun);
    sun->SetColor(0.8f, 0.78f, 0.7f, 1.0f);
    sun->SetEnabled();

    fsAddRootDirectory(coRootTracks, DemoInData("Tracks"));
    fsAddRootDirectory(coRootEnvironments, DemoInData("Environments"));
    coPrefs::SetDefaults();
    coPrefs::SetBool(coPrefTrackShadows, true);
    coPakManager::Create();
    coCoasterDefinitionStore().SetCoasterTypeName(type);
    coPakManager::OpenCoasterPaks(envString(type.c_str()));

    coSetParkWorld(&m_park);
    coSetTrackObjectMaker(&m_maker);
    coSetTrackBuilder(&m_builder);
    coCoasterDefinitionStore().Load("Coaster.def");
    m_builder.LoadTrackDefinition("Track.def");
    m_builder.LoadSupportDefinition("Support.def");
    if (scheme >= 0) {
        fsLocator colors(coRootEnvironments);
        for (const char* component : {"Mountain", "Tracks", type.c_str(), "TrkColor.def"})
            fsAppendNativeName(colors, component);
        loadColorSchemes(colors);
        if (scheme >= coTrackColorizer::GetSchemeCount()) {
            std::fprintf(stderr, "rdemo: %s has %d colour schemes\n", type.c_str(),
                         coTrackColorizer::GetSchemeCount());
            m_failed = true;
        }
        coTrackColorizer::SelectScheme(scheme);
    }
    m_builder.CreateShadowMaterial();
    coSetShadowDirection(kSun);
    coSetShadowsEnabled(shadows ? coShadowsAlongDirection : coShadowsOff);

    m_park.flat = hillPiece < 0;
    if (!m_park.flat) {
        lay();
        m_park.hill = coCircuitPieces().at(static_cast<size_t>(hillPiece))->FrameAt(0.5f).GetTranslation();
        coCircuitClear();
    }
    lay();
    coWorldBox box{};
    m_builder.GetTrackBounds(box);
    const maVector3d centre((box[0] + box[1]) * 0.5f, 0.0f, (box[4] + box[5]) * 0.5f);
    const float size = std::max(box[1] - box[0], box[5] - box[4]);
    m_grass.SetAmbient({0.35f, 0.55f, 0.3f, 1.0f});
    m_grass.SetDiffuse({0.35f, 0.55f, 0.3f, 1.0f});
    m_ground = DemoMakeGround([this](float x, float z) { return m_park.Ground(x, z); }, centre, 80.0f, 100,
                              &m_grass);
    m_groundModel = g3dRenderer::AddStaticModel(m_ground, 0);
    m_groundModel->SetVisible(true);

    m_camera.SetFieldOfView(60.0f);
    m_camera.SetAspectRatio(static_cast<f32>(kDemoWidth) / static_cast<f32>(kDemoHeight));
    m_camera.SetClipPlanes(1.0f, 400.0f);
    m_camera.LookAt(centre + maVector3d(0.7f, 1.0f, -0.9f) * size, centre, {0, 1, 0});
    m_camera.Apply();
}

DemoCoaster::~DemoCoaster() {
    coCircuitClear();
    m_builder.FreeDefinitions();
    m_builder.DestroyShadowMaterial();
    coReleaseTrackTextures();
    coSetTrackBuilder(nullptr);
    coSetShadowsEnabled(coShadowsOff);
    coSetTrackObjectMaker(nullptr);
    coSetParkWorld(nullptr);
    g3dRenderer::RemoveModel(m_groundModel);
    g3dFragmentManager::DestroyFragment(m_ground);
    coPakManager::Destroy();
    g3dRenderer::Shutdown();
}

void DemoCoaster::HideGround() {
    m_groundModel->SetVisible(false);
}

std::vector<u32> DemoCoaster::Frame() {
    g2dScreen::Clear(kSky);
    g3dRenderer::RenderFrame(1.0f);
    std::vector<u32> picture = DemoReadBackBuffer();
    g2dScreen::EndFrame();
    return picture;
}

void DemoCoaster::Draw() {
    g2dScreen::Clear(kSky);
    g3dRenderer::RenderFrame(1.0f);
    g2dScreen::EndFrame();
}
