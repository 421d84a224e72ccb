#include "Source/Screens/coRidePauseDialog.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Screens/coFileBrowseDialog.h"
#include "Source/Screens/coOptionsDialog.h"
#include "Source/Screens/coReportException.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Screens/coTrackColorPicker.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coThemeList.h"

#include <algorithm>
#include <memory>

namespace {

constexpr const char* kScript = "uirp";
constexpr const char* kTexts = "uirp.tsf";
constexpr int kMaxSchemes = 9;
constexpr i32 kSelectedState = guiTableBox::kSelectedState;
constexpr i32 kRowStates[] = {0, 1, kSelectedState, guiTableBox::kSelectedOverState};
constexpr i32 kCheckedReleased = 8;
constexpr u32 kBuilderTunes[4] = {50, 15, 16, 17};
constexpr u32 kNoFanfare = 42;

bool Pressed(const guiWindow* window) {
    return window->GetState() == guiStateReleased || window->GetState() == kCheckedReleased;
}

template <class Widget> Widget* Find(const guiContainer& in, const char* name, const char* kind) {
    return coFindWidget<Widget>(in, kScript, name, kind);
}

// The first selected row's window name; none keeps the record's value.
void ReadSelectedName(const guiTableBox* table, std::string& name) {
    std::vector<guiWindow*> windows;
    table->GetSelectedWindows(windows);
    if (!windows.empty())
        name = windows.front()->GetName();
}

void SelectByName(guiTableBox* table, const std::string& name) {
    const i32 rows = table->GetItemCount();
    for (i32 row = 0; row < rows; ++row)
        table->SetSelected(row, 0, false);
    for (i32 row = 0; row < rows; ++row) {
        const guiWindow* cell = table->GetCellWindow(row, 0);
        if (cell && cell->GetName() == name) {
            table->SetSelected(row, 0, true);
            return;
        }
    }
    if (rows > 0)
        table->SetSelected(0, 0, true);
}

void AppendRow(guiTableBox* table, const envString& text, const std::string& name) {
    const i32 row = table->GetItemCount();
    for (const i32 state : kRowStates)
        table->SetCellText(row, 0, {text}, state);
    guiWindow* cell = table->GetCellWindow(row, 0);
    if (!cell)
        return;
    cell->SetName(name.c_str());
    // The 16-pixel row shows the upper half of its 32-pixel text texture, unscaled.
    if (auto* cellText = dynamic_cast<guiText*>(cell))
        for (const i32 state : kRowStates)
            cellText->SetTile(1.0f, 0.5f, state);
}

envString DisplayName(int category) {
    envString display;
    coThemeList::GetDisplayName(display, coPropTemplateList::GetCategoryName(category));
    return display;
}

} // namespace

coRidePauseDialog::coRidePauseDialog() {
    SetName("RidePauseDialog");
    coLoadScreenScript(kScript, kTexts, this);
    m_exits = {Find<guiButton>(*this, "Build", "Button"), Find<guiButton>(*this, "Load", "Button"),
               Find<guiButton>(*this, "Main", "Button")};
    m_options = Find<guiButton>(*this, "Options Menu Button", "Button");
    m_friction = Find<guiCheckbox>(*this, "Friction", "Checkbox");
    m_propCollisions = Find<guiCheckbox>(*this, "Disable Prop Collisions", "Checkbox");
    m_camera = Find<guiRadioGroup>(*this, "Camera", "RadioGroup");
    m_numCars = Find<guiRadioGroup>(*this, "NumCars", "RadioGroup");
    m_music = Find<guiRadioGroup>(*this, "Music", "RadioGroup");
    m_position = Find<guiRadioGroup>(*this, "Position", "RadioGroup");
    m_time = Find<guiRadioGroup>(*this, "Time", "RadioGroup");
    m_trackColor = Find<guiRadioGroup>(*this, "TrackColor", "RadioGroup");
    m_customize = Find<guiCheckbox>(*this, "Customize", "Checkbox");
    const char* const buttons[8] = {"CameraButton", "CarTypeButton",  "FanfareButton", "NumCarsButton",
                                    "MusicButton",  "PositionButton", "TimeButton",    "TrackColorButton"};
    for (size_t i = 0; i < m_panelButtons.size(); ++i)
        m_panelButtons[i] = Find<guiButton>(*this, buttons[i], "Button");
    for (const char* name : {"Music1", "Music2", "Music3", "Music4", "Other"})
        Find<guiButton>(*m_music, name, "Checkbox");
    Find<guiCheckbox>(*m_trackColor, "Custom", "Checkbox");
    Find<guiWindow>(*this, "Rail 1", "Image");
    Find<guiWindow>(*this, "Rail 2", "Image");
    const char* const layout[] = {"Build",
                                  "Main",
                                  "Load",
                                  "Options Menu Button",
                                  "Friction",
                                  "Disable Prop Collisions",
                                  "CameraButton",
                                  "Camera",
                                  "CarTypeButton",
                                  "CarTypeScrollBox",
                                  "FanfareButton",
                                  "FanfareScrollBox",
                                  "NumCarsButton",
                                  "NumCars",
                                  "MusicButton",
                                  "Music",
                                  "PositionButton",
                                  "Position",
                                  "TimeButton",
                                  "Time",
                                  "TrackColorButton",
                                  "TrackColor",
                                  "Ok",
                                  "Cancel"};
    for (const char* name : layout)
        m_layout.push_back(Find<guiWindow>(*this, name, "Window"));
    for (const char* name : {"Camera", "CarTypeScrollBox", "FanfareScrollBox", "NumCars", "Music", "Position",
                             "Time", "TrackColor"})
        m_panels.push_back(FindChild(name));

    m_listFont = g2dFont::GetByTextId(1, 15);
    try {
        m_carTypes = MakeList("CarTypeScrollBox");
        m_fanfares = MakeList("FanfareScrollBox");
        FillCarTypes();
        FillFanfares();
    } catch (...) {
        g2dFont::Release(m_listFont);
        throw;
    }

    RemoveChild(m_customize);
    m_trackColor->AddChild(m_customize);
    auto picker = std::make_unique<coTrackColorPicker>(m_trackColor);
    picker->SetName("Track Color Picker");
    picker->SetPosition({190.0f, -160.0f, 0.0f});
    m_picker = m_trackColor->AddChild(std::move(picker));
    coShowWidget(m_picker, false);

    m_musicFile = fsLocator(coRootMusic);
    m_musicFile.AppendComponent("Ride1.wav");
    guiDialog::SetEnabled(false);
    guiWindow::SetVisible(false);
}

coRidePauseDialog::~coRidePauseDialog() {
    DeleteAllChildren();
    g2dFont::Release(m_listFont);
}

guiTableBox* coRidePauseDialog::MakeList(const char* scrollBox) {
    auto* box = Find<xuiScrollBox>(*this, scrollBox, "ScrollBox");
    auto table = std::make_unique<guiTableBox>();
    table->SetName("CarType");
    table->SetDeferLayout(true);
    table->SetJustification(guiJustifyCenter, guiJustifyTop);
    table->SetSize(128, 160);
    table->SetRowHeight(16);
    table->SetCellStateStyle(0, m_listFont, coListTextMargin, g3dTextColour{255, 255, 255});
    table->SetCellStateStyle(1, m_listFont, coListTextMargin, g3dTextColour{255, 252, 0});
    table->SetCellStateStyle(kSelectedState, m_listFont, coListTextMargin, g3dTextColour{0, 255, 0});
    table->SetCellStateStyle(guiTableBox::kSelectedOverState, m_listFont, coListTextMargin,
                             g3dTextColour{150, 255, 150});
    table->SetCellTransparency(0.0f);
    table->SetCellTextureSize(128, 32);
    table->InsertColumn(0, 128);
    guiImage* background = table->GetBackground();
    background->SetEnabled(false);
    background->SetSize(280, 290);
    background->SetPosition({-5.0f, -5.0f, 1.0f});
    fsLocator picture = coScreenScriptFolder(kScript);
    picture.AppendComponent("uirplb_i.png");
    background->SetImage(picture, 0);
    guiTableBox* list = box->SetView(std::move(table));
    list->SetPosition({0.0f, 5.0f, 0.0f});
    return list;
}

void coRidePauseDialog::FillCarTypes() {
    const envString type(coGetCoasterDefinition().GetCoasterTypeName().c_str());
    for (int i = 0; i < coPropTemplateList::GetCategoryCount(); ++i)
        if (coPropTemplateList::HasLeadCarStyle(i, type))
            AppendRow(m_carTypes, DisplayName(i), envStringToNarrow(coPropTemplateList::GetCategoryName(i)));
    m_carTypes->SetDeferLayout(false);
}

void coRidePauseDialog::FillFanfares() {
    const gfTextSet texts(coScreenTextSet(kTexts), 32, true);
    AppendRow(m_fanfares, texts.GetText(kNoFanfare), "");
    for (int i = 0; i < coPropTemplateList::GetCategoryCount(); ++i)
        if (coPropTemplateList::HasFanfare(i))
            AppendRow(m_fanfares, DisplayName(i), envStringToNarrow(coPropTemplateList::GetCategoryName(i)));
    m_fanfares->SetDeferLayout(false);
}

void coRidePauseDialog::SetMode(int mode) {
    m_mode = mode;
    const auto in = [mode](std::initializer_list<int> modes) {
        return std::find(modes.begin(), modes.end(), mode) != modes.end();
    };
    coShowWidget(m_friction, in({0}));
    coShowWidget(m_propCollisions, in({0}));
    for (guiButton* exit : m_exits)
        coShowWidget(exit, in({3}));
    coShowWidget(m_panelButtons[0], in({2, 3}));
    coShowWidget(m_panelButtons[1], in({2}));
    coShowWidget(m_panelButtons[2], in({2}));
    coShowWidget(m_panelButtons[3], in({1, 2, 3}));
    coShowWidget(m_panelButtons[5], in({2, 3}));
    coShowWidget(m_panelButtons[6], in({0, 1}));
    coShowWidget(m_panelButtons[7], in({0, 1}));
    if (in({0, 1})) {
        const gfTextSet texts(coScreenTextSet(kTexts), 32, true);
        for (int i = 0; i < 4; ++i) {
            const std::string name = "Music" + std::to_string(i + 1);
            if (auto* text = dynamic_cast<guiText*>(
                    Find<guiContainer>(*m_music, name.c_str(), "Checkbox")->FindChild("Text")))
                text->SetText(texts.GetText(kBuilderTunes[i]), 0);
        }
    }
    if (mode == 1)
        m_picker->SetPosition({190.0f, -94.0f, 0.0f});
}

void coRidePauseDialog::SetSettings(const coRideSettings& settings) {
    m_friction->SetChecked(settings.frictionOn != 0);
    m_propCollisions->SetChecked(settings.collisionsOff != 0);
    m_camera->SetSelection(settings.camera);
    m_numCars->SetSelection(settings.carCountIndex);
    m_position->SetSelection(settings.viewCar);
    RefreshTrackColorList();
    // Silence (the ride's music before the player picks any) has no button: none is checked then.
    if (settings.music >= 0 && settings.music < m_music->GetButtonCount())
        m_music->SetSelection(settings.music);
    else
        m_music->ClearSelection();
    m_musicFile = settings.musicFile;
    m_time->SetSelection(coGetEnvironment().GetIndex());
    KeepSeatWithinTrain();
    SelectByName(m_carTypes, settings.carType);
    SelectByName(m_fanfares, settings.fanfare);
    m_openingColours = coTrackColorizer::GetCurrentScheme();
}

void coRidePauseDialog::GetSettings(coRideSettings& settings) const {
    settings.frictionOn = m_friction->IsChecked() ? 1 : 0;
    settings.collisionsOff = m_propCollisions->IsChecked() ? 1 : 0;
    settings.camera = m_camera->GetSelection();
    settings.carCountIndex = m_numCars->GetSelection();
    settings.viewCar = m_position->GetSelection();
    // Scheme indices count the stored schemes, so "Custom" is their count wherever its button stands.
    settings.colourScheme = m_picker->GetSelectedIndex();
    const guiCheckbox* selected = m_trackColor->GetSelectedButton();
    settings.customColours = selected && selected->GetName() == "Custom" ? 1 : 0;
    if (settings.customColours) {
        coColorScheme custom;
        m_picker->GetCustomScheme(custom);
        coTrackColorizer::SetCurrentScheme(custom);
    }
    settings.environment = m_time->GetSelection();
    // No button chosen keeps the music the record holds.
    if (m_music->GetSelection() >= 0)
        settings.music = m_music->GetSelection();
    settings.musicFile = m_musicFile;
    ReadSelectedName(m_carTypes, settings.carType);
    ReadSelectedName(m_fanfares, settings.fanfare);
}

void coRidePauseDialog::KeepSeatWithinTrain() {
    if (m_position->GetSelection() > m_numCars->GetSelection())
        m_position->SetSelection(0);
}

void coRidePauseDialog::ShowPanel(int index) {
    if (m_panel) {
        coShowWidget(m_panel, false);
        if (m_panel == m_panels[3])
            KeepSeatWithinTrain();
    }
    if (index != -1 && index != m_panelIndex) {
        m_panel = m_panels[static_cast<size_t>(index)];
        coShowWidget(m_panel, true);
        m_panelIndex = index;
    } else {
        m_panelIndex = -1;
        m_panel = nullptr;
    }
    Relayout();
}

void coRidePauseDialog::Relayout() {
    i32 y = 10;
    for (size_t i = 0; i < m_layout.size(); ++i) {
        guiWindow* window = m_layout[i];
        if (!window->IsEffectivelyVisible())
            continue;
        const maVector3d at = window->GetPosition();
        window->SetPosition({at.x, static_cast<float>(y), at.z});
        i32 w = 0, h = 0;
        window->GetSize(w, h);
        y += h == 64 ? 28 : h - 10;
        if (i + 2 == m_layout.size())
            ++y;
    }
    for (const char* rail : {"Rail 1", "Rail 2"})
        FindChild(rail)->SetSize(16, y);
}

void coRidePauseDialog::RefreshTrackColorList() {
    const int n = coTrackColorizer::GetSchemeCount();
    for (int i = 0; i < kMaxSchemes && i < m_trackColor->GetButtonCount(); ++i)
        coShowWidget(m_trackColor->GetChild(i), i < n);
    guiWindow* custom = m_trackColor->FindChild("Custom");
    for (guiWindow* window :
         {static_cast<guiWindow*>(m_picker), static_cast<guiWindow*>(m_customize), custom})
        coShowWidget(window, true);
    // The shown schemes stand in rows of 22 with "Custom" and "Customize" below them.
    const int rows = std::min(n, kMaxSchemes);
    for (const auto& [window, row] :
         {std::pair{custom, rows}, {static_cast<guiWindow*>(m_customize), rows + 1}}) {
        const maVector3d at = window->GetPosition();
        window->SetPosition({at.x, static_cast<float>(4 + 22 * row), at.z});
    }
    i32 width = 0, height = 0;
    m_trackColor->GetSize(width, height);
    // "Customize" ends 4 above "Ok", which the column stacks 10 short of the group's end.
    m_trackColor->SetSize(width, 22 * rows + 58);
    const int selected = coTrackColorizer::GetSelectedIndex();
    if (selected < kMaxSchemes && selected != n)
        m_trackColor->SetSelection(selected);
    else
        m_trackColor->SelectByName("Custom");
    if (auto* add = dynamic_cast<guiButton*>(m_picker->FindChild("Add Scheme")))
        add->SetEnabled(n < kMaxSchemes);
}

void coRidePauseDialog::SetVisible(bool visible) {
    guiWindow::SetVisible(visible);
    if (!visible) {
        ShowPanel(-1);
        return;
    }
    for (guiWindow* panel : m_panels)
        coShowWidget(panel, false);
    Relayout();
}

void coRidePauseDialog::Think() {
    guiContainer::Think();
    if (Pressed(m_options)) {
        RunOptions();
        return;
    }
    for (int i = 0; i < 3; ++i)
        if (Pressed(m_exits[static_cast<size_t>(i)])) {
            m_exitAction = i + 1;
            EndDialog(false);
            return;
        }
    m_exitAction = 0;
    for (size_t i = 0; i < m_panelButtons.size(); ++i) {
        if (!Pressed(m_panelButtons[i]))
            continue;
        if (i == 5) {
            const int cars =
                std::clamp(coGetCoasterDefinition().GetNumCars(), 0, m_position->GetButtonCount());
            for (int car = 0; car < m_position->GetButtonCount(); ++car)
                coShowWidget(m_position->GetChild(car), car < cars);
            m_position->SetSize(256, 13 + 22 * cars);
        }
        ShowPanel(static_cast<int>(i));
        break;
    }
    if (m_panelIndex == 4 && Pressed(m_music->FindChild("Other")))
        ChooseMusicFile();
    if (m_panelIndex == 7)
        ThinkTrackColours();
}

void coRidePauseDialog::RunOptions() {
    coRunOptionsDialog(m_mode == 3 ? coOptionsFromRide : coOptionsFromBuilder, false, m_frameStart);
    m_propCollisions->SetChecked(!coGetCollisionChecks());
    // The click that opened the options must not count again here.
    inDeviceManager::PollAll();
}

void coRidePauseDialog::ChooseMusicFile() {
    std::unique_ptr<coFileBrowseDialog> browser;
    try {
        browser = std::make_unique<coFileBrowseDialog>();
    } catch (...) {
        coReportCurrentException();
        return;
    }
    coFileBrowseDialogFunction frame(m_frameStart);
    browser->SetThinkFunction(&frame);
    // A child for the modal loop; it leaves the dialog when deleted, however the loop ends.
    AddChild(browser.get());
    browser->SetFilter(envString("m3u;M3U;mp3;MP3;wma;wav"));
    fsLocator folder = m_musicFile;
    if (folder.GetComponentCount() > 0) {
        fsResolveRoot(folder);
        folder.RemoveLastComponent();
    } else {
        folder = fsGetRootDirectory(coRootMusic, 0);
    }
    browser->SetDirectory(folder);
    if (browser->DoModal() == 1)
        m_musicFile = browser->GetSelectedPath();
}

void coRidePauseDialog::ThinkTrackColours() {
    auto* save = dynamic_cast<guiButton*>(m_picker->FindChild("Save"));
    auto* add = dynamic_cast<guiButton*>(m_picker->FindChild("Add Scheme"));
    auto* cancel = dynamic_cast<guiButton*>(m_picker->FindChild("Cancel"));
    if (!m_customize->IsChecked()) {
        for (i32 i = 0; i < m_trackColor->GetButtonCount(); ++i) {
            const guiWindow* button = m_trackColor->GetChild(i);
            if ((i < kMaxSchemes || button->GetName() == "Custom") && Pressed(button))
                m_picker->ApplySelectedScheme();
        }
        coShowWidget(m_picker, false);
    } else if (save && Pressed(save)) {
        m_customize->SetChecked(false);
        save->SetState(guiStateIdle);
        m_exitAction = 0;
        EndDialog(true);
    } else if (add && Pressed(add)) {
        RefreshTrackColorList();
        Relayout();
        m_trackColor->SetSelection(coTrackColorizer::GetSchemeCount() - 1);
    } else if (cancel && Pressed(cancel)) {
        m_customize->SetChecked(false);
        cancel->SetState(guiStateIdle);
        coShowWidget(m_picker, false);
    } else {
        coShowWidget(m_picker, true);
    }
}

void coRidePauseDialog::OnClose(bool accepted) {
    guiDialog::OnClose(accepted);
    if (!accepted && !m_openingColours.empty())
        coTrackColorizer::ApplyScheme(m_openingColours);
    else if (!accepted)
        coTrackColorizer::ApplySchemeByIndex(coTrackColorizer::GetSelectedIndex());
    m_customize->SetChecked(false);
    coShowWidget(m_picker, false);
    KeepSeatWithinTrain();
}
