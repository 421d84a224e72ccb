#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfExceptions.h"

#include <gtest/gtest.h>

namespace {

fsLocator MakeLocator(std::initializer_list<const char*> parts, i32 root = -1) {
    fsLocator l(root);
    for (const char* p : parts)
        l.AppendComponent(p);
    return l;
}

} // namespace

TEST(fsLocator, EqualityLooksAtRootednessNotRootNumbers) {
    EXPECT_EQ(MakeLocator({"a", "b"}, 3), MakeLocator({"a", "b"}, 9));
    EXPECT_NE(MakeLocator({"a", "b"}, 3), MakeLocator({"a", "b"}));
    EXPECT_NE(MakeLocator({"a", "b"}), MakeLocator({"a", "c"}));
    // The order ignores the root: neither is less, though they are not equal.
    EXPECT_FALSE(MakeLocator({"a"}, 3) < MakeLocator({"a"}));
    EXPECT_FALSE(MakeLocator({"a"}) < MakeLocator({"a"}, 3));
    EXPECT_TRUE(MakeLocator({"a"}) < MakeLocator({"a", "b"}));
}

TEST(fsLocator, ANegativeRootIsUnrooted) {
    fsLocator l;
    l.SetRoot(-5);
    EXPECT_EQ(l.GetRoot(), -1);
    EXPECT_FALSE(fsLocator(-5).IsRooted());
}

TEST(fsRootTable, GrowsForNewRootsAndRefusesNegativeOnes) {
    fsResetRootTable();
    EXPECT_EQ(fsGetRootCount(), 5u);
    fsAddRootDirectory(7, MakeLocator({"", "a"}));
    fsAddRootDirectory(7, MakeLocator({"", "b"}));
    EXPECT_EQ(fsGetRootCount(), 8u);
    std::vector<fsLocator> dirs;
    fsGetRootDirectories(5, dirs);
    EXPECT_TRUE(dirs.empty());
    fsGetRootDirectories(7, dirs);
    ASSERT_EQ(dirs.size(), 2u);
    EXPECT_EQ(fsGetRootDirectory(7, 1), MakeLocator({"", "b"}));

    EXPECT_THROW(fsAddRootDirectory(-1, MakeLocator({"x"})), fsInvalidLocatorX);
    EXPECT_THROW(fsGetRootDirectory(6, 0), fsInvalidLocatorX);
    EXPECT_THROW(fsGetRootDirectory(99, 0), fsInvalidLocatorX);
    EXPECT_EQ(fsGetRootCount(), 8u);

    fsSetRootTableFiller([](const char*) { fsAddRootDirectory(0, MakeLocator({"", "prog"})); });
    fsResetRootTable();
    fsInitRootTable(nullptr);
    EXPECT_EQ(fsGetRootDirectory(0, 0), MakeLocator({"", "prog"}));
    fsSetRootTableFiller({});
    fsResetRootTable();
}

TEST(fsExceptions, CodeTableAndLocatorPayload) {
    const fsLocator loc = MakeLocator({"dir", "file.bin"}, 3);
    const std::pair<u32, u32> codes[] = {
        {fsDirectoryDoesntExistX(loc).GetCode(), 0xE0140001}, {fsDirectoryNotEmptyX(loc).GetCode(), 0xE0140003},
        {fsFileDoesntExistX(loc).GetCode(), 0xE0140004},      {fsFileExistsX(loc).GetCode(), 0xE0140005},
        {fsFileInUseX(loc).GetCode(), 0xE0140006},            {fsInvalidLocatorX(loc).GetCode(), 0xE0140007},
        {fsReadOnlyX(loc).GetCode(), 0xE0140008},             {fsUnknownX(loc).GetCode(), 0xE014000A},
        {gfInvalidTokenFileTxtX(loc).GetCode(), 0xE0170001},  {gfInvalidFileBinX(loc).GetCode(), 0xE0170001},
        {gfInvalidTextSetFileX(loc).GetCode(), 0xE0170003},   {gfInvalidPakFileX(loc).GetCode(), 0xE0170004},
        {gfFileNotInPakX(loc).GetCode(), 0xE0170005},         {gfFileCorruptX().GetCode(), 0xE0170006},
    };
    for (const auto& [actual, expected] : codes)
        EXPECT_EQ(actual, expected);

    try {
        throw gfInvalidFileBinX(loc);
    } catch (const gfInvalidTokenFileTxtX&) {
        FAIL() << "classes with the same code must stay apart";
    } catch (const envExceptionX& e) {
        EXPECT_EQ(e.GetCode(), 0xE0170001u);
        const auto& bin = dynamic_cast<const gfInvalidFileBinX&>(e);
        EXPECT_EQ(bin.GetLocator(), loc);
        EXPECT_EQ(bin.GetLocator().GetRoot(), 3);
    }
}
