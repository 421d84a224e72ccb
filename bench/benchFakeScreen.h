#pragma once
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"
#include "tests/Engine/Graphics/G3d/g3dTestScreen.h"

// A clock, the recording device and FreeType installed, the 2D package started and the screen of that size
// with the renderer's lists: what the widget and texture benchmarks draw on without a window. ClearLog
// keeps the device's call log from growing over a run.
class benchFakeScreen {
  public:
    benchFakeScreen(i32 width, i32 height) {
        plInstallServices({.time = &m_time, .d3d = &m_d3d, .fonts = &m_fonts});
        g2dInitialize();
        g3dStartTestScreen(width, height);
    }
    benchFakeScreen(const benchFakeScreen&) = delete;
    benchFakeScreen& operator=(const benchFakeScreen&) = delete;
    ~benchFakeScreen() {
        g3dStopTestScreen();
        g2dShutdown();
        plInstallServices({});
    }
    void ClearLog() { m_d3d.GetLog().clear(); }

  private:
    plTestTimeSource m_time;
    plFakeD3d m_d3d;
    plFreeTypeFonts m_fonts;
};
