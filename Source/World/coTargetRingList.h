#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Source/World/coTargetRing.h"

#include <memory>
#include <vector>

class chWriter;

// The chunk of the target-ring list, and of one ring in it.
inline constexpr u32 coChunkRingList = chMakeId('C', 'T', 'R', 'L');
inline constexpr u32 coChunkRing = chMakeId('C', 'R', 'N', 'G');

// Target rings read from a mission and not yet in the program-wide ring list; the ring list knows what
// it holds.
class coPendingRings {
  public:
    virtual ~coPendingRings() = default;
};

// A ring as its chunk stores it; any kind but 0 reads as 1.
struct coRingRecord {
    u8 kind = 0;
    f32 radius = 10.0f;
    maVector3d position;
    f32 heading = 0.0f, pitch = 0.0f;
};

// A ring-list chunk of the rings in order.
void coWriteRingRecords(chWriter& writer, const std::vector<coRingRecord>& rings);

// Rings of a mission read and not yet added.
class coRingRecords : public coPendingRings {
  public:
    std::vector<coRingRecord> rings;
};

// The target rings of the loaded mission, in the order read, each standing on a support. The rings share
// three models (one-way and two-way idle, passed) on three glowing materials, made with the first ring.
class coTargetRingList {
  public:
    // Makes the shared models first when there are none; a ring texture that cannot be read throws.
    static coTargetRing& AddRing(u8 kind);
    static const std::vector<std::unique_ptr<coTargetRing>>& GetRings();
    // The rings of a ring-list chunk (the reader inside it): a ring whose values are not finite, or that
    // runs past its chunk, throws chInvalidChunkX and none is kept.
    static std::vector<coRingRecord> ReadRecords(chReader& reader);
    static void AddRings(const std::vector<coRingRecord>& rings);
    static void ReadRings(chReader& reader);
    static void WriteRings(chWriter& writer);
    // A support (a pole from the ground and the ring's shadow) for every ring, registered for collision.
    static void BuildSupports();
    // Tests and recolours every ring; true when all are passed (at once without rings). A ring newly
    // passed plays the passing sound when asked to.
    static bool AllPassed(bool playSound);
    static void SetVisible(bool visible);
    static void SetAllPickable(bool pickable);
    // The rings, their supports and the shared models, materials and textures go.
    static void Clear();

  private:
    static std::vector<std::unique_ptr<coTargetRing>>& Rings();
};
