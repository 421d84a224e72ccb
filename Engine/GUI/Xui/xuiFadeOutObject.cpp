#include "Engine/GUI/Xui/xuiFadeOutObject.h"

#include "Engine/App/App/appClock.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

namespace {

xuiFadeOutObject* g_fade = nullptr;

f32 Now() {
    return static_cast<f32>(appGetTime());
}

} // namespace

xuiFadeOutObject::xuiFadeOutObject() {
    SetColor({0, 0, 0}, 0);
    SetTransparency(0.0f, 0);
    SetPosition({0.0f, 0.0f, 0.0f});
    SetState(0);
    i32 width = 0, height = 0;
    guiGetScreenSize(width, height);
    SetSize(width, height);
}

xuiFadeOutObject::~xuiFadeOutObject() {
    xuiFadeOutMgr::Forget(this);
}

void xuiFadeOutObject::Show(f32 alpha) {
    SetTransparency(alpha, 0);
    ShowState(0);
}

void xuiFadeOutObject::Think() {
    const f32 t = Now() - m_startTime;
    const bool fading = m_duration > 0.0f && t < m_duration;
    if (m_fadingToClear && !m_clear) {
        if (fading) {
            Show((1.0f - t / m_duration) * m_fullAlpha);
        } else {
            Show(0.0f);
            m_clear = true;
        }
    } else if (!m_fadingToClear && m_clear) {
        if (fading) {
            Show(t / m_duration * m_fullAlpha);
        } else {
            Show(m_fullAlpha);
            m_clear = false;
        }
    }
}

void xuiFadeOutObject::FadeToClear() {
    m_fadingToClear = true;
    if (m_duration == 0.0f) {
        Show(0.0f);
        m_clear = true;
    } else {
        m_startTime = Now();
    }
}

void xuiFadeOutObject::FadeToColor() {
    m_fadingToClear = false;
    if (m_duration == 0.0f) {
        Show(m_fullAlpha);
        m_clear = false;
    } else {
        m_startTime = Now();
    }
}

void xuiFadeOutMgr::Create() {
    if (g_fade)
        return;
    g_fade = new xuiFadeOutObject;
    guiWindowMgr::AddWindow(g_fade);
}

void xuiFadeOutMgr::Destroy() {
    guiWindowMgr::DeleteWindow(g_fade);
    g_fade = nullptr;
}

xuiFadeOutObject* xuiFadeOutMgr::Get() {
    return g_fade;
}

void xuiFadeOutMgr::Forget(const xuiFadeOutObject* object) {
    if (g_fade == object)
        g_fade = nullptr;
}

void xuiFadeOutMgr::SetColor(const std::array<u8, 3>& rgb) {
    if (g_fade)
        g_fade->SetColor(rgb, 0);
}

void xuiFadeOutMgr::SetFullAlpha(f32 alpha) {
    if (g_fade)
        g_fade->SetFullAlpha(alpha);
}

void xuiFadeOutMgr::SetDuration(f32 seconds) {
    if (g_fade)
        g_fade->SetDuration(seconds);
}

void xuiFadeOutMgr::AttachTo(guiContainer* container) {
    if (!g_fade)
        return;
    guiWindowMgr::DetachWindow(g_fade);
    if (!container)
        return;
    const maVector3d at = container->GetWorldMatrix().GetTranslation();
    g_fade->SetPosition({-at.x, -at.y, g_fade->GetPosition().z});
    container->AddChild(g_fade);
}

void xuiFadeOutMgr::SetDepth(f32 depth) {
    if (g_fade) {
        const maVector3d& at = g_fade->GetPosition();
        g_fade->SetPosition({at.x, at.y, depth});
    }
}

void xuiFadeOutMgr::FadeToClear() {
    if (g_fade)
        g_fade->FadeToClear();
}

void xuiFadeOutMgr::FadeToColor() {
    if (g_fade)
        g_fade->FadeToColor();
}
