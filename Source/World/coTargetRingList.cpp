#include "Source/World/coTargetRingList.h"

#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chWriter.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Scene/coDetailSets.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include <cmath>
#include <map>

namespace {

constexpr int kRingPassedSound = 19;

// A glowing material: lit by itself, its diffuse alpha pulsing between two values.
struct RingLook {
    const char* texture;
    f32 from, to, duration;
};
constexpr RingLook kGreen{"ringgreen.png", 0.2f, 0.7f, 1.0f};
// Red pulses in green's colours, only faster.
constexpr RingLook kRed{"ringred.png", 0.2f, 0.7f, 0.6f};
constexpr RingLook kGold{"ringgold.png", 0.4f, 0.8f, 3.0f};

// The models, materials and textures every ring shares.
struct RingModels {
    std::vector<g3dTexture*> textures;
    std::vector<std::unique_ptr<g3dMaterial>> materials;
    g3dFragment* oneWay = nullptr;
    g3dFragment* twoWay = nullptr;
    g3dFragment* passed = nullptr;

    ~RingModels() {
        for (g3dFragment* model : {oneWay, twoWay, passed})
            g3dFragmentManager::DestroyFragment(model);
        materials.clear();
        for (g3dTexture* texture : textures)
            coReleaseTexture(texture);
    }
    g3dMaterial* Make(const RingLook& look) {
        fsLocator file(coRootEffects);
        file.AppendComponent("Texture");
        file.AppendComponent(look.texture);
        textures.push_back(coAcquireTexture(file));
        auto material = std::make_unique<g3dMaterial>();
        material->SetEmissive({1.0f, 1.0f, 1.0f, 1.0f});
        material->SetDiffuse({0.0f, 0.0f, 0.0f, 0.0f});
        material->SetAmbient({0.0f, 0.0f, 0.0f, 0.0f});
        material->SetSpecular({0.4f, 0.4f, 0.4f, 0.4f});
        material->SetSpecularPower(10.0f);
        material->AddTextureStage(textures.back(), 0);
        auto pulse = std::make_unique<an2StateAnimation<g3dARGBColor>>();
        pulse->SetStates({0.0f, 0.5f, 0.0f, look.from}, {0.0f, 0.5f, 0.0f, look.to});
        pulse->SetDuration(look.duration);
        pulse->SetLooping(true);
        pulse->SetPingPong(true);
        material->AddAnimation(
            std::make_unique<g3dMaterialAnimation>(std::move(pulse), g3dMaterialChannel::Diffuse, 0.0f));
        materials.push_back(std::move(material));
        return materials.back().get();
    }
};

// A square of 3 x 3 in the z = 0 plane, drawn from both sides: the first two triangles face +z.
g3dFragment* Square(g3dMaterial* front, g3dMaterial* back) {
    const maVector3d positions[4] = {{-1.5f, -1.5f, 0}, {-1.5f, 1.5f, 0}, {1.5f, 1.5f, 0}, {1.5f, -1.5f, 0}};
    const maVector3d normals[4] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    const maVector2d uvs[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const u16 indices[12] = {0, 2, 1, 0, 3, 2, 0, 1, 2, 0, 2, 3};
    g3dMaterial* const materials[2] = {front, back};
    const u32 starts[1] = {2};
    return g3dFragmentManager::CreateFragmentPNT2(positions, normals, uvs, 4, indices, 12, materials, starts,
                                                  front == back ? 1 : 2, false);
}

// Never destroyed: at exit the fragment and texture managers it would give back to may be gone.
std::unique_ptr<RingModels>& Models() {
    static auto* models = new std::unique_ptr<RingModels>;
    return *models;
}

RingModels& BuildModels() {
    if (!Models()) {
        auto models = std::make_unique<RingModels>();
        g3dMaterial* green = models->Make(kGreen);
        g3dMaterial* red = models->Make(kRed);
        g3dMaterial* gold = models->Make(kGold);
        models->oneWay = Square(green, red);
        models->twoWay = Square(green, green);
        models->passed = Square(gold, gold);
        Models() = std::move(models);
    }
    return *Models();
}

std::map<const coTargetRing*, std::unique_ptr<coSceneObjectSet>>& Supports() {
    static auto* supports = new std::map<const coTargetRing*, std::unique_ptr<coSceneObjectSet>>;
    return *supports;
}

// Sets registered for collision leave the registry before they go.
void DeleteSupports() {
    for (auto& [ring, set] : Supports())
        coUnregisterObjectSet(set.get());
    Supports().clear();
}

coRingRecord ReadRing(chReader& reader, u32 size) {
    chChunkBody body(reader, size);
    coRingRecord ring;
    ring.kind = body.Int8() != 0 ? 1 : 0;
    for (f32* value :
         {&ring.radius, &ring.position.x, &ring.position.y, &ring.position.z, &ring.heading, &ring.pitch}) {
        *value = body.Float();
        if (!std::isfinite(*value))
            throw chInvalidChunkX(reader.GetLocator());
    }
    return ring;
}

} // namespace

// The lists outlive the scene packages at exit, as the models do.
std::vector<std::unique_ptr<coTargetRing>>& coTargetRingList::Rings() {
    static auto* rings = new std::vector<std::unique_ptr<coTargetRing>>;
    return *rings;
}

coTargetRing& coTargetRingList::AddRing(u8 kind) {
    RingModels& models = BuildModels();
    auto ring = std::make_unique<coTargetRing>(kind);
    ring->SetModels(kind == 0 ? models.oneWay : models.twoWay, models.passed);
    Rings().push_back(std::move(ring));
    return *Rings().back();
}

const std::vector<std::unique_ptr<coTargetRing>>& coTargetRingList::GetRings() {
    return Rings();
}

std::vector<coRingRecord> coTargetRingList::ReadRecords(chReader& reader) {
    std::vector<coRingRecord> read;
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkRing)
            read.push_back(ReadRing(reader, size));
        reader.EndChunk();
    }
    return read;
}

void coTargetRingList::AddRings(const std::vector<coRingRecord>& rings) {
    for (const coRingRecord& record : rings) {
        coTargetRing& ring = AddRing(record.kind);
        ring.SetRadius(record.radius);
        ring.SetPosition(record.position);
        ring.SetHeading(record.heading);
        ring.SetPitch(record.pitch);
    }
}

void coTargetRingList::ReadRings(chReader& reader) {
    AddRings(ReadRecords(reader));
}

void coTargetRingList::WriteRings(chWriter& writer) {
    std::vector<coRingRecord> records;
    for (const auto& ring : Rings())
        records.push_back(
            {ring->GetKind(), ring->GetRadius(), ring->GetPosition(), ring->GetAngle(), ring->GetPitch()});
    coWriteRingRecords(writer, records);
}

void coTargetRingList::BuildSupports() {
    DeleteSupports();
    for (const auto& ring : Rings()) {
        auto set = std::make_unique<coSceneObjectSet>();
        coMakeTargetRingSupport({ring->GetPosition(), ring->GetRadius(), ring->GetNormal(),
                                 ring->GetRotation(), ring->GetPitch()},
                                *set);
        coRegisterObjectSet(set.get());
        Supports()[ring.get()] = std::move(set);
    }
}

bool coTargetRingList::AllPassed(bool playSound) {
    bool all = true;
    for (const auto& ring : Rings()) {
        coRingShape shape;
        shape.centre = ring->GetPosition();
        shape.normal = ring->GetNormal();
        shape.radius = ring->GetRadius();
        shape.kind = ring->GetKind();
        const bool passed = coCollisionTestRing(shape);
        if (passed && !ring->IsPassed() && playSound)
            coPlaySoundEffect(kRingPassedSound);
        ring->SetPassed(passed);
        all = all && passed;
    }
    return all;
}

void coTargetRingList::SetVisible(bool visible) {
    for (const auto& ring : Rings())
        ring->SetVisible(visible);
    for (auto& [ring, set] : Supports())
        set->SetVisible(visible);
}

void coTargetRingList::SetAllPickable(bool pickable) {
    for (const auto& ring : Rings())
        ring->SetEnabled(pickable);
}

void coTargetRingList::Clear() {
    DeleteSupports();
    Rings().clear();
    Models().reset();
}

void coWriteRingRecords(chWriter& writer, const std::vector<coRingRecord>& rings) {
    writer.BeginChunk(coChunkRingList, 0, true);
    for (const coRingRecord& ring : rings) {
        writer.BeginChunk(coChunkRing, 0, false);
        writer.WriteInt8(static_cast<i8>(ring.kind));
        for (f32 value :
             {ring.radius, ring.position.x, ring.position.y, ring.position.z, ring.heading, ring.pitch})
            writer.WriteFloat(value);
        writer.EndChunk();
    }
    writer.EndChunk();
}
