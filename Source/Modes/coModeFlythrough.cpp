#include "Source/Modes/coModeFlythrough.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/Audio/Sn/snSoundJob.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coModeSounds.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"
#include "Source/World/coEnvironment.h"

#include <vector>

namespace {
constexpr u32 kCategoryVoice = 2;
} // namespace

coModeFlythrough::coModeFlythrough() {
    appCharEventHandler::SetEnabled(false);
}

coModeFlythrough::~coModeFlythrough() = default;

void coModeFlythrough::SetVoiceFile(const fsLocator& file) {
    m_voiceFile = file;
    m_hasVoice = file.GetComponentCount() > 0 && coSoundFileExists(file);
}

void coModeFlythrough::Enter() {
    appCharEventHandler::SetEnabled(true);
    EnterCommon();
    coMusicStop();
    coMusicRequestContext(-1);
    coRideModeHost& host = coGetRideModeHost();
    host.ShowPointer(false);
    m_sceneCamera.SetClipPlanes(0.5f, coGetEnvironment().GetFarClipDistance());
    if (m_path != nullptr && m_path->GetPointCount() > 0) {
        const coFlythroughPoint& start = m_path->GetPoint(m_path->GetPointCount() < 2 ? 0 : 1);
        m_sceneCamera.LookAt(start.GetCameraPosition(), start.GetLookAt(), maVector3d(0.0f, 1.0f, 0.0f));
    }
    m_phase = Waiting;
    m_phaseStart = -1.0f;
    host.SetPointerShape(coPointerArrow);
}

void coModeFlythrough::Exit() {
    ExitCommon();
    appCharEventHandler::SetEnabled(false);
    m_splineCamera.Stop();
    m_splineCamera.Detach();
    m_path = nullptr;
    if (m_voiceSound != nullptr) {
        m_voiceSound->Stop();
        snSoundManager::DestroySound(m_voiceSound);
        m_voiceSound = nullptr;
    }
    coGetRideModeHost().ShowPointer(true);
}

void coModeFlythrough::StartVoice(float time) {
    fsLocator file = m_voiceFile;
    coModeSoundKind kind = coModeSoundKind::Streamed;
    if (coPrefs::GetSessionFlag(coSessionMp3Music)) {
        envString name = file.GetLastComponent();
        if (name.GetLength() >= 3) {
            name = envString(0, name.GetLength() - 3, name);
            name.Append(envString("mp3"));
        }
        file.RemoveLastComponent();
        file.AppendComponent(name);
        kind = coModeSoundKind::Mp3;
    }
    m_voiceSound = coStartModeSound(kind, file, "", 1, 0.8f, kCategoryVoice, time);
    // A voice that cannot be played is not tried again every frame.
    if (m_voiceSound == nullptr)
        m_hasVoice = 0;
}

void coModeFlythrough::StartFlight() {
    std::vector<maVector3d> positions;
    std::vector<maVector3d> targets;
    for (int i = 0; i < m_path->GetPointCount(); ++i) {
        positions.push_back(m_path->GetPoint(i).GetCameraPosition());
        targets.push_back(m_path->GetPoint(i).GetLookAt());
    }
    m_splineCamera.SetPositions(positions.data(), static_cast<int>(positions.size()));
    m_splineCamera.SetTargets(targets.data(), static_cast<int>(targets.size()));
    m_splineCamera.SetDuration(m_path->GetFlightTime());
    m_splineCamera.SetEvenSpeed(false);
    m_splineCamera.SetCurveKind(coCameraManipSpline::CatmullRom);
    m_splineCamera.Attach(&m_sceneCamera, false);
    m_splineCamera.Restart();
}

void coModeFlythrough::Think() {
    BeginFrame();
    // Nothing to fly: the career builder takes over at once.
    if (m_path == nullptr || m_path->GetPointCount() == 0) {
        SetResult(Leave);
        return;
    }
    const float t = appClock::GetTime();
    if (m_hasVoice && m_voiceSound == nullptr)
        StartVoice(t);
    if (m_phaseStart < 0.0f)
        m_phaseStart = t;
    switch (m_phase) {
    case Waiting:
        if (t > m_phaseStart + m_path->GetWaitBefore()) {
            m_phase = Flying;
            m_phaseStart = t;
            StartFlight();
        }
        break;
    case Flying:
        m_splineCamera.Update();
        if (m_splineCamera.IsFinished()) {
            m_phase = Ending;
            m_phaseStart = t;
        }
        break;
    default:
        if (t > m_phaseStart + m_path->GetWaitAfter())
            SetResult(Leave);
        break;
    }
    inDeviceManager::PollAll();
    snSoundManager::Update(t);
    coRideModeHost& host = coGetRideModeHost();
    host.UpdateCollisions(*m_sceneCamera.GetPosition());
    RenderFrame(&m_sceneCamera);
    // A click or Escape is spent by the flight it ends.
    if (coEditorInput* input = coGetEditorInput())
        for (const i32 action : {coActionMouseLeft, coActionEscape})
            if (input->WasReleased(action)) {
                input->SuppressRelease(action);
                SetResult(Leave);
            }
}
