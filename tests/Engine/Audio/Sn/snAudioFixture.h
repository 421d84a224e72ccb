#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The test sound device installed and started, a folder for WAV files, and the debug log captured.
class snAudioFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        plServices services;
        services.sound = &m_device;
        plInstallServices(services);
        dbgSetLogSink([this](const std::string& line) { m_log.push_back(line); });
        snStartSoundSystem();
    }
    void TearDown() override {
        snStopSoundSystem();
        dbgSetLogSink({});
        plInstallServices({});
    }

    fsLocator WriteFile(const std::string& name, const std::string& bytes) {
        m_folder.Write(name, bytes);
        return m_folder.Locator(name);
    }

    // Mixes frames of output and returns just those.
    std::vector<i16> Render(u32 frames) {
        m_device.ClearOutput();
        m_device.Render(frames);
        return m_device.GetOutput();
    }

    plTestSoundDevice m_device;
    fsTestFolder m_folder;
    std::vector<std::string> m_log;
};
