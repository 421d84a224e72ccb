// libFuzzer target: arbitrary bytes as a profile's "SaveFile.isf". Loading never throws, gives one count
// per career, and every grade it keeps is one of the five. Seeds: coGameFuzzSeeds.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Settings/coPaths.h"

#include "Fuzz/fuzzInputFile.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;
const envString g_profile(u"Fuzz");

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_input = std::make_unique<fuzzInputFile>("Fuzz/SaveFile.isf");
    std::filesystem::create_directories(g_input->GetFolder() + "/Fuzz");
    fsLocator folder;
    fsLocatorFromNativePath(g_input->GetFolder().c_str(), folder);
    fsSetRootDirectory(coRootSaves, folder);
    dbgSetLogSink([](const std::string&) {}); // the warnings of unusable records are expected
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    std::vector<i32> counts;
    coCareerSave::Load(g_profile, nullptr, counts);
    if (counts.size() != coCareerCount)
        std::abort();
    for (const coCareerGradeMap& grades : coCareerGrades())
        for (const auto& [type, missions] : grades)
            for (coMissionGrade grade : missions)
                if (grade < 0 || grade > 4)
                    std::abort();
    return 0;
}
