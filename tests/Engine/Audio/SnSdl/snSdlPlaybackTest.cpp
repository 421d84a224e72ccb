#include "../Sn/snWaveBuilder.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Platform/Sdl/plSdlSoundDevice.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <thread>

// A tone played through the real backend on SDL's disk driver, which writes the mixed output to a
// file at the pace of a sound card; the tone is found in that file at its length and pitch.
TEST(snSdlPlayback, AToneComesOutOfTheDiskDriverAtItsLength) {
    fsTestFolder folder;
    const std::string capture = folder.Path("capture.raw");
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);

    constexpr u32 kRate = 22050;
    constexpr u32 kLength = kRate / 2;
    std::vector<i16> tone(kLength);
    for (u32 i = 0; i < kLength; ++i)
        tone[i] =
            static_cast<i16>(std::lround(12000.0 * std::sin(2.0 * std::numbers::pi * 440.0 * i / kRate)));
    folder.Write("tone.wav", snWaveBuilder::Wave16(tone));

    plSdlSoundDevice device;
    plServices services;
    services.sound = &device;
    plInstallServices(services);
    snStartSoundSystem();
    {
        snSoundJob2DPAC job;
        job.SetFile(folder.Locator("tone.wav"));
        job.Load();
        ASSERT_TRUE(job.IsLoaded());
        job.Play(0.0f);
        const auto start = std::chrono::steady_clock::now();
        f32 seconds = 0.0f;
        while (!job.IsStopped() && seconds < 5.0f) {
            job.Update(seconds);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            seconds = std::chrono::duration<f32>(std::chrono::steady_clock::now() - start).count();
        }
        EXPECT_TRUE(job.IsStopped());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    snStopSoundSystem();
    plInstallServices({});

    const std::string bytes = folder.Read("capture.raw");
    std::vector<i16> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    const auto loud = [](i16 s) { return std::abs(s) > 1000; };
    const auto first = std::find_if(out.begin(), out.end(), loud);
    const auto last = std::find_if(out.rbegin(), out.rend(), loud);
    ASSERT_NE(first, out.end()) << out.size() << " samples captured";
    const long span = (out.rend() - last) - (first - out.begin());
    EXPECT_NEAR(span, static_cast<long>(kLength), 30);
    u32 crossings = 0;
    for (auto it = first + 1; it != last.base(); ++it)
        crossings += (*(it - 1) < 0) != (*it < 0);
    EXPECT_NEAR(crossings, 440u, 3u);
}
