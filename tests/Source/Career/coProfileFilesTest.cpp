#include "Source/Career/coProfileFiles.h"

#include "Engine/App/Fs/fsFileSystem.h"

#include "Source/Career/coCareerTestSupport.h"
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

// A restart deletes only what the game wrote for the profile; the player's own files, unknown folders and
// whatever a link leads to stay.
TEST_F(coProfileFilesTest, ARestartDeletesOnlyTheGamesOwnFilesAndNeverFollowsALink) {
    EXPECT_FALSE(coProfileExists(u"Ann"));
    EXPECT_TRUE(coCreateProfile(u"Ann"));
    EXPECT_TRUE(coProfileExists(u"Ann"));
    EXPECT_FALSE(coProfileExists(u"ann")); // another profile
    for (const char* game : {"SaveFile.isf", "SaveFile.isf.bad", "SaveFile.isf.4194305-0.tmp",
                             "Classic/Mission1.cmi", "Classic/Mission2.cmi.bad", "Steel/Mission8.cmi"})
        folder.Write("Saves/Ann/" + std::string(game), "game");
    const char* players[] = {"Saves/Ann/notes.txt", "Saves/Ann/Notes/plan.txt",
                             "Saves/Ann/Classic/sketch.txt", "Saves/Ann/Classic/Inner/Mission1.cmi",
                             "Outside/Mission1.cmi"};
    for (const char* file : players)
        folder.Write(file, "kept");
    std::filesystem::create_directory_symlink(folder.Path("Outside"), folder.Path("Saves/Ann/Linked"));
    std::filesystem::create_symlink(folder.Path("Outside/Mission1.cmi"),
                                    folder.Path("Saves/Ann/Classic/Mission3.cmi"));

    EXPECT_TRUE(coRestartProfile(u"Ann"));
    for (const char* gone :
         {"Saves/Ann/SaveFile.isf", "Saves/Ann/SaveFile.isf.bad", "Saves/Ann/SaveFile.isf.4194305-0.tmp",
          "Saves/Ann/Classic/Mission1.cmi", "Saves/Ann/Classic/Mission2.cmi.bad", "Saves/Ann/Steel"})
        EXPECT_FALSE(Exists(gone)) << gone;
    for (const char* kept : players)
        EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_TRUE(Exists("Saves/Ann/Linked") && Exists("Saves/Ann/Classic/Mission3.cmi"));
    EXPECT_TRUE(displayer.shown.empty());

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
        folder.Write("Saves/Bo/Classic/Mission1.cmi", "attempt");
        std::filesystem::permissions(folder.Path("Saves/Bo/Classic"),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(coRestartProfile(u"Bo"));
        EXPECT_EQ(displayer.shown.size(), 2u);
        EXPECT_TRUE(Exists("Saves/Bo/Classic/Mission1.cmi"));
    }
}
