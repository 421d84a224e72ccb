#include "Engine/GUI/Gui/guiCursor.h"

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
    g_cursor = std::make_unique<guiCursor>();
    s_position = {};
}

void guiCursorMgr::Destroy() {
    g_cursor.reset();
}

guiCursor* guiCursorMgr::GetCursor() {
    return g_cursor.get();
}

void guiCursorMgr::SetShape(i32 id) {
    if (g_cursor)
        g_cursor->SetShape(id);
}
