#include "screenGallery.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/App/coLoadingScreen.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Palettes/coDialogDimmer.h"
#include "Source/Palettes/coManipulatePalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Park/coObject.h"
#include "Source/Screens/coChooseCoasterDialog.h"
#include "Source/Screens/coCreditsDialog.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coPropTemplateList.h"

#include <cstdlib>
#include <filesystem>

namespace {

void SetRoot(i32 root, const std::string& path) {
    fsLocator folder;
    fsLocatorFromNativePath(path.c_str(), folder);
    fsSetRootDirectory(root, folder);
}

std::string Data(const std::string& relative) {
    return std::string(LV_DATA_DIR) + "/" + relative;
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
    SetRoot(coRootSaves, m_saves);
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    coPrefs::SetDefaults();
    fsLocator fontNames(coRootText);
    fontNames.AppendComponent("fontname.tsf");
    g2dLoadFontNameTable(fontNames);
    gprInit();
    coSetCoasterDefinition(&g_steel);
    coPaths::ListRootDirectories(coRootThemes);
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
    coSetCoasterDefinition(nullptr);
    coDialogDimmer::Destroy();
    guiWindowMgr::GetRoot()->DeleteAllChildren();
    gprShutdown();
    fsResetRootTable();
    if (!m_saves.empty())
        std::filesystem::remove_all(m_saves);
}

bool screenGallery::Knows(const std::string& screen) const {
    for (const char* known : {"mainmenu", "question", "credits", "choose", "props", "dock", "manipulate"})
        if (screen == known)
            return true;
    return false;
}

guiDialog* screenGallery::Build(const std::string& screen) {
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
    }
    if (dialog)
        guiWindowMgr::AddWindow(dialog);
    return dialog;
}
