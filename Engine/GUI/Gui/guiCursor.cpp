#include "Engine/GUI/Gui/guiCursor.h"

#include "Engine/GUI/Gui/private/guiHardwareCursor.h"

namespace {
std::unique_ptr<guiCursor> g_cursor;
}

void guiCursor::SetImage(i32 id, const g2dImage* image) {
    if (image)
        m_images[id] = image;
    else
        m_images.erase(id);
}

void guiCursor::SetShape(i32 id) {
    if (id == m_current)
        return;
    const auto found = m_images.find(id);
    if (found == m_images.end())
        return;
    m_current = id;
    if (m_setter)
        m_setter(*found->second);
}

void guiCursorMgr::Create() {
    HardwareCursor::SetUp();
    g_cursor = std::make_unique<guiCursor>();
    g_cursor->SetImageSetter(HardwareCursor::SetCursorImage);
    s_position = {};
    s_visible = true;
}

void guiCursorMgr::Destroy() {
    if (!g_cursor)
        return;
    g_cursor.reset();
    HardwareCursor::ShutDown();
}

guiCursor* guiCursorMgr::GetCursor() {
    return g_cursor.get();
}

void guiCursorMgr::SetShape(i32 id) {
    if (g_cursor)
        g_cursor->SetShape(id);
}

void guiCursorMgr::SetPosition(const maVector2d& position) {
    s_position = position;
    HardwareCursor::SetPosition(position);
}

void guiCursorMgr::UpdatePosition() {
    HardwareCursor::GetPosition(s_position);
}

void guiCursorMgr::SetVisible(bool visible) {
    s_visible = visible;
    HardwareCursor::Show(visible);
}

void guiCursorMgr::SetHotSpot(const maVector2d& hotSpot) {
    HardwareCursor::SetHotSpot(hotSpot);
}
