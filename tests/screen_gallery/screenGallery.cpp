#include "screenGallery.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Source/App/coLoadingScreen.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Palettes/coDialogDimmer.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Screens/coChooseCoasterDialog.h"
#include "Source/Screens/coCreditsDialog.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"

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

} // namespace

screenGallery::screenGallery() {
    if (!m_gallery.IsReady())
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "screen-gallery-XXXXXX").string();
    m_saves = mkdtemp(pattern.data()) ? pattern : std::string();
    fsResetRootTable();
    const std::pair<i32, const char*> roots[] = {{coRootTracks, "Tracks"},
                                                 {coRootEnvironments, "Environments"},
                                                 {coRootGui, "Data/GUI"},
                                                 {coRootText, "Data/Text/Eng"},
                                                 {coRootVoice, "Data/Voice/Eng"}};
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
    coDialogDimmer::Create();
    coPaletteManager::Create();
    coLoadingScreenHide();
}

screenGallery::~screenGallery() {
    if (!m_gallery.IsReady())
        return;
    coPaletteManager::Destroy();
    coDialogDimmer::Destroy();
    guiWindowMgr::GetRoot()->DeleteAllChildren();
    gprShutdown();
    fsResetRootTable();
    if (!m_saves.empty())
        std::filesystem::remove_all(m_saves);
}

bool screenGallery::Knows(const std::string& screen) const {
    return screen == "mainmenu" || screen == "question" || screen == "credits" || screen == "choose";
}

guiDialog* screenGallery::Build(const std::string& screen) {
    coPaletteStates menu;
    menu.codes[coPaletteBackground] = 2;
    coPaletteManager::ApplyStates(menu);
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
