// The game program on the OpenGL device places a prop from the builder's catalogue: under the pointer in
// the middle of the screen its footprint shows green over the grass, where the builder showed none.
#include "Engine/Graphics/G2d/g2dImageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Pixels of the placeable footprint's light green in the box: the grass is never that bright.
int FootprintPixels(const fs::path& shot, int x0, int y0, int x1, int y1) {
    std::ifstream in(shot, std::ios::binary);
    const std::vector<u8> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const g2dPixelRows picture = g2dDecodePNG(bytes);
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const u8* p = picture.Row(static_cast<u32>(y)) + x * picture.BytesPerPixel();
            count += p[1] >= 180 && p[1] > p[0] + 60 && p[1] > p[2] + 60 ? 1 : 0;
        }
    return count;
}

TEST(coPropPlacingGlTest, TheFootprintShowsGreenUnderThePointer) {
    const fs::path home = fs::temp_directory_path() / ("loopvane-placing-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    const std::string before = (home / "before.png").string(), placing = (home / "placing.png").string();
    const std::string script = "wait mode 0 300; frame 10; click Build; frame 20; click Ok; wait mode 6 300; "
                               "move 400,300; frame 30; shot " +
                               before + "; click Hud/Props/0/1; wait mode 12; move 400,300; frame 30; shot " +
                               placing + "; key Escape; wait mode 6; close; frame 5; key Return";
    const std::string command =
        "SDL_AUDIODRIVER=dummy TMPDIR=" + home.string() + " XDG_CONFIG_HOME=" + home.string() +
        "/config XDG_DATA_HOME=" + home.string() + "/data " + LV_GAME_PROGRAM + " --data " + LV_DATA_DIR +
        " /w /skipvideos --inject \"" + script + "\" >" + home.string() + "/out.txt 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream out(home / "out.txt");
    const std::string output((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    // A normal quit.
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 13) << output;
    EXPECT_EQ(FootprintPixels(before, 340, 250, 460, 350), 0);
    EXPECT_GT(FootprintPixels(placing, 370, 270, 430, 320), 200);
    fs::remove_all(home);
}

} // namespace
