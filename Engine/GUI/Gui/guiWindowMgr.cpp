#include "Engine/GUI/Gui/guiWindowMgr.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiToolTip.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<guiContainer> g_root;
std::vector<guiWindow*> g_modal;
std::vector<guiWindow*> g_pending;
std::vector<const guiWindow*> g_kept;
u32 g_updateDepth = 0;
u32 g_stamp = 0;
u32 g_sorts = 0;

bool IsKept(const guiWindow* window) {
    return std::find(g_kept.begin(), g_kept.end(), window) != g_kept.end();
}

// Frees the pending windows that nobody keeps alive.
void DeletePending() {
    for (size_t i = 0; i < g_pending.size();) {
        guiWindow* window = g_pending[i];
        if (IsKept(window)) {
            ++i;
            continue;
        }
        g_pending.erase(g_pending.begin() + static_cast<std::ptrdiff_t>(i));
        delete window;
    }
}

} // namespace

void guiWindowMgr::Create() {
    g_root = std::make_unique<guiContainer>();
    g_root->SetName("guiWindowMgr::Root");
    g_root->SetPosition({0.0f, 0.0f, 0.0f});
}

void guiWindowMgr::Destroy() {
    g_modal.clear();
    g_kept.clear();
    g_updateDepth = 0;
    DeletePending();
    g_root.reset();
}

guiContainer* guiWindowMgr::GetRoot() {
    return g_root.get();
}

void guiWindowMgr::Update() {
    guiMouseButtons::ClearClaims();
    g_stamp = 0;
    g_sorts = 0;
    // Counted, not flagged: a modal run started from a Think updates inside this update.
    const UpdateScope scope;
    if (!g_modal.empty())
        g_modal.back()->Think();
    else if (g_root)
        g_root->Think();
    if (guiMouseButtons::IsUnclaimed(guiMouseButtons::kMain))
        guiWindow::SetOverWindow(nullptr);
    if (g_root)
        g_root->Draw();
}

guiWindowMgr::UpdateScope::UpdateScope() {
    ++g_updateDepth;
}

guiWindowMgr::UpdateScope::~UpdateScope() {
    if (g_updateDepth > 0 && --g_updateDepth == 0)
        DeletePending();
}

void guiWindowMgr::AddWindow(guiWindow* window) {
    if (!window)
        return;
    if (!g_root) {
        DBG_WARNING("window \"%s\" added without a GUI; deleted", window->GetName().c_str());
        delete window;
        return;
    }
    g_root->AddChild(window);
}

void guiWindowMgr::AddChildWindow(guiWindow* child, guiContainer* parent) {
    parent->AddChild(child);
}

void guiWindowMgr::DetachWindow(guiWindow* window) {
    if (auto* parent = window ? dynamic_cast<guiContainer*>(window->GetParent()) : nullptr)
        parent->RemoveChild(window);
}

void guiWindowMgr::DeleteWindow(guiWindow* window) {
    if (!window || IsDeletePending(window))
        return;
    if (g_updateDepth > 0 || IsKept(window)) {
        DetachWindow(window);
        ForgetModal(window);
        g_pending.push_back(window);
        return;
    }
    if (auto* parent = dynamic_cast<guiContainer*>(window->GetParent()))
        parent->RemoveAndDeleteChild(window);
    else
        delete window;
}

void guiWindowMgr::PushModal(guiWindow* window) {
    if (!window)
        return;
    const float depth = 0.1f - static_cast<float>(g_modal.size()) * 0.01f;
    const maVector3d& position = window->GetPosition();
    window->SetPosition({position.x, position.y, depth});
    g_modal.push_back(window);
    // The tip of what the pointer rested on would stay drawn over the box, which now takes the input.
    guiToolTip::Hide();
}

void guiWindowMgr::PopModal() {
    if (!g_modal.empty())
        g_modal.pop_back();
}

void guiWindowMgr::ForgetModal(const guiWindow* window) {
    std::erase(g_modal, window);
}

void guiWindowMgr::Forget(const guiWindow* window) {
    ForgetModal(window);
    std::erase(g_pending, window);
    std::erase(g_kept, window);
}

void guiWindowMgr::KeepAlive(const guiWindow* window, bool keep) {
    std::erase(g_kept, window);
    if (keep)
        g_kept.push_back(window);
    else if (g_updateDepth == 0 && IsDeletePending(window))
        DeletePending();
}

bool guiWindowMgr::IsDeletePending(const guiWindow* window) {
    return std::find(g_pending.begin(), g_pending.end(), window) != g_pending.end();
}

u32 guiWindowMgr::GetModalCount() {
    return static_cast<u32>(g_modal.size());
}

u32 guiWindowMgr::NextDrawStamp() {
    return g_stamp++;
}

void guiWindowMgr::CountSort() {
    ++g_sorts;
}

u32 guiWindowMgr::GetSortCount() {
    return g_sorts;
}
