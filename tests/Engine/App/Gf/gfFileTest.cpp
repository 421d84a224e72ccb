#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"

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
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

} // namespace

TEST_F(gfFileTest, HeaderWrittenAndReadBack) {
    const fsLocator file = fsRootedLocator(5, "a.dat");
    fsLocator created = file;
    created.SetRoot(-1);
    fsCreateFile(m_primary.Locator("a.dat"));
    {
        gfFile out(file, 1, 2);
        const u8 version[4] = {0x00, 0x05, 0x00, 0x00};
        out.WriteBinHeader(version);
        out.WriteValue<u32>(0x11223344);
        EXPECT_EQ(out.GetLocator(), m_primary.Locator("a.dat"));
    }
    EXPECT_EQ(m_primary.Read("a.dat"), Bytes({'K', 'S', 'F', 'B', 2, 5, 0, 0, 0x44, 0x33, 0x22, 0x11}));

    gfFile in(file, 0, 2);
    EXPECT_EQ(in.GetSize(), 12u);
    EXPECT_EQ(in.Tell(), 0u);
    u8 version[4];
    in.ReadBinHeader(version);
    EXPECT_EQ(version[0], 2);
    EXPECT_EQ(version[1], 5);
    u32 value = 0;
    EXPECT_TRUE(in.ReadValue(value));
    EXPECT_EQ(value, 0x11223344u);
    EXPECT_FALSE(in.ReadValue(value));
    EXPECT_EQ(value, 0x11223344u);

    // GetSize keeps the position; a null record leaves the position at 8.
    in.Seek(3, 0);
    EXPECT_EQ(in.GetSize(), 12u);
    EXPECT_EQ(in.Tell(), 3u);
    in.Seek(0, 0);
    in.ReadBinHeader(nullptr);
    EXPECT_EQ(in.Tell(), 8u);
}

TEST_F(gfFileTest, HeaderMagicAndShortFiles) {
    m_disc.Write("old.dat", Bytes({'B', 'R', 'F', 'B', 2, 1, 2, 3}));
    gfFile old(fsRootedLocator(5, "old.dat"), 0, 2);
    u8 version[4] = {};
    old.ReadBinHeader(version);
    EXPECT_EQ(version[3], 3);
    EXPECT_EQ(old.GetLocator(), m_disc.Locator("old.dat"));

    m_disc.Write("bad.dat", Bytes({'K', 'S', 'F', 'X', 2, 0, 0, 0}));
    gfFile bad(fsRootedLocator(5, "bad.dat"), 0, 2);
    try {
        bad.ReadBinHeader(version);
        FAIL();
    } catch (const gfInvalidFileBinX& e) {
        EXPECT_EQ(e.GetLocator(), m_disc.Locator("bad.dat"));
    }

    // Every cut of a good header short of 8 bytes is refused, with or without a record.
    const std::string good = Bytes({'K', 'S', 'F', 'B', 2, 0, 0, 0});
    for (size_t cut = 0; cut < good.size(); ++cut) {
        m_disc.Write("cut.dat", good.substr(0, cut));
        gfFile file(fsRootedLocator(5, "cut.dat"), 0, 2);
        EXPECT_THROW(file.ReadBinHeader(version), gfInvalidFileBinX) << cut;
        file.Seek(0, 0);
        EXPECT_THROW(file.ReadBinHeader(nullptr), gfInvalidFileBinX) << cut;
    }
}

TEST_F(gfFileTest, ByteOrderFlagOneSwapsValuesAndUnitsBothWays) {
    fsCreateFile(m_primary.Locator("swap.dat"));
    const char16_t units[2] = {0x0048, 0x20AC};
    {
        gfFile out(fsRootedLocator(5, "swap.dat"), 2, 1);
        const u8 version[4] = {0, 0, 0, 0};
        out.WriteBinHeader(version);
        out.WriteValue<u16>(0x0102);
        out.WriteValue<f32>(1.5f);
        out.WriteUnits(2, units);
    }
    const std::string bytes = m_primary.Read("swap.dat");
    EXPECT_EQ(bytes.substr(4, 1), Bytes({1}));
    EXPECT_EQ(bytes.substr(8, 2), Bytes({1, 2}));
    EXPECT_EQ(bytes.substr(14), Bytes({0x00, 0x48, 0x20, 0xAC}));

    gfFile in(fsRootedLocator(5, "swap.dat"), 0, 1);
    in.ReadBinHeader(nullptr);
    u16 small = 0;
    f32 real = 0;
    char16_t back[2] = {};
    EXPECT_TRUE(in.ReadValue(small));
    EXPECT_TRUE(in.ReadValue(real));
    EXPECT_EQ(in.ReadUnits(2, back), 2u);
    EXPECT_EQ(small, 0x0102);
    EXPECT_EQ(real, 1.5f);
    EXPECT_EQ(back[0], units[0]);
    EXPECT_EQ(back[1], units[1]);
    EXPECT_EQ(in.ReadUnits(2, back), 0u);

    // Flag 2 keeps the machine's order (little-endian here).
    gfFile plain(fsRootedLocator(5, "swap.dat"), 0, 2);
    plain.Seek(8, 0);
    EXPECT_TRUE(plain.ReadValue(small));
    EXPECT_EQ(small, 0x0201);
}

TEST_F(gfFileTest, DiscOpensNeedAnExistingFile) {
    // Found nowhere: resolves to the primary directory and fails there.
    try {
        gfFile missing(fsRootedLocator(5, "none.dat"), 0, 2);
        FAIL();
    } catch (const fsFileDoesntExistX& e) {
        EXPECT_EQ(e.GetLocator(), m_primary.Locator("none.dat"));
    }
    EXPECT_THROW(gfFile(fsRootedLocator(5, "none.dat"), 1, 2), fsFileDoesntExistX);
    EXPECT_THROW(gfFile(fsRootedLocator(5, "none.dat"), 2), fsFileDoesntExistX);

    // Read-write on a file in the second directory, no truncation.
    m_disc.Write("rw.dat", "hello");
    {
        gfFile rw(fsRootedLocator(5, "rw.dat"), 2);
        EXPECT_EQ(rw.GetByteOrder(), 0u);
        rw.Seek(0, 2);
        rw.Write(1, "!");
        rw.Seek(0, 0);
        char buffer[8];
        EXPECT_EQ(rw.ReadAvailable(8, buffer), 6u);
    }
    EXPECT_EQ(m_disc.Read("rw.dat"), "hello!");
}
