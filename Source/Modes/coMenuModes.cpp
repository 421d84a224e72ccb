#include "Source/Modes/coMenuModes.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coProfileFiles.h"
#include "Source/Modes/coMenuWorld.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Screens/coChooseCoasterDialog.h"
#include "Source/Screens/coCreditsDialog.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coReportException.h"
#include "Source/Screens/coRunDialog.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"

#include <utility>

namespace {

// The screen joins the window tree while its mode is entered; the mode keeps owning it.
template <class Screen, class... Args> Screen* ShowScreen(std::unique_ptr<Screen>& screen, Args&&... args) {
    screen = std::make_unique<Screen>(std::forward<Args>(args)...);
    i32 width = 0;
    i32 height = 0;
    guiGetScreenSize(width, height);
    screen->SetSize(width, height);
    if (guiContainer* root = guiWindowMgr::GetRoot())
        root->AddChild(screen.get());
    return screen.get();
}

template <class Screen> void DeleteScreen(std::unique_ptr<Screen>& screen) {
    if (screen)
        guiWindowMgr::DetachWindow(screen.get());
    screen.reset();
}

void StartMenuMusic() {
    coMusicRequestContext(coMusicMenu);
    coMusicApplyContext(false);
}

// A dialog whose content cannot be loaded is reported, and the menu stays: false.
template <class Dialog, class Run> bool RunDialog(const char* name, Run run) {
    return coRunNewDialog<Dialog>(name, false, run);
}

// A file the menus could not load, which leaves the coaster or mission unopened: told to the player, and
// nothing of it left in the world.
void ReportLoadFailure(coAfterReport after) {
    coReportCurrentException(after);
    coGetMenuWorld().ClearScene();
}

} // namespace

// --- main menu ---

void coModeMainMenu::Enter() {
    EnterCommon();
    coGetMenuWorld().ClearScene();
    ShowScreen(m_screen);
    coShowMenuBackground("uimm");
    StartMenuMusic();
    guiCursorMgr::SetShape(coPointerArrow);
}

void coModeMainMenu::Think() {
    BeginFrame();
    if (coTakeReleased(*m_screen, "Build")) {
        guiCursorMgr::SetShape(coPointerWait);
        m_screen->SetVisible(false);
        Build();
    } else if (coTakeReleased(*m_screen, "Load")) {
        coModePush(coGetMode(coModeIdLoadMenu));
        SetResult(Switch);
    } else if (coTakeReleased(*m_screen, "Trkwt")) {
        coModePush(coGetMode(coModeIdSelectTrackwright));
        SetResult(Leave);
    } else if (coTakeReleased(*m_screen, "Opt")) {
        RunOptions();
    } else if (coTakeReleased(*m_screen, "Cred")) {
        RunCredits();
    } else if (coTakeReleased(*m_screen, "Exit")) {
        // The player chose to leave: no question.
        coModeStackKeepCurrent();
        SetResult(Leave);
    } else {
        PlainMenuFrame();
        // The first screen with the game's own boxes: settings a first start could not keep are told
        // over it, once it is drawn.
        coPrefs::TellHeldSaveFailure();
    }
}

void coModeMainMenu::Build() {
    coShowMenuBackground("uicc");
    guiCursorMgr::SetShape(coPointerArrow);
    std::string trackType;
    std::string environment;
    const bool chosen =
        RunDialog<coChooseCoasterDialog>("Choose Coaster", [&](coChooseCoasterDialog& dialog) {
            coChooseCoasterDialogFunction frame(ModalFrameStart());
            dialog.SetThinkFunction(&frame);
            if (dialog.DoModal() != 1)
                return false;
            trackType = dialog.GetSelectedTrackType();
            environment = dialog.GetSelectedEnvironment();
            return true;
        });
    if (!chosen) {
        coShowMenuBackground("uimm");
        m_screen->SetVisible(true);
        return;
    }
    coMenuWorld& world = coGetMenuWorld();
    world.SetCoasterName(envString());
    world.ClearScene();
    coLoadingScreenHide();
    coLoadingScreenShow(true);
    world.LoadCoasterDefinitions(trackType, environment);
    coLoadingScreenStep();
    coModePush(coGetMode(coModeIdBuilder));
    SetResult(Leave);
}

void coModeMainMenu::RunOptions() {
    guiCursorMgr::SetShape(coPointerWait);
    guiCursorMgr::SetShape(coPointerArrow);
    m_newDisplay = m_runOptions();
    m_displayChangePending = m_newDisplay.displayChanged;
    if (m_displayChangePending) {
        // Leaving and entering again restarts the display between the two.
        coModePush(this);
        SetResult(Leave);
    }
}

void coModeMainMenu::RunCredits() {
    guiCursorMgr::SetShape(coPointerWait);
    m_screen->SetVisible(false);
    coShowMenuBackground("uicd");
    guiCursorMgr::SetShape(coPointerArrow);
    RunDialog<coCreditsDialog>("CreditsDialog", [this](coCreditsDialog& dialog) {
        coCreditsDialogFunction frame(ModalFrameStart());
        frame.SetDialog(&dialog);
        dialog.SetThinkFunction(&frame);
        return dialog.DoModal() == 1;
    });
    coShowMenuBackground("uimm");
    m_screen->SetVisible(true);
}

void coModeMainMenu::DeleteScreens() {
    DeleteScreen(m_screen);
}

void coModeMainMenu::Exit() {
    guiCursorMgr::SetShape(coPointerWait);
    ExitCommon();
    DeleteScreen(m_screen);
    coShowMenuBackground("");
    coMusicStop();
    if (m_displayChangePending) {
        m_displayChangePending = false;
        RestartDisplay();
    }
}

void coModeMainMenu::RestartDisplay() {
    if (!m_restart)
        return;
    try {
        m_restart(m_newDisplay.resolution, m_newDisplay.depth);
        return;
    } catch (...) {
        coReportCurrentException();
    }
    // The chosen mode cannot be made: the one that worked before, else the smallest the game runs in. The
    // dialog has already stored the chosen mode, so the preferences take back the one that is made.
    const i32 depth = m_newDisplay.previousDepth;
    for (const i32 resolution : {m_newDisplay.previousResolution, 0}) {
        try {
            m_restart(resolution, depth);
            coPrefs::SetInt(coPrefResolution, resolution);
            coPrefs::SetInt(coPrefColourDepth, depth);
            return;
        } catch (...) {
            coReportCurrentException();
        }
    }
}

// --- load menu ---

void coModeLoadMenu::Enter() {
    EnterCommon();
    coShowMenuBackground("uilm");
    ShowScreen(m_screen, [](u32 textEntry, const envString& name) {
        return coGetModeHost().AskNamedQuestion(textEntry, name);
    });
    coGetMenuWorld().SetWorldMode(0);
    StartMenuMusic();
    guiCursorMgr::SetShape(coPointerArrow);
    coReportUnreadableFolders(m_screen->GetUnreadableFolders());
}

void coModeLoadMenu::Think() {
    BeginFrame();
    if (coTakeReleased(*m_screen, "Build")) {
        guiCursorMgr::SetShape(coPointerWait);
        if (LoadSelectedCoaster()) {
            coGetMenuWorld().SetWorldMode(1);
            coModePush(coGetMode(coModeIdBuilder));
            SetResult(Leave);
        }
    } else if (coTakeReleased(*m_screen, "Back")) {
        SetResult(Leave);
    } else if (coTakeReleased(*m_screen, "Main Menu")) {
        coModePush(coGetMode(coModeIdMainMenu));
        SetResult(Leave);
    } else if (coTakeReleased(*m_screen, "Ride")) {
        guiCursorMgr::SetShape(coPointerWait);
        if (LoadSelectedCoaster()) {
            coGetMenuWorld().SetWorldMode(1);
            coGetMenuWorld().PrepareRide();
            coModePush(coGetMode(coModeIdRide));
            SetResult(Switch);
        }
    } else {
        PlainMenuFrame();
    }
}

bool coModeLoadMenu::LoadSelectedCoaster() {
    coMusicStop();
    const fsLocator file = m_screen->GetSelectedFile();
    if (file.GetComponentCount() == 0)
        return false;
    coGetMenuWorld().SetCoasterName(m_screen->GetSelectedName());
    try {
        coGetMenuWorld().LoadCoaster(file);
        return true;
    } catch (...) {
        // A damaged coaster is named and the menu stays; a damaged game file that it needs (a theme's
        // model) takes the general report, which names it as the game's, never as the player's coaster.
        if (coIsDamageOf(std::current_exception(), file)) {
            coReportFileProblem(coErrorDamagedCoaster, file);
            coGetMenuWorld().ClearScene();
        } else {
            ReportLoadFailure(coAfterReport::CoasterNotOpened);
        }
        guiCursorMgr::SetShape(coPointerArrow);
        return false;
    }
}

void coModeLoadMenu::DeleteScreens() {
    DeleteScreen(m_screen);
}

void coModeLoadMenu::Exit() {
    ExitCommon();
    DeleteScreen(m_screen);
    coShowMenuBackground("");
    coMusicStop();
}

// --- career menu ---

void coModeCareerMenu::Enter() {
    EnterCommon();
    coLoadingScreenShow(true);
    for (int step = 0; step < 5; ++step)
        coLoadingScreenShow(false);
    ShowScreen(m_screen);
    coLoadingScreenShow(false);
    m_screen->SetTrackwright(m_profile);
    if (m_lastTrackType != "false")
        m_screen->SetCareerPage(m_careerIndex, m_lastTrackType, m_lastMission);
    coLoadingScreenShow(false);
    std::vector<i32> counts;
    coCareerSave::Load(m_profile, m_screen.get(), counts);
    coLoadingScreenShow(false);
    coLoadingScreenShow(false);
    coShowMenuBackground("uicm");
    coLoadingScreenStep();
    StartMenuMusic();
    guiCursorMgr::SetShape(coPointerArrow);
    coCareerSave::ShowReports();
}

void coModeCareerMenu::Think() {
    BeginFrame();
    const bool launch = coTakeReleased(*m_screen, "Launch");
    if (launch || coTakeReleased(*m_screen, "Start Again")) {
        if (StartSelectedMission(launch)) {
            coModePush(coGetMode(coModeIdCareerBuilder));
            SetResult(Leave);
        }
    } else if (coTakeReleased(*m_screen, "Main Menu")) {
        coModePush(coGetMode(coModeIdMainMenu));
        SetResult(Leave);
    } else {
        PlainMenuFrame();
    }
}

bool coModeCareerMenu::StartSelectedMission(bool launch) {
    auto* builder = dynamic_cast<coCareerMissionTarget*>(coGetMode(coModeIdCareerBuilder));
    m_lastTrackType = m_screen->GetSelectedTrackType();
    m_lastMission = m_screen->GetSelectedMission();
    fsLocator file;
    bool attempt = false;
    try {
        fsLocator folder = fsGetRootDirectory(coRootSaves, 0);
        for (const envString& level : {m_profile, envString(m_lastTrackType.c_str())}) {
            folder.AppendComponent(level);
            if (!fsDirectoryExists(folder))
                fsCreateDirectory(folder);
        }
        file = folder;
        file.AppendComponent(envString(m_lastMission.c_str()));
        attempt = launch && fsFileExists(file);
        if (!attempt) {
            file = fsLocator(coRootMissions);
            file.AppendComponent(envString(m_lastTrackType.c_str()));
            file.AppendComponent(envString(m_lastMission.c_str()));
        }
        m_careerIndex = m_screen->GetCareerIndex();
        if (builder) {
            builder->LoadMission(file, m_careerIndex);
            builder->SetPlayerName(m_profile);
            builder->SetFinalMission(m_screen->IsClosingMission());
        }
        return true;
    } catch (...) {
        // A damaged mission is named, with the way out: the player's attempt gives way to "Start Again".
        // A damaged game file that it needs is named as the game's: the attempt is whole.
        if (coIsDamageOf(std::current_exception(), file)) {
            coReportFileProblem(attempt ? coErrorDamagedAttempt : coErrorDamagedMission, file);
            coGetMenuWorld().ClearScene();
        } else {
            ReportLoadFailure(coAfterReport::MissionNotOpened);
        }
        return false;
    }
}

void coModeCareerMenu::DeleteScreens() {
    DeleteScreen(m_screen);
}

void coModeCareerMenu::Exit() {
    guiCursorMgr::SetShape(coPointerWait);
    ExitCommon();
    DeleteScreen(m_screen);
    coShowMenuBackground("");
    coMusicStop();
}

// --- profile selection ---

void coModeSelectTrackwrightMenu::Enter() {
    EnterCommon();
    ShowScreen(m_screen);
    // Without a profile the first frame acts as if "New Trackwright" had been pressed.
    if (m_screen->GetProfileCount() == 0)
        m_screen->FindChild("New Trackwright")->SetState(coButtonReleased);
    coShowMenuBackground("uisi");
    StartMenuMusic();
    guiCursorMgr::SetShape(coPointerArrow);
    coReportUnreadableFolders(m_screen->GetUnreadableFolders());
    coCareerSave::ShowReports();
}

void coModeSelectTrackwrightMenu::Think() {
    BeginFrame();
    if (coTakeReleased(*m_screen, "Load Trackwright")) {
        StartCareer(m_screen->GetSelectedName());
    } else if (coTakeReleased(*m_screen, "Main Menu")) {
        coModePush(coGetMode(coModeIdMainMenu));
        SetResult(Leave);
    } else if (coTakeReleased(*m_screen, "New Trackwright")) {
        StartCareer(MakeProfile());
    } else {
        PlainMenuFrame();
    }
}

void coModeSelectTrackwrightMenu::StartCareer(const envString& profile) {
    // No name would make the saves folder itself the profile.
    if (profile.GetLength() == 0) {
        PlainMenuFrame();
        return;
    }
    if (auto* career = dynamic_cast<coModeCareerMenu*>(coGetMode(coModeIdCareerMenu)))
        career->SetProfileName(profile);
    coModePush(coGetMode(coModeIdCareerMenu));
    SetResult(Leave);
}

envString coModeSelectTrackwrightMenu::MakeProfile() {
    envString made;
    RunDialog<coKeyboardDialog>("Keyboard Dialog", [&](coKeyboardDialog& keyboard) {
        coKeyboardDialogFunction frame(ModalFrameStart());
        keyboard.SetThinkFunction(&frame);
        keyboard.SetText(envString());
        if (keyboard.DoModal() != 1)
            return false;
        // The dialog's Ok takes only a name that can be one folder's. A profile in a saves folder that
        // could not be listed is not the player's to start again: the name opens it.
        const envString name = keyboard.GetText();
        const bool listed = m_screen->GetUnreadableFolders().empty();
        if (!coProfileExists(name) ? coCreateProfile(name)
                                   : !listed || (AskRestart(frame) && coRestartProfile(name)))
            made = name;
        return true;
    });
    return made;
}

bool coModeSelectTrackwrightMenu::AskRestart(guiFunction& frame) {
    return RunDialog<coQuestionDialog>("Dialog", [&](coQuestionDialog& question) {
        question.SetThinkFunction(&frame);
        question.SetPrimaryTextNum(coQuestionRestartCareer);
        question.SetOkTextNum(coLabelOk);
        question.SetCancelTextNum(coLabelCancel);
        return question.DoModal() == 1;
    });
}

void coModeSelectTrackwrightMenu::DeleteScreens() {
    DeleteScreen(m_screen);
}

void coModeSelectTrackwrightMenu::Exit() {
    guiCursorMgr::SetShape(coPointerWait);
    ExitCommon();
    DeleteScreen(m_screen);
    coShowMenuBackground("");
    coMusicStop();
}

// --- splash screen ---

void coModeSplashScreen::SetImage(const fsLocator& file, i32 seconds) {
    m_file = file;
    m_duration = seconds;
}

void coModeSplashScreen::Enter() {
    EnterCommon();
    m_image = std::make_unique<g2dImage>();
    g2dLoadImage(m_file, *m_image);
    m_start = static_cast<i32>(appClock::GetTime());
}

void coModeSplashScreen::Think() {
    BeginFrame();
    const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    if (static_cast<i32>(appClock::GetTime()) - m_start > m_duration && joystick &&
        joystick->IsButtonHeld(coActionMouseLeft)) {
        SetResult(Leave);
        return;
    }
    inDeviceManager::PollAll();
    appClock::Tick(1.0f);
    g2dScreen::DrawImage(0, 0, *m_image);
    g2dScreen::EndFrame();
}

void coModeSplashScreen::Exit() {
    ExitCommon();
    m_image.reset();
}
