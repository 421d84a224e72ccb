#include "Engine/GUI/Gui/guiCursor.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/private/guiHardwareCursor.h"
#include "Engine/Graphics/G2d/g2dImage.h"

namespace {
std::unique_ptr<guiCursor> g_cursor;
}

guiCursor::guiCursor() = default;

guiCursor::~guiCursor() = default;

void guiCursor::SetImage(const fsLocator& file, i32 id) {
    auto image = std::make_unique<g2dImage>();
    HardwareCursor::LoadCursorImage(file, *image);
    m_images[id] = std::move(image);
}

void guiCursor::SetShape(i32 id) {
    if (id == m_current)
        return;
    const auto found = m_images.find(id);
    if (found == m_images.end()) {
        DBG_WARNING("No pointer image for cursor id %d; the pointer stays as it is", id);
        return;
    }
    m_current = id;
    HardwareCursor::SetCursorImage(*found->second);
}

const g2dImage* guiCursor::GetImage(i32 id) const {
    const auto found = m_images.find(id);
    return found == m_images.end() ? nullptr : found->second.get();
}

void guiCursor::SetPosition(const maVector2d& position) {
    m_position = position;
    HardwareCursor::SetPosition(position);
}

void guiCursor::SetHotSpot(const maVector2d& hotSpot) {
    m_hotSpot = hotSpot;
    HardwareCursor::SetHotSpot(hotSpot);
}

void guiCursor::SetVisible(bool visible) {
    m_visible = visible;
    HardwareCursor::Show(visible);
}

void guiCursor::UpdatePosition() {
    HardwareCursor::GetPosition(m_position);
}

void guiCursorMgr::Create() {
    HardwareCursor::SetUp();
    g_cursor = std::make_unique<guiCursor>();
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

maVector2d guiCursorMgr::GetPosition() {
    return g_cursor ? g_cursor->GetPosition() : maVector2d{};
}

void guiCursorMgr::SetPosition(const maVector2d& position) {
    if (g_cursor)
        g_cursor->SetPosition(position);
}

void guiCursorMgr::UpdatePosition() {
    if (g_cursor)
        g_cursor->UpdatePosition();
}

void guiCursorMgr::SetVisible(bool visible) {
    if (g_cursor)
        g_cursor->SetVisible(visible);
}

bool guiCursorMgr::IsVisible() {
    return !g_cursor || g_cursor->IsVisible();
}

void guiCursorMgr::SetHotSpot(const maVector2d& hotSpot) {
    if (g_cursor)
        g_cursor->SetHotSpot(hotSpot);
}

void guiCursorMgr::SetShape(i32 id) {
    if (g_cursor)
        g_cursor->SetShape(id);
}
