// Listing prop kinds per theme on a generated installation.
#include "Engine/App/Fs/fsExceptions.h"
#include "coPropTreeTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

namespace {

using coPropTemplateListTest = coPropTreeTest;

std::string Name(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%02d", i);
    return name;
}

TEST_F(coPropTemplateListTest, EachThemeListsItsFilesOnceUpToTheCap) {
    for (int i = 0; i < 25; ++i)
        Write("Themes/Ironvale/Data/" + Name(i) + ".prd", coPropFile("m.mx"));
    Write("Themes/Mountain/Data/lamp.prd", coPropFile("a.mx", 1));
    Write("Themes/Mountain/Data/lamp.v2.prd", coPropFile("b.mx", 0));
    Write("Themes/Mountain/Data/newer.prd", coPropChunk("CPRP", "", 2));
    Write("Themes/Mountain/Data/cut.prd", coPropFile("c.mx").substr(0, 9));
    Write("Themes/Mountain/Data/readme.txt", coPropFile("d.mx"));
    WriteSet("Mountain/lamp.tsf", {{0, "Street lamp"}});
    Write("Themes/Mountain/Data/post.prd", coPropFile("e.mx"));
    Write("Data/Text/Eng/Mountain/post.tsf", "damaged");
    Start();
    coPropTemplateList::Build(false);

    EXPECT_EQ(std::tuple(Names("Ironvale").size(), Names("Ironvale").back()), std::tuple(24u, "p23"));
    EXPECT_EQ(Names("Mountain"), (std::vector<std::string>{"lamp", "post"}));
    const coPropTemplate* lamp = coPropTemplateList::GetTemplate(0, Category("Mountain"));
    EXPECT_TRUE(lamp->IsTrackProp() && !lamp->IsLoaded());
    EXPECT_EQ(std::tuple(envStringToNarrow(lamp->GetName()),
                         coPropTemplateList::GetTemplate(1, Category("Mountain"))->GetName().GetLength()),
              std::tuple("Street lamp", 0u));
    for (const char* warned : {"cut.prd", "newer.prd", "post.tsf"})
        EXPECT_EQ(log.Count(warned), 1u) << warned;
    EXPECT_EQ(screens.shown, 26);

    int category = 0, index = 0;
    coFindPropTemplate(envString("lamp"), category, index);
    EXPECT_EQ(std::pair(category, index), std::pair(Category("Mountain"), 0));
    coFindPropTemplate(envString("LAMP"), category, index);
    EXPECT_EQ(std::pair(category, index), std::pair(-1, -1));
}

TEST_F(coPropTemplateListTest, StylesAndTheFanfareAreFoundOnlyWithStyleFolders) {
    Write("Themes/Ironvale/Tracks/Steel/Model/loaddock.mx", "");
    Write("Themes/Ironvale/Tracks/Wood/Model/carlead.mx", "");
    Write("Themes/Ironvale/Sound/fanfare.wav", "");
    Write("Themes/Mountain/Sound/Fanfare.wav", "");
    Start();
    coPropTemplateList::Build(false);
    const int iron = Category("Ironvale"), mountain = Category("Mountain");
    EXPECT_EQ(std::tuple(coPropTemplateList::HasDockStyle(iron, envString("Steel")),
                         coPropTemplateList::HasDockStyle(iron, envString("Wood"))),
              std::tuple(true, false));
    EXPECT_EQ(std::tuple(coPropTemplateList::HasLeadCarStyle(iron, envString("Wood")),
                         coPropTemplateList::HasLeadCarStyle(iron, envString("Steel"))),
              std::tuple(true, false));
    EXPECT_EQ(std::tuple(coPropTemplateList::HasFanfare(iron), coPropTemplateList::HasFanfare(mountain)),
              std::tuple(true, false));
}

TEST_F(coPropTemplateListTest, UnlockedPropsJoinTheirThemeAfterItsOwn) {
    Write("Themes/Ironvale/Data/bench.prd", coPropFile("m.mx"));
    Write("Themes/Mountain/Data/bench.prd", coPropFile("m.mx"));
    Start();
    const std::string unlocked = Saves() + "/Directory For Unlocked Props/Ironvale/";
    folder.Write(unlocked + "arch.prd", coPropFile("m.mx"));
    folder.Write(unlocked + "bench.prd", coPropFile("m.mx"));
    coPropTemplateList::Build(false);
    EXPECT_EQ(Names("Ironvale"), (std::vector<std::string>{"bench", "arch"}));

    folder.Write(unlocked + "crate.prd", coPropFile("m.mx"));
    coPropTemplateList::RescanUnlocked();
    EXPECT_EQ(Names("Ironvale"), (std::vector<std::string>{"bench", "arch", "crate"}));
    EXPECT_EQ(screens.restarts, 1);
}

TEST_F(coPropTemplateListTest, APropLoadsFromItsOwnTheme) {
    Write("Themes/Ironvale/Data/lamp.prd", coPropFile("iron.mx"));
    Write("Themes/Mountain/Data/lamp.prd", coPropFile("stone.mx"));
    for (const char* theme : {"Ironvale", "Mountain"})
        folder.MakeFolder(std::string("install/Themes/") + theme + "/Model");
    Start();
    coPropTemplateList::Build(false);
    coPropTemplate& second = *coPropTemplateList::GetTemplate(0, Category("Mountain"));
    try {
        coLoadPropTemplate(second);
        FAIL() << "loaded a missing model";
    } catch (const fsFileDoesntExistX& e) {
        EXPECT_EQ(envStringToNarrow(e.GetLocator().GetLastComponent()), "stone.mx");
    }
    EXPECT_FALSE(second.IsLoaded());
}

} // namespace
