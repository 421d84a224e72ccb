#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coCameraManipSpline.h"
#include "Source/Modes/coFlythroughIntro.h"
#include "Source/Modes/coMode.h"

class coFlythroughPath;
class snSoundJob;

// The camera flight over a mission's site before the career builder starts: a wait at the first view,
// the flight through the path's points with the mission's voice-over, a wait at the end. A click or
// Escape skips it.
class coModeFlythrough : public coMode, public appCharEventHandler, public coFlythroughIntro {
  public:
    enum Phase : i32 { Waiting = 0, Flying = 1, Ending = 2 };

    coModeFlythrough();
    ~coModeFlythrough() override;

    // Not owned; the career builder keeps the mission while the flight runs.
    void SetPath(const coFlythroughPath* path) override { m_path = path; }
    void SetVoiceFile(const fsLocator& file) override;

    void Think() override;
    void Enter() override;
    void Exit() override;
    void OnChar(appCharEvent*) override {}

    i32 GetPhase() const { return m_phase; }
    bool HasVoice() const { return m_hasVoice != 0; }
    const snSoundJob* GetVoiceSound() const { return m_voiceSound; }

  private:
    void StartVoice(float time);
    void StartFlight();

    i32 m_phase = Waiting;
    f32 m_phaseStart = -1.0f;
    const coFlythroughPath* m_path = nullptr;
    g3dCamera m_sceneCamera;
    coCameraManipSpline m_splineCamera;
    fsLocator m_voiceFile;
    snSoundJob* m_voiceSound = nullptr;
    u8 m_hasVoice = 0;
};
