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

TEST_F(coProfileFilesTest, ARestartDeletesTheCareerAndOneLevelOfFilesAndNeverFollowsALink) {
    EXPECT_FALSE(coProfileExists(u"Ann"));
    EXPECT_TRUE(coCreateProfile(u"Ann"));
    EXPECT_TRUE(coProfileExists(u"Ann"));
    EXPECT_FALSE(coProfileExists(u"ann")); // another profile
    folder.Write("Saves/Ann/SaveFile.isf", "career");
    folder.Write("Saves/Ann/notes.txt", "kept");
    folder.Write("Saves/Ann/Classic/Mission1.csa", "attempt");
    folder.Write("Saves/Ann/Classic/Mission2.csa", "attempt");
    folder.Write("Saves/Ann/Deep/Mission1.csa", "attempt");
    folder.Write("Saves/Ann/Deep/Inner/Mission1.csa", "kept");
    folder.Write("Outside/precious.csa", "kept");
    std::filesystem::create_directory_symlink(folder.Path("Outside"), folder.Path("Saves/Ann/Linked"));
    std::filesystem::create_symlink(folder.Path("Outside/precious.csa"),
                                    folder.Path("Saves/Ann/Classic/link.csa"));

    EXPECT_TRUE(coRestartProfile(u"Ann"));
    for (const char* gone :
         {"Saves/Ann/SaveFile.isf", "Saves/Ann/Classic", "Saves/Ann/Linked", "Saves/Ann/Deep/Mission1.csa"})
        EXPECT_FALSE(Exists(gone)) << gone;
    for (const char* kept :
         {"Saves/Ann/notes.txt", "Saves/Ann/Deep/Inner/Mission1.csa", "Outside/precious.csa"})
        EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_TRUE(Warned("still holds folders"));
    EXPECT_TRUE(displayer.shown.empty());
}

TEST_F(coProfileFilesTest, AFailedCreateOrDeleteIsReportedAndAnsweredFalse) {
    fsResetRootTable();
    fsAddRootDirectory(coRootSaves, folder.Locator("Missing/Saves"));
    EXPECT_FALSE(coCreateProfile(u"Ann"));
    EXPECT_EQ(displayer.shown.size(), 1u);
    if (geteuid() != 0) { // permissions do not stop the superuser
        fsResetRootTable();
        fsAddRootDirectory(coRootSaves, folder.Locator("Saves"));
        folder.Write("Saves/Bo/Classic/Mission1.csa", "attempt");
        std::filesystem::permissions(folder.Path("Saves/Bo/Classic"),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(coRestartProfile(u"Bo"));
        EXPECT_EQ(displayer.shown.size(), 2u);
        EXPECT_TRUE(Exists("Saves/Bo/Classic/Mission1.csa"));
    }
}
