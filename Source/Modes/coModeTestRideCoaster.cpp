#include "Source/Modes/coModeTestRideCoaster.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEvent.h"
#include "Engine/App/App/appKeyChars.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coCameraManipRide.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coPropList.h"

namespace {
constexpr u32 kMessageTestRide = 12;
constexpr float kMessageTestRideSeconds = 60.0f;
} // namespace

coModeTestRideCoaster::coModeTestRideCoaster() {
    appCharEventHandler::SetEnabled(false);
    m_paletteStates.Set({coPaletteStats, coPaletteMain}, 3);
}

coModeTestRideCoaster::~coModeTestRideCoaster() = default;

void coModeTestRideCoaster::Enter() {
    appCharEventHandler::SetEnabled(true);
    EnterCommon();
    // A ride shows the world textured, whatever the building view stripped.
    m_textured.emplace();
    coRideModeHost& host = coGetRideModeHost();
    coRideStart(coGetCoasterDefinition().GetNumCars(), false, 1);
    // The ride starts with train 0 under way: the start only sets the trains up at rest.
    coRideLaunchTrain(0);
    m_sceneCamera.SetClipPlanes(0.5f, coGetEnvironment().GetFarClipDistance());
    m_closeCamera = std::make_unique<coCameraManipCloseRide>();
    m_closeCamera->Attach(&m_sceneCamera, false);
    m_closeCamera->SetLookYaw(0.0f);
    m_closeCamera->SetLookPitch(0.0f);
    coCollisionShowMarkers(false);
    coSetRideSoundsPositional(false);
    host.SetPropsActive(true);
    host.SetPointerShape(coPointerArrow);
    host.ShowPointer(false);
    m_ambient.Start(appClock::GetTime());
    host.ShowMainButtons(false);
    host.ShowFeedback(kMessageTestRide, kMessageTestRideSeconds);
    m_savedViewCar = coRideGetViewCar();
    coRideSetViewCar(0);
}

void coModeTestRideCoaster::Exit() {
    ExitCommon();
    m_textured.reset();
    m_headlight.Stop();
    appCharEventHandler::SetEnabled(false);
    coRideModeHost& host = coGetRideModeHost();
    host.SetPropsActive(false);
    coRideStop();
    host.ShowPointer(true);
    m_ambient.Destroy();
    host.ShowMainButtons(true);
    host.ShowCoasterName();
    if (m_closeCamera)
        m_closeCamera->Detach();
    m_closeCamera.reset();
    coRideSetViewCar(m_savedViewCar);
}

void coModeTestRideCoaster::Think() {
    const float t = appClock::GetTime();
    BeginFrame();
    inDeviceManager::PollAll();
    coEditorInput* input = coGetEditorInput();
    if (input != nullptr && input->WasReleased(coActionEscape)) {
        input->SuppressRelease(coActionEscape);
        SetResult(Leave);
        return;
    }
    // No bound on purpose: a scale of 0 or below holds the train, as the ride step never goes back.
    if (input != nullptr && input->WasReleased(coActionSlower))
        coRideSetTimeScale(coRideGetTimeScale() - 1.0f);
    else if (input != nullptr && input->WasReleased(coActionFaster))
        coRideSetTimeScale(coRideGetTimeScale() + 1.0f);
    // The panels run their own time: the test ride's message goes once its time is up.
    coGetModeHost().UpdateGui();

    coRideModeHost& host = coGetRideModeHost();
    // The camera moves before the ride steps: it shows the train where the last frame left it.
    if (m_closeCamera)
        m_closeCamera->Update();
    const maVector3d eye = *m_sceneCamera.GetPosition();
    coSetListenerFromCamera(m_sceneCamera);
    const coCoasterPiece* piece = coRideGetTrainPiece(0);
    m_ambient.Follow(piece != nullptr && piece->GetTube() != 0, t);
    snSoundManager::Update(appClock::GetTime());
    coMusicHandleKeys();
    coRideUpdate(eye);
    coPropList::CullByDistance(eye);
    maMatrix4d lead;
    const float height = coGetTrainCarMatrix(false, lead) ? lead.GetTranslation().y : 0.0f;
    host.SetStats(coRideGetTrainSpeed(0), height, coRideGetTrainAcceleration(0), coRideGetTrainElapsed(0),
                  coGetRideStats()[coStatRideTime]);
    host.UpdateProps(t);
    host.UpdateCollisions(eye);
    host.UpdateEnvironment(m_sceneCamera, t);
    m_headlight.Cast();
    RenderFrame(&m_sceneCamera);
}

void coModeTestRideCoaster::OnChar(appCharEvent* event) {
    if (event->GetChar() != appKeyCharSpace)
        return;
    // The hint and the name stay for the rest of their time: a new start is the same test ride.
    coRideLaunchTrain(0);
    coMusicRequestContext(coMusicSecondBuilder);
    coMusicApplyContext(false);
}
