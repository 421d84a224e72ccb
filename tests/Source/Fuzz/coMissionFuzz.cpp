// libFuzzer target: arbitrary bytes as a career mission through the full loader and the objectives-only
// reader. Every input must end in the loaders' exceptions or in a loaded mission; anything else (another
// exception, a crash, a sanitizer report, a leak) is a finding. The seeds are missions on the reference
// circuits, written by coMissionFuzzSeeds; scripts/fuzz builds and runs both.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coMissionObjective.h"
#include "Source/Career/coObjectiveSet.h"

#include "Fuzz/fuzzInputFile.h"

#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;
fsLocator g_locator;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_input = std::make_unique<fuzzInputFile>("Mission1.cmi");
    fsLocatorFromNativePath(g_input->GetPath().c_str(), g_locator);
    // The objective texts, with conversions that the values of a mission fill.
    fsLocator folder;
    fsLocatorFromNativePath(g_input->GetFolder().c_str(), folder);
    fsLocator texts = folder;
    texts.AppendComponent("uiop.tsf");
    std::map<u32, envString> entries;
    for (u32 id = 0; id <= 62; ++id)
        entries[id] = envString(u"%s %d %.2f %5.1e %% %g");
    gfWriteTextSet(texts, 32, entries);
    fsSetRootDirectory(11, folder);
    dbgSetLogSink([](const std::string&) {}); // the warnings of bad counts and values are expected
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    coMissionBudgets budgets{};
    coObjectiveSet objectives;
    coMissionLocks locks;
    coFlythroughPath path;
    try {
        coLoadMission(g_locator, budgets, objectives, locks, path);
        for (int level = 0; level < coObjectiveLevelCount; ++level)
            objectives.AllMet(level);
    } catch (const envExceptionX&) {
        // The loader's answer to a bad file.
    }
    std::vector<std::unique_ptr<coMissionObjective>> win;
    try {
        coReadMissionObjectives(g_locator, win);
    } catch (const envExceptionX&) {
    }
    return 0;
}
