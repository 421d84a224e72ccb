#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Geo/geoKDTree.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Track/coParkWorld.h"
#include "Source/World/coEnvironmentFile.h"

#include <map>
#include <memory>
#include <vector>

class g3dFragment;
struct mayModelParts;
class g3dLight;
class g3dMaterial;
class g3dTexture;
class scObject;
class scSimpleMovableObject;

// The byte of a colour component: 0..1 scaled to 0..255, anything beyond clamped and NaN black.
u8 coColorByte(f32 component);
// A fog distance truncated to whole units; one that is not finite or past the int range takes fallback.
i32 coFogDistance(f32 distance, i32 fallback);

// The cavern's glow: the first stage's texture slides 2 across in 90 s, and the ambient colour swings
// through its keys and back, both from the start time.
void coAnimateCavernMaterial(g3dMaterial& material, f32 startTime);

// The park's environment: its terrain, extra terrain and sky layers as scene objects, its lights, fog,
// background colour, shadow mode and sun flare, and the terrain's collision tree. Load does not clear:
// the caller clears first, and what a failed Load added stays until Clear.
class coEnvironment {
  public:
    static constexpr f32 kFarClipDistance = 3500.0f;

    coEnvironment() = default;
    coEnvironment(const coEnvironment&) = delete;
    coEnvironment& operator=(const coEnvironment&) = delete;

    // Loads the environment of that name from the environments root, in the current variant.
    void Load(const envString& name);
    // Stores the variant and, when an environment is loaded, re-applies its variant's lights, background,
    // fog, shadow mode and flare; models, sky and grid stay.
    void SelectVariant(i32 index);
    void Clear();

    // The variant file in the data folder: the first name holding the variant's digit and ".end", else
    // the first holding ".end"; none throws fsFileDoesntExistX for the folder plus "*.end".
    static fsLocator FindFile(const fsLocator& dataFolder, i32 variant);

    i32 GetIndex() const { return m_variant; }
    const envString& GetName() const { return m_name; }
    const maVector3d& GetStartPosition() const { return m_startPosition; }
    f32 GetFarClipDistance() const { return kFarClipDistance; }
    const u8* GetBackgroundColor() const { return m_background; }
    i32 GetShadowMode() const { return m_shadowMode; }
    const coEnvFogInfo& GetFog() const { return m_fog; }
    const coEnvLensFlareInfo& GetLensFlare() const { return m_lensFlare; }

    // Empty without terrain.
    maBoundingBox GetCollisionBounds() const;
    bool IntersectSegmentRaw(const maVector3d& p0, const maVector3d& p1, geoKDTreeHit& hit) const;
    void QueryTriangles(const maVector3d& boxMin, const maVector3d& boxMax,
                        std::vector<maVector3d>& points) const;

    // Turns the sky layers by rate times time about y, following the camera unless the sky is static.
    void UpdateSky(const maVector3d& camera, f32 time);
    // The terrain's materials swapped for their untextured copies, or back; the sky keeps its own.
    void ShowUntextured();
    void ShowTextured();
    void SetVisible(bool visible);

    size_t GetObjectCount() const { return m_objects.size(); }
    const std::vector<g3dFragment*>& GetModels() const { return m_models; }
    size_t GetLightCount() const { return m_lights.size(); }
    const std::vector<scSimpleMovableObject*>& GetSkyLayer(int layer) const {
        return layer == 1 ? m_sky1 : m_sky2;
    }
    g3dMaterial* GetUntexturedCopy(g3dMaterial* source) const;

  private:
    void ReadRecords(const fsLocator& file);
    void AddTerrainModels(mayModelParts& parts);
    void AddSkyLayer(const fsLocator& file, const fsLocator& textures,
                     std::vector<scSimpleMovableObject*>& layer);
    void Keep(mayModelParts& parts);
    void MakeUntexturedMaterial(g3dMaterial& source);
    void ApplyLighting(const fsLocator& textureFolder);
    void SetupLights();
    void SetupFog() const;
    void SetupLensFlare(const fsLocator& textureFolder) const;
    void SwapMaterials(const std::map<g3dMaterial*, g3dMaterial*>& swap);

    envString m_name;
    fsLocator m_folder;
    i32 m_variant = 0;
    envString m_terrainModel, m_extraTerrainModel;
    coEnvSkyInfo m_sky;
    maVector3d m_startPosition{0.0f, 2.0f, 0.0f};
    std::vector<coEnvLightInfo> m_pointLights, m_directionalLights;
    maVector3d m_ambient;
    coEnvGridInfo m_grid;
    coEnvFogInfo m_fog;
    coEnvLensFlareInfo m_lensFlare;
    i32 m_shadowMode = 1;
    u8 m_background[3] = {0, 0, 0};

    geoKDTree m_tree;
    std::vector<g3dFragment*> m_models;
    std::vector<g3dFragment*> m_terrainModels;
    std::vector<std::unique_ptr<g3dMaterial>> m_materials;
    std::vector<g3dTexture*> m_textures;
    std::vector<std::unique_ptr<scObject>> m_objects;
    std::vector<scSimpleMovableObject*> m_sky1, m_sky2;
    std::vector<std::unique_ptr<g3dMaterial>> m_untextured;
    std::map<g3dMaterial*, g3dMaterial*> m_toUntextured, m_toTextured;
    std::vector<g3dLight*> m_lights;
};

coEnvironment& coGetEnvironment();

// The park seams answered by the environment: terrain heights, segments and triangles, its name and start
// position, the placement grid's bounds and answer, the dock and the placed props.
class coTerrain : public coParkWorld, public coCollisionPark {
  public:
    // Casts from (x, 2000, z) down to (x, -500, z).
    bool GetHeightAt(float x, float z, float& height) const override;
    bool IntersectSegment(const maVector3d& p0, const maVector3d& p1, maVector3d& point) const override;
    std::string GetEnvironmentName() const override;
    // Any shadow mode but off counts as on.
    bool GetEnvironmentShadowsOn() const override;
    maVector3d GetStartPosition() const override;
    void TrianglesInBox(const maVector3d& boxMin, const maVector3d& boxMax,
                        std::vector<maVector3d>& points) const override;
    maBoundingBox GetCollisionBounds() const override;
    // Both seams ask the placement grid.
    float GetGridMinX() const override;
    float GetGridMaxX() const override;
    float GetGridMinZ() const override;
    float GetGridMaxZ() const override;
    bool IsBoxFree(const maBoundingBox& box) const override;
    coLoadingDock* GetDock() const override;
    void CircuitStartMoved(const coCoasterPiece& first) override;
    bool GetDock(maBoundingBox& world, coOrientedBox& box) const override;
    // The placed props, each as its model box and transform.
    void FindPropsInBox(const maBoundingBox& box, std::vector<coCollisionProp>& props) const override;
    void RemoveTrackPropsOnPiece(coCoasterPiece* piece) override;
    void MoveTrackProps(coCoasterPiece* from, coCoasterPiece* to) override;
    void PlaceAllTrackProps() override;
};
