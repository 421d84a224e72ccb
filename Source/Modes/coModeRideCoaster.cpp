#include "Source/Modes/coModeRideCoaster.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEvent.h"
#include "Engine/App/App/appKeyChars.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/Audio/Sn/snSoundJob.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coCameraManipFixed.h"
#include "Source/Modes/coCameraManipFree.h"
#include "Source/Modes/coCameraManipRide.h"
#include "Source/Modes/coCameraManipTether.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coMenuWorld.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/Modes/coRideSettings.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coPropList.h"

namespace {
constexpr i32 kPauseDialogRide = 3;
constexpr i32 kExitBuild = 1;
constexpr i32 kExitLoad = 2;
constexpr i32 kExitMain = 3;

// The ride's own questions: they name the ride and the unsaved coaster that leaving it loses.

constexpr u32 kMessageRiding = 11;
constexpr u32 kMessagePaused = 14;
constexpr float kMessageSeconds = 60.0f;

constexpr u32 kCategoryMusic = 8;

// Game time of the movie capture: it runs on across rides, as does the file numbering.
f32 g_movieTime = 0.0f;
f32 g_movieStep = 1.0f / 24.0f;

void Push(i32 id) {
    if (coMode* mode = coGetMode(id))
        coModePush(mode);
}

// The builder asks before it leaves or loads over a coaster holding unsaved work; "Main" and "Load" from
// the ride lead to the same loss, so they ask first when the ride holds such work.
bool MayExit(i32 exit, bool unsavedWork) {
    if (!unsavedWork || (exit != kExitMain && exit != kExitLoad))
        return true;
    const u32 question = exit == kExitMain ? coQuestionLeaveRide : coQuestionLoadFromRide;
    return coGetEditorHost().AskQuestion(question, coLabelYes, coLabelNo) == 1;
}

bool ViewCarValid(i32 car) {
    return car >= 0 && car < coGetCarCount();
}

// While the pause dialog is up the ride stands still; however the pause ends (an exit button, a close
// or an exception), the ride, the pointer and the props' sounds come back.
class coRideResumeGuard {
  public:
    coRideResumeGuard() = default;
    coRideResumeGuard(const coRideResumeGuard&) = delete;
    coRideResumeGuard& operator=(const coRideResumeGuard&) = delete;
    ~coRideResumeGuard() {
        coRideModeHost& host = coGetRideModeHost();
        coRideSetPaused(false);
        host.ShowPointer(false);
        host.SetPointerShape(coPointerWait);
        host.ResumePropSounds();
    }
};
} // namespace

coModeRideCoaster::coModeRideCoaster() {
    appCharEventHandler::SetEnabled(false);
    m_paletteStates.Set({coPaletteStats, coPaletteMain}, 3);
}

coModeRideCoaster::~coModeRideCoaster() = default;

scCameraManip* coModeRideCoaster::GetCamera(i32 index) const {
    if (index < 0 || index >= static_cast<i32>(m_cameras.size()))
        return nullptr;
    return m_cameras[static_cast<size_t>(index)].get();
}

void coModeRideCoaster::Enter() {
    appCharEventHandler::SetEnabled(true);
    EnterCommon();
    // A ride shows the world textured, whatever the building view stripped.
    m_textured.emplace();
    coRideModeHost& host = coGetRideModeHost();
    coGetMenuWorld().SetWorldMode(1);
    if (coPrefs::GetSessionFlag(coSessionHideTrack))
        host.HideTrackObjects();
    host.SetPropsActive(true);

    if (coGetRideStats()[coStatRideTime] == 0.0f)
        coRideComputeStats();
    StartTrain();

    m_currentCamera = host.GetRideCamera();
    if (m_currentCamera < 0 || m_currentCamera >= coRideCameraCount)
        m_currentCamera = coRideCameraSeat;
    m_cameras.clear();
    m_cameras.push_back(std::make_unique<coCameraManipRide>());
    m_cameras.push_back(std::make_unique<coCameraManipTether>());
    m_cameras.push_back(std::make_unique<coCameraManipFixed>());
    m_cameras.push_back(std::make_unique<coCameraManipFree>());
    m_cameras.push_back(std::make_unique<coCameraManipCloseRide>());
    m_cameras[static_cast<size_t>(m_currentCamera)]->Attach(&m_sceneCamera, false);
    m_sceneCamera.SetClipPlanes(0.5f, coGetEnvironment().GetFarClipDistance());

    coSetCarsVisible(m_currentCamera != coRideCameraCloseSeat);
    UpdateSoundPositioning();
    coCollisionShowMarkers(false);
    host.ShowPointer(false);
    if (!m_movieCapture) {
        m_ambient.Start(appClock::GetTime());
        PlayFanfare(appClock::GetTime());
    }
    host.ShowMainButtons(false);
    ShowRidingMessage(kMessageSeconds);
    host.CreatePauseDialog();
    if (!ViewCarValid(coRideGetViewCar()))
        coRideSetViewCar(0);
    // A rate of 0 would make an endless step: 24 frames a second then, as before any rate was given.
    g_movieStep = m_movieFrameRate > 0.0f ? 1.0f / m_movieFrameRate : 1.0f / 24.0f;
    m_hudHidden = 0;
    m_coasterChanged = false;
}

void coModeRideCoaster::Exit() {
    ExitCommon();
    m_textured.reset();
    m_headlight.Stop();
    appCharEventHandler::SetEnabled(false);
    coRideModeHost& host = coGetRideModeHost();
    host.SetPropsActive(false);
    coRideStop();
    if (scCameraManip* camera = GetCamera(m_currentCamera))
        camera->Detach();
    m_cameras.clear();
    m_ambient.Destroy();
    host.ShowMainButtons(true);
    host.DestroyPauseDialog();
    if (m_hudHidden)
        host.ShowHud(true);
    host.ShowPointer(true);
}

void coModeRideCoaster::Think() {
    BeginFrame();
    if (m_movieCapture && coRideIsRunning()) {
        appClock::SetTime(g_movieTime, g_movieStep);
        g_movieTime += g_movieStep;
    }
    const float t = appClock::GetTime();
    inDeviceManager::PollAll();
    coRideModeHost& host = coGetRideModeHost();
    coEditorInput* input = coGetEditorInput();
    if (input != nullptr && input->WasReleased(coActionEscape)) {
        if (Pause())
            return;
    } else {
        coGetModeHost().UpdateGui();
        HandleCameraKeys();
        if (!coRideIsRunning() && m_perpetual)
            RestartRide();
        const maVector3d eye = *m_sceneCamera.GetPosition();
        coRideUpdate(eye);
        maMatrix4d lead;
        const float height = coGetTrainCarMatrix(false, lead) ? lead.GetTranslation().y : 0.0f;
        host.SetStats(coRideGetTrainSpeed(0), height, coRideGetTrainAcceleration(0), coRideGetTrainElapsed(0),
                      coGetRideStats()[coStatRideTime]);
        if (scCameraManip* camera = GetCamera(m_currentCamera))
            camera->Update();
        const maVector3d& cameraEye = *m_sceneCamera.GetPosition();
        host.UpdateEnvironment(m_sceneCamera, t);
        if (!m_movieCapture) {
            coSetListenerFromCamera(m_sceneCamera);
            const coCoasterPiece* piece = coRideGetTrainPiece(0);
            m_ambient.Follow(piece != nullptr && piece->GetTube() != 0, t);
            snSoundManager::Update(t);
            coMusicHandleKeys();
        }
        host.UpdateProps(t);
        coPropList::CullByDistance(cameraEye);
        if (!coPrefs::GetSessionFlag(coSessionHideTrack))
            host.UpdateCollisions(cameraEye);
        const bool wireframe = coPrefs::GetSessionFlag(coSessionWireframe) != 0;
        host.SetClearToBackground(m_currentCamera == coRideCameraFree || wireframe);
        host.SetWireframe(wireframe);
        m_headlight.Cast();
        RenderFrame(&m_sceneCamera);
        host.SetWireframe(false);
    }
    if (m_movieCapture && coRideIsRunning())
        CaptureMovieFrame();
}

bool coModeRideCoaster::Pause() {
    coRideModeHost& host = coGetRideModeHost();
    m_ridingMessageLeft = m_ridingMessageUntil - appClock::GetTime();
    host.ShowMainButtons(false);
    host.ShowFeedback(kMessagePaused, kMessageSeconds);
    host.HideFeedback();
    if (m_hudHidden)
        host.ShowHud(true);
    host.ShowPointer(true);
    appCharEventHandler::SetEnabled(false);
    coRideSetPaused(true);
    host.SetPointerShape(coPointerArrow);
    host.PausePropSounds();
    m_ambient.Pause();
    coRideResumeGuard guard;
    const coStoredRideSettings stored;
    i32 result = host.RunPauseDialog(kPauseDialogRide);
    // No to the question of "Main" or "Load" goes back to the pause it was asked from.
    while (result != 1 && !MayExit(host.GetPauseDialogExit(), IsModified()))
        result = host.RunPauseDialog(kPauseDialogRide);
    if (result == 1) {
        // The cars and the ride's music are the coaster's own: the builder below now holds a change.
        if (!(coStoredRideSettings() == stored)) {
            m_coasterChanged = true;
            MarkModifiedBelow();
        }
        // Another number of cars is another train: it leaves the station again.
        if (coGetCoasterDefinition().GetNumCars() != m_trainCars)
            StartTrain();
        if (scCameraManip* camera = GetCamera(m_currentCamera))
            camera->Detach();
        m_currentCamera = host.GetRideCamera();
        if (m_currentCamera < 0 || m_currentCamera >= coRideCameraCount)
            m_currentCamera = coRideCameraSeat;
        m_cameras[static_cast<size_t>(m_currentCamera)]->Attach(&m_sceneCamera, false);
        coSetCarsVisible(m_currentCamera != coRideCameraCloseSeat);
        UpdateSoundPositioning();
        coRideSetEventSoundsOn(!coPrefs::GetBool(coPrefSoundEffectsOff));
        coRideSetScreamsOn(!coPrefs::GetBool(coPrefScreamsOff));
        if (!coPrefs::GetBool(coPrefAmbientOff)) {
            if (m_ambient.IsStarted())
                m_ambient.Resume(appClock::GetTime());
            else
                m_ambient.Start(appClock::GetTime());
        } else {
            m_ambient.Stop();
        }
    } else {
        switch (host.GetPauseDialogExit()) {
        case kExitMain:
            coMusicStop();
            coGetSavedCoasterServices().ClearScene();
            if (coModeStackIsPrevious(coModeIdCareerBuilder)) {
                host.HideConstraintCounters();
                Push(coModeIdCareerMenu);
            } else {
                coModeStackKeepCurrent();
                Push(coModeIdMainMenu);
            }
            SetResult(Leave);
            return true;
        case kExitLoad:
            coMusicStop();
            coGetMenuWorld().SetWorldMode(0);
            if (coModeStackIsPrevious(coModeIdCareerBuilder))
                host.HideConstraintCounters();
            if (coModeStackIsPrevious(coModeIdLoadMenu)) {
                SetResult(Leave);
            } else {
                Push(coModeIdLoadMenu);
                SetResult(Switch);
            }
            return true;
        case kExitBuild:
            if (coModeStackIsPrevious(coModeIdLoadMenu)) {
                coModeStackKeepCurrent();
                Push(coModeIdBuilder);
                // The builder takes the coaster on with the changes the pause made to it.
                if (coMode* builder = coGetMode(coModeIdBuilder); builder && m_coasterChanged)
                    builder->MarkModified();
            }
            SetResult(Leave);
            return true;
        default:
            break;
        }
    }
    Resume();
    return false;
}

void coModeRideCoaster::StartTrain() {
    m_trainCars = coGetCoasterDefinition().GetNumCars();
    coRideStart(m_trainCars, true, 1);
    // The ride starts with train 0 under way: the start only sets the trains up at rest.
    coRideLaunchTrain(0);
}

void coModeRideCoaster::Resume() {
    coRideModeHost& host = coGetRideModeHost();
    if (m_hudHidden)
        host.ShowHud(false);
    if (m_ridingMessageLeft > 0.0f) {
        ShowRidingMessage(std::ceil(m_ridingMessageLeft));
    } else {
        // Its time ran out before the pause: the message and the name it shows go again.
        host.ShowFeedback(kMessageRiding, kMessageSeconds);
        host.HideFeedback();
    }
    appCharEventHandler::SetEnabled(true);
}

void coModeRideCoaster::OnChar(appCharEvent* event) {
    if (event->GetChar() == appKeyCharTab) {
        m_hudHidden = !m_hudHidden;
        coGetRideModeHost().ShowHud(!m_hudHidden);
    } else if (event->GetChar() == appKeyCharSpace) {
        RestartRide();
    }
}

void coModeRideCoaster::SwitchCamera(i32 index) {
    if (scCameraManip* camera = GetCamera(m_currentCamera))
        camera->Detach();
    m_currentCamera = index;
    m_cameras[static_cast<size_t>(index)]->Attach(&m_sceneCamera, false);
    coSetCarsVisible(index != coRideCameraCloseSeat);
    coGetRideModeHost().SetRideCamera(index);
}

void coModeRideCoaster::HandleCameraKeys() {
    const coEditorInput* input = coGetEditorInput();
    if (input != nullptr && !m_cameras.empty()) {
        const bool control = input->IsKeyDown(coKeyLeftControl) || input->IsKeyDown(coKeyRightControl);
        bool cameraKey = false;
        for (i32 i = 0; i < coRideCameraCount && !cameraKey; ++i) {
            if (!input->IsKeyDown(inKeyDigit(1) + i))
                continue;
            cameraKey = true;
            if (i != m_currentCamera)
                SwitchCamera(i);
        }
        for (i32 i = 0; i < 4 && !cameraKey; ++i) {
            if (!input->IsKeyDown(inKeyDigit(1) + coRideCameraCount + i))
                continue;
            const i32 car = i + (control ? 4 : 0);
            if (car != coRideGetViewCar() && ViewCarValid(car))
                coRideSetViewCar(car);
            break;
        }
    }
    UpdateSoundPositioning();
}

void coModeRideCoaster::UpdateSoundPositioning() {
    coSetRideSoundsPositional(m_currentCamera != coRideCameraSeat &&
                              m_currentCamera != coRideCameraCloseSeat);
}

// "Now riding" and the name stay for the rest of their time: a new start is the same ride.
void coModeRideCoaster::RestartRide() {
    coRideLaunchTrain(0);
    if (!m_movieCapture) {
        coMusicRequestContext(coMusicRide);
        coMusicApplyContext(false);
    }
    coGetRideModeHost().ResetFrameRateCounter();
}

// The main palette shows "Now riding" with the coaster's name, and hides both when its time is up.
void coModeRideCoaster::ShowRidingMessage(float seconds) {
    coGetRideModeHost().ShowFeedback(kMessageRiding, seconds);
    m_ridingMessageUntil = appClock::GetTime() + seconds;
}

void coModeRideCoaster::PlayFanfare(float time) {
    const std::string set = coGetRideModeHost().GetFanfareSet();
    if (set.empty())
        return;
    fsLocator file(coRootThemes);
    file.AppendComponent(set.c_str());
    file.AppendComponent("Sound");
    file.AppendComponent("fanfare.wav");
    if (!coSoundFileExists(file))
        return;
    if (snSoundJob* job =
            coStartModeSound(coModeSoundKind::Plain, file, "Fanfare.wav", 0, 0.8f, kCategoryMusic, time))
        job->SetAutoRelease(true);
}

void coModeRideCoaster::CaptureMovieFrame() {
    try {
        coGetRideModeHost().CaptureMovieFrame(m_movieShrink);
    } catch (const envExceptionX&) {
        // Said once: the ride goes on without its movie.
        coReportCurrentException();
        m_movieCapture = 0;
    }
}
