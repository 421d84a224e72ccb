#include "Engine/GUI/Gui/guiContainer.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

#include <algorithm>
#include <cmath>
#include <cstring>

guiContainer::~guiContainer() {
    DeleteAllChildren();
}

void guiContainer::UpdateVisibility() {
    guiWindow::UpdateVisibility();
    for (guiWindow* child : m_children)
        child->UpdateVisibility();
}

void guiContainer::Think() {
    // A child's Think may remove or delete siblings, or this container: deletions wait for the scope's
    // end, and the walk goes over a copy that skips the children that left the array.
    const guiWindowMgr::UpdateScope scope;
    const std::vector<guiWindow*> children = m_children;
    const u32 removals = m_removals;
    for (guiWindow* child : children) {
        if (m_removals != removals &&
            std::find(m_children.begin(), m_children.end(), child) == m_children.end())
            continue;
        if (child->IsEnabled())
            child->Think();
    }
}

void guiContainer::Draw() {
    const guiWindowMgr::UpdateScope scope;
    const bool dirty = std::any_of(m_children.begin(), m_children.end(),
                                   [](const guiWindow* c) { return c->IsDepthDirty(); });
    if (dirty) {
        // Stable, so siblings of equal depth never trade places between frames.
        std::stable_sort(m_children.begin(), m_children.end(), [](const guiWindow* a, const guiWindow* b) {
            return a->GetPosition().z < b->GetPosition().z;
        });
        m_depthsSorted = std::none_of(m_children.begin(), m_children.end(),
                                      [](const guiWindow* c) { return std::isnan(c->GetPosition().z); });
        guiWindowMgr::CountSort();
    }
    for (guiWindow* child : m_children)
        child->Draw();
    SetDrawDepth(static_cast<i32>(guiWindowMgr::NextDrawStamp()));
}

void guiContainer::UpdateTransform() {
    guiWindow::UpdateTransform();
    for (guiWindow* child : m_children)
        child->UpdateTransform();
}

void guiContainer::SetColor(const std::array<u8, 3>& rgb, i32 state) {
    for (guiWindow* child : m_children)
        child->SetColor(rgb, state);
}

void guiContainer::SetTransparency(float alpha, i32 state) {
    for (guiWindow* child : m_children)
        child->SetTransparency(alpha, state);
}

void guiContainer::AddChild(guiWindow* child) {
    // A window in two child arrays would be deleted twice; one that holds this container would loop.
    if (child == this || IsDescendantOf(child)) {
        DBG_WARNING("window \"%s\" cannot go inside itself; not added", child->GetName().c_str());
        return;
    }
    if (auto* previous = dynamic_cast<guiContainer*>(child->GetParent()))
        previous->Detach(child);
    child->SetParent(this);
    child->UpdateTransform();
    child->UpdateVisibility();
    // Before the first deeper sibling, as the depths stand: a sibling moved since the last sort keeps
    // its place until the next draw, so only children known to be in order are searched by halving.
    const float depth = child->GetPosition().z;
    const auto deeper = [](float z, const guiWindow* c) { return c->GetPosition().z > z; };
    const auto behind = m_depthsSorted ? std::upper_bound(m_children.begin(), m_children.end(), depth, deeper)
                                       : std::find_if(m_children.begin(), m_children.end(),
                                                      [&](const guiWindow* c) { return deeper(depth, c); });
    m_children.insert(behind, child);
    if (std::isnan(depth))
        m_depthsSorted = false;
}

bool guiContainer::Detach(guiWindow* child) {
    const auto found = std::find(m_children.begin(), m_children.end(), child);
    if (found == m_children.end()) {
        DBG_WARNING("window \"%s\" is no child of \"%s\"; nothing removed",
                    child ? child->GetName().c_str() : "", GetName().c_str());
        return false;
    }
    m_children.erase(found);
    ++m_removals;
    child->SetParent(nullptr);
    return true;
}

void guiContainer::RemoveChild(guiWindow* child) {
    Detach(child);
}

void guiContainer::RemoveAndDeleteChild(guiWindow* child) {
    if (Detach(child))
        delete child;
}

void guiContainer::DeleteAllChildren() {
    std::vector<guiWindow*> children;
    children.swap(m_children);
    m_depthsSorted = true;
    ++m_removals;
    for (guiWindow* child : children) {
        child->SetParent(nullptr);
        delete child;
    }
}

guiWindow* guiContainer::FindChild(const char* name) const {
    const char* wanted = name ? name : "";
    for (guiWindow* child : m_children)
        if (std::strcmp(child->GetName().c_str(), wanted) == 0)
            return child;
    return nullptr;
}

guiWindow* guiContainer::GetChild(i32 index) const {
    return index >= 0 && index < GetChildCount() ? m_children[static_cast<size_t>(index)] : nullptr;
}

bool guiContainer::Contains(const guiWindow* window) const {
    for (const guiWindow* child : m_children) {
        if (child == window)
            return true;
        const auto* container = dynamic_cast<const guiContainer*>(child);
        if (container && container->Contains(window))
            return true;
    }
    return false;
}
