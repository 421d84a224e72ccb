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
    // The next read finds it, default or not.
    text.clear();
    size = 260;
    EXPECT_EQ(appRegistryReadString(text, "installpath", size, ""), 0u);
    EXPECT_EQ(text, "/opt/game");
    // The write left no temporary file behind.
    EXPECT_EQ(CountFiles(), 1u);
}

TEST_F(appRegistryTest, ALongExistingValueSurvivesAReadWithADefault) {
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
    size = 260;
    EXPECT_EQ(appRegistryReadString(text, "Empty", size, "/opt/game"), 0u);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadHive("HKEY_LOCAL_MACHINE"), hive);
    size = 400;
    EXPECT_EQ(appRegistryReadString(text, "InstallPath", size, "/opt/game"), 0u);
    EXPECT_EQ(text, path);
    // A buffer of no bytes is too small for anything, and is never written past.
    size = 0;
    EXPECT_EQ(appRegistryReadString(text, "Empty", size, ""), 234u);
    EXPECT_EQ(size, 1u);
}

TEST_F(appRegistryTest, ADefaultTooLongForTheBufferIsStillWritten) {
    WriteHive("HKEY_CURRENT_USER", "[Software\\Game]\n");
    ASSERT_EQ(appRegistryOpen(1, "Software", "Game"), 0u);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    u32 size = sizeof buffer;
    EXPECT_EQ(appRegistryReadValue(buffer, "Name", size, "Player One"), 234u);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_NE(ReadHive("HKEY_CURRENT_USER").find("Name=\"Player One\""), std::string::npos);
}

TEST_F(appRegistryTest, KeysOpenByHiveAndPathIgnoringCase) {
    WriteHive("HKEY_LOCAL_MACHINE", "[software\\MAKER\\game\\Sub]\nlabel = 'DISC 1'\n");
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
    // Hive 4 is the current configuration, and a predefined handle may be given as it is.
    EXPECT_EQ(appRegistryOpen(4, "A", ""), 0u);
    EXPECT_EQ(appRegistryOpen(static_cast<i32>(0x80000005), "A", ""), 0u);
    EXPECT_EQ(appRegistryOpen(7, "A", ""), 6u);
    EXPECT_EQ(appRegistryOpen(static_cast<i32>(0x80000004), "A", ""), 6u);
}

TEST_F(appRegistryTest, AnOpenClosesTheKeyBeforeAndNoKeyMeansNoWrite) {
    WriteHive("HKEY_LOCAL_MACHINE", "[One]\nWhich=\"one\"\n[Two]\nWhich=\"two\"\n");
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "One", ""), 0u);
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Two", ""), 0u);
    EXPECT_EQ(store.GetOpenKeyCount(), 1u);
    std::string text;
    u32 size = 16;
    EXPECT_EQ(appRegistryReadString(text, "Which", size, ""), 0u);
    EXPECT_EQ(text, "two");
    EXPECT_EQ(appRegistryClose(), 0u);
    EXPECT_EQ(store.GetOpenKeyCount(), 0u);
    EXPECT_EQ(appRegistryClose(), 0u);
    // With no key open nothing is read or written, default or not.
    size = 16;
    EXPECT_EQ(appRegistryReadString(text, "Which", size, "default"), 6u);
    EXPECT_EQ(appRegistryWriteString("x", "Which"), 6u);
    EXPECT_EQ(ReadHive("HKEY_LOCAL_MACHINE"), "[One]\nWhich=\"one\"\n[Two]\nWhich=\"two\"\n");
    EXPECT_TRUE(appRegistryIsSuccess(0));
    EXPECT_FALSE(appRegistryIsSuccess(2));
    EXPECT_TRUE(appRegistryIsValid(1));
    EXPECT_FALSE(appRegistryIsValid(0));
}

TEST_F(appRegistryTest, PathsAndTextsRoundTrip) {
    WriteHive("HKEY_LOCAL_MACHINE", "[Game]\nData=/opt/My Game//data/\n");
    ASSERT_EQ(appRegistryOpen(kLocalMachine, "Game", ""), 0u);
    fsLocator data;
    ASSERT_EQ(appRegistryReadPath(data, "Data"), 0u);
    ASSERT_EQ(data.GetComponentCount(), 4u);
    EXPECT_EQ(data.GetComponent(0), envString(""));
    EXPECT_EQ(data.GetComponent(2), envString("My Game"));
    EXPECT_EQ(data.GetComponent(3), envString("data"));
    EXPECT_FALSE(data.IsRooted());
    EXPECT_EQ(appRegistryReadPath(data, "Missing"), 2u);
    EXPECT_EQ(data.GetComponentCount(), 4u);

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
