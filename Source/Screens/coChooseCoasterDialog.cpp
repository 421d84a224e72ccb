#include "Source/Screens/coChooseCoasterDialog.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Source/Screens/coReportException.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coThemeList.h"

#include <memory>
#include <vector>

namespace {

constexpr const char* kScript = "uicc";
// 128-high buttons in rows of 130: three show in the 390-pixel column.
constexpr i32 kRowHeight = 130;
constexpr i32 kSelectedState = guiTableBox::kSelectedState;
constexpr i32 kSelectedOverState = guiTableBox::kSelectedOverState;

// A state's picture; a missing one leaves the state untextured, so one damaged folder does not end the
// game.
void SetChoiceImage(guiImage* image, const fsLocator& folder, const char* file, i32 state) {
    fsLocator picture = folder;
    picture.AppendComponent(file);
    try {
        image->SetImage(picture, state);
    } catch (const envExceptionX& e) {
        DBG_WARNING("A choice picture cannot be shown (error 0x%08X): %s", e.GetCode(),
                    coFailedFileForLog(std::current_exception(), picture).c_str());
    }
}

std::unique_ptr<guiButton> MakeChoice(const fsLocator& folder, g2dFont font) {
    const envString& name = folder.GetLastComponent();
    auto button = std::make_unique<guiButton>();
    button->SetName(envStringToNarrow(name).c_str());
    button->SetSize(256, 128);
    guiImage* image = button->GetImage();
    image->SetPosition({0.0f, 0.0f, 1.0f});
    SetChoiceImage(image, folder, "uiccbn_i.png", 0);
    SetChoiceImage(image, folder, "uiccbn_o.png", 1);
    SetChoiceImage(image, folder, "uiccbn_s.png", kSelectedState);
    // The chosen picture stays under the pointer, its name lit.
    SetChoiceImage(image, folder, "uiccbn_s.png", kSelectedOverState);

    guiText* text = button->GetText();
    text->SetEnabled(false);
    text->SetSize(128, 32);
    text->SetTextureSize(128, 32);
    text->SetPosition({32.0f, 62.0f, 0.0f});
    text->SetDefaultFont(font);
    text->SetDefaultColor({0, 0, 0});
    text->SetDefaultXOffset(1);
    text->SetTextColor({255, 100, 0}, 1);
    text->SetTextColor({0, 255, 0}, kSelectedState);
    text->SetTextColor({150, 255, 150}, kSelectedOverState);
    envString display;
    coThemeList::GetDisplayName(display, name);
    for (const i32 state : {0, 1, kSelectedState, kSelectedOverState}) {
        text->SetText(display, state);
        // Clicks pass through the pictures' transparent parts.
        image->MakeTransparencyMap(0.0f, state);
        text->MakeTransparencyMap(0.0f, state);
    }
    return button;
}

std::string SelectedName(const guiTableBox* table) {
    std::vector<guiWindow*> windows;
    table->GetSelectedWindows(windows);
    return windows.empty() ? std::string() : windows.front()->GetName();
}

} // namespace

coChooseCoasterDialog::coChooseCoasterDialog() {
    coLoadScreenScript(kScript, "uicc.tsf", this);
    m_trackTypes = MakeTable("TrackType TableBox", "TrackType ScrollBox");
    m_environments = MakeTable("Environment TableBox", "Environment ScrollBox");
    guiText* okText = coFindWidget<guiText>(*GetOk(), kScript, "Text", "Text");
    AddChoices(m_trackTypes, coRootTracks, okText->GetDefaultFont());
    AddChoices(m_environments, coRootEnvironments, okText->GetDefaultFont());
    for (guiTableBox* table : {m_trackTypes, m_environments})
        table->SetSelected(0, 0, true);
    // Nothing to choose in a column: nothing to confirm.
    GetOk()->SetEnabled(!SelectedName(m_trackTypes).empty() && !SelectedName(m_environments).empty());
    SetEnabled(false);
    SetVisible(false);
}

coChooseCoasterDialog::~coChooseCoasterDialog() {
    DeleteAllChildren();
    m_environments = nullptr;
    m_trackTypes = nullptr;
}

guiTableBox* coChooseCoasterDialog::MakeTable(const char* name, const char* scrollBox) {
    auto* box = coFindWidget<xuiScrollBox>(*this, kScript, scrollBox, "ScrollBox");
    auto table = std::make_unique<guiTableBox>();
    table->SetName(name);
    table->SetSize(256, 390);
    table->SetRowHeight(kRowHeight);
    table->InsertColumn(0, 0);
    table->GetBackground()->SetEnabled(false);
    table->GetBackground()->SetVisible(false);
    return box->SetView(std::move(table));
}

void coChooseCoasterDialog::AddChoices(guiTableBox* table, i32 root, g2dFont font) {
    std::vector<fsLocator> folders;
    coPaths::GetRootDirectories(root, folders);
    for (const fsLocator& folder : folders) {
        i32 rows = 0, columns = 0;
        table->GetDimensions(rows, columns);
        table->SetCellWindow(rows, 0, MakeChoice(folder, font));
    }
}

std::string coChooseCoasterDialog::GetSelectedTrackType() const {
    return SelectedName(m_trackTypes);
}

std::string coChooseCoasterDialog::GetSelectedEnvironment() const {
    return SelectedName(m_environments);
}
