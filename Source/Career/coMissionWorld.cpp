#include "Source/Career/coMissionWorld.h"

#include "Engine/App/Ch/chWriter.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"

namespace {

coMissionWorld g_defaultWorld;
coMissionWorld* g_world = nullptr;

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

maVector3d coMissionWorld::GetPropPosition(const coProp* prop) const {
    return prop->GetPosition();
}

envString coMissionWorld::GetPropName(const coProp* prop) const {
    return prop->GetTemplate().GetName();
}

int coMissionWorld::GetPropActiveEvent(const coProp* prop) const {
    return prop->GetActiveEvent();
}

void coMissionWorld::SetPropOrderTracked(coProp* prop, bool tracked) {
    prop->SetObjectiveFlag(tracked ? 1 : 0);
}

void coMissionWorld::WriteRings(chWriter& writer) const {
    writer.BeginChunk(coChunkRingList, 0, true);
    writer.EndChunk();
}

coMissionWorld& coGetMissionWorld() {
    return g_world ? *g_world : g_defaultWorld;
}

void coSetMissionWorld(coMissionWorld* world) {
    g_world = world;
}
