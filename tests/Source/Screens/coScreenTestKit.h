#pragma once
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G3d/g3dTestScreen.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/plServices.h"
#include "Source/Modes/coModeTestSupport.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/World/coPropTemplateList.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

// A modal loop's frame function made of a step per frame; a loop that runs past 50 frames throws, so a
// dialog that never ends fails its test instead of hanging it.
struct coTestFrameFunction : guiFunction {
    explicit coTestFrameFunction(std::function<void(int frame)> step) : step(std::move(step)) {}
    void Execute() override {
        if (frames >= 50)
            throw std::runtime_error("the modal loop did not end");
        step(frames++);
    }
    std::function<void(int)> step;
    int frames = 0;
};

// The game screens on the fakes over the built installation tree (LV_DATA_DIR): the GUI and its scripts
// on the recording 3D device (800 x 600) with FreeType on the DejaVu fonts and the tree's font-name
// table, the sound system on the test device, the preferences at their defaults in a temporary saves
// folder (root 9), the clock set by hand, and a test mode whose frame start the modal frames run. The
// screens' roots (7 track types, 8 environments, 10 GUI, 11 texts, 16 voices) are the tree's; a test
// may point one elsewhere with SetRoot.
class coScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        input.AddDevice(plInputDeviceKind::Mouse, u"Mouse");
        input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
        plInstallServices({.time = &time,
                           .window = &window,
                           .messageBox = &messageBox,
                           .sound = &sound,
                           .input = &input,
                           .d3d = &d3d,
                           .fonts = &fonts});
        appInitTime();
        appClock::SetTime(0.0f, 0.0f);
        fsResetRootTable();
        for (const auto& [root, relative] : kTreeRoots)
            SetRoot(root, DataPath(relative));
        fsSetRootDirectory(coRootSaves, saves.Locator());
        // The interface pictures come from "gui.pak", as the game mounts it.
        coPakManager::Create();
        coPakManager::OpenGuiPaks();
        coPrefs::SetDefaults();
        g2dLoadFontNameTable(fsRootedLocator(coRootText, "fontname.tsf"));
        g3dStartTestScreen(800, 600);
        snStartSoundSystem();
        snSoundManager::Init();
        guiInit();
        gprInit();
        guiWindowMgr::GetRoot()->SetSize(800, 600);
        const i32 actions[] = {1111, 1112, 1113};
        const i32 buttons[] = {0, 1, 2};
        inDeviceManager::GetVirtualJoystick()->BindMany(*inDeviceManager::GetMouse(0), actions, buttons);
        coSetModeHost(&host);
        gfErrorHandler::SetDisplayer(&displayer);
    }
    void TearDown() override {
        coPropTemplateList::DeleteAll();
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        coSetModeHost(nullptr);
        gprShutdown();
        guiShutdown();
        snSoundManager::Shutdown();
        snStopSoundSystem();
        g3dStopTestScreen();
        coPakManager::Destroy();
        fsResetRootTable();
        plInstallServices({});
    }

    // A path under the built tree.
    static std::string DataPath(const std::string& relative) {
        return std::string(LV_DATA_DIR) + "/" + relative;
    }
    static void SetRoot(i32 root, const std::string& path) {
        fsLocator folder;
        fsLocatorFromNativePath(path.c_str(), folder);
        fsSetRootDirectory(root, folder);
        if (root == coRootGui)
            coPakManager::OpenGuiPaks(); // the new folder's pak, if any, in place of the tree's
    }
    // A click as the screens poll it: the widget's state is Released (2), or 8 for a check box released
    // while checked.
    static void Click(guiWindow* widget, bool checkedBox = false) { widget->SetState(checkedBox ? 8 : 2); }
    // One frame as the player drives it: the pointer over the widget's middle (where it was, for null),
    // the main button down or up, the input polled and the GUI updated.
    void PointerFrame(const guiWindow* over, bool down) {
        if (over) {
            const maVector3d at = over->GetWorldMatrix().GetTranslation();
            i32 w = 0, h = 0;
            over->GetSize(w, h);
            guiCursorMgr::SetPosition({at.x + static_cast<float>(w) / 2, at.y + static_cast<float>(h) / 2});
        }
        input.GetScript(0).mouse.buttons[0] = down ? 0x80 : 0;
        inDeviceManager::PollAll();
        guiWindowMgr::Update();
    }
    // The player's click on the screen's button over two frames of the window manager, the screen up for
    // them: the screen polls its buttons in its own think.
    void ClickOn(guiContainer& screen, const char* button) {
        guiWindowMgr::AddWindow(&screen);
        PointerFrame(screen.FindChild(button), true);
        PointerFrame(nullptr, false);
        guiWindowMgr::DetachWindow(&screen);
    }
    // A frame function that lets the dialog be drawn once, then clicks the widget (found anew each
    // frame by the caller's lookup) over two frames.
    coTestFrameFunction ClickLater(std::function<guiWindow*()> widget) {
        return coTestFrameFunction(
            [this, widget](int frame) { PointerFrame(frame == 0 ? nullptr : widget(), frame == 1); });
    }
    // The tree's props in the template list (root 6 their themes, root 12 their effects) and the
    // fountain's template loaded: a real prop whose two entry events are "Burst" and "Cascade".
    static coPropTemplate& LoadShippedFountain() {
        SetRoot(coRootThemes, DataPath("Themes"));
        SetRoot(coRootEffects, DataPath("Data/Effects"));
        coPaths::ListRootDirectories(coRootThemes);
        coPropTemplateList::Build(false);
        int category = -1, index = -1;
        coFindPropTemplate(envString("fountain"), category, index);
        if (category < 0)
            throw std::runtime_error("the tree has no fountain");
        coPropTemplate& fountain = *coPropTemplateList::GetTemplate(index, category);
        coLoadPropTemplate(fountain);
        return fountain;
    }
    // The game clock at that time.
    static void SetTime(f32 seconds) { appClock::SetTime(seconds, 0.0f); }
    // The frames the fake device presented so far.
    u32 Presents() {
        u32 count = 0;
        for (const std::string& line : d3d.GetLog())
            count += line.rfind("Present", 0) == 0 ? 1u : 0u;
        return count;
    }

    static constexpr std::pair<i32, const char*> kTreeRoots[] = {{coRootTracks, "Tracks"},
                                                                 {coRootEnvironments, "Environments"},
                                                                 {coRootGui, "Data/GUI"},
                                                                 {coRootText, "Data/Text/Eng"},
                                                                 {coRootVoice, "Data/Voice/Eng"}};

    plTestTimeSource time;
    plTestWindowHost window;
    plTestMessageBox messageBox;
    plTestInputSource input;
    plTestSoundDevice sound;
    plFakeD3d d3d;
    plFreeTypeFonts fonts;
    dbgLogCapture log;
    fsTestFolder saves;
    gfRecordingDisplayer displayer;
    coRecordingModeHost host;
    std::vector<std::string> journal;
    // The mode whose frame start the modal frames run.
    coScriptedMode mode{"screen", journal};
};
