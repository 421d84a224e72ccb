#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/World/coTargetRingList.h"

#include <memory>
#include <vector>

class chWriter;
class coPendingProps;
class coProp;

// What the missions ask of the park world: the props that objectives and locks name, and the target
// rings. By default the props are the prop list's and the rings the ring list's.
class coMissionWorld {
  public:
    virtual ~coMissionWorld() = default;

    // The props of a prop chunk as read, in file order. Placing them keeps the same objects, so pointers
    // taken here stay good once the coaster is built.
    virtual void ListProps(coPendingProps&, std::vector<coProp*>& props) const;
    virtual maVector3d GetPropPosition(const coProp*) const;
    // The display name of the prop's template.
    virtual envString GetPropName(const coProp*) const;
    // The name of an animation event of the prop's template; empty for a number outside its list.
    virtual envString GetPropEventName(const coProp* prop, int event) const;
    virtual int GetPropActiveEvent(const coProp*) const;
    // Whether the ride records when the train passes the prop.
    virtual void SetPropOrderTracked(coProp*, bool);

    // The rings of a ring-list chunk (the reader inside it), not yet added.
    virtual std::unique_ptr<coPendingRings> ReadRings(chReader& reader) const;
    virtual void AddRings(coPendingRings& rings);
    // The ring list as one ring-list chunk.
    virtual void WriteRings(chWriter& writer) const;
    // Makes the supports of every ring after a load.
    virtual void PrepareRings();
    // Whether the train has passed every ring (recolouring the passed ones); true without rings.
    virtual bool AllRingsPassed();
};

coMissionWorld& coGetMissionWorld();
// Not owned; null restores the defaults. A seam for tests and the mission tool: the game keeps the
// defaults, which ask the prop and ring lists.
void coSetMissionWorld(coMissionWorld* world);
