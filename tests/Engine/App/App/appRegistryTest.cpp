#include "Engine/App/App/appRegistry.h"
#include "appStartupTestServices.h"

#include <filesystem>
#include <tuple>

namespace {

constexpr i32 kLocalMachine = 2;

// One read: the result, the text and the size it reported.
using Reading = std::tuple<u32, std::string, u32>;

struct appRegistryTest : appStartupTestServices {
    void TearDown() override {
        appRegistryClose();
        appStartupTestServices::TearDown();
    }
    // Hive files are written byte for byte here, not by the store, so a writer fault cannot hide a reader's.
    void WriteHive(const std::string& text) { folder.Write("config/HKEY_LOCAL_MACHINE.ini", text); }
    std::string Hive() const { return folder.Read("config/HKEY_LOCAL_MACHINE.ini"); }
    static Reading Read(const std::string& name, const std::string& defaultText = "", u32 size = 260) {
        std::string text = "unchanged";
        const u32 result = appRegistryReadString(text, name, size, defaultText);
        return {result, text, size};
    }
};

} // namespace

// A read with a default of a missing value writes it, atomically, and returns it; an existing value,
// long or empty, is never overwritten; a default too long for the buffer is still written.
TEST_F(appRegistryTest, ReadsWithADefaultWriteOnlyWhatIsMissing) {
    const std::string path(300, 'p');
    const std::string hive = "[Software\\Maker\\Game]\r\nLong=" + path + "\r\nEmpty=\r\n";
    WriteHive(hive);
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Software\\Maker", "Game"), 0u);
    EXPECT_EQ(Read("Long", "/opt/game"), Reading(234, "unchanged", 301));
    EXPECT_EQ(Read("Empty", "/opt/game"), Reading(0, "", 1));
    EXPECT_EQ(Hive(), hive);
    EXPECT_EQ(Read("Long", "/opt/game", 400), Reading(0, path, 301));
    EXPECT_EQ(Read("Empty", "", 0), Reading(234, "unchanged", 1)); // no byte is never written past

    EXPECT_EQ(Read("InstallPath", "/opt/game"), Reading(0, "/opt/game", 10));
    EXPECT_EQ(Hive(), "[Software\\Maker\\Game]\nLong=" + path + "\nEmpty=\nInstallPath=\"/opt/game\"\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("config")), {}), 1);
    EXPECT_EQ(Read("installpath"), Reading(0, "/opt/game", 10));

    char buffer[4] = {'x', 'x', 'x', 'x'};
    u32 size = sizeof buffer;
    EXPECT_EQ(appRegistryReadValue(buffer, "Name", size, "Player One"), 234u);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_NE(Hive().find("Name=\"Player One\""), std::string::npos);
}

// Keys open by hive and path ignoring case (a key exists when one below it does); an open closes the key
// before it; with no key open nothing is read or written.
TEST_F(appRegistryTest, KeysAndTheOpenKey) {
    const std::string hive = "[software\\MAKER\\game\\Sub]\nlabel = 'DISC 1'\n[Two]\nLabel=\"two\"\n";
    WriteHive(hive);
    EXPECT_EQ(appRegistryOpen(kLocalMachine, "Software\\Maker", "Missing"), 2u);
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Software\\Maker", "Game"), 0u);
    EXPECT_EQ(std::get<0>(Read("Label")), 2u);
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "SOFTWARE\\Maker\\Game", "sub"), 0u);
    EXPECT_EQ(Read("LABEL"), Reading(0, "DISC 1", 7));
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Two", ""), 0u);
    EXPECT_EQ(store.GetOpenKeyCount(), 1u);
    EXPECT_EQ(Read("Label"), Reading(0, "two", 4));
    EXPECT_EQ(appRegistryOpen(7, "Two", ""), 6u);

    EXPECT_EQ(appRegistryClose(), 0u);
    EXPECT_EQ(store.GetOpenKeyCount(), 0u);
    EXPECT_EQ(std::get<0>(Read("Label", "default")), 6u);
    EXPECT_EQ(appRegistryWriteString("x", "Label"), 6u);
    EXPECT_EQ(Hive(), hive);
}

TEST_F(appRegistryTest, PathsAndTextsRoundTrip) {
    WriteHive("[Game]\nData=/opt/My Game//data/\n");
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Game", ""), 0u);
    fsLocator data, expected;
    for (const char* part : {"", "opt", "My Game", "data"})
        expected.AppendComponent(part);
    ASSERT_EQ(appRegistryReadPath(data, "Data"), 0u);
    EXPECT_EQ(data, expected);
    EXPECT_EQ(appRegistryReadPath(data, "Missing"), 2u);
    EXPECT_EQ(data, expected);

    // Blanks and quotes around a text are kept; a line break cannot be stored and is refused.
    for (const std::string text : {"  padded  ", "\"quoted\"", "'", "a=b", ""}) {
        ASSERT_EQ(appRegistryWriteString(text, "Text"), 0u) << text;
        EXPECT_EQ(std::get<1>(Read("Text")), text);
    }
    EXPECT_EQ(appRegistryWriteString("two\nlines", "Text"), 87u);
    EXPECT_EQ(appRegistryWriteString("x", "a=b"), 87u);
}
