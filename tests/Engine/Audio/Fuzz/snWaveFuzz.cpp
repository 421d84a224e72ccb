// libFuzzer target: arbitrary bytes as a WAV file through the reader and the static and streamed
// loads on the test sound device. Anything but the engine's own exceptions is a finding.
// scripts/fuzz builds and runs it.
#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/plServices.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <vector>

namespace {

plTestSoundDevice g_device;

template <class Job> void Play(const fsLocator& file) {
    Job job;
    job.SetFile(file);
    job.SetLoopCount(2);
    try {
        job.Load();
    } catch (const envExceptionX&) {
        return;
    }
    job.Play(0.0f);
    for (int frame = 0; frame < 3; ++frame) {
        job.Update(frame * 0.5f);
        g_device.Render(512);
    }
    g_device.ClearOutput();
}

} // namespace

// The sound system up on the test device.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("input.wav");
    plServices services;
    services.sound = &g_device;
    plInstallServices(services);
    snStartSoundSystem();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    snWaveFile wave;
    if (snWaveOpen(file, wave) == snWaveResult::Ok && snWaveStartData(wave) == snWaveResult::Ok) {
        std::vector<u8> bytes(4096);
        u32 read = 0;
        while (snWaveRead(wave, static_cast<u32>(bytes.size()), bytes.data(), read) == snWaveResult::Ok &&
               read)
            ;
    }
    Play<snSoundJob2DPAC>(file);
    Play<snSoundJob2DStreamedPAC>(file);
    return 0;
}
