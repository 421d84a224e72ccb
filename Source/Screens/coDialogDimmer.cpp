#include "Source/Screens/coDialogDimmer.h"

#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/GUI/Xui/xuiFadeOutObject.h"

#include <vector>

namespace {

constexpr float kAlpha = 0.5f;
// Behind the dialog's own widgets, which lie at the default depth 1.
constexpr float kBehindDialog = 2.0f;

std::vector<guiContainer*> g_owners;

void Attach(guiContainer* dialog) {
    xuiFadeOutMgr::AttachTo(dialog);
    xuiFadeOutMgr::SetDepth(kBehindDialog);
    xuiFadeOutMgr::FadeToColor();
}

} // namespace

void coDialogDimmer::Create() {
    xuiFadeOutMgr::Create();
    xuiFadeOutMgr::SetColor({0, 0, 0});
    xuiFadeOutMgr::SetFullAlpha(kAlpha);
    xuiFadeOutMgr::SetDuration(0.0f);
    g_owners.clear();
}

void coDialogDimmer::Destroy() {
    xuiFadeOutMgr::Destroy();
    g_owners.clear();
}

coDialogDimmer::Scope::Scope(guiContainer* dialog) {
    g_owners.push_back(dialog);
    Attach(dialog);
}

coDialogDimmer::Scope::~Scope() {
    if (!g_owners.empty())
        g_owners.pop_back();
    if (!g_owners.empty()) {
        Attach(g_owners.back());
        return;
    }
    xuiFadeOutMgr::FadeToClear();
    xuiFadeOutMgr::AttachTo(guiWindowMgr::GetRoot());
}
