#include "Source/Career/coMissionWorld.h"

#include "Engine/App/Ch/chWriter.h"

namespace {

coMissionWorld g_defaultWorld;
coMissionWorld* g_world = nullptr;

} // namespace

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
