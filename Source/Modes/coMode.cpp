#include "Source/Modes/coMode.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appWindow.h"
#include "Source/Modes/coModeExitX.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Screens/coReportException.h"

#include <stdexcept>

namespace {

coModeHost* g_host = nullptr;

} // namespace

void coSetModeHost(coModeHost* host) {
    g_host = host;
}

coModeHost& coGetModeHost() {
    if (!g_host)
        throw std::logic_error("no mode host installed");
    return *g_host;
}

void coMode::BeginFrame() {
    BeginModalFrame();
    if (!m_clockFrozen)
        appClock::Tick(1.0f);
}

std::function<void()> coMode::ModalFrameStart() {
    return [this] {
        coGetModeHost().OnModalFrame();
        appPumpMessages();
        BeginModalFrame();
    };
}

void coMode::BeginModalFrame() {
    coModeHost& host = coGetModeHost();
    if (m_exitRequested) {
        // Further closes while the question is up belong to this one question.
        const bool ok = host.AskQuitQuestion(IsModified() ? coQuitTextModified : coQuitTextPlain);
        m_exitRequested = 0;
        if (ok)
            throw coModeExitX();
    }
    if (host.ScreenshotKeyReleased()) {
        // A screenshot that cannot be written is the player's to know about, not the end of the game.
        try {
            host.TakeScreenshot();
        } catch (...) {
            coReportCurrentException();
        }
    }
}

bool coMode::IsModifiedBelow() const {
    coMode* below = coModeStackBelow(this);
    return below != nullptr && below->IsModified();
}

void coMode::MarkModifiedBelow() const {
    if (coMode* below = coModeStackBelow(this))
        below->MarkModified();
}

void coMode::OnQuitRequest(appQuitRequestEvent*) {
    if (coCurrentMode() == this)
        m_exitRequested = 1;
}

void coMode::EnterCommon() {
    coGetModeHost().HideLoadingScreen();
    coPaletteManager::ApplyStates(m_paletteStates);
    m_result = Stay;
    m_overlay = nullptr;
}

void coMode::ExitCommon() {
    coPaletteManager::SaveStates(m_paletteStates);
    // A close not yet asked about goes with the mode that leaves, not into its next entry.
    m_exitRequested = 0;
    m_overlay = nullptr;
}

void coMode::RenderFrame(g3dCamera* camera) {
    coGetModeHost().RenderFrame(camera, m_overlay);
}

void coMode::PlainMenuFrame(bool poll) {
    coGetModeHost().BeginMenuFrame(poll);
    RenderFrame(nullptr);
}
