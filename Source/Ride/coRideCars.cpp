#include "Source/Ride/coRideCars.h"
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/Sc/scParticleAttachment.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coParkWorld.h"

namespace {

constexpr u32 kCarRenderList = 2;
constexpr int kFlameRenderList = 2;
constexpr float kFlameDuration = 10'000'000.0f;
constexpr i32 kHeadlightSize = 256;

fsLocator ThemeFolder() {
    fsLocator folder(coRootThemes);
    fsAppendNativeName(folder, coGetThemeName());
    return folder;
}

fsLocator ModelFolder() {
    fsLocator folder = ThemeFolder();
    folder.AppendComponent("Tracks");
    fsAppendNativeName(folder, coGetCoasterDefinition().GetCoasterTypeName());
    folder.AppendComponent("Model");
    return folder;
}

fsLocator TextureFolder() {
    fsLocator folder = ThemeFolder();
    folder.AppendComponent("Texture");
    return folder;
}

fsLocator In(const fsLocator& folder, const char* name) {
    fsLocator file = folder;
    file.AppendComponent(name);
    return file;
}

// A holder that loaded no model would leave a car object showing nothing: treated as a damaged file.
std::unique_ptr<coModelHolder> LoadCarModel(const fsLocator& file, const fsLocator& textureFolder) {
    std::unique_ptr<coModelHolder> holder = coLoadModelHolder(file, textureFolder, false);
    if (holder->GetModelCount() == 0 || !holder->GetModel(0))
        throw gfInvalidFileBinX(file);
    return holder;
}

std::unique_ptr<coRideCars> g_cars;

} // namespace

coRideCars::coRideCars(void (*reportFailure)()) : m_reportFailure(reportFailure) {
    m_headlightMaterial.SetAmbient({0.0f, 0.0f, 0.0f, 1.0f});
    m_headlightMaterial.SetDiffuse({0.0f, 0.0f, 0.0f, 1.0f});
    m_headlightMaterial.SetSpecular({0.0f, 0.0f, 0.0f, 1.0f});
    m_headlightMaterial.SetEmissive({0.3f, 0.3f, 0.3f, 1.0f});
}

coRideCars::~coRideCars() {
    FreeCars();
}

bool coRideCars::LoadModels() {
    const fsLocator folder = ModelFolder(), textures = TextureFolder();
    const fsLocator lead = In(folder, "carlead.mx"), follower = In(folder, "carfoll.mx");
    try {
        m_lead = LoadCarModel(lead, textures);
        m_follower = LoadCarModel(follower, textures);
        return true;
    } catch (const envExceptionX&) {
        m_lead.reset();
        m_reportFailure();
        return false;
    }
}

void coRideCars::AddCar(const coModelHolder& holder) {
    auto car = std::make_unique<scSimpleMovableObject>(holder.GetModel(0), kCarRenderList);
    scAddToUpdateList(car.get());
    m_cars.push_back(std::move(car));
}

void coRideCars::BuildCars(int trainCount, int carsPerTrain) {
    FreeCars();
    // One load serves every train: a holder replaced by a later train would destroy the fragments the
    // earlier trains' cars still show.
    if (trainCount <= 0 || carsPerTrain <= 0 || !LoadModels())
        return;
    for (int train = 0; train < trainCount; ++train) {
        AddCar(*m_lead);
        for (int car = 1; car < carsPerTrain; ++car)
            AddCar(*m_follower);
    }
    if (coPrefs::GetSessionFlag(coSessionCarFlames))
        AddFlames();
}

void coRideCars::AddFlames() {
    fsLocator file(coRootEffects);
    file.AppendComponent("Particle");
    file.AppendComponent("coasterflame.tpr");
    fsLocator found;
    if (!fsFindInRootDirectories(file, found))
        return;
    // Flames are decoration: a damaged template or a missing sprite is reported and the cars run bare.
    auto flame = std::make_unique<scParticleGeneratorTemplate>();
    try {
        scLoadParticleGeneratorTemplate(file, *flame);
        if (flame->textureFile.GetComponentCount() > 0) {
            const envString name = flame->textureFile.GetLastComponent();
            flame->textureFile = TextureFolder();
            flame->textureFile.AppendComponent(name);
            flame->LoadTexture();
        }
    } catch (const envExceptionX&) {
        m_reportFailure();
        return;
    }
    m_flameTemplate = std::move(flame);
    for (const auto& car : m_cars) {
        scSpriteGroupParticleGenerator* generator =
            scCreateParticleGenerator(*m_flameTemplate, appClock::GetTime(), kFlameRenderList);
        generator->SetDuration(kFlameDuration);
        generator->SetEmitOffset({0.0f, 3.0f, 2.0f});
        generator->SetEmitDirection({0.0f, 1.0f, -1.0f});
        generator->SetVisible(true);
        auto* attachment = new scParticleAttachment;
        attachment->SetGenerator(generator);
        scAttachToNode(attachment, car.get(), nullptr);
        m_flames.push_back(generator);
    }
}

void coRideCars::FreeCars() {
    for (scSpriteGroupParticleGenerator* flame : m_flames)
        scDeleteObject(flame);
    m_flames.clear();
    for (const auto& car : m_cars)
        scRemoveFromUpdateList(car.get());
    m_cars.clear();
    ReleaseHeadlightTexture();
    m_flameTemplate.reset();
    m_lead.reset();
    m_follower.reset();
}

void coRideCars::SetCarsVisible(bool visible) {
    for (const auto& car : m_cars)
        car->SetVisible(visible);
}

void coRideCars::PlaceCar(int index, const maVector3d& position, const maRotation& rotation) {
    m_cars.at(static_cast<size_t>(index))->SetPositionRotation(position, rotation);
}

void coRideCars::ReleaseHeadlightTexture() {
    if (!m_headlightTexture)
        return;
    // Receivers culled at the last cast still hold the texture in their projected stage.
    scClearProjectedTexture();
    g3dTextureManager::ReleaseTexture(m_headlightTexture);
    m_headlightTexture = nullptr;
}

namespace {

bool InLitCavern() {
    const coParkWorld& world = coGetParkWorld();
    return coGetCoasterDefinition().GetNeedsShadow() && world.GetEnvironmentShadowsOn() &&
           world.GetEnvironmentName() == "cavern";
}

} // namespace

coCavernHeadlight coRideCars::RenderCavernHeadlight() {
    if (m_cars.empty() || !InLitCavern())
        return {};
    if (coPrefs::GetBool(coPrefCarShadows) && coPrefs::GetBool(coPrefTrackShadows)) {
        // The texture manager makes render targets again after a device reset, so one held stays valid.
        if (!m_headlightTexture)
            m_headlightTexture = g3dTextureManager::CreateRenderTarget(kHeadlightSize, kHeadlightSize,
                                                                       *g2dScreen::GetPixelFormat());
    } else {
        ReleaseHeadlightTexture();
    }
    const maBoundingBox& first = m_cars.front()->GetBoundingBox();
    const maBoundingBox& last = m_cars.back()->GetBoundingBox();
    const maVector3d a = first.GetCenter(), b = last.GetCenter();
    coCavernHeadlight light;
    light.cars = &m_cars;
    light.camera = &m_headlightCamera;
    light.material = &m_headlightMaterial;
    light.texture = m_headlightTexture;
    light.centre = (a + b) * 0.5f;
    light.radius = ((first.GetMax() - first.GetMin()).Length() * 0.5f + (b - a).Length() +
                    (last.GetMax() - last.GetMin()).Length() * 0.5f) *
                   0.5f;
    return light;
}

void coStartRideCars(void (*reportFailure)()) {
    if (g_cars)
        return;
    g_cars = std::make_unique<coRideCars>(reportFailure);
    coSetRideCarScene(g_cars.get());
}

void coStopRideCars() {
    coSetRideCarScene(nullptr);
    g_cars.reset();
}

coCavernHeadlight coRenderCavernHeadlight() {
    return g_cars ? g_cars->RenderCavernHeadlight() : coCavernHeadlight();
}

bool coCavernHeadlightShown() {
    return InLitCavern() && coPrefs::GetBool(coPrefCarShadows) && coPrefs::GetBool(coPrefTrackShadows);
}
