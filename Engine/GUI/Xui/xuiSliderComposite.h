#pragma once
#include "Engine/GUI/Gui/guiSlider.h"

#include <map>

// A slider with associated controls ("Increase", "Decrease") that step its value once per frame while
// they are held, each by the size of its own delta; a negative delta steps down.
class xuiSliderComposite : public guiSlider {
  public:
    enum Kind : i32 { kIncrease = 0, kDecrease = 1 };

    // The controls go just in front of the thumb.
    void SetPosition(const maVector3d& position) override;
    void Think() override;

    // Takes the control as a child and names it after its kind; a null control is ignored.
    void AddAssociatedControl(guiWindow* control, f32 delta, i32 kind);

  private:
    struct Control {
        guiWindow* window; // a child, deleted with the children
        f32 delta;
    };
    std::multimap<i32, Control> m_controls;
};
