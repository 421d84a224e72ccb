#include "Source/App/coApp.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appWindow.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inPackage.h"
#include "Engine/Audio/Mu/muMusicManager.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dHardware.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Video/Vi/viMoviePlayer.h"
#include "Source/App/coEnvironmentHooks.h"
#include "Source/App/coErrorDisplayerMgr.h"
#include "Source/App/coGameEditorInput.h"
#include "Source/App/coGameEditorWorld.h"
#include "Source/App/coGameMenuWorld.h"
#include "Source/App/coSaveTemporaries.h"
#include "Source/App/coScreenCareerPalettes.h"
#include "Source/App/coScreenEditorHost.h"
#include "Source/App/coScreenRideSettings.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coMenuModes.h"
#include "Source/Modes/coMenuWorld.h"
#include "Source/Modes/coModeBuilder.h"
#include "Source/Modes/coModeCareerBuilder.h"
#include "Source/Modes/coModeExitX.h"
#include "Source/Modes/coModeFlythrough.h"
#include "Source/Modes/coModeManipulateDock.h"
#include "Source/Modes/coModeManipulateProp.h"
#include "Source/Modes/coModePlaceProp.h"
#include "Source/Modes/coModeRideCoaster.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coModeTestRideCoaster.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/Modes/coRideModeOptions.h"
#include "Source/Modes/coRideSettings.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Ride/coRideCars.h"
#include "Source/SavedCoaster/coCoasterThumbnail.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Scene/coDetailSets.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Settings/coScreenCapture.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideAudioHooks.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/TrackGeom/coSceneTrackObjectMaker.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropScreens.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coThemeList.h"

#include <cstdio>
#include <random>
#include <utility>

namespace {

// A dialog's modal run on the game's frame. The run loop's quit (a run of a given length, the window
// closed) ends the run as Cancel, so no dialog outlives the loop that shows it.
class coFrameFunction : public guiFunction {
  public:
    coFrameFunction(std::function<void()> frame, guiDialog* dialog)
        : m_frame(std::move(frame)), m_dialog(dialog) {}
    void Execute() override {
        m_frame();
        const appWindow* window = appGetWindow();
        if (window && window->IsQuitRequested())
            m_dialog->EndDialog(false);
    }

  private:
    std::function<void()> m_frame;
    guiDialog* m_dialog;
};

// Listing props and making a coaster type current show the loading screen and rebuild their palettes.
class coGamePropScreens : public coPropScreens {
  public:
    void ShowLoadingScreen(bool restart) override { coLoadingScreenShow(restart); }
    void RebuildPropsPalette() override { coPaletteManager::RebuildPropsPalette(); }
};

class coGameCoasterPackageHooks : public coEnvironmentHooks {
  public:
    void RebuildDockPalette() override { coPaletteManager::RebuildDockPalette(); }
    void ShowLoadingScreen(bool restart) override { coLoadingScreenShow(restart); }
};

coGamePropScreens g_propScreens;
coScreenRideSettings g_ridePauseScreens;
coGameCoasterPackageHooks g_coasterPackageHooks;
coScreenCareerPalettes g_careerPalettes;
coScreenEditorHost g_editorHost;

// The error display lives in the window tree; it goes with the GUI.
coQuestionDialog* g_errorDisplay = nullptr;
coGameCoasterServices g_coasterServices;
coGameEditorInput g_editorInput;
coGameMenuWorld g_menuWorld;
std::unique_ptr<coTrackMeshBuilder> g_trackBuilder;
coSceneTrackObjectMaker g_trackObjectMaker;
std::unique_ptr<coMeshBuilderDefinitions> g_trackDefinitions;
coGameEditorWorld g_editorWorld;

// The flares' visibility test looks from the camera the frame draws with, so the terrain and the dock
// can hide the sun.
void GiveFlaresTheCamera(g3dCamera& camera) {
    if (scLFVisCompute* visibility = scLFGetVisCompute())
        visibility->SetCamera(&camera);
}

// Lens flares judged from the camera as it will draw, and the sky around it.
void UpdateFlaresAndSky(g3dCamera& camera, float time) {
    camera.Apply();
    GiveFlaresTheCamera(camera);
    scUpdateLensFlares();
    coGetEnvironment().UpdateSky(*camera.GetPosition(), time);
}

// What the ride modes find of the game so far: the remembered camera, the coaster's ride-sound set,
// the placed props, the pause dialog, the statistics and main palettes, the pointer, flares and sky from
// the camera, and movie frames written to disc.
class coAppRideHost : public coRideModeHost {
  public:
    i32 GetRideCamera() override { return coGetRideCameraIndex(); }
    void SetRideCamera(i32 camera) override { coSetRideCameraIndex(camera); }
    std::string GetFanfareSet() override { return coGetRideSoundSet(); }
    void CreatePauseDialog() override { coCreateRidePauseDialog(); }
    void DestroyPauseDialog() override { coDestroyRidePauseDialog(); }
    i32 RunPauseDialog(i32 mode) override { return coRunRidePauseDialog(mode); }
    i32 GetPauseDialogExit() override { return coGetRidePauseDialogResult(); }
    void SetPropsActive(bool active) override { coPropList::SetAllActive(active); }
    void UpdateProps(float time) override { coPropList::UpdateAll(time); }
    void PausePropSounds() override { coPropList::PauseSounds(); }
    void ResumePropSounds() override { coPropList::ResumeSounds(); }
    void UpdateCollisions(const maVector3d& eye) override { coChooseDetailByDistance(eye); }
    void UpdateEnvironment(g3dCamera& camera, float time) override { UpdateFlaresAndSky(camera, time); }
    void CaptureMovieFrame(i32 shrink) override { coGrabRideFrame(*g_pdevice, shrink); }
    // The "hiddenrails" and "lineloop" words of "/cheat"; every frame already clears to the background.
    void HideTrackObjects() override { coGetTrackBuilder().ShowTrackObjects(false); }
    void SetWireframe(bool wireframe) override {
        g_pdevice->SetRenderState(plD3dRs::FillMode, wireframe ? plD3dFill::Wireframe : plD3dFill::Solid);
    }
    void ResetFrameRateCounter() override { g2dScreen::ResetFpsAverage(); }
    void SetStats(float speed, float height, const maVector3d& g, float elapsed, float rideTime) override {
        if (auto* stats = dynamic_cast<coStatsPalette*>(coPaletteManager::GetPalette(coPaletteStats)))
            stats->SetStats(speed, height, g.x, g.y, g.z, elapsed, rideTime);
    }
    void ShowMainButtons(bool shown) override {
        if (coMainPalette* main = MainPalette())
            main->HideButtons(!shown);
    }
    void ShowFeedback(u32 message, float seconds) override {
        if (coMainPalette* main = MainPalette())
            main->ShowFeedback(static_cast<i32>(message), static_cast<i32>(seconds));
    }
    void HideFeedback() override {
        if (coMainPalette* main = MainPalette())
            main->HideFeedback();
    }
    void ShowCoasterName() override {
        if (coMainPalette* main = MainPalette())
            main->ShowCoasterName();
    }
    void HideConstraintCounters() override {
        if (auto* track =
                dynamic_cast<coTrackManipPalette*>(coPaletteManager::GetPalette(coPaletteTrackManip)))
            track->HideConstraintCounts();
    }
    void ShowHud(bool shown) override {
        coPaletteManager::SetHudEnabled(shown);
        coPaletteManager::SetHudVisible(shown);
    }
    void ShowPointer(bool shown) override { guiCursorMgr::SetVisible(shown); }
    void SetPointerShape(i32 shape) override { guiCursorMgr::SetShape(shape); }

  private:
    static coMainPalette* MainPalette() {
        return dynamic_cast<coMainPalette*>(coPaletteManager::GetPalette(coPaletteMain));
    }
};

coAppRideHost g_rideHost;
coRideAudioHooks g_rideAudio;

} // namespace

coApp::coApp() {
    coSetModeHost(this);
}

coApp::~coApp() {
    // The modes leave the table before they go, so nobody finds a deleted one there.
    for (i32 id = 0; id < coModeTableSize; ++id)
        if (m_modes[static_cast<size_t>(id)])
            coSetMode(id, nullptr);
    coSetModeHost(nullptr);
}

void coApp::SetCommandLine(const std::string& line) {
    m_commandLine = line;
    GetWindow().SetFullScreen(!coParseCommandLine(line, 0).windowed);
}

void coApp::Update() {
    m_frameStart = std::chrono::steady_clock::now();
    if (m_frameStartHook)
        m_frameStartHook();
    if (coModeStackIsEmpty()) {
        RequestQuit();
        return;
    }
    if (!PlayInjected()) {
        coModeStackLeaveAll();
        return;
    }
    coMode* entering = coModeStackIsNewlyCurrent() ? coCurrentMode() : nullptr;
    coModeManagerUpdate();
    if (entering && m_trace)
        Trace(entering);
    if (FrameLimitReached() || appIsEndingSession()) {
        if (m_lastFrame)
            m_lastFrame();
        coModeStackLeaveAll();
    }
}

bool coApp::FrameLimitReached() {
    return m_frameLimit != 0 && ++m_frames >= m_frameLimit;
}

bool coApp::PlayInjected() {
    if (!m_injector || m_injectionFailed)
        return !m_injectionFailed;
    if (m_injector->Step() != coInjector::Result::Failed)
        return true;
    std::fprintf(stderr, "loopvane: injected step %s\n", m_injector->GetFailure().c_str());
    m_injectionFailed = true;
    return false;
}

void coApp::Trace(coMode* entered) {
    for (i32 id = 0; id < coModeTableSize; ++id)
        if (coGetMode(id) == entered) {
            std::fprintf(stderr, "mode %d entered\n", static_cast<int>(id));
            if (id == coModeIdMainMenu && !m_menuReady) {
                m_menuReady = true;
                std::fprintf(stderr, "menu ready %lld ms\n",
                             static_cast<long long>(MillisecondsSinceStart()));
            }
            return;
        }
}

i64 coApp::MillisecondsSinceStart() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_programStart)
        .count();
}

void coApp::OnStart(appStartEvent*) {
    inInit();
    guiInit();
    m_inputAndGui = true;
    m_guiUp = true;
    m_teardown.push_back([this] { StopInputAndGui(); });
    coPaths::Init();
    // Past the single-instance check: no other copy of the game is writing these.
    coRemoveSaveTemporaries();

    fsLocator errors = fsGetRootDirectory(coRootProgram, 0);
    errors.AppendComponent("Errors");
    errors.AppendComponent(fsGetRootDirectory(coRootText, 0).GetLastComponent());
    gfErrorHandler::SetErrorFileDirectory(errors);

    fsLocator fontNames = fsGetRootDirectory(coRootText, 0);
    fontNames.AppendComponent("fontname.tsf");
    g2dLoadFontNameTable(fontNames);
    coThemeList::Build();
    m_teardown.push_back(coThemeList::Clear);
    coPakManager::Create();
    m_teardown.push_back(coPakManager::Destroy);
    coPrefs::SetSaveFailureReporter([] {
        // Before the game's own boxes exist the failure waits for the main menu to show it in one.
        if (!coErrorDisplayerMgr::IsStarted())
            return false;
        coReportCurrentException();
        return true;
    });
    m_teardown.push_back([] { coPrefs::SetSaveFailureReporter(nullptr); });
    // The 3D package has met the display adapter: the settings work around its known faults from the start.
    coPrefs::SetAdapterDescription(g3dGetAdapterName());
    try {
        coPrefs::Load();
    } catch (const envExceptionX&) {
        // Settings that cannot be kept (an unwritable saves folder) still hold for this run.
        coReportCurrentException();
    }
    coSetCollisionChecks(!coPrefs::GetBool(coPrefDisablePropCollisions));
    maRandomSeed(m_randomSeed ? *m_randomSeed : std::random_device()());
    CreateModes();
    SetTitle(coPaths::GetBasicString(0));
    SetWindowIcon();

    const coCommandLine options = coParseCommandLine(m_commandLine, coPrefs::GetInt(coPrefResolution));
    ApplyCommandLine(options);
    if (!options.skipVideos) {
        FitWindowToDisplay(options.resolution, options.windowed);
        PlayIntroMovies();
    }

    InitDisplay(options.resolution, options.windowed, coPrefs::GetInt(coPrefColourDepth));
    // The GUI and the renderer hold the device's resources: they go before the device.
    m_teardown.push_back([this] {
        StopInputAndGui();
        g3dRenderer::Shutdown();
        g2dScreen::Deinitialize();
    });
    g3dRenderer::InitStates();
    g2dScreen::SetShowFps(options.tilde);
    // The ride's cars hold fragments and a render texture: they go before the renderer.
    coStartRideCars([] { coReportCurrentException(); });
    m_teardown.push_back(coStopRideCars);
    // Saves made from now on carry the coaster's thumbnail.
    coSetSavedCoasterServices(&g_coasterServices);
    m_teardown.push_back([] { coSetSavedCoasterServices(nullptr); });
    // The track is drawn by the mesh builder, which holds the coaster type's track and support
    // definitions; their fragments and textures go before the renderer.
    // Without the scene's maker the pieces' objects would be made but never drawn.
    coSetTrackObjectMaker(&g_trackObjectMaker);
    g_trackBuilder = std::make_unique<coTrackMeshBuilder>();
    coSetTrackBuilder(g_trackBuilder.get());
    g_trackDefinitions = std::make_unique<coMeshBuilderDefinitions>(*g_trackBuilder);
    m_teardown.push_back([] {
        // The shadow material holds its texture, which holds the device.
        g_trackBuilder->DestroyShadowMaterial();
        g_trackBuilder->FreeDefinitions();
        g_trackDefinitions.reset();
        coSetTrackBuilder(nullptr);
        g_trackBuilder.reset();
        coGetTrackDefinitionSource().Free();
        coSetTrackObjectMaker(nullptr);
    });
    coSetMenuWorld(&g_menuWorld);
    m_teardown.push_back([] { coSetMenuWorld(nullptr); });
    coSetRideModeHost(&g_rideHost);
    m_teardown.push_back([] { coSetRideModeHost(nullptr); });

    coPakManager::RequireGuiPaks();
    coLoadingScreenShow(true);
    if (m_trace)
        std::fprintf(stderr, "first loading frame %lld ms\n",
                     static_cast<long long>(MillisecondsSinceStart()));
    m_teardown.push_back(coLoadingScreenHide);
    // The props palette and the dock chooser list what the template list found.
    coPropTemplateList::Build(options.loadPropsNow);
    m_teardown.push_back(coPropTemplateList::DeleteAll);
    coBindDefaultInput();
    coSetEditorInput(&g_editorInput);
    m_teardown.push_back([] { coSetEditorInput(nullptr); });
    coSetEditorWorld(&g_editorWorld);
    m_teardown.push_back([] {
        // The marker's sphere holds device buffers.
        g_editorWorld.FreeSelectionMarker();
        coSetEditorWorld(nullptr);
    });

    SetUpGui();
    CreateCursors();
    // Before they start: a screen that fails part-way leaves nothing made behind.
    m_teardown.push_back(StopScreens);
    StartScreens();

    coLoadingScreenShow(false);
    StartAudio();
    coLoadUiSounds();
    coLoadingScreenStep();

    if (options.rideUnterminated)
        DBG_WARNING("\"/ride\" without a coaster name between double quotes: the main menu instead");
    if (options.ride)
        StartRide(options);
    else
        coModePush(coGetMode(coModeIdMainMenu));
}

void coApp::SetUpGui() {
    int width = 0, height = 0;
    coGetDefaultResolution(width, height);
    guiSetScreenSize(width, height);
    guiWindowMgr::GetRoot()->SetSize(width, height);
    gprParserUtil::SetScriptDirectory(fsGetRootDirectory(coRootGui, 0));
}

void coApp::CreateCursors() {
    guiCursor& cursor = *guiCursorMgr::GetCursor();
    // Without its pictures the game still runs, under the pointer the system shows.
    for (const auto& [name, shape] :
         {std::pair{"Cursor.png", coPointerArrow}, {"CursorWait.png", coPointerWait}}) {
        // Rooted, so that the pictures come from "gui.pak" when it holds them.
        fsLocator file(coRootGui);
        file.AppendComponent(name);
        try {
            cursor.SetImage(file, shape);
        } catch (const envExceptionX& e) {
            DBG_WARNING(
                "A pointer picture cannot be read, so the pointer may keep its old look (error 0x%08X): %s",
                e.GetCode(), coFailedFileForLog(std::current_exception(), file).c_str());
        }
    }
    guiCursorMgr::SetHotSpot({2.0f, 2.0f});
    guiCursorMgr::SetShape(coPointerArrow);
    guiCursorMgr::SetPosition({320.0f, 240.0f});

    guiToolTip::Create();
    guiToolTip::GetImage()->SetColor({166, 31, 31}, guiStateIdle);
    guiToolTip::GetImage()->SetTransparency(0.6f, guiStateIdle);
    guiText& tip = *guiToolTip::GetText();
    tip.SetDefaultFont(g2dFont::GetByTextId(1, 24));
    tip.SetDefaultColor({255, 255, 255});
    tip.SetTextureSize(256, 256);
    guiToolTip::SetLayout(12, 35, 3);
}

void coApp::StartErrorDisplay() {
    try {
        g_errorDisplay = new coQuestionDialog;
    } catch (...) {
        // Without its content the question box cannot show a message: the engine's displayer does.
        coReportCurrentException();
        return;
    }
    g_errorDisplay->SetName("Error Display");
    guiWindowMgr::AddWindow(g_errorDisplay);
    m_errorFrame = std::make_unique<coFrameFunction>([this] { ModalFrame(); }, g_errorDisplay);
    g_errorDisplay->SetThinkFunction(m_errorFrame.get());
    coErrorDisplayerMgr::Start(
        [](u32 type, const envString& message) { return g_errorDisplay->Display(type, message); });
}

void coApp::StopErrorDisplay() {
    coErrorDisplayerMgr::Stop();
    guiWindowMgr::DeleteWindow(g_errorDisplay);
    g_errorDisplay = nullptr;
}

void coApp::StartScreens() {
    coDialogDimmer::Create();
    // Up before the palettes, so that a damaged screen of theirs is told in the game's own box.
    StartErrorDisplay();
    coPaletteManager::Create();
    coSetCareerPalettes(&g_careerPalettes);
    coSetEditorHost(&g_editorHost);
    // The editors' keys press the buttons of the palettes just made.
    for (const i32 id : {coModeIdBuilder, coModeIdCareerBuilder})
        if (auto* editor = dynamic_cast<coModeEditor*>(coGetMode(id)))
            editor->BindActionWindows();
    coSetPropScreens(&g_propScreens);
    coSetCoasterPackageHooks(&g_coasterPackageHooks);
    coSetRidePauseDialogScreens(&g_ridePauseScreens);
}

void coApp::StopScreens() {
    // The dialog lives in the window tree, which goes with the GUI.
    g_ridePauseScreens.DestroyDialog();
    coSetRidePauseDialogScreens(nullptr);
    coSetCoasterPackageHooks(nullptr);
    coSetPropScreens(nullptr);
    coSetEditorHost(nullptr);
    coSetCareerPalettes(nullptr);
    coPaletteManager::Destroy();
    StopErrorDisplay();
    coDialogDimmer::Destroy();
}

void coApp::RestartDisplay(i32 resolution, i32 depth) {
    coGetMenuWorld().ClearScene();
    coLoadingScreenHide();
    const bool windowed = g2dScreen::IsWindowed();
    // The shadow material holds its texture, which holds the old device.
    g_trackBuilder->DestroyShadowMaterial();
    g_trackBuilder->FreeDefinitions();
    StopScreens();
    if (m_guiUp) {
        m_guiUp = false;
        gprShutdown();
        guiShutdown();
    }
    g3dRenderer::Shutdown();
    g2dScreen::Deinitialize();
    InitDisplay(resolution, windowed, depth);
    g3dRenderer::InitStates();
    guiInit();
    gprInit();
    m_guiUp = true;
    SetUpGui();
    CreateCursors();
    StartScreens();
    g_trackBuilder->CreateShadowMaterial();
    coLoadUiSounds();
}

void coApp::StopInputAndGui() {
    if (!m_inputAndGui)
        return;
    m_inputAndGui = false;
    if (m_guiUp)
        guiShutdown();
    m_guiUp = false;
    inShutdown();
}

void coApp::CreateModes() {
    const auto make = [this](i32 id, std::unique_ptr<coMode> mode) {
        coSetMode(id, mode.get());
        m_modes[static_cast<size_t>(id)] = std::move(mode);
    };
    auto menu = std::make_unique<coModeMainMenu>();
    menu->SetDisplayRestart([this](i32 resolution, i32 depth) { RestartDisplay(resolution, depth); });
    make(coModeIdMainMenu, std::move(menu));
    make(coModeIdSplashScreen, std::make_unique<coModeSplashScreen>());
    make(coModeIdLoadMenu, std::make_unique<coModeLoadMenu>());
    make(coModeIdSelectTrackwright, std::make_unique<coModeSelectTrackwrightMenu>());
    make(coModeIdCareerMenu, std::make_unique<coModeCareerMenu>());
    make(coModeIdBuilder, std::make_unique<coModeBuilder>());
    make(coModeIdCareerBuilder, std::make_unique<coModeCareerBuilder>());
    make(coModeIdPlaceProp, std::make_unique<coModePlaceProp>());
    make(coModeIdRotateProp, std::make_unique<coModeRotateProp>());
    make(coModeIdTranslateProp, std::make_unique<coModeTranslateProp>());
    make(coModeIdPlaceTrackProp, std::make_unique<coModePlaceTrackProp>());
    make(coModeIdTranslateTrackProp, std::make_unique<coModeTranslateTrackProp>());
    make(coModeIdManipulateDock, std::make_unique<coModeManipulateDock>());
    make(coModeIdTestRide, std::make_unique<coModeTestRideCoaster>());
    make(coModeIdRide, std::make_unique<coModeRideCoaster>());
    make(coModeIdFlythrough, std::make_unique<coModeFlythrough>());
}

void coApp::ApplyCommandLine(const coCommandLine& options) {
    coPrefs::SetSessionFlag(coSessionMp3Music, options.mp3);
    for (int flag = 0; flag < 4; ++flag)
        if (options.cheats[flag])
            coPrefs::SetSessionFlag(flag, 1);
    if (options.storeResolution)
        coPrefs::SetInt(coPrefResolution, options.resolution);
    auto* ride = dynamic_cast<coRideModeOptions*>(coGetMode(coModeIdRide));
    if (!ride)
        return;
    if (options.perpetual)
        ride->SetPerpetual(true);
    if (options.movieCapture) {
        if (options.movieFrameRate != 0.0f)
            ride->SetMovieFrameRate(options.movieFrameRate);
        if (options.movieShrink != 0)
            ride->SetMovieShrink(options.movieShrink);
        ride->SetMovieCapture(true);
    }
}

void coApp::PlayIntroMovies() {
    viMoviePlayer player;
    for (const char* name : {"zandrel.avi", "brisomar.avi"}) {
        fsLocator movie(coRootVideo);
        movie.AppendComponent(name);
        player.Play(movie);
    }
}

// The window takes the shape the display will give it, so that the movies fill the game's own window:
// the game's size at the top left, or the whole screen.
void coApp::FitWindowToDisplay(i32 resolution, bool windowed) {
    appWindow* window = appGetWindow();
    if (!window)
        return;
    if (!windowed) {
        window->SetFullScreen(true);
        return;
    }
    int width = 0;
    int height = 0;
    coPrefs::GetResolution(resolution, width, height);
    window->SetRect(0, 0, width, height);
}

void coApp::SetWindowIcon() {
    fsLocator file = fsGetRootDirectory(coRootProgram, 0);
    file.AppendComponent("icon.png");
    try {
        const g2dPixelRows rows = g2dReadPNG(file);
        std::vector<u8> rgba;
        rgba.reserve(static_cast<size_t>(rows.width) * rows.height * 4);
        for (size_t at = 0; at < rows.bytes.size(); at += rows.BytesPerPixel()) {
            rgba.insert(rgba.end(), rows.bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        rows.bytes.begin() + static_cast<std::ptrdiff_t>(at + 3));
            rgba.push_back(rows.hasAlpha ? rows.bytes[at + 3] : 255);
        }
        if (appWindow* window = appGetWindow())
            window->SetIcon(static_cast<i32>(rows.width), static_cast<i32>(rows.height), rgba.data());
    } catch (const envExceptionX&) {
        // The window keeps the desktop's own icon.
        DBG_WARNING("the window icon \"icon.png\" could not be read");
    }
}

void coApp::InitDisplay(i32 resolution, bool windowed, i32 depth) {
    // A plain log line, not a warning: a clean start logs no warnings.
    dbgLogLine(("Display Adapter: " + g3dGetAdapterName()).c_str());
    int width = 0;
    int height = 0;
    coPrefs::GetResolution(resolution, width, height);
    g2dScreen::SetVerticalSync(coPrefs::GetBool(coPrefVerticalSync));
    g2dScreen::SetTripleBuffering(coPrefs::GetBool(coPrefTripleBuffering));
    if (windowed)
        g2dScreen::InitWindowed(width, height, 0, 0);
    else
        g2dScreen::InitFullScreen(width, height, depth);
    g2dScreen::SetGamma(coPrefs::GetFloat(coPrefGamma));
}

void coApp::StartAudio() {
    try {
        snStartSoundSystem();
    } catch (const envExceptionX&) {
        // Without a sound device the game runs silent: every sound call does nothing while it is down.
        coReportCurrentException();
    }
    snSoundManager::Init();
    coPrefs::ApplyVolumes();
    coMusicStart();
    coMusicSetDisabled(coPrefs::GetBool(coPrefMenuMusicOff));
    // The ride's event sounds and screams, through the sound manager.
    coSetRideAudio(&g_rideAudio);
    m_teardown.push_back([] { StopAudio(); });
}

void coApp::StopAudio() {
    coSetRideAudio(nullptr);
    coMusicSaveSettings();
    coMusicStop();
    muDestroyMusicManager();
    snSoundManager::Shutdown();
    snStopSoundSystem();
}

void coApp::StartRide(const coCommandLine& options) {
    // The name must be one file of the save folder; anything else is a file that is not there.
    const envString name(
        (options.rideName +
         (m_commandLine.find(coSavedCoasterExtension) == std::string::npos ? coSavedCoasterExtension : ""))
            .c_str());
    fsLocator file(coRootSaves);
    file.AppendComponent(name);
    coGetMenuWorld().SetCoasterName(envString(options.rideName.c_str()));
    if (!coIsPlainFolderName(name))
        throw fsFileDoesntExistX(file);
    coGetMenuWorld().LoadCoaster(file);
    coGetMenuWorld().SetWorldMode(1);
    coGetMenuWorld().PrepareRide();
    coModePush(coGetMode(coModeIdRide));
}

void coApp::OnStop(appStopEvent*) {
    coGetMenuWorld().ClearScene();
    // A mode left by an error was not exited: its screens go before the GUI that shows them.
    for (const auto& mode : m_modes)
        if (mode)
            mode->DeleteScreens();
    while (!m_teardown.empty()) {
        const auto step = std::move(m_teardown.back());
        m_teardown.pop_back();
        step();
    }
}

void coApp::OnSuspend(appSuspendEvent*) {
    const muMusicManager* manager = muGetMusicManager();
    m_suspendPaused = manager && (manager->GetFlags() & muMusicManager::kPlaying) != 0;
    if (m_suspendPaused)
        coMusicPause();
}

void coApp::OnResume(appResumeEvent*) {
    appClock::Tick(0.0f);
    if (m_suspendPaused)
        coMusicResume();
}

// --- the frame services of the modes ---

bool coApp::AskQuitQuestion(u32 textEntry) {
    return AskNamedQuestion(textEntry, envString());
}

bool coApp::AskNamedQuestion(u32 textEntry, const envString& name) {
    auto* dialog = new coQuestionDialog;
    dialog->SetName("Dialog");
    guiWindowMgr::AddWindow(dialog);
    struct Delete {
        guiWindow* dialog;
        ~Delete() { guiWindowMgr::DeleteWindow(dialog); }
    } owner{dialog};
    coFrameFunction frame([this] { ModalFrame(); }, dialog);
    dialog->SetThinkFunction(&frame);
    dialog->SetPrimaryTextNum(textEntry, name);
    dialog->SetOkTextNum(coLabelYes);
    dialog->SetCancelTextNum(coLabelNo);
    return dialog->DoModal() == 1;
}

bool coApp::ScreenshotKeyReleased() {
    const inKeyboard* keyboard = inDeviceManager::GetKeyboard(0);
    const bool released = keyboard && keyboard->WasKeyReleased(inKeyF7);
    // The frames of a report the shot opens see the same release before the next poll: one press, one shot.
    const bool taken = m_screenshotReleaseTaken;
    m_screenshotReleaseTaken = released;
    return released && !taken;
}

void coApp::TakeScreenshot() {
    coGrabScreenshot(*g_pdevice);
}

void coApp::HideLoadingScreen() {
    coLoadingScreenHide();
}

void coApp::BeginMenuFrame(bool poll) {
    const u8 black[3] = {0, 0, 0};
    g2dScreen::Clear(black);
    if (poll)
        inDeviceManager::PollAll();
    guiCursorMgr::UpdatePosition();
    guiWindowMgr::Update();
    const f32 time = appClock::GetTime();
    guiSoundCues::Update(time);
    snSoundManager::Update(time);
    coMusicHandleKeys();
}

void coApp::UpdateGui() {
    guiCursorMgr::UpdatePosition();
    guiWindowMgr::Update();
    guiSoundCues::Update(appClock::GetTime());
}

void coApp::UpdateToolTip(float time) {
    guiToolTip::Update(time);
}

void coApp::UpdateScene(g3dCamera& camera, float time) {
    coChooseDetailByDistance(*camera.GetPosition());
    UpdateFlaresAndSky(camera, time);
    snSoundManager::Update(time);
    coMusicHandleKeys();
}

void coApp::RenderFrame(g3dCamera* camera, g2dImage* overlay) {
    // Whatever the sky leaves uncovered shows the environment's background, never the last frame.
    if (camera)
        g2dScreen::Clear(coGetEnvironment().GetBackgroundColor());
    if (overlay)
        g2dScreen::DrawImage(0, 0, *overlay);
    // The GUI's quads are in the renderer's lists: the menus show with the 3D frame, drawn once.
    const f32 time = appClock::GetTime();
    if (camera) {
        coCullScene(*camera);
        GiveFlaresTheCamera(*camera);
    }
    scUpdateAll(time);
    if (camera)
        camera->Apply();
    g3dRenderer::RenderFrame(time);
    g2dScreen::EndFrame();
    if (m_trace)
        std::fprintf(
            stderr, "frame %.3f ms\n",
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_frameStart)
                .count());
}

void coApp::OnModalFrame() {
    if (FrameLimitReached() || !PlayInjected() || appIsEndingSession()) {
        RequestQuit();
        // A dialog's loop does not end on the window's quit request: leave it the way an Ok to the
        // quit question does.
        if (coModeStackCatchesExit())
            throw coModeExitX();
    }
}

void coApp::ModalFrame() {
    m_frameStart = std::chrono::steady_clock::now();
    if (m_frameStartHook)
        m_frameStartHook();
    OnModalFrame();
    appClock::Tick(0.0f);
    PumpMessages();
    if (ScreenshotKeyReleased()) {
        try {
            TakeScreenshot();
        } catch (...) {
            coReportCurrentException();
        }
    }
    BeginMenuFrame(true);
    // A question over the world: what the sky leaves uncovered would show frames before it.
    g2dScreen::Clear(coGetEnvironment().GetBackgroundColor());
    RenderFrame(nullptr, nullptr);
}
