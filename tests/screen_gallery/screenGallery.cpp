#include "screenGallery.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Palettes/coGlobalStatsPalette.h"
#include "Source/Palettes/coLocalStatsPalette.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coManipulatePalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Palettes/coPropMarks.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Scene/coObject.h"
#include "Source/Screens/coCareerMenu.h"
#include "Source/Screens/coChooseCoasterDialog.h"
#include "Source/Screens/coCreditsDialog.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coFileBrowseDialog.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Screens/coLoadMenu.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Screens/coOptionsDialog.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coRidePauseDialog.h"
#include "Source/Screens/coSelectTrackwrightMenu.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coThemeList.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

void SetRoot(i32 root, const std::string& path) {
    fsLocator folder;
    fsLocatorFromNativePath(path.c_str(), folder);
    fsSetRootDirectory(root, folder);
}

std::string Data(const std::string& relative) {
    return std::string(LV_DATA_DIR) + "/" + relative;
}

// A saved coaster holding only its setting chunk: the track type and environment, closed.
std::string CoasterBytes(const std::string& trackType) {
    std::string body(16, '\0');
    body += trackType + '\0' + "Mountain" + '\0' + '\1' + "Ironvale" + '\0';
    std::string bytes = std::string("KSFB") + '\2' + '\1' + '\0' + '\0' + "CDAT";
    const u32 size = static_cast<u32>(body.size());
    bytes.append(reinterpret_cast<const char*>(&size), 4);
    bytes.append("\1\0", 2);
    return bytes + body;
}
// The station chooser offers the docks of this type.
struct SteelDefinition : coCoasterDefinition {
    std::string GetCoasterTypeName() const override { return "Steel"; }
} g_steel;

// A 10-unit cube 100 ahead of the camera's default eye, for the tool box to stand beside.
struct Cube : coObject {
    bool RayTest(const maVector3d&, const maVector3d&, f32&) const override { return false; }
    maBoundingBox GetBoundingBox() const override { return maBoundingBox({-5, -5, 95}, {5, 5, 105}); }
};

} // namespace

screenGallery::screenGallery() {
    if (!m_gallery.IsReady())
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "screen-gallery-XXXXXX").string();
    m_saves = mkdtemp(pattern.data()) ? pattern : std::string();
    fsResetRootTable();
    const std::pair<i32, const char*> roots[] = {
        {coRootTracks, "Tracks"},      {coRootEnvironments, "Environments"}, {coRootGui, "Data/GUI"},
        {coRootText, "Data/Text/Eng"}, {coRootVoice, "Data/Voice/Eng"},      {coRootThemes, "Themes"}};
    for (const auto& [root, relative] : roots)
        SetRoot(root, Data(relative));
    SetRoot(coRootMissions, Data("Data/Missions"));
    SetRoot(coRootSaves, m_saves);
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    // The interface pictures come from "gui.pak", as the game mounts it.
    coPakManager::Create();
    coPakManager::OpenGuiPaks();
    coPrefs::SetDefaults();
    fsLocator fontNames(coRootText);
    fontNames.AppendComponent("fontname.tsf");
    g2dLoadFontNameTable(fontNames);
    gprInit();
    coSetCoasterDefinition(&g_steel);
    coPaths::ListRootDirectories(coRootThemes);
    // The names the game shows for the track types, environments and themes.
    coThemeList::Build();
    coPropTemplateList::Build(false);
    coDialogDimmer::Create();
    coPaletteManager::Create();
    coLoadingScreenHide();
}

screenGallery::~screenGallery() {
    if (!m_gallery.IsReady())
        return;
    coPaletteManager::Destroy();
    coPropTemplateList::DeleteAll();
    coThemeList::Clear();
    coSetCoasterDefinition(nullptr);
    coTrackColorizer::ClearSchemes();
    coTrackColorizer::ClearCurrent();
    coDialogDimmer::Destroy();
    guiWindowMgr::GetRoot()->DeleteAllChildren();
    coLoadingScreenHide(); // the load menu shows it while it scans
    gprShutdown();
    coPakManager::Destroy();
    fsResetRootTable();
    if (!m_saves.empty())
        std::filesystem::remove_all(m_saves);
}

bool screenGallery::Knows(const std::string& screen) const {
    for (const char* known :
         {"mainmenu", "loadmenu", "profiles", "careermenu", "question", "credits", "choose", "props", "dock",
          "manipulate", "builder-hud", "keyboard", "browse", "options", "ridepause"})
        if (screen == known)
            return true;
    return false;
}

bool screenGallery::MakeFixture(const std::string& fixture) {
    if (fixture == "closed-oval")
        return true; // the builder's palettes lay the circuit themselves
    if (fixture == "saves-5") {
        const std::pair<const char*, const char*> coasters[] = {{"Twister", "Steel"},
                                                                {"Boomerang", "Steel"},
                                                                {"Old Timer", "Wooden"},
                                                                {"Lost Loop", "Looping"},
                                                                {"Zephyr", "Steel"}};
        for (const auto& [name, trackType] : coasters)
            std::ofstream(m_saves + "/" + name + ".csa", std::ios::binary) << CoasterBytes(trackType);
        return true;
    }
    if (fixture == "classic-3done") {
        for (i32 mission = 0; mission < 3; ++mission)
            coCareerSave::Write(1, envString("Ann"), envString("Classic"), mission, 2 + mission);
        std::filesystem::create_directories(m_saves + "/Bea");
        return true;
    }
    return false;
}

void screenGallery::BuildHud(const std::string& fixture) {
    coPaletteStates hud;
    for (const i32 index : {coPaletteStats, coPaletteGlobalStats, coPaletteLocalStats, coPaletteTrackManip,
                            coPaletteMain, coPaletteObjectives})
        hud.codes[static_cast<size_t>(index)] = 3;
    coPaletteManager::ApplyStates(hud);
    coPaletteManager::SetHudVisible(true);
    coPaletteManager::SetHudEnabled(true);
    auto* stats = static_cast<coStatsPalette*>(coPaletteManager::GetPalette(coPaletteStats));
    // Half of the full 89.4 m/s, a third of the ride gone.
    stats->SetStats(44.7f, 12.0f, 0.4f, 1.5f, -0.3f, 30.0f, 90.0f);
    static_cast<coGlobalStatsPalette*>(coPaletteManager::GetPalette(coPaletteGlobalStats))
        ->SetStats(4.0f, 30.0f, 15.0f, 3.2f, -0.8f, 2.0f, 35.0f, 420.0f, 90.0f);
    static_cast<coLocalStatsPalette*>(coPaletteManager::GetPalette(coPaletteLocalStats))->SetStats(nullptr);
    auto* objectives = static_cast<coObjectivesPalette*>(coPaletteManager::GetPalette(coPaletteObjectives));
    // A mission's list longer than the panel shows, with its hint's key and props marked by their numbers.
    const char* const rows[] = {"Close the circuit",
                                "Reach 60 mph",
                                "Build two loops",
                                "Use 4 left turns",
                                "Use an S-turn",
                                "Keep the lowest vertical G above -0.17 G",
                                "Keep the track length above 900 ft",
                                "Pass the Fountain marked 1 first",
                                "Pass the Fountain marked 2 second"};
    for (size_t row = 0; row < std::size(rows); ++row)
        objectives->SetObjective(static_cast<i32>(row), envString(rows[row]), row == 1);
    objectives->ShowHintKey(true);
    // A second mark lies where the piece panel's first label stands.
    coPaletteManager::GetPropMarks()->SetMarks(
        {{maVector2d(400.0f, 300.0f), 1}, {maVector2d(640.0f, 252.0f), 2}});
    coTrackManipPalette::PieceState state{.circuitEmpty = false, .pieceContext = true};
    state.circuitClosed = fixture == "closed-oval";
    static_cast<coTrackManipPalette*>(coPaletteManager::GetPalette(coPaletteTrackManip))
        ->SetPieceState(state);
    static_cast<coMainPalette*>(coPaletteManager::GetPalette(coPaletteMain))
        ->SetCoasterName(envString("Oval"));
}

guiDialog* screenGallery::Build(const std::string& screen, const std::string& fixture,
                                const std::string& text) {
    if (screen == "builder-hud") {
        BuildHud(fixture);
        return nullptr;
    }
    coPaletteStates menu;
    menu.codes[coPaletteBackground] = 2;
    coPaletteManager::ApplyStates(menu);
    const std::pair<const char*, i32> palettes[] = {
        {"props", coPaletteProps}, {"dock", coPaletteDock}, {"manipulate", coPaletteManipulateProp}};
    for (const auto& [name, index] : palettes) {
        if (screen != name)
            continue;
        coPaletteStates shown;
        shown.codes[static_cast<size_t>(index)] = 3;
        coPaletteManager::ApplyStates(shown);
        if (auto* tools = dynamic_cast<coManipulatePalette*>(coPaletteManager::GetPalette(index))) {
            g3dCamera camera;
            tools->AttachToObject(camera, Cube());
        }
        return nullptr;
    }
    if (screen == "mainmenu") {
        coShowMenuBackground("uimm");
        guiWindowMgr::AddWindow(new coMainMenu);
        return nullptr;
    }
    if (screen == "loadmenu") {
        coShowMenuBackground("uilm");
        guiWindowMgr::AddWindow(new coLoadMenu([](u32, const envString&) { return false; }));
        return nullptr;
    }
    if (screen == "profiles") {
        coShowMenuBackground("uisi");
        guiWindowMgr::AddWindow(new coSelectTrackwrightMenu);
        return nullptr;
    }
    if (screen == "careermenu") {
        coShowMenuBackground("uicm");
        auto* menu = new coCareerMenu;
        guiWindowMgr::AddWindow(menu);
        menu->SetTrackwright(envString("Ann"));
        std::vector<i32> counts;
        coCareerSave::Load(envString("Ann"), menu, counts);
        return nullptr;
    }
    guiDialog* dialog = nullptr;
    if (screen == "question") {
        auto* question = new coQuestionDialog;
        question->SetPrimaryTextNum(10);
        question->SetOkTextNum(7);
        question->SetCancelTextNum(8);
        dialog = question;
    } else if (screen == "credits") {
        coShowMenuBackground("uicd");
        dialog = new coCreditsDialog;
    } else if (screen == "choose") {
        coShowMenuBackground("uicc");
        dialog = new coChooseCoasterDialog;
    } else if (screen == "keyboard") {
        coShowMenuBackground("uimm");
        auto* keyboard = new coKeyboardDialog;
        keyboard->SetText(envString(text.c_str()));
        dialog = keyboard;
    } else if (screen == "browse") {
        coShowMenuBackground("uimm");
        auto* browser = new coFileBrowseDialog;
        fsLocator music;
        fsLocatorFromNativePath(Data("Data/Music").c_str(), music);
        browser->SetDirectory(music);
        browser->SetFilter(envString("m3u;M3U;mp3;MP3;wma;wav"));
        dialog = browser;
    } else if (screen == "options") {
        coShowMenuBackground("uimm");
        dialog = new coOptionsDialog;
    } else if (screen == "ridepause") {
        coShowMenuBackground("uimm");
        // Three stored schemes, the first on the track: its rail a clear sky blue.
        coTrackColorizer::ClearSchemes();
        for (const f32 red : {0.2f, 0.6f, 0.9f}) {
            coSchemeMaterial rail;
            rail.diffuse = {red, 0.6f, 0.8f, 1.0f};
            coTrackColorizer::AddScheme({{"Rail", rail}, {"Support", rail}});
        }
        coTrackColorizer::SelectScheme(0);
        dialog = new coRidePauseDialog;
    }
    if (dialog)
        guiWindowMgr::AddWindow(dialog);
    return dialog;
}
