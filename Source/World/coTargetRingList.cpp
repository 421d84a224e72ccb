#include "Source/World/coTargetRingList.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chWriter.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/SavedCoaster/coChunkBody.h"
#include "Source/Settings/coSoundEffects.h"

#include <cmath>

namespace {

constexpr int kRingPassedSound = 19;

struct RingValues {
    u8 kind;
    f32 radius, x, y, z, heading, pitch;
};

RingValues ReadRing(chReader& reader, u32 size) {
    coChunkBody body(reader, size);
    RingValues v{};
    v.kind = body.Int8() != 0 ? 1 : 0;
    for (f32* value : {&v.radius, &v.x, &v.y, &v.z, &v.heading, &v.pitch}) {
        *value = body.Float();
        if (!std::isfinite(*value))
            throw chInvalidChunkX(reader.GetLocator());
    }
    return v;
}

} // namespace

std::vector<std::unique_ptr<coTargetRing>>& coTargetRingList::Rings() {
    static std::vector<std::unique_ptr<coTargetRing>> rings;
    return rings;
}

coTargetRing& coTargetRingList::AddRing(u8 kind) {
    Rings().push_back(std::make_unique<coTargetRing>(kind));
    return *Rings().back();
}

const std::vector<std::unique_ptr<coTargetRing>>& coTargetRingList::GetRings() {
    return Rings();
}

void coTargetRingList::ReadRings(chReader& reader) {
    std::vector<RingValues> read;
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkRing)
            read.push_back(ReadRing(reader, size));
        reader.EndChunk();
    }
    for (const RingValues& v : read) {
        coTargetRing& ring = AddRing(v.kind);
        ring.SetRadius(v.radius);
        ring.SetPosition(maVector3d(v.x, v.y, v.z));
        ring.SetHeading(v.heading);
        ring.SetPitch(v.pitch);
    }
}

void coTargetRingList::WriteRings(chWriter& writer) {
    writer.BeginChunk(coChunkRingList, 0, true);
    for (const auto& ring : Rings()) {
        writer.BeginChunk(coChunkRing, 0, false);
        writer.WriteInt8(static_cast<i8>(ring->GetKind()));
        writer.WriteFloat(ring->GetRadius());
        writer.WriteFloat(ring->GetPosition().x);
        writer.WriteFloat(ring->GetPosition().y);
        writer.WriteFloat(ring->GetPosition().z);
        writer.WriteFloat(ring->GetAngle());
        writer.WriteFloat(ring->GetPitch());
        writer.EndChunk();
    }
    writer.EndChunk();
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

void coTargetRingList::SetAllPickable(bool pickable) {
    for (const auto& ring : Rings())
        ring->SetEnabled(pickable);
}

void coTargetRingList::Clear() {
    Rings().clear();
}
