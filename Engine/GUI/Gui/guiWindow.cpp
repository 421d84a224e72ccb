#include "Engine/GUI/Gui/guiWindow.h"

#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

#include <algorithm>

guiWindow::~guiWindow() {
    if (s_focus == this)
        s_focus = nullptr;
    if (s_over == this)
        s_over = nullptr;
    guiMouseButtons::Forget(this);
    guiToolTip::Forget(this);
    guiSoundCues::Forget(this);
    guiWindowMgr::Forget(this);
    // A window deleted directly leaves its container; the container's own delete paths detach first.
    if (auto* container = dynamic_cast<guiContainer*>(m_parent))
        container->RemoveChild(this);
}

void guiWindow::SetVisible(bool visible) {
    m_visible = visible;
    UpdateVisibility();
}

void guiWindow::UpdateVisibility() {
    m_effectiveVisible = m_visible && (!m_parent || m_parent->m_effectiveVisible);
}

void guiWindow::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled)
        SetState(guiStateDisabled);
    else if (m_state == guiStateDisabled)
        SetState(guiStateIdle);
}

void guiWindow::SetPosition(const maVector3d& position) {
    if (position.z != m_position.z) {
        m_depthDirty = true;
        if (auto* container = dynamic_cast<guiContainer*>(m_parent))
            container->OnChildDepthChanged();
    }
    m_position = position;
    UpdateTransform();
}

void guiWindow::SetSize(i32 width, i32 height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    i32 screenWidth = 0;
    i32 screenHeight = 0;
    guiGetScreenSize(screenWidth, screenHeight);
    // In floats: twice the largest size a script can give does not fit 32 bits.
    SetScale({(2.0f * static_cast<float>(m_width) + 1.0f) / static_cast<float>(screenWidth),
              (2.0f * static_cast<float>(m_height) + 1.0f) / static_cast<float>(screenHeight), 1.0f});
    UpdateTransform();
}

void guiWindow::GetSize(i32& width, i32& height) const {
    width = m_width;
    height = m_height;
}

void guiWindow::SetOrientation(const maRotation& orientation) {
    m_orientation = orientation;
    UpdateTransform();
}

void guiWindow::SetPivotPoint(const maVector3d& pivot) {
    m_pivot = pivot;
    UpdateTransform();
}

void guiWindow::SetScale(const maVector3d& scale) {
    m_scale = scale;
    UpdateTransform();
}

void guiWindow::SetJustification(i32 horizontal, i32 vertical) {
    m_horizontal = horizontal;
    m_vertical = vertical;
    SetPosition(m_position);
}

void guiWindow::GetJustification(i32& horizontal, i32& vertical) const {
    horizontal = m_horizontal;
    vertical = m_vertical;
}

maVector3d guiWindow::JustifiedPosition() const {
    if (!m_parent)
        return m_position;
    const float pw = static_cast<float>(m_parent->m_width);
    const float ph = static_cast<float>(m_parent->m_height);
    const float w = static_cast<float>(m_width);
    const float h = static_cast<float>(m_height);
    maVector3d p = m_position;
    if (m_horizontal == guiJustifyRight)
        p.x = pw - w - m_position.x;
    else if (m_horizontal == guiJustifyCenter)
        p.x = pw * 0.5f - w * 0.5f + m_position.x;
    if (m_vertical == guiJustifyCenter)
        p.y = ph * 0.5f - h * 0.5f + m_position.y;
    else if (m_vertical == guiJustifyBottom)
        p.y = ph - h - m_position.y;
    return p;
}

void guiWindow::UpdateTransform() {
    const maVector3d p = JustifiedPosition();
    const i32 stamp = GetDrawStamp();
    m_world.SetScale(m_scale.x, m_scale.y, m_scale.z);
    m_world.Translate(-m_pivot.x, -m_pivot.y, -m_pivot.z);
    m_world *= m_orientation.GetMatrix();
    m_world.Translate(m_pivot.x, m_pivot.y, m_pivot.z);
    m_world.Translate(p.x, p.y, p.z);
    if (m_parent) {
        // The parent's place and turn reach the child, its scale does not.
        maMatrix4d parent = m_parent->m_world;
        parent.m[0] = parent.m[5] = parent.m[10] = parent.m[15] = 1.0f;
        m_world *= parent;
    }
    m_world.m[14] = static_cast<float>(stamp);
}

bool guiWindow::IsDescendantOf(const guiWindow* ancestor) const {
    if (!ancestor)
        return false;
    for (const guiWindow* w = m_parent; w; w = w->m_parent)
        if (w == ancestor)
            return true;
    return false;
}

void guiWindow::SetDrawDepth(i32 stamp) {
    m_world.m[14] = static_cast<float>(stamp);
    m_depthDirty = false;
}
