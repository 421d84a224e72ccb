// libFuzzer target: arbitrary bytes as a career mission through the full loader and the objectives-only
// reader. Every input must end in the loaders' exceptions or in a loaded mission; anything else (another
// exception, a crash, a sanitizer report, a leak) is a finding. The seeds are missions on the reference
// circuits, written by coMissionFuzzSeeds; scripts/fuzz builds and runs both.
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coMissionObjective.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Settings/coPaths.h"

#include "Fuzz/fuzzLoaderInput.h"

#include <memory>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The objective texts, with conversions that the values of a mission fill.
    const fuzzInputFile& input = fuzzLoader::Start("Mission1.cmi", coRootText);
    fsLocator texts;
    fsLocatorFromNativePath((input.GetFolder() + "/uiop.tsf").c_str(), texts);
    std::map<u32, envString> entries;
    for (u32 id = 0; id <= 62; ++id)
        entries[id] = envString(u"%s %d %.2f %5.1e %% %g");
    gfWriteTextSet(texts, 32, entries);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    coMissionBudgets budgets{};
    coObjectiveSet objectives;
    coMissionLocks locks;
    coFlythroughPath path;
    try {
        coLoadMission(file, budgets, objectives, locks, path);
        for (int level = 0; level < coObjectiveLevelCount; ++level)
            objectives.AllMet(level);
    } catch (const envExceptionX&) {
        // The loader's answer to a bad file.
    }
    std::vector<std::unique_ptr<coMissionObjective>> win;
    try {
        coReadMissionObjectives(file, win);
    } catch (const envExceptionX&) {
    }
    return 0;
}
