#include "Source/App/coSaveTemporaries.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

// The temporaries of the game's own saves go, wherever the game writes them; a player's own ".tmp", a
// temporary of a file the game does not write there, and anything reached through a link stay.
TEST(coSaveTemporaries, OnlyTheGamesOwnTemporariesAreRemoved) {
    const fs::path root = fs::temp_directory_path() / ("coSaveTemporaries-" + std::to_string(::getpid()));
    const fs::path saves = root / "Saves";
    const struct {
        const char* path;
        bool removed;
    } files[] = {
        {"prefs.bin.tmp", true},
        {"LoadCach.bin.tmp", true},
        {"E2E Oval.csa.tmp", true},
        {"E2E Oval.csa", false},
        {"notes.tmp", false},
        {"prefs.bin.bad.tmp", false},
        {"Ann/SaveFile.isf.tmp", true},
        {"Ann/Steel/Mission3.cmi.tmp", true},
        {"Ann/Steel/Mission3.cmi", false},
        {"Ann/Steel/Mission.cmi.tmp", false},
        {"Ann/Steel/Deep/Mission3.cmi.tmp", false},
        {"Track Color Preference Settings/Mountain/Tracks/Steel/TrkColor.def.tmp", true},
        {"Track Color Preference Settings/Mountain/Tracks/Steel/other.def.tmp", false},
        {"Directory For Unlocked Props/Ironvale/trophy.prd.tmp", true},
        {"Directory For Unlocked Props/Elsewhere/trophy.prd.tmp", false},
        {"Ann/E2E Oval.csa.tmp", false},
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
    fs::create_symlink(saves / "E2E Oval.csa", saves / "Linked.csa.tmp");

    coRemoveSaveTemporaries(saves);

    for (const auto& file : files)
        EXPECT_EQ(!fs::exists(saves / file.path), file.removed) << file.path;
    EXPECT_TRUE(fs::exists(outside / "SaveFile.isf.tmp"));
    EXPECT_TRUE(fs::exists(outside / "Mission3.cmi.tmp"));
    EXPECT_TRUE(fs::is_symlink(saves / "Linked.csa.tmp"));
    fs::remove_all(root);
}
