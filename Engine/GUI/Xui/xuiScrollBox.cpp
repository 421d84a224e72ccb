#include "Engine/GUI/Xui/xuiScrollBox.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/guiSlider.h"

#include <cmath>

namespace {

// The view moving by itself passes back to the sliders only beyond this.
constexpr float kViewTolerance = 0.01f;

bool Differs(float a, float b, float tolerance) {
    return std::fabs(a - b) > tolerance;
}

} // namespace

void xuiScrollBox::AddAssociatedControl(i32 edge, guiWindow* control, i32 axis) {
    if (!control)
        return;
    auto* slider = dynamic_cast<guiSlider*>(control);
    if (!slider)
        DBG_WARNING("scroll box \"%s\": control \"%s\" is no slider; added as a plain child",
                    GetName().c_str(), control->GetName().c_str());
    else
        m_controls.insert({axis, {edge, slider}});
    control->SetEnabled(true);
    AddChild(control);
}

void xuiScrollBox::SetView(gnfView* view) {
    if (!view)
        return;
    auto* window = dynamic_cast<guiWindow*>(view);
    if (!window) {
        DBG_WARNING("scroll box \"%s\": a view that is no window is refused", GetName().c_str());
        return;
    }
    m_view = view;
    m_selection = dynamic_cast<gnfSelection*>(view);
    AddChild(window);
    window->SetEnabled(true);
}

void xuiScrollBox::SetSize(i32 width, i32 height) {
    guiContainer::SetSize(width, height);
    i32 edges[4] = {};
    for (const auto& [axis, control] : m_controls) {
        i32 w = 0, h = 0;
        control.slider->GetSize(w, h);
        if (control.edge == kLeft || control.edge == kRight)
            edges[control.edge] += w;
        else if (control.edge == kTop || control.edge == kBottom)
            edges[control.edge] += h;
    }
    const i32 viewWidth = width - edges[kLeft] - edges[kRight];
    const i32 viewHeight = height - edges[kTop] - edges[kBottom];
    const float viewX = static_cast<float>(edges[kLeft]);
    const float viewY = static_cast<float>(edges[kTop]);
    i32 left = 0, right = width, top = 0, bottom = height;
    for (const auto& [axis, control] : m_controls) {
        guiSlider& slider = *control.slider;
        i32 w = 0, h = 0;
        slider.GetSize(w, h);
        const float z = slider.GetPosition().z;
        switch (control.edge) {
        case kLeft:
            slider.SetSize(w, viewHeight);
            slider.SetPosition({static_cast<float>(left), viewY, z});
            left += w;
            break;
        case kRight:
            slider.SetSize(w, viewHeight);
            slider.SetPosition({static_cast<float>(right - w), viewY, z});
            right -= w;
            break;
        case kTop:
            slider.SetSize(viewWidth, h);
            slider.SetPosition({viewX, static_cast<float>(top), z});
            top += h;
            break;
        case kBottom:
            slider.SetSize(viewWidth, h);
            slider.SetPosition({viewX, static_cast<float>(bottom - h), z});
            bottom -= h;
            break;
        default:
            break;
        }
    }
    if (auto* window = dynamic_cast<guiWindow*>(m_view)) {
        window->SetSize(viewWidth, viewHeight);
        window->SetPosition({viewX, viewY, window->GetPosition().z});
    }
}

void xuiScrollBox::Think() {
    guiContainer::Think();
    if (!m_view)
        return;
    // The user dragged a slider: the view follows.
    for (const auto& [axis, control] : m_controls) {
        guiSlider& slider = *control.slider;
        const float tolerance = slider.GetIncrement() * 0.1f;
        if (slider.IsEnabled()) {
            if (axis == kHorizontal && Differs(slider.GetValue(), m_lastHorizontal, tolerance)) {
                m_lastHorizontal = slider.GetValue();
                m_view->SetHorizontalScroll(m_lastHorizontal);
            } else if (axis == kVertical && Differs(1.0f - slider.GetValue(), m_lastVertical, tolerance)) {
                m_lastVertical = 1.0f - slider.GetValue();
                m_view->SetVerticalScroll(m_lastVertical);
            }
        }
        const bool needed = axis == kHorizontal ? !m_view->FitsHorizontally()
                            : axis == kVertical ? !m_view->FitsVertically()
                                                : true;
        slider.SetEnabled(needed);
        slider.SetVisible(needed);
    }
    // The view scrolled by itself (keys, selection): its sliders follow, one direction a frame.
    const float horizontal = m_view->GetHorizontalScroll();
    const float vertical = m_view->GetVerticalScroll();
    if (Differs(horizontal, m_lastHorizontal, kViewTolerance)) {
        m_lastHorizontal = horizontal;
        SetSliders(kHorizontal, horizontal);
    } else if (Differs(vertical, m_lastVertical, kViewTolerance)) {
        m_lastVertical = vertical;
        SetSliders(kVertical, 1.0f - vertical);
    }
}

void xuiScrollBox::SetSliders(i32 axis, float value) {
    const auto found = m_controls.find(axis);
    if (found != m_controls.end())
        found->second.slider->SetValue(value);
}

void xuiScrollBox::SetHorizontalScroll(float fraction) {
    if (m_view)
        m_view->SetHorizontalScroll(fraction);
    SetSliders(kHorizontal, fraction);
    m_lastHorizontal = fraction;
}

void xuiScrollBox::SetVerticalScroll(float fraction) {
    if (m_view)
        m_view->SetVerticalScroll(fraction);
    SetSliders(kVertical, 1.0f - fraction);
    m_lastVertical = fraction;
}

i32 xuiScrollBox::GetSelection() const {
    return m_selection ? m_selection->GetSelection() : 0;
}

void xuiScrollBox::Select(i32 index) {
    if (m_selection)
        m_selection->Select(index);
}

const envString& xuiScrollBox::GetItemText(i32 index) const {
    return m_selection ? m_selection->GetItemText(index) : gnfEmptyString();
}

i32 xuiScrollBox::GetItemCount() const {
    return m_selection ? m_selection->GetItemCount() : 0;
}
