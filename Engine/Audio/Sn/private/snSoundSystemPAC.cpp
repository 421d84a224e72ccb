#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"

#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Sound/plSoundDevice.h"
#include "Engine/Platform/plServices.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

bool g_up = false;
bool g_hasPrimary = false;

struct ErrorName {
    u32 code;
    const char* name;
};

constexpr ErrorName kErrorNames[] = {
    {0x80004001, "DSERR_UNSUPPORTED"},     {0x80004002, "DSERR_NOINTERFACE"},
    {0x80004005, "DSERR_GENERIC"},         {0x80040110, "DSERR_NOAGGREGATION"},
    {0x80070005, "DSERR_ACCESSDENIED"},    {0x8007000E, "DSERR_OUTOFMEMORY"},
    {0x80070057, "DSERR_INVALIDPARAM"},    {0x8878000A, "DSERR_ALLOCATED"},
    {0x8878001E, "DSERR_CONTROLUNAVAIL"},  {0x88780032, "DSERR_INVALIDCALL"},
    {0x88780046, "DSERR_PRIOLEVELNEEDED"}, {0x88780064, "DSERR_BADFORMAT"},
    {0x88780078, "DSERR_NODRIVER"},        {0x88780082, "DSERR_ALREADYINITIALIZED"},
    {0x88780096, "DSERR_BUFFERLOST"},      {0x887800A0, "DSERR_OTHERAPPHASPRIO"},
    {0x887800AA, "DSERR_UNINITIALIZED"},
};

constexpr u32 kTableSize = 101;

// 1.3^(-k/10) falls from 1 to about 0.07 over the table; the entries are shifted so the top is 0 dB.
std::array<i32, kTableSize> BuildAttenuationTable() {
    std::array<i32, kTableSize> table{};
    const auto level = [](i32 k) { return static_cast<i32>(10000.0 * (1.0 - std::pow(1.3, -k / 10.0))); };
    table[0] = -10000;
    for (i32 k = 1; k < static_cast<i32>(kTableSize); ++k)
        table[k] = level(k) - level(100);
    return table;
}

const plWaveFormat kPrimaryFormat = {1, 1, 22050, 44100, 2, 16};

} // namespace

bool snIsSoundSystemUp() {
    return g_up;
}

void snStartSoundSystem() {
    if (g_up)
        return;
    plSoundDevice& device = snGetSoundDevice();
    if (device.Open() != plSoundResult::Ok)
        throw snSoundSystemCreateFailedX();
    if (!g_hasPrimary) {
        const u32 created = device.CreatePrimaryBuffer();
        if (created != plSoundResult::Ok) {
            snLogDSError(created);
            throw snSoundSystemBufferCreateFailedX();
        }
        g_hasPrimary = true;
    }
    // A primary buffer that keeps another format or does not start still mixes: go on without it.
    snLogDSError(device.SetPrimaryFormat(kPrimaryFormat));
    snLogDSError(device.PlayPrimary());
    g_up = true;
}

void snStopSoundSystem() {
    if (!g_up)
        return;
    snGetSoundDevice().Close();
    g_up = false;
    g_hasPrimary = false;
}

plSoundDevice& snGetSoundDevice() {
    return plGetSoundDevice();
}

std::unique_ptr<plSoundBuffer> snCreateSoundBuffer(const plSoundBufferDesc& desc) {
    std::unique_ptr<plSoundBuffer> buffer;
    if (snGetSoundDevice().CreateBuffer(desc, buffer) != plSoundResult::Ok)
        throw snSoundSystemBufferCreateFailedX();
    return buffer;
}

const char* snDSErrorName(u32 result) {
    for (const ErrorName& entry : kErrorNames)
        if (entry.code == result)
            return entry.name;
    return "Unknown Error";
}

void snLogDSError(u32 result) {
    if (result != plSoundResult::Ok)
        dbgWarning(__FILE__, __LINE__, "sound device: %s", snDSErrorName(result));
}

i32 snAttenuation(i32 percent) {
    static const std::array<i32, kTableSize> table = BuildAttenuationTable();
    return table[std::clamp<i32>(percent, 0, kTableSize - 1)];
}

i32 snVolumeToAttenuation(f32 volume) {
    const f32 percent = 100.0f * volume;
    if (!(percent > 0.0f))
        return snAttenuation(0);
    return snAttenuation(percent >= 100.0f ? 100 : static_cast<i32>(percent));
}
