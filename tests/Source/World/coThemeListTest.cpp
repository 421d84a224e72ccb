// Display names of theme, style and environment folders.
#include "coPropTreeTest.h"

#include <gtest/gtest.h>

namespace {

using coThemeListTest = coPropTreeTest;

std::string Shown(const char* folder) {
    envString name;
    coThemeList::GetDisplayName(name, envString(folder));
    return envStringToNarrow(name);
}

TEST_F(coThemeListTest, LaterRootsWinAndFoldersWithoutANameShowTheirOwn) {
    for (const char* made : {"Environments/Mountain", "Environments/Ironvale", "Environments/Bare",
                             "Environments/Broken", "Tracks/Steel", "Themes/Ironvale", "Themes/Plain"})
        folder.MakeFolder(std::string("install/") + made);
    WriteSet("Mountain.tsf", {{0, "Mountain pass"}});
    WriteSet("Ironvale.tsf", {{0, "Iron valley"}});
    WriteSet("Steel.tsf", {{0, "Steel coaster"}, {1, "unused"}});
    WriteSet("Ironvale/thmname.tsf", {{0, "Ironvale works"}});
    Write("Data/Text/Eng/Broken.tsf", "KSTS");
    Start();
    coThemeList::Build();

    const std::pair<const char*, const char*> cases[] = {
        {"Mountain", "Mountain pass"},
        {"Steel", "Steel coaster"},
        {"Ironvale", "Ironvale works"},
        {"Bare", "Bare"},
        {"Plain", "Plain"},
        {"Broken", "Broken"},
        {"mountain", "mountain"},
    };
    for (const auto& [folderName, shown] : cases)
        EXPECT_EQ(Shown(folderName), shown) << folderName;
    EXPECT_EQ(log.Count("Broken.tsf"), 1u);
}

} // namespace
