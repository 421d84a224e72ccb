#include "Source/Career/coMissionWorld.h"

#include "Source/Settings/coSeam.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropAnimation.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coTargetRingList.h"

namespace {

coMissionWorld g_defaultWorld;
constinit coSeam<coMissionWorld> g_world(g_defaultWorld);

} // namespace

void coMissionWorld::ListProps(coPendingProps& pending, std::vector<coProp*>& props) const {
    props.clear();
    auto* records = dynamic_cast<coPropRecords*>(&pending);
    if (!records)
        return;
    records->Make();
    for (const auto& prop : records->props)
        props.push_back(prop.get());
}

// An objective whose prop the file placed where none stands has none: it is written at the origin.
maVector3d coMissionWorld::GetPropPosition(const coProp* prop) const {
    return prop ? prop->GetPosition() : maVector3d(0.0f, 0.0f, 0.0f);
}

envString coMissionWorld::GetPropName(const coProp* prop) const {
    return prop->GetTemplate().GetName();
}

// The events are the template's entry animations.
envString coMissionWorld::GetPropEventName(const coProp* prop, int event) const {
    const coPropTemplate& kind = prop->GetTemplate();
    if (event < 0 || event >= kind.GetListSize(coPropTemplate::kEntry))
        return envString();
    return kind.GetAnimation(coPropTemplate::kEntry, event).GetDisplayName();
}

int coMissionWorld::GetPropActiveEvent(const coProp* prop) const {
    return prop->GetActiveEvent();
}

void coMissionWorld::SetPropOrderTracked(coProp* prop, bool tracked) {
    prop->SetObjectiveFlag(tracked ? 1 : 0);
}

std::unique_ptr<coPendingRings> coMissionWorld::ReadRings(chReader& reader) const {
    auto records = std::make_unique<coRingRecords>();
    records->rings = coTargetRingList::ReadRecords(reader);
    return records;
}

void coMissionWorld::AddRings(coPendingRings& rings) {
    if (auto* records = dynamic_cast<coRingRecords*>(&rings))
        coTargetRingList::AddRings(records->rings);
}

void coMissionWorld::WriteRings(chWriter& writer) const {
    coTargetRingList::WriteRings(writer);
}

void coMissionWorld::PrepareRings() {
    coTargetRingList::BuildSupports();
}

// The passing sound belongs to the career builder, which asks the list itself.
bool coMissionWorld::AllRingsPassed() {
    return coTargetRingList::AllPassed(false);
}

coMissionWorld& coGetMissionWorld() {
    return g_world.Get();
}

void coSetMissionWorld(coMissionWorld* world) {
    g_world.Set(world);
}
