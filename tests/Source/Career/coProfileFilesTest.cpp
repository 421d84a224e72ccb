#include "Source/Career/coProfileFiles.h"

#include "Engine/App/Fs/fsFileSystem.h"

#include "Source/Career/coCareerTestSupport.h"
#include "Source/Settings/coErrorPackage.h"
#include "Source/Settings/coPaths.h"

#include <filesystem>
#include <unistd.h>

namespace {

class coProfileFilesTest : public coCareerFixture {
  protected:
    bool Exists(const std::string& relative) {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(folder.Path(relative), ignored));
    }
};

} // namespace

TEST_F(coProfileFilesTest, NamesAreOneFolderNameOfAtMost255Bytes) {
    const struct {
        std::u16string name;
        bool valid;
    } cases[] = {
        {u"Ann", true},
        {u"...", true},
        {std::u16string(255, u'a'), true},
        {u"", false},
        {u".", false},
        {u"..", false},
        {u"a/b", false},
        {u"a\\b", false},
        {u"tab\there", false},
        {u"bell\u0085", false},
        {std::u16string(256, u'a'), false},
        {std::u16string(128, u'\u00e9'), false},
        {std::u16string(127, u'\u00e9'), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(coIsValidProfileName(envString(c.name.c_str())), c.valid)
            << envStringToNarrow(c.name.c_str());
}

// A restart deletes only what the game wrote for the profile: its career save and the attempts in the
// folders named as the mission folders. The player's own files and folders, and whatever a link leads to,
// stay; a link under a name of the game's is told, and the restart answers false.
TEST_F(coProfileFilesTest, ARestartDeletesOnlyTheGamesOwnFilesAndNeverFollowsALink) {
    fsAddRootDirectory(coRootMissions, folder.Locator("Missions"));
    for (const char* mission : {"Classic", "Junior", "Final"})
        folder.MakeFolder("Missions/" + std::string(mission));
    EXPECT_FALSE(coProfileExists(u"Ann"));
    EXPECT_TRUE(coCreateProfile(u"Ann"));
    EXPECT_TRUE(coProfileExists(u"Ann"));
    EXPECT_FALSE(coProfileExists(u"ann")); // another profile
    for (const char* game : {"SaveFile.isf", "SaveFile.isf.bad", "SaveFile.isf.4194305-0.tmp",
                             "Classic/Mission1.cmi", "Classic/Mission2.cmi.bad", "Junior/Mission8.cmi"})
        folder.Write("Saves/Ann/" + std::string(game), "game");
    const char* players[] = {"Saves/Ann/notes.txt",          "Saves/Ann/Notes/plan.txt",
                             "Saves/Ann/Notes/Mission2.cmi", "Saves/Ann/Steel/Mission8.cmi",
                             "Saves/Ann/Classic/sketch.txt", "Saves/Ann/Classic/Inner/Mission1.cmi",
                             "Outside/Mission1.cmi",         "Outside/SaveFile.isf"};
    for (const char* file : players)
        folder.Write(file, "kept");
    folder.MakeFolder("Saves/Ann/Empty");
    std::filesystem::create_directory_symlink(folder.Path("Outside"), folder.Path("Saves/Ann/Linked"));

    EXPECT_TRUE(coRestartProfile(u"Ann"));
    for (const char* gone :
         {"Saves/Ann/SaveFile.isf", "Saves/Ann/SaveFile.isf.bad", "Saves/Ann/SaveFile.isf.4194305-0.tmp",
          "Saves/Ann/Classic/Mission1.cmi", "Saves/Ann/Classic/Mission2.cmi.bad", "Saves/Ann/Junior"})
        EXPECT_FALSE(Exists(gone)) << gone;
    for (const char* kept : players)
        EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_TRUE(Exists("Saves/Ann/Empty") && Exists("Saves/Ann/Linked"));
    EXPECT_TRUE(displayer.shown.empty());

    // Links in place of the career save, a career folder and an attempt: each is told and stays.
    const struct {
        const char* link;
        const char* target;
    } links[] = {{"Saves/Ann/SaveFile.isf", "Outside/SaveFile.isf"},
                 {"Saves/Ann/Final", "Outside"},
                 {"Saves/Ann/Classic/Mission3.cmi", "Outside/Mission1.cmi"}};
    for (const auto& link : links) {
        std::filesystem::create_symlink(folder.Path(link.target), folder.Path(link.link));
        EXPECT_FALSE(coRestartProfile(u"Ann")) << link.link;
        ASSERT_EQ(displayer.shown.size(), 1u) << link.link;
        EXPECT_NE(
            displayer.shown[0].message.find("#49 not found for package #" + std::to_string(coErrorPackage)),
            std::string::npos)
            << link.link;
        EXPECT_TRUE(std::filesystem::is_symlink(folder.Path(link.link)));
        EXPECT_TRUE(Exists(link.target));
        std::filesystem::remove(folder.Path(link.link));
        displayer.shown.clear();
    }

    // A profile folder that is a link goes as a link, and the career starts in a folder of its own.
    std::filesystem::create_directory_symlink(folder.Path("Outside"), folder.Path("Saves/Eve"));
    EXPECT_TRUE(coProfileExists(u"Eve"));
    EXPECT_TRUE(coRestartProfile(u"Eve"));
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::symlink_status(folder.Path("Saves/Eve"))));
    EXPECT_TRUE(Exists("Outside/Mission1.cmi"));
    EXPECT_TRUE(Warned("is a link"));
}

TEST_F(coProfileFilesTest, AFailedCreateOrDeleteIsReportedAndAnsweredFalse) {
    fsResetRootTable();
    fsAddRootDirectory(coRootSaves, folder.Locator("Missing/Saves"));
    EXPECT_FALSE(coCreateProfile(u"Ann"));
    EXPECT_EQ(displayer.shown.size(), 1u);
    if (geteuid() != 0) { // permissions do not stop the superuser
        fsResetRootTable();
        fsAddRootDirectory(coRootSaves, folder.Locator("Saves"));
        fsAddRootDirectory(coRootMissions, folder.Locator("Missions"));
        folder.MakeFolder("Missions/Classic");
        folder.Write("Saves/Bo/Classic/Mission1.cmi", "attempt");
        std::filesystem::permissions(folder.Path("Saves/Bo/Classic"),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(coRestartProfile(u"Bo"));
        EXPECT_EQ(displayer.shown.size(), 2u);
        EXPECT_TRUE(Exists("Saves/Bo/Classic/Mission1.cmi"));
    }
}
