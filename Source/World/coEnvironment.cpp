#include "Source/World/coEnvironment.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/An/anKeyAnimation.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coNamedFile.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/TrackGeom/coTrackShadows.h"
#include "Source/World/coLFVisCompute.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"
#include "Source/World/coTrackProp.h"

#include <climits>
#include <cmath>

namespace {

constexpr u32 kRenderList = 0;
constexpr u32 kFlareElementList = 3;

coTerrain g_terrain;

fsLocator Child(const fsLocator& folder, const char* name) {
    fsLocator child = folder;
    child.AppendComponent(name);
    return child;
}

fsLocator Child(const fsLocator& folder, const envString& name) {
    fsLocator child = folder;
    child.AppendComponent(name);
    return child;
}

// Keeps the first file the enumeration offers and stops it.
class FindEnvFile : public fsFileEnum::EnumTarget {
  public:
    bool OnEntry(const fsLocator& directory, const fsLocator& entry) override {
        found = directory;
        found.AppendComponents(entry);
        any = true;
        return false;
    }
    fsLocator found;
    bool any = false;
};

// "Cavern" in any case.
bool IsCavern(const envString& name) {
    const char* cavern = "cavern";
    if (name.GetLength() != 6)
        return false;
    for (u32 i = 0; i < 6; ++i) {
        const char16_t c = name[i];
        if ((c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c) != cavern[i])
            return false;
    }
    return true;
}

g3dARGBColor Scaled(const g3dARGBColor& c, f32 s) {
    return {c.r * s, c.g * s, c.b * s, c.a};
}

} // namespace

u8 coColorByte(f32 component) {
    if (!(component > 0.0f))
        return 0;
    return component >= 1.0f ? 255 : static_cast<u8>(component * 255.0f);
}

i32 coFogDistance(f32 distance, i32 fallback) {
    if (!std::isfinite(distance) || distance >= 2147483648.0f || distance < -2147483648.0f)
        return fallback;
    return static_cast<i32>(distance);
}

void coAnimateCavernMaterial(g3dMaterial& material, f32 startTime) {
    auto slide = std::make_unique<an2StateAnimation<maVector2d>>();
    slide->SetStates(maVector2d(0.0f, 0.0f), maVector2d(2.0f, 0.0f));
    slide->SetDuration(90.0f);
    slide->SetLooping(true);
    material.AddAnimation(
        std::make_unique<g3dMaterialAnimation>(std::move(slide), g3dMaterialChannel::StageOffset, startTime));

    auto glow = std::make_unique<anKeyAnimation<g3dARGBColor>>();
    const std::pair<f32, g3dARGBColor> keys[] = {{0.0f, {0.9f, 0.5f, 0.5f, 1.0f}},
                                                 {3.0f, {0.9f, 0.7f, 0.5f, 1.0f}},
                                                 {5.5f, {0.9f, 0.6f, 0.3f, 1.0f}},
                                                 {7.4f, {0.6f, 0.6f, 0.5f, 1.0f}},
                                                 {9.1f, {0.9f, 0.7f, 0.5f, 1.0f}}};
    for (const auto& [time, colour] : keys)
        glow->AddKey(time, colour);
    glow->SetDuration(9.1f);
    glow->SetLooping(true);
    glow->SetPingPong(true);
    material.AddAnimation(
        std::make_unique<g3dMaterialAnimation>(std::move(glow), g3dMaterialChannel::Ambient, startTime));
}

fsLocator coEnvironment::FindFile(const fsLocator& dataFolder, i32 variant) {
    envString name;
    name.AppendChar(static_cast<char16_t>(u'1' + variant));
    name.Append(".end");
    for (const envString& filter : {name, envString(".end")}) {
        FindEnvFile target;
        fsEnumerateFiles(dataFolder, target, &filter);
        if (target.any)
            return target.found;
    }
    throw fsFileDoesntExistX(Child(dataFolder, "*.end"));
}

void coEnvironment::ReadRecords(const fsLocator& file) {
    std::vector<coEnvLightInfo> points, directionals;
    maVector3d ambient, background, start;
    envString terrain, extra;
    coEnvSkyInfo sky;
    coEnvGridInfo grid;
    coEnvFogInfo fog;
    coEnvLensFlareInfo flare;
    i32 shadowMode = 1;
    coReadEnvironmentFile(file, points, directionals, ambient, terrain, extra, start, sky, grid, background,
                          fog, flare, shadowMode);
    // Without a terrain model the file names no park: the model folder itself would be opened.
    if (terrain.GetLength() == 0)
        throw chInvalidChunkX(file);
    m_pointLights = std::move(points);
    m_directionalLights = std::move(directionals);
    m_ambient = ambient;
    m_startPosition = start;
    m_sky = sky;
    m_grid = grid;
    m_fog = fog;
    m_lensFlare = std::move(flare);
    m_shadowMode = shadowMode;
    m_background[0] = coColorByte(background.x);
    m_background[1] = coColorByte(background.y);
    m_background[2] = coColorByte(background.z);
    m_terrainModel = terrain;
    m_extraTerrainModel = extra;
}

void coEnvironment::Load(const envString& name) {
    m_folder = coPaths::FindRootDirectory(coRootEnvironments, name);
    const fsLocator file = FindFile(Child(m_folder, "Data"), m_variant);
    m_name = name;
    ReadRecords(file);
    coSetParkWorld(&g_terrain);
    coSetCollisionPark(&g_terrain);

    const fsLocator models = Child(m_folder, "Model");
    const fsLocator textures = Child(m_folder, "Texture");
    // The models are named in the environment file: a damaged name there reads as a missing model.
    const auto loadTerrain = [&](const envString& name, mayModelParts& parts) {
        const fsLocator model = Child(models, name);
        coLoadNamedFile(model, file, [&] { coLoadStaticModel(model, textures, parts, &m_tree); });
    };
    mayModelParts terrain;
    loadTerrain(m_terrainModel, terrain);
    AddTerrainModels(terrain);
    if (m_extraTerrainModel.GetLength() > 0) {
        mayModelParts extra;
        loadTerrain(m_extraTerrainModel, extra);
        if (IsCavern(m_name) && !extra.materials.empty())
            coAnimateCavernMaterial(*extra.materials.front().material, static_cast<f32>(appGetTime()));
        AddTerrainModels(extra);
    }
    m_tree.Build();
    const auto addSky = [&](const envString& name, std::vector<scSimpleMovableObject*>& layer) {
        const fsLocator model = Child(models, name);
        coLoadNamedFile(model, file, [&] { AddSkyLayer(model, textures, layer); });
    };
    if (m_sky.layer1Model.GetLength() > 0)
        addSky(m_sky.layer1Model, m_sky1);
    if (m_sky.layer2Model.GetLength() > 0 && coPrefs::GetBool(coPrefLayeredSky))
        addSky(m_sky.layer2Model, m_sky2);
    for (const auto& material : m_materials)
        if (!m_toUntextured.count(material.get()))
            MakeUntexturedMaterial(*material);
    ApplyLighting(textures);

    coPlacementGrid& grid = coGetPlacementGrid();
    grid.Build(m_grid.minX, m_grid.maxX, m_grid.minZ, m_grid.maxZ, m_grid.cellsX, m_grid.cellsZ);
    grid.MarkSteepCells(m_grid.height);
}

void coEnvironment::SelectVariant(i32 index) {
    m_variant = index;
    if (m_objects.empty())
        return;
    ReadRecords(FindFile(Child(m_folder, "Data"), m_variant));
    ApplyLighting(Child(m_folder, "Texture"));
}

void coEnvironment::ApplyLighting(const fsLocator& textureFolder) {
    SetupLights();
    SetupFog();
    coSetShadowsEnabled(m_shadowMode);
    SetupLensFlare(textureFolder);
}

void coEnvironment::Keep(mayModelParts& parts) {
    m_models.insert(m_models.end(), parts.fragments.begin(), parts.fragments.end());
    for (mayMaterialRecord& record : parts.materials)
        m_materials.push_back(std::move(record.material));
    m_textures.insert(m_textures.end(), parts.textures.begin(), parts.textures.end());
    parts = {};
}

// The lists take the parts first, so that Clear gives them back should making an object throw.
void coEnvironment::AddTerrainModels(mayModelParts& parts) {
    const std::vector<g3dFragment*> models = parts.fragments;
    Keep(parts);
    m_terrainModels.insert(m_terrainModels.end(), models.begin(), models.end());
    for (g3dFragment* model : models) {
        bool transparent = false;
        for (u32 i = 0; i < model->GetMaterialCount(); ++i)
            transparent = transparent || (model->GetMaterial(i) && model->GetMaterial(i)->IsTransparent());
        std::unique_ptr<scObject> object;
        if (transparent)
            object = std::make_unique<scSimpleMovableObject>(model, kRenderList);
        else
            object = std::make_unique<scStaticObject>(model, kRenderList);
        object->SetVisible(true);
        scAddToUpdateList(object.get());
        // The ground receives what a projector casts (the cavern's headlight); the object's end takes
        // it off the list again.
        scAddSceneObject(object.get());
        m_objects.push_back(std::move(object));
    }
}

void coEnvironment::AddSkyLayer(const fsLocator& file, const fsLocator& textures,
                                std::vector<scSimpleMovableObject*>& layer) {
    mayModelParts parts;
    coLoadStaticModel(file, textures, parts, nullptr);
    const std::vector<g3dFragment*> models = parts.fragments;
    Keep(parts);
    for (g3dFragment* model : models) {
        auto object = std::make_unique<scSimpleMovableObject>(model, kRenderList);
        object->SetVisible(true);
        scAddToUpdateList(object.get());
        layer.push_back(object.get());
        m_objects.push_back(std::move(object));
    }
}

void coEnvironment::MakeUntexturedMaterial(g3dMaterial& source) {
    auto copy = std::make_unique<g3dMaterial>();
    copy->SetAmbient(Scaled(source.GetAmbient(), 0.4f));
    copy->SetDiffuse(Scaled(source.GetDiffuse(), 0.6f));
    copy->SetSpecular(Scaled(source.GetSpecular(), 0.6f));
    copy->SetSpecularEnable(source.IsSpecularEnabled());
    copy->SetSpecularPower(source.GetSpecularPower());
    m_toUntextured[&source] = copy.get();
    m_toTextured[copy.get()] = &source;
    m_untextured.push_back(std::move(copy));
}

g3dMaterial* coEnvironment::GetUntexturedCopy(g3dMaterial* source) const {
    const auto it = m_toUntextured.find(source);
    return it == m_toUntextured.end() ? nullptr : it->second;
}

void coEnvironment::SwapMaterials(const std::map<g3dMaterial*, g3dMaterial*>& swap) {
    for (g3dFragment* model : m_terrainModels)
        for (u32 i = 0; i < model->GetMaterialCount(); ++i) {
            const auto it = swap.find(model->GetMaterial(i));
            if (it != swap.end())
                model->SetMaterial(it->second, i);
        }
}

void coEnvironment::ShowUntextured() {
    SwapMaterials(m_toUntextured);
}

void coEnvironment::ShowTextured() {
    SwapMaterials(m_toTextured);
}

void coEnvironment::SetVisible(bool visible) {
    for (const auto& object : m_objects)
        object->SetVisible(visible);
}

void coEnvironment::SetupLights() {
    for (g3dLight* light : m_lights)
        g3dLightManager::RemoveLight(light);
    m_lights.clear();
    for (const coEnvLightInfo& info : m_pointLights) {
        g3dPointLight* light = g3dLightManager::CreatePointLight();
        light->SetColor(info.red, info.green, info.blue, 0.0f);
        light->SetConstantAttenuation(1.0f);
        light->SetLinearAttenuation(0.0f);
        light->SetQuadraticAttenuation(0.0f);
        light->SetPosition({info.x, info.y, info.z});
        light->SetEnabled(true);
        m_lights.push_back(light);
    }
    for (const coEnvLightInfo& info : m_directionalLights) {
        g3dDirectionalLight* light = g3dLightManager::CreateDirectionalLight();
        light->SetColor(info.red, info.green, info.blue, 0.0f);
        light->SetDirection({info.x, info.y, info.z});
        light->SetEnabled(true);
        m_lights.push_back(light);
    }
    g3dLightManager::SetAmbientColor(m_ambient.x, m_ambient.y, m_ambient.z, 0.0f);
}

void coEnvironment::SetupFog() const {
    if (m_fog.mode == 0) {
        g3dRenderer::SetFogMode(0);
        return;
    }
    g3dRenderer::SetFogColor({m_fog.red, m_fog.green, m_fog.blue, 1.0f});
    switch (m_fog.mode) {
    case 1:
        g3dRenderer::SetFogStart(coFogDistance(m_fog.start, 1));
        g3dRenderer::SetFogEnd(coFogDistance(m_fog.end, 50));
        g3dRenderer::SetFogMode(3);
        break;
    case 2:
        g3dRenderer::SetFogDensity(m_fog.density);
        g3dRenderer::SetFogMode(1);
        break;
    case 3:
        g3dRenderer::SetFogDensity(m_fog.density);
        g3dRenderer::SetFogMode(2);
        break;
    default:
        break; // an unknown mode keeps the renderer's, in the new colour
    }
}

void coEnvironment::SetupLensFlare(const fsLocator& textureFolder) const {
    scDeleteAllLensFlares();
    coSetShadowDirection({0.0f, -1.0f, 0.0f});
    if (m_lensFlare.elements.empty())
        return;
    const maVector3d& sun = m_lensFlare.sun;
    auto flare = std::make_unique<scLensFlare>();
    flare->SetSourcePosition(sun);
    // A sun at the origin or not finite gives no direction to cast shadows along.
    const bool usable = std::isfinite(sun.x) && std::isfinite(sun.y) && std::isfinite(sun.z) &&
                        (sun.x != 0.0f || sun.y != 0.0f || sun.z != 0.0f);
    if (m_shadowMode == 2 && usable)
        coSetShadowDirection({-sun.x, -sun.y, -sun.z});
    flare->SetSizeScale(0.75f);
    flare->SetMaximumSize(0.5f);
    // The flare package owns the test and the loader; installing new ones frees the old.
    scSetLFVisCompute(std::make_unique<coLFVisCompute>());
    scSetLensFlareTextureLoader(std::make_unique<coTextureLoader>(textureFolder));
    for (const coEnvFlareElement& info : m_lensFlare.elements) {
        auto element = std::make_unique<scLensFlareElement>(kFlareElementList);
        scLensFlareElement& placed = *element;
        flare->AddElement(std::move(element));
        placed.SetTexture(info.texture);
        placed.SetAxisPosition(info.offset);
        placed.SetSize(info.scale);
    }
    scAddLensFlare(std::move(flare));
}

void coEnvironment::UpdateSky(const maVector3d& camera, f32 time) {
    if (m_sky.staticSky)
        return;
    const maVector3d position(camera.x, m_sky.flatSky ? 0.0f : camera.y, camera.z);
    const auto turn = [&](const std::vector<scSimpleMovableObject*>& layer, f32 rate) {
        const maRotation rotation(maVector3d(0.0f, 1.0f, 0.0f), rate * time);
        for (scSimpleMovableObject* object : layer)
            object->SetPositionRotation(position, rotation);
    };
    turn(m_sky1, m_sky.layer1Rate);
    turn(m_sky2, m_sky.layer2Rate);
}

void coEnvironment::Clear() {
    // Nothing is loaded any more: the next builder entry loads the same environment again.
    m_name = envString();
    for (auto& object : m_objects)
        scRemoveFromUpdateList(object.get());
    m_objects.clear();
    m_sky1.clear();
    m_sky2.clear();
    for (g3dFragment* model : m_models)
        g3dFragmentManager::DestroyFragment(model);
    m_models.clear();
    m_terrainModels.clear();
    m_materials.clear();
    m_untextured.clear();
    m_toUntextured.clear();
    m_toTextured.clear();
    for (g3dTexture* texture : m_textures)
        coReleaseTexture(texture);
    m_textures.clear();
    for (g3dLight* light : m_lights)
        g3dLightManager::RemoveLight(light);
    m_lights.clear();
    m_tree.Clear();
    // The flares hold textures through the loader: both go before it.
    scDeleteAllLensFlares();
    scSetLFVisCompute(nullptr);
    scSetLensFlareTextureLoader(nullptr);
}

maBoundingBox coEnvironment::GetCollisionBounds() const {
    return m_tree.GetTriangleCount() > 0 ? m_tree.GetBounds() : maBoundingBox();
}

bool coEnvironment::IntersectSegmentRaw(const maVector3d& p0, const maVector3d& p1, geoKDTreeHit& hit) const {
    return m_tree.IntersectSegment(p0, p1, hit);
}

void coEnvironment::QueryTriangles(const maVector3d& boxMin, const maVector3d& boxMax,
                                   std::vector<maVector3d>& points) const {
    m_tree.GetTrianglesInBox(boxMin, boxMax, points);
}

// Never destroyed: the scene and light packages it would give back to may be gone at exit.
coEnvironment& coGetEnvironment() {
    static auto* environment = new coEnvironment;
    return *environment;
}

bool coTerrain::GetHeightAt(float x, float z, float& height) const {
    maVector3d hit;
    if (!IntersectSegment({x, 2000.0f, z}, {x, -500.0f, z}, hit))
        return false;
    height = hit.y;
    return true;
}

bool coTerrain::IntersectSegment(const maVector3d& p0, const maVector3d& p1, maVector3d& point) const {
    geoKDTreeHit hit;
    if (!coGetEnvironment().IntersectSegmentRaw(p0, p1, hit) || !hit.found)
        return false;
    point = hit.point;
    return true;
}

std::string coTerrain::GetEnvironmentName() const {
    return envStringToNarrow(coGetEnvironment().GetName());
}

bool coTerrain::GetEnvironmentShadowsOn() const {
    return coGetShadowsEnabled() != coShadowsOff;
}

maVector3d coTerrain::GetStartPosition() const {
    return coGetEnvironment().GetStartPosition();
}

void coTerrain::TrianglesInBox(const maVector3d& boxMin, const maVector3d& boxMax,
                               std::vector<maVector3d>& points) const {
    points.clear();
    coGetEnvironment().QueryTriangles(boxMin, boxMax, points);
}

maBoundingBox coTerrain::GetCollisionBounds() const {
    return coGetEnvironment().GetCollisionBounds();
}

coLoadingDock* coTerrain::GetDock() const {
    return coGetDock();
}

void coTerrain::CircuitStartMoved(const coCoasterPiece& first) {
    if (coLoadingDock* dock = coGetDock())
        dock->FollowPiece(first);
}

bool coTerrain::GetDock(maBoundingBox& world, coOrientedBox& box) const {
    const coLoadingDock* dock = coGetDock();
    if (!dock)
        return false;
    world = dock->GetBounds();
    box = {dock->GetLocalBounds(), dock->GetLocalToWorld()};
    return true;
}

void coTerrain::FindPropsInBox(const maBoundingBox& box, std::vector<coCollisionProp>& props) const {
    props.clear();
    std::vector<coProp*> found;
    coPropList::FindInBox(box, found);
    for (const coProp* prop : found)
        props.push_back({{prop->GetLocalBounds(), prop->GetTransform()},
                         dynamic_cast<const coTrackProp*>(prop) != nullptr});
}

float coTerrain::GetGridMinX() const {
    return coGetPlacementGrid().GetMinX();
}
float coTerrain::GetGridMaxX() const {
    return coGetPlacementGrid().GetMaxX();
}
float coTerrain::GetGridMinZ() const {
    return coGetPlacementGrid().GetMinZ();
}
float coTerrain::GetGridMaxZ() const {
    return coGetPlacementGrid().GetMaxZ();
}
bool coTerrain::IsBoxFree(const maBoundingBox& box) const {
    return coGetPlacementGrid().IsBoxFree(box);
}

void coTerrain::RemoveTrackPropsOnPiece(coCoasterPiece* piece) {
    coPropList::RemoveTrackPropsOnPiece(piece);
}

void coTerrain::MoveTrackProps(coCoasterPiece* from, coCoasterPiece* to) {
    coPropList::MoveTrackProps(from, to);
}

void coTerrain::PlaceAllTrackProps() {
    coPropList::PlaceAllTrackProps();
}
