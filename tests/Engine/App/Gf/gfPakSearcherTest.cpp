#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/App/Gf/gfPakFile.h"

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

class gfPakSearcherTest : public ::testing::Test {
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

TEST_F(gfPakSearcherTest, ReadsTryThePaksFirstWritesNever) {
    gfFile fromPak(fsRootedLocator(kRoot, "data/BOTH.dat"), 0, 2);
    EXPECT_TRUE(fromPak.IsFromPak());
    EXPECT_EQ(ReadAll(fromPak), "from pak");
    EXPECT_EQ(fromPak.GetLocator(), fsRootedLocator(kRoot, "data/BOTH.dat"));
    // A pak-backed file refuses writes instead of reaching for a disc stream it does not have.
    EXPECT_THROW(fromPak.Write(1, "x"), fsReadOnlyX);
    EXPECT_THROW(fromPak.Seek(-1, 0), fsInvalidLocatorX);

    gfFile fromDisc(fsRootedLocator(kRoot, "Data/both.dat"), 2, 2);
    EXPECT_FALSE(fromDisc.IsFromPak());
    EXPECT_EQ(ReadAll(fromDisc), "from disc");
    EXPECT_EQ(fromDisc.GetLocator(), m_primary.Locator("Data/both.dat"));

    gfFile second(fsRootedLocator(kRoot, "Data/second.dat"), 0);
    EXPECT_EQ(ReadAll(second), "second");

    // Found nowhere: the primary directory, where the open fails.
    try {
        gfFile none(fsRootedLocator(kRoot, "Data/none.dat"), 0, 2);
        FAIL();
    } catch (const fsFileDoesntExistX& e) {
        EXPECT_EQ(e.GetLocator(), m_primary.Locator("Data/none.dat"));
    }

    // Unrooted locators never reach the pak searcher.
    m_fake.asked = 0;
    gfFile plain(m_primary.Locator("Data/both.dat"), 0);
    EXPECT_EQ(m_fake.asked, 0);
    EXPECT_FALSE(plain.IsFromPak());
}

TEST_F(gfPakSearcherTest, PathInsideThePakAndExistence) {
    m_fake.prefix = "Sub";
    m_fake.asked = 0;
    gfFile nested(fsRootedLocator(kRoot, "Data/nested.dat"), 0);
    EXPECT_EQ(ReadAll(nested), "n");
    EXPECT_EQ(nested.GetLocator(), m_fake.Prefixed(fsRootedLocator(kRoot, "Data/nested.dat")));
    m_fake.prefix.clear();

    // Disc first, then the paks; unrooted locators ask the pak locator too.
    m_fake.asked = 0;
    EXPECT_TRUE(gfFileExists(fsRootedLocator(kRoot, "Data/both.dat")));
    EXPECT_EQ(m_fake.asked, 0);
    EXPECT_TRUE(gfFileExists(fsRootedLocator(kRoot, "Data/second.dat")));
    EXPECT_TRUE(gfFileExists(fsRootedLocator(kRoot, "Data/only.dat")));
    EXPECT_FALSE(gfFileExists(fsRootedLocator(kRoot, "Data/none.dat")));
    EXPECT_TRUE(gfFileExists(m_second.Locator("Data/second.dat")));
    EXPECT_FALSE(gfFileExists(m_second.Locator("Data/none.dat")));

    // Without a locator object: no pak is searched, existence is the disc's.
    gfPakSearcher::SetPakLocator(nullptr);
    EXPECT_EQ(gfFindInPaks(fsRootedLocator(kRoot, "Data/only.dat")), nullptr);
    EXPECT_FALSE(gfFileExists(fsRootedLocator(kRoot, "Data/only.dat")));
    EXPECT_TRUE(gfFileExists(m_primary.Locator("Data/both.dat")));
    EXPECT_THROW(gfFile(fsRootedLocator(kRoot, "Data/only.dat"), 0), fsFileDoesntExistX);

    // A root without directories has no primary directory to fall back on.
    EXPECT_THROW(gfFile(fsRootedLocator(3, "x.dat"), 0), fsInvalidLocatorX);
    EXPECT_THROW(gfFileExists(fsRootedLocator(3, "x.dat")), fsInvalidLocatorX);
}

TEST_F(gfPakSearcherTest, DataFileTruncationSweepOnDiscAndInPak) {
    std::string data = "KSFB";
    data += std::string("\x02\x01\x00\x00", 4);
    data += "payload bytes";
    for (size_t cut = 0; cut <= data.size(); ++cut) {
        const std::string bytes = data.substr(0, cut);
        gfPakBuilderLayout layout;
        layout.entries = {{"Data/cut.dat", bytes}};
        m_second.Write("cut.pak", gfBuildPak(layout));
        m_fake.pak = std::make_unique<gfPakFile>(m_second.Locator("cut.pak"));
        m_primary.Write("Data/cut.dat", bytes);

        for (u32 mode : {0u, 2u}) { // 0 reads the pak entry, 2 the disc file
            gfFile file(fsRootedLocator(kRoot, "Data/cut.dat"), mode, 2);
            EXPECT_EQ(file.IsFromPak(), mode == 0);
            EXPECT_EQ(file.GetSize(), cut);
            u8 version[4] = {9, 9, 9, 9};
            if (cut < 8) {
                EXPECT_THROW(file.ReadBinHeader(version), gfInvalidFileBinX) << cut;
                EXPECT_EQ(version[0], 9);
                continue;
            }
            file.ReadBinHeader(version);
            EXPECT_EQ(version[0], 2);
            char rest[32];
            EXPECT_EQ(file.Read(sizeof(rest), rest), cut - 8) << cut;
            u32 value;
            EXPECT_EQ(file.ReadValue(value), false);
        }
    }
}
