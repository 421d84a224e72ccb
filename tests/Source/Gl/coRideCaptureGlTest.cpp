// The game program rides a saved coaster unattended with movie capture on the OpenGL device: the
// frames land in the program's folder at half the screen's size, and show a picture.
#include "Engine/App/Fs/fsNativePath.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"

#include "Source/Track/coCircuitTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The saved coaster's settings name the built content's mountain.
struct MountainServices : coSavedCoasterServices {
    MountainServices() { coSetSavedCoasterServices(this); }
    ~MountainServices() override { coSetSavedCoasterServices(nullptr); }
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
    std::string GetEnvironmentName() const override { return "Mountain"; }
    int GetEnvironmentIndex() const override { return 0; }
};

int RunGame(const fs::path& home, const std::string& arguments) {
    const std::string command =
        "SDL_AUDIODRIVER=dummy TMPDIR=" + home.string() + " XDG_CONFIG_HOME=" + home.string() +
        "/config XDG_DATA_HOME=" + home.string() + "/data " + LV_GAME_PROGRAM + " --data " + LV_DATA_DIR +
        " /w /skipvideos " + arguments + " >" + home.string() + "/out.txt 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Output(const fs::path& home) {
    std::ifstream in(home / "out.txt");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::set<fs::path> MovieFrames() {
    std::set<fs::path> frames;
    for (const auto& entry : fs::directory_iterator(LV_DATA_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("mov", 0) == 0 && entry.path().extension() == ".bmp")
            frames.insert(entry.path());
    }
    return frames;
}

u32 Le32(const std::string& bytes, size_t at) {
    return static_cast<u32>(static_cast<u8>(bytes[at])) |
           static_cast<u32>(static_cast<u8>(bytes[at + 1])) << 8 |
           static_cast<u32>(static_cast<u8>(bytes[at + 2])) << 16 |
           static_cast<u32>(static_cast<u8>(bytes[at + 3])) << 24;
}

TEST(coRideCaptureGlTest, RideOfR1WritesHalfSizeFramesThatShowAPicture) {
    const fs::path home = fs::temp_directory_path() / ("loopvane-capture-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    const std::set<fs::path> before = MovieFrames();
    ASSERT_EQ(RunGame(home, "--frames 3"), 0); // makes the player's saves folder
    fs::path saves;
    for (const auto& entry : fs::recursive_directory_iterator(home / "data"))
        if (entry.is_directory() && entry.path().filename() == "Saves")
            saves = entry.path();
    ASSERT_FALSE(saves.empty());

    {
        coRecordingTrackBuilder builder;
        MountainServices services;
        coCircuitClear();
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
        coBuildR1();
        coCircuitClose();
        fs::path file = saves / "R1.csa";
        fsLocator locator;
        fsLocatorFromNativePath(file.string().c_str(), locator);
        coSaveCoasterFile(locator);
        coCircuitClear();
    }

    EXPECT_EQ(RunGame(home, "/x 30 2 /ride \"R1\" --frames 90"), 0) << Output(home);
    std::set<fs::path> written;
    for (const fs::path& frame : MovieFrames())
        if (!before.count(frame))
            written.insert(frame);
    const fs::path sixtieth = fs::path(LV_DATA_DIR) / "mov00060.bmp";
    ASSERT_TRUE(written.count(sixtieth)) << written.size() << " frames written";
    std::ifstream in(sixtieth, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(Le32(bytes, 18), 400u);
    EXPECT_EQ(Le32(bytes, 22), 300u);
    std::set<u32> colours;
    for (size_t at = Le32(bytes, 10); at + 3 <= bytes.size() && colours.size() < 2; at += 3)
        colours.insert(Le32(bytes.substr(at, 3) + '\0', 0));
    EXPECT_GT(colours.size(), 1u);
    for (const fs::path& frame : written)
        fs::remove(frame);
    fs::remove_all(home);
}

} // namespace
