#include "Engine/GUI/Gui/guiProgressBar.h"

#include "Engine/GUI/Gui/guiImage.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kBehindProgress = 0.001f;

} // namespace

guiProgressBar::guiProgressBar() {
    auto* background = new guiImage;
    background->SetName("Background");
    auto* progress = new guiImage;
    progress->SetName("Progress");
    // Sized at once: an unsized quad spans the whole screen and would take every click.
    progress->SetSize(0, 0);
    background->SetSize(0, 0);
    background->SetPosition({0.0f, 0.0f, 1.0f + kBehindProgress});
    AddChild(background);
    AddChild(progress);
    m_background = background;
    m_progress = progress;
}

guiProgressBar::~guiProgressBar() {
    DeleteAllChildren();
    m_background = nullptr;
    m_progress = nullptr;
}

void guiProgressBar::SetPosition(const maVector3d& position) {
    guiContainer::SetPosition(position);
    const maVector3d b = m_background->GetPosition();
    m_background->SetPosition({b.x, b.y, m_progress->GetPosition().z + kBehindProgress});
}

void guiProgressBar::SetSize(i32 width, i32 height) {
    guiContainer::SetSize(width, height);
    m_background->SetSize(width, height);
    m_progress->SetSize(width, height);
    if (m_value > 0.0f)
        SetValue(m_value);
}

void guiProgressBar::Increase() {
    SetValue(m_value + m_increment);
}

void guiProgressBar::Decrease() {
    SetValue(m_value - m_increment);
}

void guiProgressBar::SetValue(f32 value) {
    if (!std::isfinite(value))
        return;
    m_value = std::clamp(value, 0.0f, 1.0f);
    maVector3d scale = m_background->GetScale();
    if (m_axes & kAxisX)
        scale.x *= m_value;
    if (m_axes & kAxisY)
        scale.y *= m_value;
    m_progress->SetScale(scale);
    const f32 tilesX = static_cast<f32>(m_tilesX);
    const f32 tilesY = static_cast<f32>(m_tilesY);
    switch (m_axes) {
    case kAxisX | kAxisY:
        m_progress->SetTile(tilesX * m_value, tilesY * m_value, guiStateIdle);
        break;
    case kAxisX:
        m_progress->SetTile(tilesX * m_value, 1.0f, guiStateIdle);
        break;
    case kAxisY:
        m_progress->SetTile(1.0f, tilesY * m_value, guiStateIdle);
        break;
    default:
        break;
    }
}

void guiProgressBar::SetTiles(i32 x, i32 y) {
    m_tilesX = x;
    m_tilesY = y;
}
