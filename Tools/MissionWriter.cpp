// Writes the default career missions and their text sets into an installation tree, from the circuits
// laid by the track code. Usage: lvMissionWriter <data folder> (its text folder must hold "uiop.tsf").
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Tools/Mission/lvMissionRecipes.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class SteelDefinition : public coCoasterDefinition {
  public:
    std::string GetCoasterTypeName() const override { return "Steel"; }
};

void AddRoot(i32 root, const std::string& folder) {
    fsLocator locator;
    fsLocatorFromNativePath(folder.c_str(), locator);
    fsAddRootDirectory(root, locator);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    const std::string data = argv[1];
    AddRoot(coRootText, data + "/Data/Text/Eng");
    AddRoot(coRootMissions, data + "/Data/Missions");
    SteelDefinition definition;
    coSetCoasterDefinition(&definition);

    fsLocator textsFile(coRootText);
    textsFile.AppendComponent("uiop.tsf");
    const gfTextSet texts(textsFile, 32, true);
    std::vector<std::string> hints;
    try {
        for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
            lvCheckMissionRecipe(recipe);
            lvLayMissionSolution(recipe);
            hints.push_back(lvWriteMission(recipe, texts));
        }
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        coSetCoasterDefinition(nullptr);
        return 1;
    }
    lvWriteTrackTypeTexts(hints);

    coSetCoasterDefinition(nullptr);
    return 0;
}
