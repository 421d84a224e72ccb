#include "Source/App/coGameMenuWorld.h"

#include "Source/Modes/coEditorHost.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Track/coCircuit.h"
#include "Source/World/coEnvironment.h"

void coGameMenuWorld::LoadCoasterDefinitions(const std::string& trackType, const std::string& environment) {
    coLoadCoasterDefinitions(environment, trackType, coGetEnvironment().GetIndex());
}

void coGameMenuWorld::PrepareRide() {
    coCircuitRebuildSupports();
}

void coGameMenuWorld::SetCoasterName(const envString& name) {
    coGetEditorHost().SetCoasterName(name);
}
