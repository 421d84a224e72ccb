#include "Source/App/coSaveTemporaries.h"

#include "Engine/Platform/Os/plAtomicFile.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coPrefs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/wait.h>
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

// A game that stopped while saving a coaster of the longest names leaves a temporary whose name holds the
// coaster's cut short, without its ".csa": it goes all the same, and the coasters stay.
TEST(coSaveTemporaries, ATemporaryOfALongCoasterNameIsRemoved) {
    const fs::path saves =
        fs::temp_directory_path() / ("coSaveTemporariesLong-" + std::to_string(::getpid()));
    fs::remove_all(saves);
    fs::create_directories(saves);
    std::string accented;
    for (int i = 0; i < 125; ++i)
        accented += "\u00e9";
    for (const std::string& name : {std::string(251, 'a'), accented + "x", std::string(200, 'b')}) {
        const fs::path coaster = saves / (name + coSavedCoasterExtension);
        std::ofstream(coaster) << "coaster";
        const pid_t saver = fork();
        if (saver == 0) {
            plAtomicFile stopped(coaster.string()); // the process ends before it commits or cleans
            _exit(stopped.GetError());
        }
        int status = 0;
        waitpid(saver, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name.size();
    }
    coRemoveSaveTemporaries(saves);
    size_t coasters = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(saves)) {
        EXPECT_EQ(entry.path().extension(), coSavedCoasterExtension) << entry.path();
        ++coasters;
    }
    EXPECT_EQ(coasters, 3u);
    fs::remove_all(saves);
}
