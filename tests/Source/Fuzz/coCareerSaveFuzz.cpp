// libFuzzer target: arbitrary bytes as a profile's "SaveFile.isf". Loading never throws, gives one count
// per career, and every grade it keeps is one of the five. Seeds: coGameFuzzSeeds.
#include "Source/Career/coCareerSave.h"
#include "Source/Settings/coPaths.h"

#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("Fuzz/SaveFile.isf", coRootSaves);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzLoader::Write(data, size);
    std::vector<i32> counts;
    coCareerSave::Load(envString(u"Fuzz"), nullptr, counts);
    if (counts.size() != coCareerCount)
        std::abort();
    for (const coCareerGradeMap& grades : coCareerGrades())
        for (const auto& [type, missions] : grades)
            for (coMissionGrade grade : missions)
                if (grade < 0 || grade > 4)
                    std::abort();
    return 0;
}
