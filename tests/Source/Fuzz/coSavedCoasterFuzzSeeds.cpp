// Writes the reference circuits of the track tests as saved coaster files into a folder: the seed corpus
// of coSavedCoasterFuzz. Usage: coSavedCoasterFuzzSeeds <folder>
#include "Engine/App/Fs/fsNativePath.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include "Fuzz/fuzzSeedRun.h"
#include "Source/Track/coCircuitTestSupport.h"

#include <filesystem>
#include <string>

namespace {

void WriteSeeds(const std::string& folder) {
    coRecordingTrackBuilder builder;
    coFakePark park;
    park.startPosition = maVector3d(0.0f, 2.0f, 0.0f);
    // The colours of the first built-in scheme, one part textured, in every seed.
    coTrackColorizer::MakeDefaultSchemes();
    std::vector<coColorScheme> schemes;
    coTrackColorizer::CopySchemes(schemes);
    schemes[0]["Rail"].texture = "rail.png";
    coTrackColorizer::SetCurrentScheme(schemes[0]);
    for (const coReferenceCircuit& circuit : coReferenceCircuits) {
        coBuildReference(circuit);
        coSetThemeName(circuit.name);
        coRideComputeStats();
        fsLocator locator;
        fsLocatorFromNativePath((folder + "/" + circuit.name + ".csa").c_str(), locator);
        coSaveCoasterFile(locator);
    }
    coCircuitClear();
}

} // namespace

int main(int argc, char** argv) {
    return fuzzWriteSeeds(argc, argv, WriteSeeds);
}
