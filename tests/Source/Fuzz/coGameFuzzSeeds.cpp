// Writes the seeds of the game's fuzz targets with the game's own writers and the content tools' writers,
// one folder per target under the given folder: preferences, a career save, the load menu's cache, two
// environment files, prop definitions and track colours. Usage: coGameFuzzSeeds <folder>
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Career/coCareerSave.h"
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Tools/World/toolEnvironmentWriter.h"
#include "Tools/World/toolPropWriter.h"

#include "Fuzz/fuzzSeedRun.h"

#include <filesystem>
#include <string>

namespace {

std::string g_folder;

// The target's folder, made, with the saves root on it.
std::string Target(const std::string& name) {
    const std::string folder = g_folder + "/" + name;
    std::filesystem::create_directories(folder);
    fsLocator locator;
    fsLocatorFromNativePath(folder.c_str(), locator);
    fsSetRootDirectory(coRootSaves, locator);
    return folder;
}

void SaveSeeds() {
    Target("coPrefsFuzz");
    coPrefs::SetDefaults();
    coPrefs::SetFloat(coPrefRideMusicVolume, 0.25f);
    coPrefs::Save();

    Target("coCareerSaveFuzz");
    const envString profile(u"Fuzz");
    coCareerSave::Write(0, profile, envString(u"Steel"), 0, 4);
    coCareerSave::Write(0, profile, envString(u"Steel"), 3, 1);
    coCareerSave::Write(1, profile, envString(u"Wooden"), 7, 2);

    const std::string cache = Target("coLoadCacheFuzz");
    coLoadCacheMap map;
    for (const char* name : {"Oval", "Loop"}) {
        coLoadCacheEntry entry;
        fsLocatorFromNativePath((cache + "/" + name + ".csa").c_str(), entry.file);
        entry.name = envString(name);
        entry.dockText = envString(u"Ironvale");
        entry.environmentText = envString(u"Mountain");
        entry.trackTypeText = envString(u"Steel");
        entry.fileTime = 1.5e9;
        entry.finished = entry.loadable = entry.seen = true;
        map[entry.file] = entry;
    }
    coWriteLoadCache(map);
}

void WorldSeeds() {
    toolEnvironment day;
    day.terrainModel = envString("terrain.mx");
    day.sky.layer1Model = envString("sky.mx");
    day.background = {0.55f, 0.7f, 0.9f};
    day.directionalLights = {{1.0f, 0.95f, 0.85f, -0.5f, -1.0f, -0.4f}};
    day.startPosition = {0.0f, 2.0f, 0.0f};
    toolWriteEnvironment(Target("coEnvironmentFuzz") + "/1.end", day);
    toolEnvironment dusk = day;
    dusk.extraTerrainModel = envString("cave.mx");
    dusk.pointLights = {{0.9f, 0.6f, 0.4f, 10.0f, 5.0f, -3.0f}};
    dusk.fog = {1, 0.55f, 0.4f, 0.35f, 150.0f, 900.0f, 0.0f};
    dusk.lensFlare.elements = {{envString("flaresun.png"), 0.0f, 0.5f}, {envString("ring.png"), 0.5f, 0.3f}};
    dusk.shadowMode = 2;
    toolWriteEnvironment(Target("coEnvironmentFuzz") + "/2.end", dusk);

    toolPropDefinition plain;
    plain.model = "bench.mx";
    toolWritePropDefinition(Target("coPropDefinitionFuzz") + "/bench.prd", plain);
    toolPropDefinition fountain;
    fountain.model = "fountain.mx";
    fountain.triggerDistance = 30.0f;
    fountain.height = 4.0f;
    fountain.trackProp = true;
    toolPropEvent splash;
    splash.animation = "spray";
    splash.particles = {{"water.tpr", "nozzle", 1, 2.0f, {0, 1, 0}, {0, 1, 0}}};
    splash.sounds = {{"splash.wav", "nozzle", 0, true}};
    fountain.idle = {toolPropEvent{}};
    fountain.entries = {splash, splash};
    fountain.exit = {splash};
    toolWritePropDefinition(Target("coPropDefinitionFuzz") + "/fountain.prd", fountain);

    coTrackColorizer::MakeDefaultSchemes();
    coTrackColorizer::ClearCurrent();
    fsLocator colours;
    fsLocatorFromNativePath((Target("coTrackColorFuzz") + "/TrkColor.def").c_str(), colours);
    saveColorSchemes(colours);
}

} // namespace

int main(int argc, char** argv) {
    return fuzzWriteSeeds(argc, argv, [](const std::string& folder) {
        g_folder = folder;
        dbgSetLogSink([](const std::string&) {});
        SaveSeeds();
        WorldSeeds();
    });
}
