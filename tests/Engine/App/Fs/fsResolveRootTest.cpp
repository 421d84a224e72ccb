#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"

#include <gtest/gtest.h>

namespace {

class fsResolveRootTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fsResetRootTable();
        m_first.MakeFolder("Data");
        fsAddRootDirectory(6, m_first.Locator());
        fsAddRootDirectory(6, m_second.Locator());
    }
    void TearDown() override { fsResetRootTable(); }

    fsTestFolder m_first, m_second;
};

} // namespace

TEST_F(fsResolveRootTest, FirstDirectoryHoldingTheFileElseThePrimary) {
    m_second.Write("Data/track.bin", "t");
    fsLocator found = fsRootedLocator(6, "Data/track.bin");
    fsResolveRoot(found);
    EXPECT_EQ(found, m_second.Locator("Data/track.bin"));
    EXPECT_FALSE(found.IsRooted());

    // Present in both: the search order decides.
    m_first.Write("Data/track.bin", "t");
    found = fsRootedLocator(6, "Data/track.bin");
    fsResolveRoot(found);
    EXPECT_EQ(found, m_first.Locator("Data/track.bin"));

    fsLocator missing = fsRootedLocator(6, "Data/none.bin");
    fsResolveRoot(missing);
    EXPECT_EQ(missing, m_first.Locator("Data/none.bin"));

    fsLocator first = fsRootedLocator(6, "Data/track.bin");
    fsLocateInFirstRootDirectory(first);
    EXPECT_EQ(first, m_first.Locator("Data/track.bin"));

    // Unrooted locators are left alone.
    fsLocator plain = m_second.Locator("x");
    fsResolveRoot(plain);
    fsLocateInFirstRootDirectory(plain);
    EXPECT_EQ(plain, m_second.Locator("x"));
}

TEST_F(fsResolveRootTest, FoldersAndRootsWithoutDirectories) {
    m_second.MakeFolder("Saves");
    EXPECT_TRUE(fsRootDirectoryExists(fsRootedLocator(6, "Saves")));
    EXPECT_TRUE(fsRootDirectoryExists(fsRootedLocator(6, "Data")));
    EXPECT_FALSE(fsRootDirectoryExists(fsRootedLocator(6, "Nothing")));
    EXPECT_TRUE(fsRootDirectoryExists(m_second.Locator("Saves")));

    // A root with no directory has no primary one to fall back on.
    fsLocator orphan = fsRootedLocator(2, "x.bin");
    EXPECT_THROW(fsResolveRoot(orphan), fsInvalidLocatorX);
    EXPECT_THROW(fsLocateInFirstRootDirectory(orphan), fsInvalidLocatorX);
    fsLocator beyond = fsRootedLocator(40, "x.bin");
    EXPECT_THROW(fsResolveRoot(beyond), fsInvalidLocatorX);
    EXPECT_FALSE(fsRootDirectoryExists(beyond));
}
