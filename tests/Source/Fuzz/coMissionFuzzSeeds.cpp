// Writes missions on the reference circuits of the track tests, with every chunk and every kind of
// objective, into a folder: the seed corpus of coMissionFuzz. Usage: coMissionFuzzSeeds <folder>
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Ride/coRideStats.h"

#include "Fuzz/fuzzSeedRun.h"
#include "Source/Track/coCircuitTestSupport.h"

#include <filesystem>
#include <string>

namespace {

void WriteSeeds(const std::string& folder) {
    fsLocator textsFile;
    fsLocatorFromNativePath((folder + "/uiop.tsf").c_str(), textsFile);
    gfWriteTextSet(textsFile, 32, {});
    const gfTextSet texts(textsFile, 32, true);
    std::filesystem::remove(folder + "/uiop.tsf");

    coRecordingTrackBuilder builder;
    coFakePark park;
    park.startPosition = maVector3d(0.0f, 2.0f, 0.0f);
    int number = 0;
    for (const coReferenceCircuit& circuit : coReferenceCircuits) {
        coBuildReference(circuit);
        coRideComputeStats();
        coMissionBudgets budgets;
        budgets.fill(number);
        coMissionLocks locks{true, false, 2, {}};
        coFlythroughPath path;
        path.AddPoint(maVector3d(0, 30, -40), maVector3d(0, 0, 0));
        path.AddPoint(maVector3d(40, 20, 0), maVector3d(0, 5, 0));
        coObjectiveSet objectives;
        objectives.Add(std::make_unique<coStatObjective>(number % 13, true, 10.0f, texts), 0);
        objectives.Add(std::make_unique<coTrackCountObjective>(0, 2, true, texts), 0);
        objectives.Add(std::make_unique<coRingObjective>(texts), 1);
        objectives.Add(std::make_unique<coPropProximityObjective>(nullptr, 2.0f, texts), 2);
        objectives.Add(std::make_unique<coPropActivationEventObjective>(nullptr, 2.0f, 1, texts), 2);
        objectives.Add(std::make_unique<coPropOrderingObjective>(nullptr, 1, texts), 3);
        fsLocator locator;
        fsLocatorFromNativePath((folder + "/" + circuit.name + ".cmi").c_str(), locator);
        coWriteMissionFile(locator, budgets, objectives, locks, path);
        ++number;
    }
    coCircuitClear();
}

} // namespace

int main(int argc, char** argv) {
    return fuzzWriteSeeds(argc, argv, WriteSeeds);
}
