#include "Source/Screens/coTrackColorPicker.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coScreenScript.h"

#include <algorithm>
#include <map>

namespace {

constexpr const char* kScript = "uitc";
constexpr const char* kTexts = "uitc.tsf";
// Behind the widgets of the script (depth 1).
constexpr f32 kFaceDepth = 1.5f;

const std::map<std::string, u32> kPartCaptions = {
    {"Rail", 4}, {"Center", 5}, {"Crossbar", 6}, {"Planks", 7}, {"Support", 8}};

envString ButtonText(const guiButton* button) {
    return button && button->GetText() ? button->GetText()->GetText(0) : envString();
}

void SetCaption(guiButton* button, const envString& text) {
    if (button->GetText())
        button->GetText()->SetText(text, 0);
    coFitCaption(button);
}

} // namespace

coTrackColorPicker::coTrackColorPicker(guiRadioGroup* schemeGroup) : m_schemes(schemeGroup) {
    coLoadScreenScript(kScript, kTexts, this);
    m_parts = coFindWidget<guiRadioGroup>(*this, kScript, "Parts", "RadioGroup");
    // The script places the group before it has buttons: placing it again stacks them.
    m_parts->SetPosition(m_parts->GetPosition());
    m_display = coFindWidget<guiImage>(*this, kScript, "Color Display", "Image");
    m_rgb = {coFindWidget<guiSlider>(*this, kScript, "Red", "Slider"),
             coFindWidget<guiSlider>(*this, kScript, "Green", "Slider"),
             coFindWidget<guiSlider>(*this, kScript, "Blue", "Slider")};
    m_add = coFindWidget<guiButton>(*this, kScript, "Add Scheme", "Button");
    auto* save = coFindWidget<guiButton>(*this, kScript, "Save", "Button");
    m_reset = coFindWidget<guiButton>(*this, kScript, "Reset Scheme", "Button");
    m_cancel = coFindWidget<guiButton>(*this, kScript, "Cancel", "Button");
    m_title = coFindWidget<guiText>(*this, kScript, "Title", "Text");
    m_parts->SetSelection(0);
    // The panel's face lies under the buttons; it must not take the pointer from them.
    if (guiWindow* background = FindChild("Background")) {
        background->SetEnabled(false);
        background->SetState(guiStateIdle);
    }

    const gfTextSet texts(coScreenTextSet(kTexts), 32, true);
    guiButton* const captioned[] = {m_add, save, m_reset, m_cancel};
    for (u32 i = 0; i < 4; ++i)
        SetCaption(captioned[i], texts.GetText(i));
    std::vector<std::pair<std::string, coSchemeMaterial>> parts;
    coTrackColorizer::GetCurrentParts(parts);
    for (const auto& part : parts)
        m_partNames.push_back(part.first);
    for (i32 i = 0; i < m_parts->GetChildCount(); ++i) {
        auto* button = dynamic_cast<guiButton*>(m_parts->GetChild(i));
        if (!button || button->GetName() == "Bar Connector")
            continue;
        const bool used = static_cast<size_t>(i) < m_partNames.size();
        if (used) {
            const std::string& name = m_partNames[static_cast<size_t>(i)];
            const auto caption = kPartCaptions.find(name);
            SetCaption(button, caption == kPartCaptions.end() ? envString(name.c_str())
                                                              : texts.GetText(caption->second));
        }
        button->SetVisible(used);
        button->SetEnabled(used);
    }

    coTrackColorizer::CopySchemes(m_working);
    m_working.push_back(coTrackColorizer::GetCurrentScheme());
    m_initial = m_working;
    m_lastScheme = coTrackColorizer::GetSelectedIndex();
    m_lastPart = m_parts->GetSelection();
    LoadSliders();
    ShowTitle();
}

int coTrackColorPicker::GetSelectedIndex() const {
    const guiCheckbox* selected = m_schemes->GetSelectedButton();
    const int custom = static_cast<int>(m_working.size()) - 1;
    if (!selected || selected->GetName() == "Custom")
        return custom;
    return std::clamp(m_schemes->GetSelection(), 0, custom);
}

const coColorScheme& coTrackColorPicker::GetScheme(int index) const {
    return m_working[static_cast<size_t>(std::clamp(index, 0, static_cast<int>(m_working.size()) - 1))];
}

void coTrackColorPicker::GetSchemes(std::vector<coColorScheme>& out) const {
    out.assign(m_working.begin(), m_working.end() - 1);
}

void coTrackColorPicker::ApplySelectedScheme() const {
    coTrackColorizer::ApplyScheme(GetScheme(GetSelectedIndex()));
}

std::string coTrackColorPicker::SelectedPart() const {
    const i32 part = m_parts->GetSelection();
    return part >= 0 && static_cast<size_t>(part) < m_partNames.size()
               ? m_partNames[static_cast<size_t>(part)]
               : std::string();
}

std::array<f32, 3> coTrackColorPicker::Sliders() const {
    return {m_rgb[0]->GetValue(), m_rgb[1]->GetValue(), m_rgb[2]->GetValue()};
}

void coTrackColorPicker::LoadSliders() {
    const coColorScheme& scheme = GetScheme(GetSelectedIndex());
    const auto part = scheme.find(SelectedPart());
    if (part == scheme.end())
        return;
    const g3dARGBColor& diffuse = part->second.diffuse;
    m_rgb[0]->SetValue(diffuse.r);
    m_rgb[1]->SetValue(diffuse.g);
    m_rgb[2]->SetValue(diffuse.b);
    UpdateDisplay();
}

void coTrackColorPicker::ApplySliders() {
    coColorScheme& scheme = m_working[static_cast<size_t>(GetSelectedIndex())];
    const auto part = scheme.find(SelectedPart());
    if (part == scheme.end())
        return;
    const std::array<f32, 3> rgb = Sliders();
    part->second.diffuse = {rgb[0], rgb[1], rgb[2], 1.0f};
}

void coTrackColorPicker::UpdateDisplay() {
    std::array<u8, 3> bytes{};
    for (size_t i = 0; i < 3; ++i)
        bytes[i] = static_cast<u8>(std::clamp(m_rgb[i]->GetValue(), 0.0f, 1.0f) * 255.0f);
    m_display->SetColor(bytes, 0);
}

void coTrackColorPicker::RememberSliders() {
    m_lastSliders = Sliders();
}

void coTrackColorPicker::ShowTitle() {
    m_title->SetText(ButtonText(m_schemes->GetSelectedButton()), 0);
}

void coTrackColorPicker::Reload() {
    m_lastPart = m_parts->GetSelection();
    LoadSliders();
    ApplySliders();
    ApplySelectedScheme();
    RememberSliders();
}

void coTrackColorPicker::Think() {
    guiContainer::Think();
    if (Sliders() != m_lastSliders) {
        UpdateDisplay();
        ApplySliders();
        ApplySelectedScheme();
        RememberSliders();
    } else if (GetSelectedIndex() != m_lastScheme) {
        m_lastScheme = GetSelectedIndex();
        ShowTitle();
        Reload();
    } else if (m_parts->GetSelection() != m_lastPart) {
        m_lastPart = m_parts->GetSelection();
        LoadSliders();
        RememberSliders();
    } else if (m_add->GetState() == guiStateReleased) {
        const size_t selected = static_cast<size_t>(GetSelectedIndex());
        const coColorScheme copy = m_working[selected];
        m_working.insert(m_working.end() - 1, copy);
        coTrackColorizer::AddScheme(copy);
        m_initial.insert(m_initial.end() - 1, m_initial[selected]);
        RememberSliders();
    } else if (m_reset->GetState() == guiStateReleased) {
        const size_t selected = static_cast<size_t>(GetSelectedIndex());
        m_working[selected] = m_initial[selected];
        Reload();
    } else if (m_cancel->GetState() == guiStateReleased) {
        m_working = m_initial;
        Reload();
    } else {
        RememberSliders();
    }
}

void coTrackColorPicker::SetEnabled(bool enabled) {
    guiContainer::SetEnabled(enabled);
    // The script's own flags arrive before the schemes are read.
    if (m_working.empty())
        return;
    if (enabled && GetSelectedIndex() != m_lastScheme) {
        m_lastScheme = GetSelectedIndex();
        m_lastPart = m_parts->GetSelection();
        LoadSliders();
        RememberSliders();
    }
    ShowTitle();
}

void coTrackColorPicker::SetPosition(const maVector3d& position) {
    guiContainer::SetPosition(position);
    // Children stand relative to the picker: the face keeps its depth behind the picker's own widgets.
    if (guiWindow* background = FindChild("Background")) {
        const maVector3d own = background->GetPosition();
        background->SetPosition({own.x, own.y, std::max(own.z, position.z + kFaceDepth)});
    }
}
