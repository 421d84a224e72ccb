#include "Engine/GUI/Gui/guiSlider.h"

#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kBehindThumb = 0.002f;

} // namespace

guiSlider::guiSlider() {
    auto* background = new guiImage;
    background->SetName("Background");
    auto* thumb = new guiImage;
    thumb->SetName("Thumb");
    // Sized at once: an unsized quad spans the whole screen and would take every click.
    thumb->SetSize(0, 0);
    background->SetSize(0, 0);
    background->SetPosition({0.0f, 0.0f, 1.0f + kBehindThumb});
    AddChild(background);
    AddChild(thumb);
    m_background = background;
    m_thumb = thumb;
}

guiSlider::~guiSlider() {
    DeleteAllChildren();
    m_background = nullptr;
    m_thumb = nullptr;
}

void guiSlider::Think() {
    guiContainer::Think();
    if (!IsDragged())
        return;
    const maVector2d p = guiCursorMgr::GetPosition();
    const maVector3d s = m_background->GetWorldMatrix().GetTranslation();
    i32 bw = 0, bh = 0;
    m_background->GetSize(bw, bh);
    // A track without extent gives no value: dividing by it would move the thumb to nowhere.
    const float span = static_cast<float>(m_constraint ? m_max - m_min : (m_axis == 1 ? bw : bh));
    if (span == 0.0f)
        return;
    const float min = m_constraint ? static_cast<float>(m_min) : 0.0f;
    if (m_axis == 1)
        SetValue((p.x - s.x - min) / span);
    else if (m_axis == 2 && m_constraint)
        SetValue((p.y - s.y - min) / span);
    else if (m_axis == 2)
        SetValue((span - (p.y - s.y)) / span);
}

bool guiSlider::IsDragged() const {
    return m_thumb->GetState() == guiStateHeld || m_thumb->IsCaptured(guiMouseButtons::kMain) ||
           m_background->GetState() == guiStatePressed;
}

void guiSlider::SetPosition(const maVector3d& position) {
    guiContainer::SetPosition(position);
    const maVector3d b = m_background->GetPosition();
    m_background->SetPosition({b.x, b.y, m_thumb->GetPosition().z + kBehindThumb});
}

void guiSlider::Increase() {
    const f32 value = m_value + m_increment;
    if (value > 0.0f && value < 1.0f)
        SetValue(value);
}

void guiSlider::Decrease() {
    SetValue(m_value - m_increment);
}

void guiSlider::SetValue(f32 value) {
    if (!std::isfinite(value))
        return;
    m_value = std::clamp(value, 0.0f, 1.0f);
    PlaceThumb();
}

void guiSlider::PlaceThumb() {
    const maVector3d b = m_background->GetPosition();
    const maVector3d t = m_thumb->GetPosition();
    i32 bw = 0, bh = 0, tw = 0, th = 0;
    m_background->GetSize(bw, bh);
    m_thumb->GetSize(tw, th);
    const float ox = static_cast<float>(m_offsetX);
    const float oy = static_cast<float>(m_offsetY);
    if (m_axis == 1) {
        const float x = m_constraint
                            ? static_cast<float>(m_max - m_min) * m_value + ox + static_cast<float>(m_min)
                            : static_cast<float>(bw) * m_value + ox + b.x;
        m_thumb->SetPosition({x, t.y, t.z});
    } else if (m_axis == 2) {
        // Value 0 puts the thumb's bottom on the lower end, 1 its top on the upper end.
        float low = 0.0f, high = 0.0f;
        if (m_constraint) {
            low = static_cast<float>(m_min) - oy - static_cast<float>(th);
            high = static_cast<float>(m_max) - oy;
        } else {
            low = std::trunc(b.y + static_cast<float>(bh - th) - oy);
            high = std::trunc(b.y - oy);
        }
        m_thumb->SetPosition({t.x, low + (high - low) * m_value + oy, t.z});
    }
}

void guiSlider::SetThumbOffset(i32 x, i32 y) {
    const maVector3d t = m_thumb->GetPosition();
    m_thumb->SetPosition(
        {t.x + static_cast<float>(x - m_offsetX), t.y + static_cast<float>(y - m_offsetY), t.z});
    m_offsetX = x;
    m_offsetY = y;
}

void guiSlider::GetThumbOffset(i32& x, i32& y) const {
    x = m_offsetX;
    y = m_offsetY;
}

void guiSlider::SetBackgroundConstraint(i32 min, i32 max) {
    m_min = min;
    m_max = max;
    m_constraint = true;
    SetValue(m_value);
}

void guiSlider::GetBackgroundConstraint(i32& min, i32& max) const {
    min = m_min;
    max = m_max;
}
