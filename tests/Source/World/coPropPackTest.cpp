// Installing prop packs from the geometry pak into the player's unlocked props.
#include "Source/World/coPropPack.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Source/Settings/coPakManager.h"
#include "coPropTreeTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

namespace {

class coPropPackTest : public coPropTreeTest {
  protected:
    void SetUp() override {
        coPropTreeTest::SetUp();
        Write("Themes/Ironvale/Data/bench.prd", coPropFile("bench.mx"));
        gfPakBuilderLayout layout;
        for (int row = 0; row < coPropPackCount; ++row)
            layout.entries.push_back({coGetPropPackRow(row).packFile, Pack(row)});
        layout.entries.push_back({"Props/p.prd", "in the pak"});
        Write("Data/Geom/geom.pak", gfBuildPak(layout));
        Start();
        coPakManager::Create();
        coPakManager::OpenGeomPaks();
        coPropTemplateList::Build(false);
    }
    void TearDown() override {
        coPakManager::Destroy();
        coPropTreeTest::TearDown();
    }
    static std::string Pack(int row) { return coPropFile("pack" + std::to_string(row) + ".mx"); }
    std::string Installed(const char* file) const {
        std::ifstream in(folder.Path(Saves() + "/Directory For Unlocked Props/Ironvale/" + file),
                         std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static std::string ReadGeom(const char* path) {
        gfFile file(fsRootedLocator(coRootGeom, path), gfFileRead);
        EXPECT_TRUE(file.IsFromPak());
        std::string data(file.GetSize(), '\0');
        file.Read(file.GetSize(), data.data());
        return data;
    }
    int UnlockedDirectories() const {
        int count = 0;
        for (const std::string& directory : Root(coRootThemes))
            count += directory.find("Directory For Unlocked Props") != std::string::npos ? 1 : 0;
        return count;
    }
};

TEST_F(coPropPackTest, TheCareerWordInstallsRowZeroOnce) {
    for (const char* word : {"finale", "FiNaLe"})
        ASSERT_TRUE(coUnlockPropPack(envString(word)));
    EXPECT_EQ(
        std::tuple(Installed("trophy.prd"), UnlockedDirectories(), screens.palettes, ReadGeom("Props/p.prd")),
        std::tuple(Pack(0), 1, 2, "in the pak"));
    EXPECT_EQ(Names("Ironvale"), (std::vector<std::string>{"bench", "trophy"}));

    ASSERT_TRUE(coUnlockPropPack(envString("Gazebo2")));
    EXPECT_EQ(std::tuple(Installed("gazebo.prd"), Names("Ironvale").back()), std::tuple(Pack(10), "gazebo"));
}

TEST_F(coPropPackTest, WordsMatchTheirRowOrNothing) {
    fsLocator source, destination;
    EXPECT_TRUE(coMatchPropPack(envString("LANTERN"), source, destination));
    EXPECT_EQ(envStringToNarrow(source.GetLastComponent()), "pack01.prd");
    EXPECT_EQ(destination.GetRoot(), coRootSaves);
    for (const char* word : {"gazebo7", "svanyr", "", "finale "}) {
        EXPECT_FALSE(coUnlockPropPack(envString(word))) << word;
        EXPECT_FALSE(coMatchPropPack(envString(word), source, destination));
        EXPECT_EQ(source.GetComponentCount() + destination.GetComponentCount(), 0u);
    }
    EXPECT_EQ(std::tuple(screens.palettes, UnlockedDirectories()), std::tuple(0, 0));
}

TEST_F(coPropPackTest, AFailedWriteKeepsTheOldFileAndThePaksOpen) {
    coUnlockCareerRewardPack();
    const std::string before = Installed("trophy.prd");
    const auto halfThenFail = [](gfFile& file, const std::string& content) {
        file.Write(static_cast<u32>(content.size() / 2), content.data());
        throw fsUnknownX(file.GetLocator());
    };
    fsLocator source, destination;
    ASSERT_TRUE(coMatchPropPack(envString("finale"), source, destination));
    EXPECT_THROW(coInstallPropPack(source, destination, halfThenFail), fsUnknownX);
    EXPECT_EQ(std::tuple(Installed("trophy.prd"), ReadGeom("Props/p.prd")), std::tuple(before, "in the pak"));

    fsLocator missing(coRootGeom);
    missing.AppendComponent("none.prd");
    EXPECT_THROW(coInstallPropPack(missing, destination), fsFileDoesntExistX);
    EXPECT_EQ(std::tuple(ReadGeom("Props/p.prd"), screens.palettes), std::tuple("in the pak", 1));
}

TEST_F(coPropPackTest, APackOfAThemeWithoutACategoryIsCopiedButNotListed) {
    fsLocator source, destination;
    ASSERT_TRUE(coMatchPropPack(envString("crate"), source, destination));
    destination.RemoveLastComponent();
    destination.RemoveLastComponent();
    destination.AppendComponent("Nowhere");
    destination.AppendComponent("crate.prd");
    coInstallPropPack(source, destination);
    EXPECT_TRUE(
        std::filesystem::exists(folder.Path(Saves() + "/Directory For Unlocked Props/Nowhere/crate.prd")));
    EXPECT_EQ(Names("Ironvale"), std::vector<std::string>{"bench"});
    EXPECT_EQ(Category("Nowhere"), -1);
}

TEST_F(coPropPackTest, AFullThemeCopiesThePackWithoutListingIt) {
    for (int i = 0; i < 23; ++i)
        Write("Themes/Ironvale/Data/x" + std::to_string(i) + ".prd", coPropFile("m.mx"));
    coPropTemplateList::Build(false);
    coUnlockCareerRewardPack();
    EXPECT_EQ(std::tuple(Installed("trophy.prd"), Names("Ironvale").size(), Names("Ironvale").back()),
              std::tuple(Pack(0), 24u, "x9"));
}

} // namespace
