#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Source/World/coTargetRing.h"

#include <memory>
#include <vector>

class chWriter;

inline constexpr u32 coChunkRing = chMakeId('C', 'R', 'N', 'G');

// The target rings of the loaded mission, in the order read.
class coTargetRingList {
  public:
    static coTargetRing& AddRing(u8 kind);
    static const std::vector<std::unique_ptr<coTargetRing>>& GetRings();
    // The rings of a ring-list chunk (the reader inside it), added only once all are read: a ring whose
    // values are not finite, or that runs past its chunk, throws chInvalidChunkX and adds none.
    static void ReadRings(chReader& reader);
    static void WriteRings(chWriter& writer);
    // Tests and recolours every ring; true when all are passed (at once without rings). A ring newly
    // passed plays the passing sound when asked to.
    static bool AllPassed(bool playSound);
    static void SetAllPickable(bool pickable);
    static void Clear();

  private:
    static std::vector<std::unique_ptr<coTargetRing>>& Rings();
};
