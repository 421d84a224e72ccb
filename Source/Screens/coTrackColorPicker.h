#pragma once
#include "Engine/GUI/Gui/guiContainer.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include <array>
#include <string>
#include <vector>

class guiButton;
class guiImage;
class guiRadioGroup;
class guiSlider;
class guiText;

// The panel in which the player colours the track's parts ("uitc" with "uitc.tsf"): the scheme group
// given by its owner picks the scheme (its buttons the stored schemes, then "Custom"), "Parts" the part,
// and "Red", "Green" and "Blue" its diffuse colour, which the track shows at once. It edits a working copy
// of the stored schemes with the track's current colours last; "Add Scheme" stores a copy of the selected
// one, "Reset Scheme" and "Cancel" go back to the colours of construction. "Save" is its owner's to read.
class coTrackColorPicker : public guiContainer {
  public:
    // Throws coScreenScriptX for a script that lacks one of the widgets, and the loaders' exceptions.
    explicit coTrackColorPicker(guiRadioGroup* schemeGroup);

    // The working scheme of that index; the custom one at the stored schemes' count (and past it).
    const coColorScheme& GetScheme(int index) const;
    // The working schemes without the custom one.
    void GetSchemes(std::vector<coColorScheme>& out) const;
    void GetCustomScheme(coColorScheme& out) const { out = m_working.back(); }
    void ApplySelectedScheme() const;
    // The scheme group's selection: "Custom" is the custom entry, whatever its position.
    int GetSelectedIndex() const;

    // One of: slider moved, scheme changed, part changed, "Add Scheme", "Reset Scheme", "Cancel".
    void Think() override;
    // Enabling after the scheme group changed loads the sliders from it; the title follows the group.
    void SetEnabled(bool enabled) override;
    // The background keeps its own x and y at the picker's depth.
    void SetPosition(const maVector3d& position) override;

  private:
    std::string SelectedPart() const;
    void LoadSliders();
    void ApplySliders();
    void UpdateDisplay();
    void RememberSliders();
    void ShowTitle();
    // Branch 2's tail: the part's colours to the sliders and back, and the scheme onto the track.
    void Reload();
    std::array<f32, 3> Sliders() const;

    guiRadioGroup* m_schemes;
    guiRadioGroup* m_parts = nullptr;
    guiImage* m_display = nullptr;
    std::array<guiSlider*, 3> m_rgb{};
    guiButton* m_add = nullptr;
    guiButton* m_reset = nullptr;
    guiButton* m_cancel = nullptr;
    guiText* m_title = nullptr;
    std::vector<coColorScheme> m_working;
    std::vector<coColorScheme> m_initial;
    std::vector<std::string> m_partNames;
    int m_lastScheme = 0;
    i32 m_lastPart = 0;
    std::array<f32, 3> m_lastSliders{};
};
