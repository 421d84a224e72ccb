#include "Source/Palettes/coTrackManipPalette.h"

#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr const char* kTextSet = "uitm.tsf";

constexpr const char* kScriptButtons[27] = {"Short Straightaway",
                                            "Long Straightaway",
                                            "Curved Right",
                                            "Curved Left",
                                            "Loop",
                                            "Corkscrew",
                                            "STurn",
                                            "Pitch Up",
                                            "Pitch Down",
                                            "Bank Left",
                                            "Bank Right",
                                            "Bend Left",
                                            "Bend Right",
                                            "Widen",
                                            "Narrow",
                                            "Add Tube Decoration",
                                            "Remove Tube Decoration",
                                            "Add Accelerator",
                                            "Remove Accelerator",
                                            "Add Brake",
                                            "Remove Brake",
                                            "Add Chain",
                                            "Remove Chain",
                                            "Add Retarder",
                                            "Remove Retarder",
                                            "Delete",
                                            "Finish Coaster"};
// Budget indices 0 to 9: the counters and buttons of the script.
constexpr const char* kCounters[10] = {"Short Straightaway Constraint",
                                       "Curved Right Constraint",
                                       "Curved Left Constraint",
                                       "STurn Constraint",
                                       "Loop Constraint",
                                       "Corkscrew Constraint",
                                       "Chain Constraint",
                                       "Accelerator Constraint",
                                       "Brake Constraint",
                                       "Retarder Constraint"};
constexpr const char* kBudgetButtons[10] = {
    "Short Straightaway", "Curved Right", "Curved Left",     "STurn",     "Loop",
    "Corkscrew",          "Add Chain",    "Add Accelerator", "Add Brake", "Add Retarder"};
constexpr const char* kRemoveButtons[4] = {"Remove Chain", "Remove Accelerator", "Remove Brake",
                                           "Remove Retarder"};

struct Placer {
    const char* name;
    const char* prefix;
    u32 tooltip;
    i32 budget;
};
constexpr Placer kPlacers[6] = {{"Straight Up", "uitmsu", 33, 13},    {"Shallow Right", "uitmsr", 34, 14},
                                {"Shallow Left", "uitmsl", 35, 15},   {"Half Loop", "uitmhl", 36, 10},
                                {"HalfCork Right", "uitmzr", 37, 11}, {"HalfCork Left", "uitmzl", 38, 12}};

fsLocator Picture(const std::string& name) {
    fsLocator file = coScreenScriptFolder("uitm");
    file.AppendComponent(name.c_str());
    return file;
}

// States 0 idle, 1-2 over, 3-4 pressed, 5 disabled from the prefix's four faces; a piece short of any
// of them shows the four blank faces instead.
void SetFaces(guiImage& image, const std::string& prefix) {
    const char* suffixes[6] = {"_i.png", "_o.png", "_o.png", "_p.png", "_p.png", "_d.png"};
    std::string faces = prefix;
    // Looked up as they are read: in "gui.pak" and the root's directories.
    for (const char* suffix : suffixes)
        if (!gfFileExists(Picture(prefix + suffix)))
            faces = "uitmnc";
    for (i32 state = 0; state < 6; ++state)
        image.SetImage(Picture(faces + suffixes[state]), state);
    // The icon's transparent corners take no click.
    for (i32 state : {0, 1, 3})
        image.MakeTransparencyMap(0.0f, state);
}

envString CountText(i32 count) {
    char text[32];
    std::snprintf(text, sizeof text, count < 10 ? " x%d" : "x%d", count);
    return envString(text);
}

} // namespace

coTrackManipPalette::coTrackManipPalette() {
    SetSize(480, 95);
    SetJustification(guiJustifyCenter, guiJustifyBottom);
    SetPosition({8.0f, -6.0f, 0.0f});
    coLoadScreenScript("uitm", nullptr, this);
    for (const char* button : kScriptButtons)
        coFindWidget<guiWindow>(*this, "uitm", button, "Window");
    m_texts = coReadTexts(kTextSet);
    for (i32 i = 0; i < GetChildCount(); ++i) {
        guiWindow* child = GetChild(i);
        if (child->GetToolTipNum() != -1 && child->GetToolTipText().GetLength() == 0)
            child->SetToolTipText(coTextOrEmpty(m_texts, static_cast<u32>(child->GetToolTipNum()), kTextSet));
    }
    m_available.fill(1);
    for (size_t i = 0; i < 10; ++i) {
        m_counters[i] = coFindWidget<guiText>(*this, "uitm", kCounters[i], "Text");
        m_budgetButtons[i] = Child(kBudgetButtons[i]);
    }
    m_longStraightCounter = coFindWidget<guiText>(*this, "uitm", "Long Straightaway Constraint", "Text");
    m_placerDisplayer = coFindWidget<guiCheckbox>(*this, "uitm", "Placer Displayer", "Checkbox");
    if (guiWindow* image = m_placerDisplayer->FindChild("Image"); image && image->GetToolTipNum() != -1)
        image->SetToolTipText(coTextOrEmpty(m_texts, static_cast<u32>(image->GetToolTipNum()), kTextSet));
    m_placerBars = coFindWidget<guiWindow>(*this, "uitm", "Placer Bars", "Window");
    AddPlacers();
}

coTrackManipPalette::~coTrackManipPalette() {
    DeleteAllChildren();
}

void coTrackManipPalette::AddPlacers() {
    auto placers = std::make_unique<guiTableBox>();
    placers->SetName("Placers");
    placers->SetCellsEnabled(false);
    placers->SetSize(45, 64);
    placers->SetPosition({21.0f, -52.0f, 0.0f});
    // The row height: the six placers fill row 0.
    placers->SetRowHeight(64);
    for (i32 column = 0; column < 6; ++column)
        placers->InsertColumn(column, 44);
    placers->InsertRow(0);
    placers->GetBackground()->SetVisible(false);
    placers->GetBackground()->SetEnabled(false);
    placers->SetCellSelection(true);
    m_placers = AddChild(std::move(placers));
    ShowPlacers();

    const g2dFont font = m_counters[0]->GetDefaultFont();
    for (i32 n = 0; n < 6; ++n) {
        const Placer& placer = kPlacers[n];
        auto button = std::make_unique<guiButton>();
        button->SetName(placer.name);
        button->SetSize(32, 32);
        guiImage* image = button->GetImage();
        image->SetName(placer.name);
        image->SetSize(64, 64);
        image->SetToolTipText(coTextOrEmpty(m_texts, placer.tooltip, kTextSet));
        SetFaces(*image, placer.prefix);
        guiText* counter = button->GetText();
        counter->SetName((std::string(placer.name) + " Constraint").c_str());
        counter->SetSize(32, 32);
        counter->SetTextureSize(32, 32);
        counter->SetVisible(false);
        counter->SetEnabled(false);
        counter->SetDefaultColor({255, 255, 255});
        counter->SetDefaultFont(font);
        counter->SetPosition({20.0f, 35.0f, 0.89f});
        counter->SetText(envString(" x0"), 0);
        m_counters[static_cast<size_t>(placer.budget)] = counter;
        m_budgetButtons[static_cast<size_t>(placer.budget)] = image;
        m_placers->SetCellWindow(n / 10, n % 10, std::move(button));
        m_placerImages.push_back(image);
    }
}

guiWindow* coTrackManipPalette::FindPlacer(const std::string& name) const {
    const auto found = std::find_if(m_placerImages.begin(), m_placerImages.end(),
                                    [&](const guiWindow* image) { return image->GetName() == name; });
    return found == m_placerImages.end() ? nullptr : *found;
}

guiWindow* coTrackManipPalette::Child(const char* name) const {
    // Every name asked for was found when the palette was made.
    return FindChild(name);
}

void coTrackManipPalette::SetUsable(const char* name, bool enabled) const {
    Child(name)->SetEnabled(enabled);
}

void coTrackManipPalette::ShowInsteadOf(const char* shown, const char* hidden) const {
    Child(shown)->SetEnabled(true);
    Child(shown)->SetVisible(true);
    Child(hidden)->SetEnabled(false);
    Child(hidden)->SetVisible(false);
}

void coTrackManipPalette::ShowPlacers() const {
    const bool on = m_placerDisplayer->IsChecked();
    m_placers->SetEnabled(on);
    m_placers->SetVisible(on);
    m_placerBars->SetVisible(on);
}

void coTrackManipPalette::SetPieceState(const PieceState& state) {
    m_state = state;
    m_state.piece = nullptr;
    const coCoasterPiece* piece = state.piece;
    m_pieceStraightOrUp =
        dynamic_cast<const coCoasterPieceStraight*>(piece) || dynamic_cast<const coCoasterPieceUp*>(piece);
    auto bendTips = [this](i32 left, i32 right) {
        for (const auto& [name, text] : {std::pair{"Bend Left", left}, std::pair{"Bend Right", right}})
            if (text != -1)
                Child(name)->SetToolTipText(coTextOrEmpty(m_texts, static_cast<u32>(text), kTextSet));
    };
    if (dynamic_cast<const coCoasterPieceTurn*>(piece) || dynamic_cast<const coCoasterPieceSTurn*>(piece))
        bendTips(19, 18);
    else if (dynamic_cast<const coCoasterPieceLoop*>(piece))
        bendTips(26, 25);
    else if (dynamic_cast<const coCoasterPieceCorkscrew*>(piece))
        bendTips(28, 27);
    else // the script's own: a turn's, a loop's or a corkscrew's tips name changes this piece does not make
        bendTips(Child("Bend Left")->GetToolTipNum(), Child("Bend Right")->GetToolTipNum());
    SetEnabled(IsEnabled());
}

void coTrackManipPalette::SetAllowInversions(bool allowed) {
    m_inversionsAllowed = allowed || coPrefs::GetBool(coPrefAllowInversions);
    SetEnabled(IsEnabled());
}

void coTrackManipPalette::ClearSelectedPiece() {
    m_pieceStraightOrUp = false;
}

const char* coTrackManipPalette::GetTubeButton() const {
    return m_state.tube == 1 ? "Remove Tube Decoration" : "Add Tube Decoration";
}
const char* coTrackManipPalette::GetChainButton() const {
    return m_state.element == 1 ? "Remove Chain" : "Add Chain";
}
const char* coTrackManipPalette::GetBrakeButton() const {
    return m_state.element == 2 ? "Remove Brake" : "Add Brake";
}
const char* coTrackManipPalette::GetAcceleratorButton() const {
    return m_state.element == 3 ? "Remove Accelerator" : "Add Accelerator";
}
const char* coTrackManipPalette::GetRetarderButton() const {
    return m_state.element == 4 ? "Remove Retarder" : "Add Retarder";
}

void coTrackManipPalette::SetEnabled(bool enabled) {
    guiContainer::SetEnabled(enabled);
    if (!enabled) {
        for (i32 i = 0; i < GetChildCount(); ++i)
            GetChild(i)->SetEnabled(false);
        ClearSelectedPiece();
        return;
    }
    ApplyElementRules();
    m_placerDisplayer->SetEnabled(true);
    SetUsable("Finish Coaster", m_state.finishAllowed);
    SetUsable("Delete", m_state.deleteAllowed);
    const bool canAdd = !m_state.trackCollides && !m_state.circuitClosed && !m_state.circuitEmpty;
    const bool canModify =
        !m_state.circuitEmpty && m_state.pieceContext && !m_state.pieceIsFirst && m_state.pieceEditable;
    const bool placersOn = m_placerDisplayer->IsChecked();
    m_placers->SetEnabled(placersOn && canAdd);
    m_placers->SetVisible(placersOn);
    m_placerBars->SetVisible(placersOn);
    for (const char* name :
         {"Short Straightaway", "Long Straightaway", "Curved Left", "Curved Right", "STurn", "Loop"})
        SetUsable(name, canAdd);
    for (guiWindow* image : m_placerImages) {
        // The three inverting placers also need inversions.
        const bool inverts =
            image == m_budgetButtons[10] || image == m_budgetButtons[11] || image == m_budgetButtons[12];
        image->SetEnabled(canAdd && (!inverts || m_inversionsAllowed));
    }
    SetUsable("Corkscrew", m_inversionsAllowed && canAdd);
    for (const char* name :
         {"Pitch Up", "Pitch Down", "Bank Left", "Bank Right", "Bend Left", "Bend Right", "Widen", "Narrow"})
        SetUsable(name, canModify);
    if (m_pieceStraightOrUp) {
        SetUsable("Bend Left", false);
        SetUsable("Bend Right", false);
    }
    if (m_countsShown)
        ApplyBudgets();
}

void coTrackManipPalette::ApplyElementRules() const {
    if (!m_state.pieceEditable || m_state.circuitEmpty || !m_state.pieceContext) {
        for (const char* name : {"Add Chain", "Remove Chain", "Add Brake", "Remove Brake", "Add Accelerator",
                                 "Remove Accelerator", "Add Retarder", "Remove Retarder",
                                 "Add Tube Decoration", "Remove Tube Decoration"})
            SetUsable(name, false);
        return;
    }
    struct Pair {
        const char* add;
        const char* remove;
    };
    // Element codes 1 to 4.
    const Pair pairs[4] = {{"Add Chain", "Remove Chain"},
                           {"Add Brake", "Remove Brake"},
                           {"Add Accelerator", "Remove Accelerator"},
                           {"Add Retarder", "Remove Retarder"}};
    const i32 element = m_state.element;
    if (element >= 0 && element <= 4) {
        // A piece carries at most one element, and its own can only be removed.
        for (i32 code = 1; code <= 4; ++code) {
            const Pair& pair = pairs[code - 1];
            if (code == element) {
                ShowInsteadOf(pair.remove, pair.add);
            } else {
                ShowInsteadOf(pair.add, pair.remove);
                SetUsable(pair.add, element == 0);
            }
        }
    }
    if (m_state.tube == 0)
        ShowInsteadOf("Add Tube Decoration", "Remove Tube Decoration");
    else if (m_state.tube == 1)
        ShowInsteadOf("Remove Tube Decoration", "Add Tube Decoration");
    if (coGetCoasterDefinition().GetCoasterTypeName() == "Wooden") {
        SetUsable("Add Tube Decoration", false);
        SetUsable("Remove Tube Decoration", false);
    }
}

void coTrackManipPalette::ApplyBudgets() {
    m_budgetButtons[6] = Child(GetChainButton());
    m_budgetButtons[7] = Child(GetAcceleratorButton());
    m_budgetButtons[8] = Child(GetBrakeButton());
    m_budgetButtons[9] = Child(GetRetarderButton());
    auto limit = [this](guiWindow* button, size_t index) {
        for (const char* remove : kRemoveButtons)
            if (button == Child(remove))
                return;
        button->SetEnabled(button->IsEnabled() && m_available[index] != 0);
    };
    for (size_t index = 0; index < kBudgetCount; ++index)
        if (m_budgetButtons[index])
            limit(m_budgetButtons[index], index);
    limit(Child("Long Straightaway"), 0);
}

envString coTrackManipPalette::GetReleasedButtonName() {
    for (i32 i = 0; i < GetChildCount(); ++i) {
        guiWindow* child = GetChild(i);
        // A check box released while checked shows the checked variant of Released.
        const bool released =
            child->GetState() == 2 ||
            (child == m_placerDisplayer && child->GetState() == 2 + guiCheckbox::kCheckedStates);
        if (!released)
            continue;
        if (child == m_placerDisplayer)
            ShowPlacers();
        return envString(child->GetName().c_str());
    }
    i32 rows = 0, columns = 0;
    m_placers->GetDimensions(rows, columns);
    for (i32 row = 0; row < rows; ++row)
        for (i32 column = 0; column < columns; ++column) {
            auto* cell = dynamic_cast<guiContainer*>(m_placers->GetCellWindow(row, column));
            if (!cell || !cell->IsEnabled())
                continue;
            guiWindow* image = cell->FindChild(cell->GetName().c_str());
            if (image && image->GetState() == 2) {
                image->SetState(0);
                return envString(image->GetName().c_str());
            }
        }
    return envString(u"");
}

void coTrackManipPalette::SetConstraintCount(i32 index, i32 count) {
    if (index < 0 || index >= kBudgetCount) {
        DBG_WARNING("Budget index %d is not one of 0 to 15; ignored", index);
        return;
    }
    m_countsShown = true;
    m_available[static_cast<size_t>(index)] = count != 0;
    const envString text = CountText(count);
    if (guiText* counter = m_counters[static_cast<size_t>(index)]) {
        counter->SetText(text, 0);
        counter->SetVisible(true);
    }
    if (index == 0) {
        m_longStraightCounter->SetText(text, 0);
        m_longStraightCounter->SetVisible(true);
    }
}

void coTrackManipPalette::HideConstraintCount(i32 index) {
    if (index < 0 || index >= kBudgetCount)
        return;
    if (guiText* counter = m_counters[static_cast<size_t>(index)])
        counter->SetVisible(false);
    m_available[static_cast<size_t>(index)] = 1;
    if (index == 0)
        m_longStraightCounter->SetVisible(false);
}

void coTrackManipPalette::HideConstraintCounts() {
    for (size_t i = 0; i < kBudgetCount; ++i) {
        if (m_counters[i])
            m_counters[i]->SetVisible(false);
        m_available[i] = 1;
    }
    m_longStraightCounter->SetVisible(false);
    m_countsShown = false;
}
