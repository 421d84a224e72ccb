// The game started with "/mp3" on the built tree: its music and a fly-through's voice-over come from the
// ".mp3" twins, decoded by the media decoders into the test sound device, and are heard.
#include "Content/coGameRunTest.h"
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Platform/Codec/plLibMediaDecoders.h"
#include "Source/App/coProgram.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Modes/coModeFlythrough.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Settings/coPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

struct coMp3RunTest : coGameRunTest {
    plLibMediaDecoders media;

    void SetUp() override {
        coGameRunTest::SetUp();
        plServices services = plGetServices();
        services.media = &media;
        plInstallServices(services);
    }

    // The loudest sample mixed since the last call.
    int Peak() {
        const std::vector<i16>& output = sound.GetOutput();
        int peak = 0;
        for (size_t i = m_heard; i < output.size(); ++i)
            peak = std::max(peak, std::abs(static_cast<int>(output[i])));
        m_heard = output.size();
        return peak;
    }

    size_t m_heard = 0;
};

TEST_F(coMp3RunTest, TheMusicAndAVoiceOverPlayFromTheirMp3Twins) {
    for (const char* twin : {"Data/Music/main2.mp3", "Data/Voice/Eng/Classic/mvo1.mp3"})
        ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(LV_DATA_DIR) / twin)) << twin;
    dbgLogCapture log;
    coFlythroughPath path;
    path.AddPoint({0.0f, 20.0f, -40.0f}, {0.0f, 0.0f, 0.0f});
    int frame = 0, menuPeak = 0, voicePeak = 0;
    bool flying = false;
    coProgramSwitches switches;
    switches.frames = 150;
    switches.frameStart = [&] {
        time.Advance(1.0 / 30.0);
        sound.Render(44100 / 30);
        ++frame;
        if (frame == 20)
            Peak();
        if (frame == 60) {
            // The menu's tune: the first time the menu context applies it plays "main2".
            menuPeak = Peak();
            auto* intro = static_cast<coModeFlythrough*>(coGetMode(22));
            fsLocator voice(coRootVoice);
            voice.AppendComponent("Classic");
            voice.AppendComponent("mvo1.wav");
            intro->SetPath(&path);
            intro->SetVoiceFile(voice);
            coModePush(intro);
        }
        if (frame == 70)
            Peak();
        if (frame > 60)
            flying |= coCurrentMode() == coGetMode(22);
    };
    switches.lastFrame = [&] { voicePeak = Peak(); };
    EXPECT_EQ(coRunProgram("/w /skipvideos /mp3", switches), 0)
        << (log.lines.empty() ? "" : log.lines.back());
    EXPECT_TRUE(flying);
    // The fly-through stops the music: what it plays is its voice-over.
    EXPECT_GT(menuPeak, 1000);
    EXPECT_GT(voicePeak, 1000);
    for (const std::string& line : log.lines)
        EXPECT_EQ(line.find("MP3"), std::string::npos) << line;
}

} // namespace
