#include "Source/Screens/coDialogFrameFunction.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Source/Sound/coMusic.h"
#include "Source/World/coEnvironment.h"

void coDialogFrameFunction::Execute() {
    m_frameStart();
    // Over the world, what the sky leaves uncovered shows the environment's background, never a frame
    // before (the dialog's own pictures among them).
    const u8 black[3] = {0, 0, 0};
    g2dScreen::Clear(m_clear ? black : coGetEnvironment().GetBackgroundColor());
    inDeviceManager::PollAll();
    guiCursorMgr::UpdatePosition();
    guiWindowMgr::Update();
    const f32 time = appClock::GetTime();
    guiSoundCues::Update(time);
    snSoundManager::Update(time);
    coMusicHandleKeys();
    scUpdateAll(time);
    g3dRenderer::RenderFrame(time);
    DrawOverlay();
    g2dScreen::EndFrame();
}
