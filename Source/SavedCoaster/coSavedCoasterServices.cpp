#include "Source/SavedCoaster/coSavedCoasterServices.h"

#include "Engine/App/Ch/chWriter.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"

namespace {
coSavedCoasterServices* g_installed = nullptr;
}

void coSavedCoasterServices::SetNumCars(int cars) {
    coCoasterDefinitionStore().SetNumCars(cars);
}

void coSavedCoasterServices::ClearScene() {
    coCircuitClear();
    coCollisionClearMarkers();
}

void coSavedCoasterServices::WriteProps(chWriter& writer) const {
    writer.BeginChunk(coChunkPropList, 0, true);
    writer.EndChunk();
}

coSavedCoasterServices& coGetSavedCoasterServices() {
    static coSavedCoasterServices defaults;
    return g_installed ? *g_installed : defaults;
}

void coSetSavedCoasterServices(coSavedCoasterServices* services) {
    g_installed = services;
}
