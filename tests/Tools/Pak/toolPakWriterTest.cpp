#include "Tools/Pak/toolPakWriter.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/Core/Env/envExceptionX.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

std::string ReadEntry(const gfPakFile& pak, const std::string& name) {
    fsLocator entry;
    fsLocatorFromNativePath(name.c_str(), entry);
    gfPakEntryStream stream(pak, entry);
    std::string data(stream.GetSize(), '\0');
    EXPECT_EQ(stream.Read(data.data(), stream.GetSize()), stream.GetSize()) << name;
    return data;
}

} // namespace

// A folder with nested, empty and non-ASCII files packs by the program into what the engine's pak reader
// reads back entry for entry, and what a ZIP tool accepts with its checksums.
TEST(toolPakWriter, FoldersPackIntoPaksTheEngineReads) {
    fsTestFolder folder;
    const std::vector<toolPakEntry> files = {{"Menu/Button.png", std::string("\x89PNG\0\x01", 6)},
                                             {"Menu/empty.txt", ""},
                                             {"Menu/Sub/caf\xC3\xA9.gst", "text"},
                                             {"top.bin", std::string(70000, 'x')}};
    for (const toolPakEntry& file : files)
        folder.Write("in/" + file.name, file.data);
    const std::string writer = LV_PAK_WRITER;
    ASSERT_EQ(std::system((writer + " " + folder.Path("in") + " " + folder.Path("gui.pak")).c_str()), 0);
    EXPECT_EQ(folder.Read("gui.pak"), toolBuildPak(toolCollectPakEntries(folder.Path("in"))));
    EXPECT_NE(std::system((writer + " " + folder.Path("in") + " 2>/dev/null").c_str()), 0);

    const gfPakFile pak(folder.Locator("gui.pak"));
    ASSERT_EQ(pak.GetEntryCount(), files.size());
    for (const toolPakEntry& file : files)
        EXPECT_EQ(ReadEntry(pak, file.name), file.data) << file.name;
    if (std::system("unzip -v >/dev/null 2>&1") == 0) {
        EXPECT_EQ(std::system(("unzip -tqq " + folder.Path("gui.pak")).c_str()), 0);
    }
}

TEST(toolPakWriter, LimitsOfTheFormatAreRefused) {
    EXPECT_THROW(toolBuildPak({{std::string(65536, 'n'), "x"}}), std::length_error);
    fsTestFolder folder;
    EXPECT_THROW(toolWritePak(folder.Path("missing/out.pak"), {{"a", "b"}}), envExceptionX);
    EXPECT_EQ(folder.Read("missing/out.pak.tmp"), "");
}
