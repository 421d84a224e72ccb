#include "Engine/GUI/Xui/xuiSliderComposite.h"

#include "Engine/GUI/Gui/guiImage.h"

#include <cmath>

namespace {

constexpr float kBeforeThumb = 0.001f;

} // namespace

void xuiSliderComposite::SetPosition(const maVector3d& position) {
    guiSlider::SetPosition(position);
    const float depth = GetThumb()->GetPosition().z + kBeforeThumb;
    for (auto& [kind, control] : m_controls) {
        const maVector3d p = control.window->GetPosition();
        control.window->SetPosition({p.x, p.y, depth});
    }
}

void xuiSliderComposite::Think() {
    guiSlider::Think();
    for (auto& [kind, control] : m_controls) {
        if (control.window->GetState() != guiStateHeld)
            continue;
        SetIncrement(std::fabs(control.delta));
        if (control.delta >= 0.0f)
            guiSlider::Increase();
        else
            guiSlider::Decrease();
    }
}

void xuiSliderComposite::AddAssociatedControl(guiWindow* control, f32 delta, i32 kind) {
    if (!control)
        return;
    m_controls.insert({kind, {control, delta}});
    AddChild(control);
    if (kind == kIncrease)
        control->SetName("Increase");
    else if (kind == kDecrease)
        control->SetName("Decrease");
}
