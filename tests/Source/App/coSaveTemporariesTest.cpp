#include "Source/App/coSaveTemporaries.h"

#include "Source/Career/coCareerSave.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coPrefs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

// The temporaries of the game's own saves go, wherever the game writes them; a player's own ".tmp", a
// temporary of a file the game does not write there, a running game's (this process's) temporary and
// anything reached through a link stay. The files
// are named as their savers name them.
TEST(coSaveTemporaries, OnlyTheGamesOwnTemporariesAreRemoved) {
    const std::string prefs = coPrefsFileName, cache = coLoadCacheFileName, career = coCareerSaveFileName;
    const std::string oval = std::string("E2E Oval") + coSavedCoasterExtension;
    const std::string colours = std::string("Track Color Preference Settings/Mountain/Tracks/Steel/");
    const fs::path root = fs::temp_directory_path() / ("coSaveTemporaries-" + std::to_string(::getpid()));
    const fs::path saves = root / "Saves";
    const struct {
        std::string path;
        bool removed;
    } files[] = {
        {prefs + ".tmp", true},
        {cache + ".tmp", true},
        {oval + ".tmp", true},
        {oval + ".4194305-0.tmp", true}, // past the largest process id
        {oval + "." + std::to_string(getpid()) + "-3.tmp", false},
        {oval, false},
        {"notes.tmp", false},
        {prefs + ".bad.tmp", false},
        {"Ann/" + career + ".tmp", true},
        {"Ann/Steel/Mission3.cmi.tmp", true},
        {"Ann/Steel/Mission3.cmi", false},
        {"Ann/Steel/Mission.cmi.tmp", false},
        {"Ann/Steel/Deep/Mission3.cmi.tmp", false},
        {colours + coTrackColorFileName + ".tmp", true},
        {colours + "other.def.tmp", false},
        {"Directory For Unlocked Props/Ironvale/trophy.prd.tmp", true},
        {"Directory For Unlocked Props/Elsewhere/trophy.prd.tmp", false},
        {"Ann/" + oval + ".tmp", false},
    };
    fs::remove_all(root);
    for (const auto& file : files) {
        fs::create_directories((saves / file.path).parent_path());
        std::ofstream(saves / file.path) << "bytes";
    }
    // Links in place of a trackwright's folder, a track-type folder and a temporary: none is followed.
    const fs::path outside = root / "Outside";
    fs::create_directories(outside);
    for (const char* name : {"SaveFile.isf.tmp", "Mission3.cmi.tmp"})
        std::ofstream(outside / name) << "bytes";
    fs::create_directory_symlink(outside, saves / "Bob");
    fs::create_directory_symlink(outside, saves / "Ann" / "Wooden");
    fs::create_symlink(saves / oval, saves / "Linked.csa.tmp");

    coRemoveSaveTemporaries(saves);

    for (const auto& file : files)
        EXPECT_EQ(!fs::exists(saves / file.path), file.removed) << file.path;
    EXPECT_TRUE(fs::exists(outside / "SaveFile.isf.tmp"));
    EXPECT_TRUE(fs::exists(outside / "Mission3.cmi.tmp"));
    EXPECT_TRUE(fs::is_symlink(saves / "Linked.csa.tmp"));
    fs::remove_all(root);
}
