#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {

class gfFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fsResetRootTable();
        fsAddRootDirectory(5, m_primary.Locator());
        fsAddRootDirectory(5, m_disc.Locator());
    }
    void TearDown() override { fsResetRootTable(); }

    fsTestFolder m_primary, m_disc;
};

std::string Bytes(std::initializer_list<int> values) {
    return std::string(values.begin(), values.end());
}

} // namespace

// Header and values in both byte orders: flag 1 swaps values and UTF-16 units on writing and reading.
TEST_F(gfFileTest, HeaderAndValuesRoundTripInBothByteOrders) {
    const char16_t units[2] = {0x0048, 0x20AC};
    for (u32 order : {2u, 1u}) {
        SCOPED_TRACE(order);
        fsCreateFile(m_primary.Locator("a.dat"));
        {
            gfFile out(fsRootedLocator(5, "a.dat"), 1, order);
            const u8 version[4] = {0x00, 0x05, 0x00, 0x00};
            out.WriteBinHeader(version);
            out.WriteValue<u16>(0x0102);
            out.WriteUnits(2, units);
        }
        const std::string swapped = Bytes({'K', 'S', 'F', 'B', 1, 5, 0, 0, 1, 2, 0x00, 0x48, 0x20, 0xAC});
        const std::string plain = Bytes({'K', 'S', 'F', 'B', 2, 5, 0, 0, 2, 1, 0x48, 0x00, 0xAC, 0x20});
        EXPECT_EQ(m_primary.Read("a.dat"), order == 1 ? swapped : plain);

        gfFile in(fsRootedLocator(5, "a.dat"), 0, order);
        u8 version[4];
        in.ReadBinHeader(version);
        EXPECT_EQ(version[1], 5);
        u16 small = 0;
        char16_t back[2] = {};
        EXPECT_TRUE(in.ReadValue(small));
        EXPECT_EQ(in.ReadUnits(2, back), 2u);
        EXPECT_EQ(small, 0x0102);
        EXPECT_EQ(back[1], units[1]);
        EXPECT_FALSE(in.ReadValue(small)); // at the end: false, the value kept
        EXPECT_EQ(small, 0x0102);
        // GetSize keeps the position; a null record still reads the 8 bytes.
        in.Seek(3, 0);
        EXPECT_EQ(in.GetSize(), 14u);
        EXPECT_EQ(in.Tell(), 3u);
        in.Seek(0, 0);
        in.ReadBinHeader(nullptr);
        EXPECT_EQ(in.Tell(), 8u);
        std::remove(m_primary.Path("a.dat").c_str());
    }
}

TEST_F(gfFileTest, TheOldMagicIsAcceptedAndOthersRefused) {
    m_disc.Write("old.dat", Bytes({'B', 'R', 'F', 'B', 2, 1, 2, 3}));
    u8 version[4] = {};
    gfFile(fsRootedLocator(5, "old.dat"), 0, 2).ReadBinHeader(version);
    EXPECT_EQ(version[3], 3);

    m_disc.Write("bad.dat", Bytes({'K', 'S', 'F', 'X', 2, 0, 0, 0}));
    try {
        gfFile(fsRootedLocator(5, "bad.dat"), 0, 2).ReadBinHeader(version);
        FAIL();
    } catch (const gfInvalidFileBinX& e) {
        EXPECT_EQ(e.GetLocator(), m_disc.Locator("bad.dat"));
    }
}

// Disc modes need an existing file, in any directory of the root, and never truncate it.
TEST_F(gfFileTest, WritesNeedAnExistingFileAndDoNotTruncate) {
    EXPECT_THROW(gfFile(fsRootedLocator(5, "none.dat"), 1, 2), fsFileDoesntExistX);
    EXPECT_THROW(gfFile(fsRootedLocator(5, "none.dat"), 2), fsFileDoesntExistX);
    m_disc.Write("rw.dat", "hello");
    {
        gfFile rw(fsRootedLocator(5, "rw.dat"), 2);
        rw.Seek(0, 2);
        rw.Write(1, "!");
        rw.Seek(0, 0);
        char buffer[8];
        EXPECT_EQ(rw.ReadAvailable(8, buffer), 6u);
    }
    EXPECT_EQ(m_disc.Read("rw.dat"), "hello!");
}
