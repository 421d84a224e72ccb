#pragma once
#include "Engine/Platform/Sound/plSoundDevice.h"

#include <vector>

// The test backend: no thread; the mixer renders on demand into memory. Faults can be injected.
class plTestSoundDevice : public plSoundDevice {
  public:
    u32 CreatePrimaryBuffer() override;
    u32 CreateBuffer(const plSoundBufferDesc& desc, std::unique_ptr<plSoundBuffer>& out) override;

    // Opening fails with NoDriver; creating any buffer fails with OutOfMemory.
    void SetOpenFails(bool fails) { m_openFails = fails; }
    void SetCreateFails(bool fails) { m_createFails = fails; }
    // Every lock answers this result (Ok lets them through again).
    void SetLockFailure(u32 result);
    // Every buffer that exists now is lost.
    void LoseBuffers();

    // Mixes frames in the output format and appends them to the captured output.
    void Render(u32 frames);
    const std::vector<i16>& GetOutput() const { return m_output; }
    void ClearOutput() { m_output.clear(); }
    bool IsOutputRunning() const { return m_running; }

  protected:
    u32 OpenOutput() override { return m_openFails ? plSoundResult::NoDriver : plSoundResult::Ok; }
    void CloseOutput() override { m_running = false; }
    void RunOutput(bool running) override { m_running = running; }

  private:
    bool m_openFails = false;
    bool m_createFails = false;
    bool m_running = false;
    std::vector<i16> m_output;
};
