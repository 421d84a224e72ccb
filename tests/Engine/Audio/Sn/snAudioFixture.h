#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Platform/Codec/plLibMediaDecoders.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The test sound device and the media decoders installed and the sound system started, a folder for WAV
// files, and the debug log captured.
class snAudioFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        plInstallServices({.sound = &m_device, .media = &m_media});
        snStartSoundSystem();
    }
    void TearDown() override {
        snStopSoundSystem();
        plInstallServices({});
    }

    // Mixes frames of output and returns just those.
    std::vector<i16> Render(u32 frames) {
        m_device.ClearOutput();
        m_device.Render(frames);
        return m_device.GetOutput();
    }

    plTestSoundDevice m_device;
    plLibMediaDecoders m_media;
    fsTestFolder m_folder;
    dbgLogCapture m_log;
};

// With the sound manager started too; its jobs go at the end of the test.
class snManagerFixture : public snAudioFixture {
  protected:
    void SetUp() override {
        snAudioFixture::SetUp();
        snSoundManager::Init();
    }
    void TearDown() override {
        snSoundManager::Shutdown();
        snAudioFixture::TearDown();
    }
};
