#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Core/Env/dbgLogCapture.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

std::vector<std::string> Names(const std::vector<fsLocator>& list) {
    std::vector<std::string> names;
    for (const fsLocator& l : list)
        names.push_back(envStringToNarrow(l.GetLastComponent()));
    return names;
}

// Records entries and stops after a given number.
class StopAfter : public fsFileEnum::EnumTarget {
  public:
    explicit StopAfter(size_t limit) : m_limit(limit) {}
    bool OnEntry(const fsLocator& directory, const fsLocator& entry) override {
        EXPECT_EQ(entry.GetComponentCount(), 1u);
        EXPECT_FALSE(entry.IsRooted());
        seen.push_back(envStringToNarrow(directory.GetComponent(directory.GetComponentCount() - 1)) + "/" +
                       envStringToNarrow(entry.GetComponent(0)));
        return seen.size() < m_limit;
    }
    void OnUnreadable(const fsLocator& directory) override { unreadable.push_back(directory); }
    std::vector<std::string> seen;
    std::vector<fsLocator> unreadable;

  private:
    size_t m_limit;
};

struct fsFileSystemTest : ::testing::Test {
    fsTestFolder folder;
};

} // namespace

TEST_F(fsFileSystemTest, CreateDeleteAndFolders) {
    const fsLocator file = folder.Locator("new.bin");
    EXPECT_FALSE(fsFileExists(file));
    fsCreateFile(file);
    EXPECT_TRUE(fsFileExists(file));
    EXPECT_FALSE(fsDirectoryExists(file));
    EXPECT_THROW(fsCreateFile(file), fsFileExistsX);
    fsDeleteFile(file);
    EXPECT_THROW(fsDeleteFile(file), fsFileDoesntExistX);
    EXPECT_THROW(fsCreateFile(folder.Locator("none/new.bin")), fsDirectoryDoesntExistX);

    const fsLocator dir = folder.Locator("dir");
    fsCreateDirectory(dir);
    EXPECT_TRUE(fsDirectoryExists(dir));
    EXPECT_FALSE(fsFileExists(dir));
    EXPECT_THROW(fsCreateDirectory(dir), fsUnknownX);
    EXPECT_THROW(fsCreateDirectory(folder.Locator("none/dir")), fsDirectoryDoesntExistX);
    fsCreateFile(folder.Locator("dir/inside"));
    EXPECT_THROW(fsDeleteDirectory(dir), fsDirectoryNotEmptyX);
    EXPECT_THROW(fsDeleteFile(dir), fsReadOnlyX); // a folder is not a file to delete
    EXPECT_THROW(fsDeleteDirectory(folder.Locator("dir/inside")), fsDirectoryDoesntExistX);
    fsDeleteFile(folder.Locator("dir/inside"));
    fsDeleteDirectory(dir);
    EXPECT_FALSE(fsDirectoryExists(dir));

    // A too-long name must never act on the parent folder.
    fsLocator tooLong = folder.Locator();
    tooLong.AppendComponent(std::string(300, 'x').c_str());
    EXPECT_THROW(fsDeleteDirectory(tooLong), fsInvalidLocatorX);
    EXPECT_THROW(fsDeleteFile(tooLong), fsInvalidLocatorX);
    EXPECT_THROW(fsCreateDirectory(tooLong), fsInvalidLocatorX);
    EXPECT_FALSE(fsFileExists(tooLong));
    EXPECT_TRUE(fsDirectoryExists(folder.Locator()));

    // Injected permission failure on creation (tests run as root).
    const fsOpenFailures refuse(EACCES, 1, [](const char*, int flags) { return (flags & O_CREAT) != 0; });
    EXPECT_THROW(fsCreateFile(file), fsReadOnlyX);
}

TEST_F(fsFileSystemTest, ReadOnlyTestAndFileTimes) {
    const fsLocator file = folder.Write("a.txt", "abc");
    EXPECT_FALSE(fsIsFileReadOnly(file));
    chmod(folder.Path("a.txt").c_str(), 0444);
    EXPECT_TRUE(fsIsFileReadOnly(file));
    EXPECT_THROW(fsIsFileReadOnly(folder.Locator("none")), fsFileDoesntExistX);
    EXPECT_THROW(fsIsFileReadOnly(folder.Locator()), fsFileDoesntExistX);

    // 2002-04-16 12:00:00 UTC; the time is counted in local seconds.
    const std::time_t stamp = 1018958400;
    const timespec times[2] = {{stamp, 0}, {stamp, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.Path("a.txt").c_str(), times, 0), 0);
    std::tm local{};
    localtime_r(&stamp, &local);
    EXPECT_EQ(fsGetFileTime(file), static_cast<f64>(stamp + local.tm_gmtoff));
    envString text;
    fsGetFileTimeText(file, text);
    char expected[48];
    std::snprintf(expected, sizeof(expected), "%02d/%02d/%d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900);
    EXPECT_EQ(text, envString(expected));
    EXPECT_EQ(envStringToNarrow(text).size(), 10u);
    // The one-look attributes of a scan agree with the calls above.
    f64 time = 0.0;
    bool readOnly = false;
    ASSERT_TRUE(fsGetFileAttributes(file, time, readOnly));
    fsFileTimeToText(time, text);
    EXPECT_EQ(std::tuple(time, readOnly, text), std::tuple(fsGetFileTime(file), true, envString(expected)));
    EXPECT_FALSE(fsGetFileAttributes(folder.Locator("none"), time, readOnly));
    EXPECT_THROW(fsGetFileTime(folder.Locator("none")), fsFileDoesntExistX);
    EXPECT_THROW(fsGetFileTimeText(folder.Locator("none"), text), fsFileDoesntExistX);

    std::vector<fsLocator> drives;
    fsListDrives(drives);
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_TRUE(fsDirectoryExists(drives[0]));
}

TEST_F(fsFileSystemTest, CopyFileKeepsTimeAndRefusesExisting) {
    folder.Write("src.bin", std::string(200000, 'q'));
    const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, folder.Path("src.bin").c_str(), times, 0);
    chmod(folder.Path("src.bin").c_str(), 0444);
    fsCopyFile(folder.Locator("SRC.bin"), folder.Locator("dst.bin")); // the source is a read
    EXPECT_EQ(folder.Read("dst.bin"), std::string(200000, 'q'));
    EXPECT_FALSE(fsIsFileReadOnly(folder.Locator("dst.bin"))); // a read-only original's copy is writable
    chmod(folder.Path("src.bin").c_str(), 0644);
    EXPECT_EQ(fsGetFileTime(folder.Locator("dst.bin")), fsGetFileTime(folder.Locator("src.bin")));

    folder.Write("other.bin", "keep");
    EXPECT_EQ(CaughtLocator<fsFileExistsX>(
                  [&] { fsCopyFile(folder.Locator("src.bin"), folder.Locator("other.bin")); }),
              folder.Locator("other.bin"));
    EXPECT_EQ(folder.Read("other.bin"), "keep");
    EXPECT_EQ(CaughtLocator<fsFileDoesntExistX>(
                  [&] { fsCopyFile(folder.Locator("none.bin"), folder.Locator("x.bin")); }),
              folder.Locator("none.bin"));
    EXPECT_THROW(fsCopyFile(folder.Locator("src.bin"), folder.Locator("none/x.bin")),
                 fsDirectoryDoesntExistX);
    EXPECT_FALSE(fsFileExists(folder.Locator("x.bin")));
}

TEST_F(fsFileSystemTest, RenameReplacesAFileAndNamesTheSideThatFailed) {
    folder.Write("new.bin", "new");
    folder.Write("old.bin", "old");
    fsRename(folder.Locator("new.bin"), folder.Locator("old.bin"));
    EXPECT_EQ(folder.Read("old.bin"), "new");
    EXPECT_FALSE(fsFileExists(folder.Locator("new.bin")));

    // A missing source is the source's fault; a missing destination folder the destination's.
    EXPECT_EQ(CaughtLocator<fsFileDoesntExistX>(
                  [&] { fsRename(folder.Locator("none.bin"), folder.Locator("x.bin")); }),
              folder.Locator("none.bin"));
    EXPECT_EQ(CaughtLocator<fsDirectoryDoesntExistX>(
                  [&] { fsRename(folder.Locator("old.bin"), folder.Locator("none/x.bin")); }),
              folder.Locator("none/x.bin"));
    folder.Write("full/inside", "");
    folder.MakeFolder("done");
    EXPECT_THROW(fsRename(folder.Locator("done"), folder.Locator("full")), fsDirectoryNotEmptyX);
}

TEST_F(fsFileSystemTest, CopyTreeAndItsRefusals) {
    folder.Write("src/a.txt", "a");
    folder.Write("src/sub/b.txt", "b");
    folder.Write("src/sub/deep/c.txt", "c");
    folder.MakeFolder("src/empty");
    folder.Write("elsewhere/outside.txt", "o");
    ASSERT_EQ(symlink(folder.Path("elsewhere").c_str(), folder.Path("src/link").c_str()), 0);
    ASSERT_EQ(symlink(folder.Path("src").c_str(), folder.Path("src/sub/loop").c_str()), 0);
    dbgLogCapture log;

    fsCopyFileTree(folder.Locator("src"), folder.Locator("dst"));
    EXPECT_EQ(folder.Read("dst/a.txt"), "a");
    EXPECT_EQ(folder.Read("dst/sub/b.txt"), "b");
    EXPECT_EQ(folder.Read("dst/sub/deep/c.txt"), "c");
    EXPECT_TRUE(fsDirectoryExists(folder.Locator("dst/empty")));
    // Linked folders are neither followed nor copied; the loop through one ends.
    EXPECT_FALSE(fsDirectoryExists(folder.Locator("dst/link")));
    EXPECT_FALSE(fsDirectoryExists(folder.Locator("dst/sub/loop")));
    EXPECT_TRUE(log.Holds("linked folder"));

    // Into itself, into a folder inside itself, or through a link into itself: refused, nothing made.
    EXPECT_THROW(fsCopyFileTree(folder.Locator("src"), folder.Locator("src")), fsInvalidLocatorX);
    EXPECT_THROW(fsCopyFileTree(folder.Locator("src"), folder.Locator("src/sub/copy")), fsInvalidLocatorX);
    EXPECT_THROW(fsCopyFileTree(folder.Locator("src"), folder.Locator("src/sub/loop/x")), fsInvalidLocatorX);
    EXPECT_FALSE(fsDirectoryExists(folder.Locator("src/sub/copy")));
    // A sibling whose name starts like the source is not inside it.
    fsCopyFileTree(folder.Locator("src/sub"), folder.Locator("src/subcopy"));
    EXPECT_EQ(folder.Read("src/subcopy/b.txt"), "b");

    // Copying again over the existing tree stops at the first existing file.
    EXPECT_THROW(fsCopyFileTree(folder.Locator("src"), folder.Locator("dst")), fsFileExistsX);
    // A missing source copies as an empty folder.
    fsCopyFileTree(folder.Locator("nothing"), folder.Locator("made"));
    EXPECT_TRUE(fsDirectoryExists(folder.Locator("made")));
}

TEST_F(fsFileSystemTest, DeleteTreeRemovesEverythingButWhatLinksPointTo) {
    folder.Write("tree/a.txt", "a");
    folder.Write("tree/sub/deep/b.txt", "b");
    folder.MakeFolder("tree/empty");
    folder.Write("elsewhere/kept.txt", "k");
    ASSERT_EQ(symlink(folder.Path("elsewhere").c_str(), folder.Path("tree/sub/link").c_str()), 0);
    ASSERT_EQ(symlink(folder.Path("tree").c_str(), folder.Path("tree/loop").c_str()), 0);
    fsDeleteFileTree(folder.Locator("tree"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("tree")));
    EXPECT_EQ(folder.Read("elsewhere/kept.txt"), "k");
    // A missing folder is nothing to do; a file or a link is deleted alone.
    fsDeleteFileTree(folder.Locator("tree"));
    ASSERT_EQ(symlink(folder.Path("elsewhere").c_str(), folder.Path("link").c_str()), 0);
    fsDeleteFileTree(folder.Locator("link"));
    fsDeleteFileTree(folder.Locator("elsewhere/kept.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("link")));
    EXPECT_TRUE(fsDirectoryExists(folder.Locator("elsewhere")));
    EXPECT_FALSE(fsFileExists(folder.Locator("elsewhere/kept.txt")));
}

TEST(fsFileEnum, SortedOrderFiltersAndStops) {
    fsTestFolder folder;
    for (const char* name : {"b.csa", "a.csa", "C.txt", "d.csa"})
        folder.Write(std::string("dir/") + name, "x");
    folder.MakeFolder("dir/zsub");
    folder.MakeFolder("dir/asub");

    std::vector<fsLocator> files{folder.Locator("stale")};
    EXPECT_TRUE(fsFileEnum::ListFiles(folder.Locator("dir"), files));
    EXPECT_EQ(Names(files), (std::vector<std::string>{"C.txt", "a.csa", "b.csa", "d.csa"}));
    EXPECT_EQ(files[0], folder.Locator("dir/C.txt"));
    const envString filter(".csa");
    EXPECT_TRUE(fsFileEnum::ListFiles(folder.Locator("dir"), files, &filter));
    EXPECT_EQ(Names(files), (std::vector<std::string>{"a.csa", "b.csa", "d.csa"}));

    std::vector<fsLocator> dirs;
    EXPECT_TRUE(fsFileEnum::ListDirectories(folder.Locator("dir"), dirs));
    EXPECT_EQ(Names(dirs), (std::vector<std::string>{".", "..", "asub", "zsub"}));

    StopAfter stop(2);
    EXPECT_FALSE(fsFileEnum::EnumerateFiles(folder.Locator("dir"), stop));
    EXPECT_EQ(stop.seen, (std::vector<std::string>{"dir/C.txt", "dir/a.csa"}));
    // A stopped list leaves the out list alone.
    std::vector<fsLocator> unchanged{folder.Locator("keep")};
    EXPECT_TRUE(fsFileEnum::ListFiles(folder.Locator("dir/asub"), unchanged));
    EXPECT_TRUE(unchanged.empty());

    // A missing or unreadable folder reports nothing and is not a stop; only one that is there but cannot
    // be read (a link that leads round to itself; one that may not be read) is told as unreadable.
    std::filesystem::create_symlink(folder.Path("loop"), folder.Path("loop"));
    folder.MakeFolder("closed");
    chmod(folder.Path("closed").c_str(), 0333);
    StopAfter none(1);
    EXPECT_TRUE(fsFileEnum::EnumerateFiles(folder.Locator("missing"), none));
    EXPECT_TRUE(fsEnumerateSubdirectories(folder.Locator("dir/a.csa"), none));
    EXPECT_TRUE(none.unreadable.empty());
    EXPECT_TRUE(fsFileEnum::EnumerateFiles(folder.Locator("loop"), none));
    EXPECT_TRUE(fsFileEnum::EnumerateFiles(folder.Locator("closed"), none));
    EXPECT_TRUE(none.seen.empty());
    // Permissions do not stop the superuser.
    EXPECT_EQ(none.unreadable,
              (geteuid() == 0 ? std::vector{folder.Locator("loop")}
                              : std::vector{folder.Locator("loop"), folder.Locator("closed")}));
    chmod(folder.Path("closed").c_str(), 0755);
    // Folder names are matched ignoring case, as every read.
    EXPECT_TRUE(fsFileEnum::ListFiles(folder.Locator("DIR"), files));
    EXPECT_EQ(files.size(), 4u);
}

TEST(fsFileEnum, RootedWalksEveryDirectoryUntilStopped) {
    fsTestFolder first, second;
    first.Write("Saves/one.csa", "1");
    second.Write("Saves/two.csa", "2");
    second.Write("Saves/three.csa", "3");
    second.MakeFolder("Saves/Old");
    fsResetRootTable();
    fsAddRootDirectory(8, first.Locator());
    fsAddRootDirectory(8, second.Locator());
    fsLocator saves(8);
    saves.AppendComponent("Saves");

    StopAfter all(100);
    EXPECT_TRUE(fsEnumerateFiles(saves, all));
    EXPECT_EQ(all.seen, (std::vector<std::string>{"Saves/one.csa", "Saves/three.csa", "Saves/two.csa"}));
    // Stopping in the first directory skips the others.
    StopAfter one(1);
    EXPECT_FALSE(fsEnumerateFiles(saves, one));
    EXPECT_EQ(one.seen.size(), 1u);
    StopAfter dirs(100);
    EXPECT_TRUE(fsEnumerateDirectories(saves, dirs));
    EXPECT_EQ(dirs.seen.size(), 5u); // ".", ".." twice and "Old"
    fsResetRootTable();
}
