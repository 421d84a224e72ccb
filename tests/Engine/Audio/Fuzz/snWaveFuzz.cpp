// libFuzzer target: arbitrary bytes as a WAV file through the reader and the static and streamed
// loads on the test sound device. Anything but the engine's own exceptions is a finding.
// scripts/fuzz builds and runs it.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/plServices.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The sound system up on the test device, and one file per process to write each input to.
struct Harness {
    Harness() {
        const char* shm = "/dev/shm";
        const std::filesystem::path folder = std::filesystem::is_directory(shm)
                                                 ? std::filesystem::path(shm)
                                                 : std::filesystem::temp_directory_path();
        path = (folder / ("snWaveFuzz-" + std::to_string(getpid()) + ".wav")).string();
        fsLocatorFromNativePath(path.c_str(), locator);
        plServices services;
        services.sound = &device;
        plInstallServices(services);
        dbgSetLogSink([](const std::string&) {});
        snStartSoundSystem();
    }
    ~Harness() { std::filesystem::remove(path); }

    plTestSoundDevice device;
    std::string path;
    fsLocator locator;
};

template <class Job> void Play(Harness& harness) {
    Job job;
    job.SetFile(harness.locator);
    job.SetLoopCount(2);
    try {
        job.Load();
    } catch (const envExceptionX&) {
        return;
    }
    job.Play(0.0f);
    for (int frame = 0; frame < 3; ++frame) {
        job.Update(frame * 0.5f);
        harness.device.Render(512);
    }
    harness.device.ClearOutput();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    std::ofstream(harness.path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    snWaveFile wave;
    if (snWaveOpen(harness.locator, wave) == snWaveResult::Ok && snWaveStartData(wave) == snWaveResult::Ok) {
        std::vector<uint8_t> bytes(4096);
        u32 read = 0;
        while (snWaveRead(wave, static_cast<u32>(bytes.size()), bytes.data(), read) == snWaveResult::Ok &&
               read)
            ;
    }
    Play<snSoundJob2DPAC>(harness);
    Play<snSoundJob2DStreamedPAC>(harness);
    return 0;
}
