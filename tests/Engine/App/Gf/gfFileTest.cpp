#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr i32 kRoot = 9;

// Stands in for the game's pak manager: answers for one root with one pak, optionally under a folder.
class FakePakLocator : public gfPakSearcher::PakLocator {
  public:
    gfPakFile* Locate(i32 root, const fsLocator& locator, fsLocator& pathInPak) override {
        ++asked;
        if (root != kRoot || !pak || !pak->HasEntry(Prefixed(locator)))
            return nullptr;
        if (!prefix.empty())
            pathInPak = Prefixed(locator);
        return pak.get();
    }
    fsLocator Prefixed(const fsLocator& locator) const {
        fsLocator path;
        if (!prefix.empty())
            path.AppendComponent(prefix.c_str());
        path.AppendComponents(locator);
        return path;
    }
    std::unique_ptr<gfPakFile> pak;
    std::string prefix;
    int asked = 0;
};

// A root of two directories and a pak answering for it: reads try the pak first.
class gfFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fsResetRootTable();
        fsAddRootDirectory(kRoot, m_primary.Locator());
        fsAddRootDirectory(kRoot, m_second.Locator());
        gfPakBuilderLayout layout;
        layout.entries = {
            {"Data/both.dat", "from pak"}, {"Data/only.dat", "pak only"}, {"Sub/Data/nested.dat", "n"}};
        m_primary.Write("game.pak", gfBuildPak(layout));
        m_primary.Write("Data/both.dat", "from disc");
        m_second.Write("Data/second.dat", "second");
        m_fake.pak = std::make_unique<gfPakFile>(m_primary.Locator("game.pak"));
        gfPakSearcher::SetPakLocator(&m_fake);
    }
    void TearDown() override {
        gfPakSearcher::SetPakLocator(nullptr);
        fsResetRootTable();
    }
    static std::string ReadAll(gfFile& file) {
        std::string data(file.GetSize(), '\0');
        EXPECT_EQ(file.Read(static_cast<u32>(data.size()), data.data()), data.size());
        return data;
    }

    fsTestFolder m_primary, m_second;
    FakePakLocator m_fake;
};

} // namespace

// Header and values in both byte orders: flag 1 swaps values and UTF-16 units on writing and reading.
TEST_F(gfFileTest, HeaderAndValuesRoundTripInBothByteOrders) {
    const char16_t units[2] = {0x0048, 0x20AC};
    for (u32 order : {gfByteOrderData, gfByteOrderReversed}) {
        SCOPED_TRACE(order);
        fsCreateFile(m_primary.Locator("a.dat"));
        {
            gfFile out(fsRootedLocator(kRoot, "a.dat"), gfFileWrite, order);
            const u8 version[4] = {0x00, 0x05, 0x00, 0x00};
            out.WriteBinHeader(version);
            out.WriteValue<u16>(0x0102);
            out.WriteUnits(2, units);
        }
        const std::string swapped = envBytes({'K', 'S', 'F', 'B', 1, 5, 0, 0, 1, 2, 0x00, 0x48, 0x20, 0xAC});
        const std::string plain = envBytes({'K', 'S', 'F', 'B', 2, 5, 0, 0, 2, 1, 0x48, 0x00, 0xAC, 0x20});
        EXPECT_EQ(m_primary.Read("a.dat"), order == gfByteOrderReversed ? swapped : plain);

        gfFile in(fsRootedLocator(kRoot, "a.dat"), gfFileRead, order);
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
        std::remove(m_primary.Path("a.dat").c_str());
    }
}

TEST_F(gfFileTest, TheOldMagicIsAcceptedAndOthersRefused) {
    m_second.Write("old.dat", envBytes({'B', 'R', 'F', 'B', 2, 1, 2, 3}));
    u8 version[4] = {};
    gfFile(fsRootedLocator(kRoot, "old.dat"), gfFileRead, gfByteOrderData).ReadBinHeader(version);
    EXPECT_EQ(version[3], 3);

    m_second.Write("bad.dat", envBytes({'K', 'S', 'F', 'X', 2, 0, 0, 0}));
    EXPECT_EQ(
        CaughtLocator<gfInvalidFileBinX>([&] {
            gfFile(fsRootedLocator(kRoot, "bad.dat"), gfFileRead, gfByteOrderData).ReadBinHeader(version);
        }),
        m_second.Locator("bad.dat"));
}

// Disc modes need an existing file, in any directory of the root, and never truncate it.
TEST_F(gfFileTest, WritesNeedAnExistingFileAndDoNotTruncate) {
    EXPECT_THROW(gfFile(fsRootedLocator(kRoot, "none.dat"), gfFileWrite, gfByteOrderData),
                 fsFileDoesntExistX);
    EXPECT_THROW(gfFile(fsRootedLocator(kRoot, "none.dat"), gfFileReadWrite), fsFileDoesntExistX);
    m_second.Write("rw.dat", "hello");
    {
        gfFile rw(fsRootedLocator(kRoot, "rw.dat"), gfFileReadWrite);
        rw.Seek(0, 2);
        rw.Write(1, "!");
        rw.Seek(0, 0);
        char buffer[8];
        EXPECT_EQ(rw.ReadAvailable(8, buffer), 6u);
    }
    EXPECT_EQ(m_second.Read("rw.dat"), "hello!");
}

// Reads try the paks first, writes and unrooted locators never; existence asks the disc first.
TEST_F(gfFileTest, PaksFirstForReadsDiscForWritesAndExistence) {
    gfFile fromPak(fsRootedLocator(kRoot, "data/BOTH.dat"), gfFileRead, gfByteOrderData);
    EXPECT_TRUE(fromPak.IsFromPak());
    EXPECT_EQ(ReadAll(fromPak), "from pak");
    // A pak-backed file refuses writes instead of reaching for a disc stream it does not have.
    EXPECT_THROW(fromPak.Write(1, "x"), fsReadOnlyX);
    EXPECT_THROW(fromPak.Seek(-1, 0), fsInvalidLocatorX);

    gfFile fromDisc(fsRootedLocator(kRoot, "Data/both.dat"), gfFileReadWrite, gfByteOrderData);
    EXPECT_FALSE(fromDisc.IsFromPak());
    EXPECT_EQ(ReadAll(fromDisc), "from disc");
    gfFile second(fsRootedLocator(kRoot, "Data/second.dat"), gfFileRead);
    EXPECT_EQ(ReadAll(second), "second");
    m_fake.asked = 0;
    EXPECT_FALSE(gfFile(m_primary.Locator("Data/both.dat"), gfFileRead).IsFromPak());
    EXPECT_EQ(m_fake.asked, 0);

    // Found nowhere: the primary directory, where the open fails.
    EXPECT_EQ(CaughtLocator<fsFileDoesntExistX>(
                  [&] { gfFile none(fsRootedLocator(kRoot, "Data/none.dat"), gfFileRead, gfByteOrderData); }),
              m_primary.Locator("Data/none.dat"));

    m_fake.prefix = "Sub";
    gfFile nested(fsRootedLocator(kRoot, "Data/nested.dat"), gfFileRead);
    EXPECT_EQ(ReadAll(nested), "n");
    EXPECT_EQ(nested.GetLocator(), m_fake.Prefixed(fsRootedLocator(kRoot, "Data/nested.dat")));
    m_fake.prefix.clear();

    m_fake.asked = 0;
    EXPECT_TRUE(gfFileExists(fsRootedLocator(kRoot, "Data/both.dat")));
    EXPECT_EQ(m_fake.asked, 0);
    EXPECT_TRUE(gfFileExists(fsRootedLocator(kRoot, "Data/only.dat")));
    EXPECT_FALSE(gfFileExists(fsRootedLocator(kRoot, "Data/none.dat")));
    gfPakSearcher::SetPakLocator(nullptr);
    EXPECT_FALSE(gfFileExists(fsRootedLocator(kRoot, "Data/only.dat")));

    // A root without directories has no primary directory to fall back on.
    EXPECT_THROW(gfFile(fsRootedLocator(3, "x.dat"), gfFileRead), fsInvalidLocatorX);
    EXPECT_THROW(gfFileExists(fsRootedLocator(3, "x.dat")), fsInvalidLocatorX);
}

// A data file cut at every byte, in a pak (mode 0) and on disc (mode 2): under 8 bytes the header
// is refused and the record left alone; after it, reads give the real count.
TEST_F(gfFileTest, DataFileTruncationSweepOnDiscAndInPak) {
    const std::string data = std::string("KSFB\x02\x01\x00\x00", 8) + "payload bytes";
    for (size_t cut = 0; cut <= data.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::string bytes = data.substr(0, cut);
        gfPakBuilderLayout layout;
        layout.entries = {{"Data/cut.dat", bytes}};
        m_fake.pak = std::make_unique<gfPakFile>(m_second.Write("cut.pak", gfBuildPak(layout)));
        m_primary.Write("Data/cut.dat", bytes);

        for (u32 mode : {gfFileRead, gfFileReadWrite}) {
            gfFile file(fsRootedLocator(kRoot, "Data/cut.dat"), mode, gfByteOrderData);
            EXPECT_EQ(file.IsFromPak(), mode == gfFileRead);
            u8 version[4] = {9, 9, 9, 9};
            if (cut < 8) {
                EXPECT_THROW(file.ReadBinHeader(version), gfInvalidFileBinX);
                EXPECT_EQ(version[0], 9);
                file.Seek(0, 0);
                EXPECT_THROW(file.ReadBinHeader(nullptr), gfInvalidFileBinX);
                continue;
            }
            file.ReadBinHeader(version);
            EXPECT_EQ(version[0], 2);
            char rest[32];
            EXPECT_EQ(file.Read(sizeof(rest), rest), cut - 8);
        }
    }
}

// Written bytes collect in the window: a size patched by a seek back, as the chunk writer patches its
// sizes, costs no write; the position and the size stay exact, and long runs cross windows both ways.
TEST_F(gfFileTest, WritesCollectInTheWindowAndSeeksBackPatchIt) {
    fsCreateFile(m_primary.Locator("w.dat"));
    std::string run(150000, '\0');
    for (size_t i = 0; i < run.size(); ++i)
        run[i] = static_cast<char>(i * 7 % 251);
    const std::string expected = envBytes({6, 0, 0, 0}) + "values" + run;
    const fsWriteCalls writes;
    gfFile file(m_primary.Locator("w.dat"), gfFileReadWrite, gfByteOrderData);
    file.WriteValue<u32>(0);
    file.Write(6, "values");
    EXPECT_EQ(file.Seek(0, 0), 0u);
    file.WriteValue<u32>(6);
    EXPECT_EQ(file.Seek(0, 2), 10u);
    EXPECT_EQ(writes.GetCount(), 0);
    file.Write(static_cast<u32>(run.size()), run.data());
    EXPECT_EQ(file.GetSize(), expected.size());
    EXPECT_EQ(file.Seek(0, 0), 0u); // leaves the window: flushed
    EXPECT_EQ(writes.GetCount(), 3);
    std::string back(expected.size(), '\0');
    for (u32 at = 0; at < 70000; at += 7)
        ASSERT_EQ(file.Read(7, &back[at]), 7u);
    EXPECT_EQ(file.Read(200000, &back[70000]), expected.size() - 70000);
    EXPECT_TRUE(back == expected);
    EXPECT_EQ(m_primary.Read("w.dat"), expected);
}

// A failed write of the window is reported once, by the call that flushes it; an atomic save then keeps
// the old file. A file opened for reading refuses writes.
TEST_F(gfFileTest, AFailedFlushIsReportedByItsCallAndKeepsTheOldFile) {
    const fsLocator keep = m_primary.Write("keep.dat", "old bytes");
    EXPECT_THROW(gfFile(keep, gfFileRead).Write(1, "x"), fsReadOnlyX);
    {
        const fsWriteCalls full(ENOSPC);
        gfFile file(keep, gfFileWrite);
        file.Write(3, "new");
        EXPECT_THROW(file.Seek(100000, 0), fsUnknownX);
        EXPECT_EQ(file.Tell(), 3u);
        const auto save = [](gfFile& out) { out.Write(3, "new"); };
        EXPECT_THROW(gfWriteFileAtomically(keep, gfByteOrderData, save), fsUnknownX);
        EXPECT_EQ(full.GetCount(), 2);
    }
    EXPECT_EQ(m_primary.Read("keep.dat"), "old bytes");
    EXPECT_FALSE(std::filesystem::exists(m_primary.Path("keep.dat.tmp")));
}
