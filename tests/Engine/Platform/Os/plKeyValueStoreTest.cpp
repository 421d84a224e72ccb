#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Engine/Platform/Os/plFileText.h"
#include "Engine/Platform/plErrors.h"
#include "plTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Hive files are written byte for byte here, never by the store under test.
struct plKeyValueStoreTest : ::testing::Test {
    plTestFolder folder;
    plKeyValueStore store{folder.Path("config")};

    void WriteMachine(const std::string& text) { folder.Write("config/HKEY_LOCAL_MACHINE.ini", text); }
    std::string ReadMachine() const { return folder.Read("config/HKEY_LOCAL_MACHINE.ini"); }
    plKeyHandle Open(const std::string& path) {
        plKeyHandle key = 0;
        EXPECT_EQ(store.OpenKey(plHive::LocalMachine, path, key), plErr::Success) << path;
        return key;
    }
};

} // namespace

TEST_F(plKeyValueStoreTest, KeysExistWhenTheirSectionOrOneBelowDoes) {
    plKeyHandle key = 7;
    EXPECT_EQ(store.OpenKey(plHive::LocalMachine, "A", key), plErr::FileNotFound); // no file yet
    EXPECT_EQ(key, 0u);
    EXPECT_NE(Open(""), 0u); // the hive itself
    WriteMachine("[A\\B\\C]\n[Other]\n");
    for (const char* path : {"A", "a\\b", "\\A\\\\B\\", "A\\B\\C"})
        EXPECT_NE(Open(path), 0u);
    for (const char* path : {"A\\B\\C\\D", "A\\Bx", "B", "Oth"})
        EXPECT_EQ(store.OpenKey(plHive::LocalMachine, path, key), plErr::FileNotFound) << path;
    EXPECT_EQ(store.OpenKey(plHive::PerformanceData, "A", key), plErr::InvalidHandle);
    EXPECT_EQ(store.OpenKey(12345, "A", key), plErr::InvalidHandle);
    EXPECT_EQ(store.GetHiveFile(plHive::CurrentUser), folder.Path("config") + "/HKEY_CURRENT_USER.ini");
    EXPECT_EQ(store.GetHiveFile(plHive::PerformanceData), "");
}

TEST_F(plKeyValueStoreTest, QueriesReportTheSizeTheyNeed) {
    WriteMachine("[Key]\nName=\"hello\"\n");
    const plKeyHandle key = Open("Key");
    u32 size = 0;
    EXPECT_EQ(store.QueryValue(key, "name", nullptr, size), plErr::Success);
    EXPECT_EQ(size, 6u);
    char buffer[8] = "#######";
    size = 5;
    EXPECT_EQ(store.QueryValue(key, "Name", buffer, size), plErr::MoreData);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(buffer[0], '#');
    size = 6;
    EXPECT_EQ(store.QueryValue(key, "Name", buffer, size), plErr::Success);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(buffer[6], '#');
    EXPECT_EQ(store.QueryValue(key, "Other", buffer, size), plErr::FileNotFound);
    EXPECT_EQ(store.CloseKey(key), plErr::Success);
    EXPECT_EQ(store.CloseKey(key), plErr::InvalidHandle);
    EXPECT_EQ(store.QueryValue(key, "Name", buffer, size), plErr::InvalidHandle);
    EXPECT_EQ(store.SetValue(key, "Name", "x"), plErr::InvalidHandle);
    EXPECT_EQ(store.GetOpenKeyCount(), 0u);
}

TEST_F(plKeyValueStoreTest, WritesReplaceTheFileWholeAndRefuseWhatALineCannotHold) {
    const plKeyHandle key = Open("");
    // The first write creates the folder and the file.
    EXPECT_EQ(store.SetValue(key, "Root", "r"), plErr::Success);
    EXPECT_EQ(ReadMachine(), "[]\nRoot=\"r\"\n");
    WriteMachine("; hand-made\n[Game]\nPath=/old\n");
    const plKeyHandle game = Open("Game");
    EXPECT_EQ(store.SetValue(game, "path", "/new path"), plErr::Success);
    EXPECT_EQ(store.SetValue(game, "Label", ""), plErr::Success);
    EXPECT_EQ(ReadMachine(), "; hand-made\n[Game]\nPath=\"/new path\"\nLabel=\"\"\n");
    for (const char* name : {"a=b", " lead", "trail ", "[x", ";x", "#x", "two\nlines", "cr\r"})
        EXPECT_EQ(store.SetValue(game, name, "v"), plErr::InvalidParameter) << name;
    EXPECT_EQ(store.SetValue(game, "Text", "two\nlines"), plErr::InvalidParameter);
    EXPECT_EQ(store.SetValue(game, "Text", "cr\r"), plErr::InvalidParameter);
    EXPECT_EQ(ReadMachine(), "; hand-made\n[Game]\nPath=\"/new path\"\nLabel=\"\"\n");
    // Nothing but the hive file is left in the folder.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path("config")))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST_F(plKeyValueStoreTest, UnreadableAndUnwritableHives) {
    WriteMachine("[Game]\nPath=/old\n");
    const plKeyHandle game = Open("Game");
    std::filesystem::permissions(folder.Path("config"),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (geteuid() != 0) {
        EXPECT_EQ(store.SetValue(game, "Path", "/new"), plErr::AccessDenied);
        EXPECT_EQ(ReadMachine(), "[Game]\nPath=/old\n");
    }
    std::filesystem::permissions(folder.Path("config"), std::filesystem::perms::owner_all);
    // A hive that is a folder cannot be read: an error, not an empty hive.
    std::filesystem::create_directories(folder.Path("config/HKEY_USERS.ini"));
    plKeyHandle key = 0;
    EXPECT_EQ(store.OpenKey(plHive::Users, "", key), plErr::AccessDenied);
    // Neither a FIFO (whose open would wait for a writer) nor a file too large for settings is read,
    // and a write never replaces what could not be read.
    ASSERT_EQ(mkfifo(folder.Path("config/HKEY_CURRENT_USER.ini").c_str(), 0600), 0);
    EXPECT_EQ(store.OpenKey(plHive::CurrentUser, "", key), plErr::AccessDenied);
    std::filesystem::resize_file(folder.Path("config/HKEY_LOCAL_MACHINE.ini"), plFileTextMaxBytes + 1);
    EXPECT_EQ(store.OpenKey(plHive::LocalMachine, "Game", key), plErr::AccessDenied);
    EXPECT_EQ(store.SetValue(game, "Path", "/new"), plErr::AccessDenied);
    EXPECT_EQ(std::filesystem::file_size(folder.Path("config/HKEY_LOCAL_MACHINE.ini")),
              plFileTextMaxBytes + 1);
}

TEST(plKeyValueStore, TheConfigFolderFollowsTheEnvironment) {
    setenv("LOOPVANE_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(plDefaultConfigFolder(), "/somewhere/config");
    unsetenv("LOOPVANE_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(plDefaultConfigFolder(), "/xdg/loopvane");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(plDefaultConfigFolder(), "/home/player/.config/loopvane");
}
