#include "Engine/App/App/appRegistry.h"
#include "appStartupTestServices.h"

#include <filesystem>

namespace {

constexpr i32 kLocalMachine = 2;

struct appRegistryTest : appStartupTestServices {
    void TearDown() override {
        appRegistryClose();
        appStartupTestServices::TearDown();
    }
    // Hive files are written byte for byte here, not by the store, so a writer fault cannot hide a reader's.
    void WriteHive(const std::string& hive, const std::string& text) {
        folder.Write("config/" + hive + ".ini", text);
    }
    std::string ReadHive(const std::string& hive) const { return folder.Read("config/" + hive + ".ini"); }
    size_t CountFiles() const {
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path("config")))
            ++count;
        return count;
    }
};

} // namespace

TEST_F(appRegistryTest, AReadWithADefaultCreatesTheValueAndReturnsIt) {
    WriteHive("HKEY_LOCAL_MACHINE", "[Software\\Maker\\Game]\nVersion=\"1.0\"\n");
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Software\\Maker", "Game"), 0u);
    std::string text;
    u32 size = 260;
    EXPECT_EQ(appRegistryReadString(text, "InstallPath", size, "/opt/game"), 0u);
    EXPECT_EQ(text, "/opt/game");
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(ReadHive("HKEY_LOCAL_MACHINE"),
              "[Software\\Maker\\Game]\nVersion=\"1.0\"\nInstallPath=\"/opt/game\"\n");
    EXPECT_EQ(CountFiles(), 1u); // no temporary file left behind
    text.clear();
    EXPECT_EQ(appRegistryReadString(text, "installpath", size = 260, ""), 0u);
    EXPECT_EQ(text, "/opt/game");

    // A default too long for the buffer is still written, the buffer left alone.
    char buffer[4] = {'x', 'x', 'x', 'x'};
    size = sizeof buffer;
    EXPECT_EQ(appRegistryReadValue(buffer, "Name", size, "Player One"), 234u);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_NE(ReadHive("HKEY_LOCAL_MACHINE").find("Name=\"Player One\""), std::string::npos);
}

TEST_F(appRegistryTest, AnExistingValueSurvivesAReadWithADefault) {
    const std::string path(300, 'p');
    const std::string hive = "[Software\\Maker\\Game]\r\nInstallPath=" + path + "\r\nEmpty=\r\n";
    WriteHive("HKEY_LOCAL_MACHINE", hive);
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Software\\Maker", "Game"), 0u);
    std::string text = "unchanged";
    u32 size = 260;
    EXPECT_EQ(appRegistryReadString(text, "InstallPath", size, "/opt/game"), 234u);
    EXPECT_EQ(size, 301u);
    EXPECT_EQ(text, "unchanged");
    // A value that exists but is empty is the user's too.
    EXPECT_EQ(appRegistryReadString(text, "Empty", size = 260, "/opt/game"), 0u);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadHive("HKEY_LOCAL_MACHINE"), hive);
    EXPECT_EQ(appRegistryReadString(text, "InstallPath", size = 400, "/opt/game"), 0u);
    EXPECT_EQ(text, path);
    // A buffer of no bytes is too small for anything, and is never written past.
    EXPECT_EQ(appRegistryReadString(text, "Empty", size = 0, ""), 234u);
    EXPECT_EQ(size, 1u);
}

TEST_F(appRegistryTest, KeysOpenByHiveAndPathIgnoringCaseAndAnOpenClosesTheOneBefore) {
    const std::string hive = "[software\\MAKER\\game\\Sub]\nlabel = 'DISC 1'\n[Two]\nLabel=\"two\"\n";
    WriteHive("HKEY_LOCAL_MACHINE", hive);
    WriteHive("HKEY_CURRENT_CONFIG", "[A]\n");
    EXPECT_EQ(appRegistryOpen(kLocalMachine, "Software\\Maker", "Missing"), 2u);
    // A key exists when a key below it does.
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Software\\Maker", "Game"), 0u);
    std::string text;
    u32 size = 260;
    EXPECT_EQ(appRegistryReadString(text, "Label", size, ""), 2u);
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "SOFTWARE\\Maker\\Game", "sub"), 0u);
    EXPECT_EQ(appRegistryReadString(text, "LABEL", size, ""), 0u);
    EXPECT_EQ(text, "DISC 1");
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Two", ""), 0u);
    EXPECT_EQ(store.GetOpenKeyCount(), 1u);
    EXPECT_EQ(appRegistryReadString(text, "Label", size, ""), 0u);
    EXPECT_EQ(text, "two");
    // Hive 4 is the current configuration, and a predefined handle may be given as it is.
    EXPECT_EQ(appRegistryOpen(4, "A", ""), 0u);
    EXPECT_EQ(appRegistryOpen(static_cast<i32>(0x80000005), "A", ""), 0u);
    EXPECT_EQ(appRegistryOpen(7, "A", ""), 6u);
    EXPECT_EQ(appRegistryOpen(static_cast<i32>(0x80000004), "A", ""), 6u);

    // With no key open nothing is read or written, default or not.
    EXPECT_EQ(appRegistryClose(), 0u);
    EXPECT_EQ(store.GetOpenKeyCount(), 0u);
    EXPECT_EQ(appRegistryReadString(text, "Label", size, "default"), 6u);
    EXPECT_EQ(appRegistryWriteString("x", "Label"), 6u);
    EXPECT_EQ(ReadHive("HKEY_LOCAL_MACHINE"), hive);
}

TEST_F(appRegistryTest, PathsAndTextsRoundTrip) {
    WriteHive("HKEY_LOCAL_MACHINE", "[Game]\nData=/opt/My Game//data/\n");
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Game", ""), 0u);
    fsLocator data;
    ASSERT_EQ(appRegistryReadPath(data, "Data"), 0u);
    fsLocator expected;
    for (const char* part : {"", "opt", "My Game", "data"})
        expected.AppendComponent(part);
    EXPECT_EQ(data, expected);
    EXPECT_EQ(appRegistryReadPath(data, "Missing"), 2u);
    EXPECT_EQ(data, expected);

    // Blanks and quotes around a text are kept; a line break cannot be stored and is refused.
    for (const std::string text : {"  padded  ", "\"quoted\"", "'", "a=b", ""}) {
        ASSERT_EQ(appRegistryWriteString(text, "Text"), 0u) << text;
        std::string back = "?";
        u32 size = 64;
        EXPECT_EQ(appRegistryReadString(back, "Text", size, ""), 0u);
        EXPECT_EQ(back, text);
    }
    EXPECT_EQ(appRegistryWriteString("two\nlines", "Text"), 87u);
    EXPECT_EQ(appRegistryWriteString("x", "a=b"), 87u);
}
