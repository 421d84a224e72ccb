#include "Engine/Platform/Os/plSystemFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(plSystemFolders, MountInfoLinesGiveTheirMountsAndOpticalDiscs) {
    const std::string text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "40 22 11:0 / /media/player/LOOPVANE\\040DISC ro,nosuid shared:20 master:3 - iso9660 /dev/sr0 ro\n"
        "malformed line\n"
        "41 22 11:1 / /mnt/dvd ro - udf /dev/sr1 ro\n"
        "42 22 0:5 / /tmp rw - tmpfs tmpfs rw\n"
        "43 22 0:6 / /odd rw no-separator-here ext4 /dev/x rw\n";
    const std::vector<plMount> mounts = plParseMountInfo(text);
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].type, "ext4");
    EXPECT_EQ(mounts[1].mountPoint, "/media/player/LOOPVANE DISC");
    EXPECT_EQ(mounts[1].source, "/dev/sr0");
    EXPECT_EQ(mounts[1].type, "iso9660");
    const std::vector<plMount> optical = plOpticalMounts(mounts);
    ASSERT_EQ(optical.size(), 2u);
    EXPECT_EQ(optical[0].source, "/dev/sr0");
    EXPECT_EQ(optical[1].mountPoint, "/mnt/dvd");
    EXPECT_TRUE(plParseMountInfo("").empty());
    // A truncated escape is kept as it is.
    EXPECT_EQ(plParseMountInfo("1 0 0:1 / /a\\04 rw - iso9660 /dev/sr0 ro\n").at(0).mountPoint, "/a\\04");
}

TEST(plSystemFolders, UdevLabelsAreDecoded) {
    EXPECT_EQ(plDecodeUdevLabel("LOOPVANE\\x20DISC"), "LOOPVANE DISC");
    EXPECT_EQ(plDecodeUdevLabel("a\\x2fb"), "a/b");
    EXPECT_EQ(plDecodeUdevLabel("plain"), "plain");
    EXPECT_EQ(plDecodeUdevLabel("bad\\xZZ"), "bad\\xZZ");
    EXPECT_EQ(plDecodeUdevLabel("end\\x2"), "end\\x2");
}

TEST(plSystemFolders, LinuxFoldersComeFromTheEnvironment) {
    plLinuxSystemFolders folders;
    const std::string program = folders.GetProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.front(), '/');
    EXPECT_NE(program.find("lvPlatformTests"), std::string::npos);

    setenv("TMPDIR", "/scratch", 1);
    EXPECT_EQ(folders.GetTempFolder(), "/scratch");
    setenv("TMPDIR", "relative", 1); // only an absolute folder counts
    EXPECT_EQ(folders.GetTempFolder(), "/tmp");
    unsetenv("TMPDIR");
    EXPECT_EQ(folders.GetTempFolder(), "/tmp");

    std::string shared = "unchanged";
    setenv("XDG_DATA_HOME", "/xdg/data", 1);
    EXPECT_TRUE(folders.GetCommonAppDataFolder(shared));
    EXPECT_EQ(shared, "/xdg/data");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/player", 1);
    EXPECT_TRUE(folders.GetCommonAppDataFolder(shared));
    EXPECT_EQ(shared, "/home/player/.local/share");
    unsetenv("HOME");
    shared = "unchanged";
    EXPECT_FALSE(folders.GetCommonAppDataFolder(shared));
    EXPECT_EQ(shared, "unchanged");

    // The machine running the tests may or may not have a disc in; every one listed is labelled.
    for (const plVolume& volume : folders.GetOpticalVolumes())
        EXPECT_FALSE(volume.label.empty());
}
